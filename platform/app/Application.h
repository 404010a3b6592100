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
    /// action completed without an exception.
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

private:
    void DestroyReleased();
    IDialogs* dialogs_ = nullptr;
    HeadlessDialogs headless_;
    TCursor cursor_ = TCursor::Default;
    std::vector<std::unique_ptr<TComponent>> forms_;
    std::vector<TComponent*> released_;
    int dispatchDepth_ = 0;
    int formsCreated_ = 0;
};

/// The process's application object.
TApplication& Application();

} // namespace plat
