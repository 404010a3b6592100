#pragma once
#include "ScreenModules.h"
#include "adapter/BusyFeedback.h"
#include "adapter/Observers.h"
#include "adapter/QtDialogs.h"

#include <QMainWindow>
#include <memory>

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace desktop {

class FormWindow;

/// The host's multi-document main window: the menu of screens ("Cadastros"), the list of open
/// windows ("Janelas"), a status bar with the server and the wait indicator. Each form the
/// screens create opens as a child window; the module of a screen is unloaded once its last
/// form is gone.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(std::vector<std::filesystem::path> moduleFolders,
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Opens the screen of code (e.g. "Ger06700"); false when its module failed.
    bool OpenScreen(const QString& code);
    /// The child windows of the forms that exist, oldest first.
    std::vector<FormWindow*> FormWindows() const;
    QMdiArea& Area() const { return *area_; }
    QtDialogs& Dialogs() { return dialogs_; }
    ScreenModules& Modules() { return modules_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void FillWindowsMenu();
    void SyncForms();
    void WindowActivated(QMdiSubWindow* window);
    void ShowServer();

    QMdiArea* area_;
    QMenu* windowsMenu_ = nullptr;
    QtDialogs dialogs_;
    ScreenModules modules_;
    std::unique_ptr<BusyFeedback> busy_;
    Observers observers_;
};

} // namespace desktop
