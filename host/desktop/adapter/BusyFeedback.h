#pragma once
#include "adapter/Observers.h"

class QLabel;
class QProgressBar;
class QStatusBar;

namespace desktop {

/// Shows the application's screen cursor as Qt's override cursor, and the wait indicator as a
/// busy bar in the status bar. Server calls are synchronous, so the bar is painted at once
/// rather than at the next turn of the event loop.
class BusyFeedback {
public:
    explicit BusyFeedback(QStatusBar& statusBar);
    ~BusyFeedback();
    BusyFeedback(const BusyFeedback&) = delete;
    BusyFeedback& operator=(const BusyFeedback&) = delete;

private:
    void CursorChanged();
    void WaitChanged();
    QStatusBar& statusBar_;
    QLabel* waitText_;
    QProgressBar* waitBar_;
    bool hourglass_ = false;
    Observers observers_;
};

} // namespace desktop
