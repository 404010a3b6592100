#include "app/Application.h"

#include "core/Abort.h"

#include <algorithm>

namespace plat {

TApplication::TApplication() {
    // An observer's failure is shown to the user as any other failure of an action.
    SetObserverErrorReporter([this](std::exception_ptr error) { HandleException(error); });
}

TApplication::~TApplication() {
    SetObserverErrorReporter(nullptr);
    // Newest first, as an owner destroys what it owns.
    while (!forms_.empty()) {
        std::unique_ptr<TComponent> last = std::move(forms_.back());
        forms_.pop_back();
        last.reset();
    }
}

IDialogs& TApplication::Dialogs() {
    return dialogs_ ? *dialogs_ : headless_;
}

void TApplication::SetDialogs(IDialogs* dialogs) {
    dialogs_ = dialogs;
}

bool TApplication::Dispatch(const std::function<void()>& action) {
    // Leaves the depth right even when showing an error throws.
    struct DepthGuard {
        TApplication& app;
        explicit DepthGuard(TApplication& a) : app(a) { ++app.dispatchDepth_; }
        ~DepthGuard() {
            if (--app.dispatchDepth_ == 0) app.DestroyReleased();
        }
    } guard(*this);
    // Observers that fail during the action are reported once, when it is over.
    TNoticeScope notices;

    try {
        if (action) action();
        return true;
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}

void TApplication::HandleException(std::exception_ptr error) {
    if (!error) return;
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        // The silent abort: whoever raised it has told the user already, or wants silence.
    } catch (const std::exception& e) {
        Dialogs().ShowError(e.what());
    } catch (...) {
        Dialogs().ShowError("Erro inesperado.");
    }
}

void TApplication::SetScreenCursor(TCursor cursor) {
    if (cursor_ == cursor) return;
    cursor_ = cursor;
    Notify(Change::Cursor);
}

void TApplication::SetActiveForm(TComponent* form) {
    if (activeForm_ == form) return;
    activeForm_ = form;
    Notify(Change::Forms);
}

void TApplication::AdoptForm(std::unique_ptr<TComponent> form) {
    if (!form) return;
    forms_.push_back(std::move(form));
    ++formsCreated_;
    Notify(Change::Forms);
}

void TApplication::ReleaseForm(TComponent* form) {
    const bool adopted = std::any_of(forms_.begin(), forms_.end(),
                                     [form](const auto& owned) { return owned.get() == form; });
    if (!form || !adopted) return;
    if (std::find(released_.begin(), released_.end(), form) == released_.end())
        released_.push_back(form);
    // A form releasing itself from its own handler must not be destroyed under that handler.
    if (dispatchDepth_ == 0) DestroyReleased();
}

std::vector<TComponent*> TApplication::Forms() const {
    std::vector<TComponent*> result;
    result.reserve(forms_.size());
    for (const auto& form : forms_)
        result.push_back(form.get());
    return result;
}

void TApplication::DestroyReleased() {
    // A destructor may release further forms; they are picked up by the next round.
    while (!released_.empty()) {
        TComponent* form = released_.front();
        released_.erase(released_.begin());
        auto it = std::find_if(forms_.begin(), forms_.end(),
                               [form](const auto& owned) { return owned.get() == form; });
        if (it == forms_.end()) continue;
        std::unique_ptr<TComponent> doomed = std::move(*it);
        forms_.erase(it);
        if (activeForm_ == form) activeForm_ = nullptr;
        doomed.reset();
        Notify(Change::Forms);
    }
}

TApplication& Application() {
    static TApplication application;
    return application;
}

} // namespace plat
