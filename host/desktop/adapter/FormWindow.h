#pragma once
#include <QMdiSubWindow>

namespace plat {
class TForm;
}

namespace desktop {

class FormView;

/// The child window of a platform form: title from the form's caption and screen code,
/// window state both ways, geometry from the form and then as the user left it. Closing the
/// window asks the form to close; the form decides.
class FormWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    /// settingsGroup: where the window's geometry and its grids' column widths are kept.
    FormWindow(plat::TForm& form, const QString& settingsGroup, QWidget* parent = nullptr);

    FormView& View() const { return *view_; }
    /// The form is gone: the window closes without asking anyone.
    void Detach();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FollowForm();
    void SaveGeometry();
    FormView* view_;
    QString settingsGroup_;
    bool following_ = false;
    bool restored_ = false;
};

} // namespace desktop
