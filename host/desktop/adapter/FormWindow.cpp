#include "adapter/FormWindow.h"

#include "adapter/FormView.h"
#include "base/PadraoGrid.h"
#include "ui/Form.h"

#include <QCloseEvent>
#include <QSettings>

namespace desktop {

namespace {

// The title a user recognises a screen by: its caption, and its code where the form shows one.
QString TitleOf(const plat::TForm& form) {
    QString title = QString::fromStdString(form.Caption());
    if (const auto* standard = dynamic_cast<const plat::TfrmPadraoGrid*>(&form))
        if (!standard->lblCodTela.Caption().empty())
            title += " - " + QString::fromStdString(standard->lblCodTela.Caption());
    return title;
}

} // namespace

FormWindow::FormWindow(plat::TForm& form, const QString& settingsGroup, QWidget* parent)
    : QMdiSubWindow(parent), view_(new FormView(form, settingsGroup, this)),
      settingsGroup_(settingsGroup) {
    setObjectName(QString::fromStdString(form.Name()) + "Window");
    setWidget(view_);
    setAttribute(Qt::WA_DeleteOnClose, false);
    connect(view_, &FormView::FormChanged, this, &FormWindow::FollowForm);
    following_ = true;
    const QByteArray saved = QSettings().value(settingsGroup_ + "/geometry").toByteArray();
    if (saved.isEmpty() || !restoreGeometry(saved))
        setGeometry(form.Left, form.Top, form.Width > 0 ? form.Width : 800,
                    form.Height > 0 ? form.Height : 500);
    following_ = false;
    restored_ = true;
    FollowForm();
}

void FormWindow::Detach() {
    view_->Detach();
    hide();
}

void FormWindow::FollowForm() {
    plat::TForm* form = view_->Form();
    if (!form) return;
    following_ = true;
    setWindowTitle(TitleOf(*form));
    Qt::WindowStates states = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (form->WindowState() == plat::TWindowState::Minimized) states |= Qt::WindowMinimized;
    if (form->WindowState() == plat::TWindowState::Maximized) states |= Qt::WindowMaximized;
    if (states != windowState()) setWindowState(states);
    setVisible(form->Visible() && !form->Closed());
    following_ = false;
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    plat::TForm* form = view_->Form();
    if (!form) {
        event->accept();
        return;
    }
    SaveGeometry();
    view_->Act([form] { form->Close(); });
}

void FormWindow::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || following_) return;
    plat::TForm* form = view_->Form();
    if (!form) return;
    plat::TWindowState state = plat::TWindowState::Normal;
    if (windowState().testFlag(Qt::WindowMinimized)) state = plat::TWindowState::Minimized;
    if (windowState().testFlag(Qt::WindowMaximized)) state = plat::TWindowState::Maximized;
    if (state != form->WindowState()) view_->Act([form, state] { form->SetWindowState(state); });
}

void FormWindow::moveEvent(QMoveEvent* event) {
    QMdiSubWindow::moveEvent(event);
    SaveGeometry();
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    SaveGeometry();
}

void FormWindow::SaveGeometry() {
    if (!restored_ || following_ || !view_->Form() || windowState() != Qt::WindowNoState) return;
    QSettings().setValue(settingsGroup_ + "/geometry", saveGeometry());
}

} // namespace desktop
