#pragma once
#include "app/Dialogs.h"
#include "core/Component.h"
#include "core/Observable.h"

#include <functional>
#include <memory>
#include <vector>

namespace plat {

enum class TCursor { Default, HourGlass };

/// The host application: dialogs, the dispatcher of user actions, the screen cursor and the
/// forms that exist. One instance per process, shared by the host and every loaded module.
class TApplication : public TObservable {
public:
    TApplication();
    ~TApplication() override;

    /// The dialogs in use; headless until a front-end installs its own.
    IDialogs& Dialogs();
    /// Installs the dialogs of a front-end (not owned); null goes back to the headless ones.
    void SetDialogs(IDialogs* dialogs);
    /// The headless dialogs, used when no front-end installed any.
    HeadlessDialogs& Headless() { return headless_; }

    /// Delivers one user action to the model. The silent abort is swallowed; any other
    /// exception is shown as an error dialog with its message. Forms released during the
    /// action are destroyed once the outermost dispatch returns. Returns true when the
    /// action completed without an exception. An observer's failure during the action is
    /// shown once, after it.
    bool Dispatch(const std::function<void()>& action);
    /// Reports an exception caught outside Dispatch the same way Dispatch would.
    void HandleException(std::exception_ptr error);

    TCursor ScreenCursor() const { return cursor_; }
    void SetScreenCursor(TCursor cursor);

    /// Takes ownership of a form (any component) so it lives until released.
    void AdoptForm(std::unique_ptr<TComponent> form);
    /// Destroys the form once the current dispatch has returned (at once outside any dispatch).
    void ReleaseForm(TComponent* form);
    /// Forms that exist, oldest first.
    std::vector<TComponent*> Forms() const;
    /// Number of forms created since the process started.
    int FormsCreated() const { return formsCreated_; }

    /// Creates a form as the host's application does: the reference is assigned before the
    /// form's creation handler runs, and an error of that handler is reported to the user
    /// while the form goes on existing (as far as it got).
    template <class T> T& CreateForm(T*& reference, std::string name) {
        auto owned = std::make_unique<T>(nullptr, std::move(name));
        T* form = owned.get();
        AdoptForm(std::move(owned));
        reference = form;
        try {
            form->DoCreate();
        } catch (...) {
            HandleException(std::current_exception());
        }
        return *form;
    }

    /// The form whose window is active; null when none is.
    TComponent* ActiveForm() const { return activeForm_; }
    void SetActiveForm(TComponent* form);

private:
    void DestroyReleased();
    IDialogs* dialogs_ = nullptr;
    HeadlessDialogs headless_;
    TCursor cursor_ = TCursor::Default;
    std::vector<std::unique_ptr<TComponent>> forms_;
    std::vector<TComponent*> released_;
    int dispatchDepth_ = 0;
    int formsCreated_ = 0;
    TComponent* activeForm_ = nullptr;
};

/// The process's application object.
TApplication& Application();

} // namespace plat
