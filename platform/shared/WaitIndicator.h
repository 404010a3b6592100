#pragma once
#include "core/Component.h"
#include "core/Observable.h"

namespace plat {

/// The wait animation a screen runs over a form while a slow call is under way. A front-end
/// shows it on Change::Wait; tests read its state.
class TWaitIndicator : public TObservable {
public:
    /// Starts the animation of kind over form; starting it while running restarts it.
    void Start(TComponent* form, int kind);
    /// Stops the animation; does nothing when it is not running.
    void Stop();

    /// True while the animation runs.
    bool Active() const { return active_; }
    /// Kind of the running or last animation.
    int Kind() const { return kind_; }
    /// Form the animation runs over (not owned); null when stopped.
    TComponent* Form() const { return form_; }
    /// Number of starts since the process started.
    int Activations() const { return activations_; }

private:
    bool active_ = false;
    int kind_ = 0;
    TComponent* form_ = nullptr;
    int activations_ = 0;
};

/// The process's wait indicator, shared by the host and every loaded module.
TWaitIndicator& WaitIndicator();

} // namespace plat
