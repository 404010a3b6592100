#include "adapter/BusyFeedback.h"

#include "app/Application.h"
#include "shared/WaitIndicator.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

namespace desktop {

BusyFeedback::BusyFeedback(QStatusBar& statusBar)
    : statusBar_(statusBar), waitText_(new QLabel("Aguarde...", &statusBar)),
      waitBar_(new QProgressBar(&statusBar)) {
    waitText_->setObjectName("waitText");
    waitBar_->setObjectName("waitBar");
    waitBar_->setRange(0, 0); // busy: no known end
    waitBar_->setMaximumWidth(120);
    statusBar.addPermanentWidget(waitText_);
    statusBar.addPermanentWidget(waitBar_);
    waitText_->hide();
    waitBar_->hide();
    observers_.WatchLasting(plat::Application(), [this](plat::TObservable&, plat::Change what) {
        if (what == plat::Change::Cursor) CursorChanged();
    });
    observers_.WatchLasting(plat::WaitIndicator(), [this](plat::TObservable&, plat::Change what) {
        if (what == plat::Change::Wait) WaitChanged();
    });
    CursorChanged();
    WaitChanged();
}

BusyFeedback::~BusyFeedback() {
    if (hourglass_) QApplication::restoreOverrideCursor();
}

void BusyFeedback::CursorChanged() {
    const bool wanted = plat::Application().ScreenCursor() == plat::TCursor::HourGlass;
    if (wanted == hourglass_) return;
    hourglass_ = wanted;
    if (wanted)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void BusyFeedback::WaitChanged() {
    const bool active = plat::WaitIndicator().Active();
    waitText_->setVisible(active);
    waitBar_->setVisible(active);
    statusBar_.repaint();
}

} // namespace desktop
