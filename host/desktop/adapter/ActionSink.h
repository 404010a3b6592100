#pragma once
#include <functional>

namespace desktop {

/// Where a widget sends what the user did: the view of the form it belongs to, which delivers
/// it to the model as one user action and then makes Qt's focus follow the model's.
class ActionSink {
public:
    virtual ~ActionSink() = default;
    /// Runs action as one user action of the model; true when it completed.
    virtual bool Act(const std::function<void()>& action) = 0;
    /// True while the view itself moves Qt's focus (a focus change that is no user action).
    virtual bool SyncingFocus() const = 0;
};

} // namespace desktop
