#include "MainWindow.h"

#include "adapter/FormView.h"
#include "adapter/FormWindow.h"
#include "app/Application.h"
#include "shared/HostConfig.h"
#include "ui/Form.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

namespace desktop {

namespace {

// The screens of the "Cadastros" menu: the title a user picks and the code of its module.
struct ScreenEntry {
    const char* title;
    const char* code;
};
constexpr ScreenEntry kScreens[] = {{"Forma de Pagamento", "Ger06700"}};

plat::TForm* LiveForm(plat::TComponent* component) {
    auto* form = dynamic_cast<plat::TForm*>(component);
    return form && !form->Closed() ? form : nullptr;
}

} // namespace

MainWindow::MainWindow(std::vector<std::filesystem::path> moduleFolders, QWidget* parent)
    : QMainWindow(parent), area_(new QMdiArea(this)), dialogs_(this, "Gerencial"),
      modules_(std::move(moduleFolders)) {
    setObjectName("mainWindow");
    setWindowTitle("Gerencial");
    area_->setObjectName("mdiArea");
    area_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    setCentralWidget(area_);
    BuildMenus();
    busy_ = std::make_unique<BusyFeedback>(*statusBar());
    ShowServer();
    plat::Application().SetDialogs(&dialogs_);
    observers_.WatchLasting(plat::Application(), [this](plat::TObservable&, plat::Change what) {
        if (what == plat::Change::Forms) SyncForms();
    });
    connect(area_, &QMdiArea::subWindowActivated, this, &MainWindow::WindowActivated);
    if (!restoreGeometry(QSettings().value("MainWindow/geometry").toByteArray())) resize(1200, 720);
}

MainWindow::~MainWindow() {
    // The child windows go with the base class; their going activates nothing any more.
    disconnect(area_, nullptr, this, nullptr);
    for (FormWindow* window : FormWindows())
        window->Detach();
    modules_.UnloadAll();
    plat::Application().SetDialogs(nullptr);
}

void MainWindow::BuildMenus() {
    QMenu* screens = menuBar()->addMenu("&Cadastros");
    screens->setObjectName("mnuCadastros");
    for (const ScreenEntry& entry : kScreens) {
        QAction* action = screens->addAction(QString::fromUtf8(entry.title));
        action->setObjectName(QString("open") + entry.code);
        connect(action, &QAction::triggered, this,
                [this, code = QString(entry.code)] { OpenScreen(code); });
    }
    screens->addSeparator();
    QAction* quit = screens->addAction("Sai&r");
    quit->setShortcut(QKeySequence("Ctrl+Q"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    windowsMenu_ = menuBar()->addMenu("&Janelas");
    windowsMenu_->setObjectName("mnuJanelas");
    connect(windowsMenu_, &QMenu::aboutToShow, this, &MainWindow::FillWindowsMenu);
    FillWindowsMenu();
}

void MainWindow::FillWindowsMenu() {
    windowsMenu_->clear();
    windowsMenu_->addAction("&Cascata", area_, &QMdiArea::cascadeSubWindows);
    windowsMenu_->addAction("&Lado a lado", area_, &QMdiArea::tileSubWindows);
    windowsMenu_->addSeparator();
    int number = 0;
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (!window->isVisible()) continue;
        QAction* action =
            windowsMenu_->addAction(QString("&%1 %2").arg(++number).arg(window->windowTitle()));
        action->setCheckable(true);
        action->setChecked(window == area_->activeSubWindow());
        connect(action, &QAction::triggered, this,
                [this, window] { area_->setActiveSubWindow(window); });
    }
}

void MainWindow::ShowServer() {
    QString server;
    try {
        server = QString("Servidor de aplicação: %1:%2")
                     .arg(QString::fromStdString(plat::HostConfig::ServerHost()))
                     .arg(plat::HostConfig::ServerPort());
    } catch (const std::exception& error) {
        server = QString::fromStdString(error.what());
    }
    auto* label = new QLabel(server, statusBar());
    label->setObjectName("serverLabel");
    statusBar()->addWidget(label);
}

bool MainWindow::OpenScreen(const QString& code) {
    statusBar()->showMessage("Abrindo " + code + "...");
    const bool ok = modules_.Open(code.toStdString());
    statusBar()->clearMessage();
    SyncForms();
    return ok;
}

std::vector<FormWindow*> MainWindow::FormWindows() const {
    std::vector<FormWindow*> windows;
    for (QMdiSubWindow* window : area_->subWindowList(QMdiArea::CreationOrder))
        if (auto* form = qobject_cast<FormWindow*>(window); form && !form->View().Detached())
            windows.push_back(form);
    return windows;
}

void MainWindow::SyncForms() {
    const auto forms = plat::Application().Forms();
    auto exists = [&forms](plat::TForm* form) {
        return std::find(forms.begin(), forms.end(), form) != forms.end() && !form->Closed();
    };
    // Windows of forms that are gone close, without asking the form they no longer have.
    bool gone = false;
    for (FormWindow* window : FormWindows()) {
        if (exists(window->View().Form())) continue;
        window->Detach();
        area_->removeSubWindow(window);
        window->deleteLater();
        gone = true;
    }
    // Forms shown for the first time get their window.
    for (plat::TComponent* component : forms) {
        plat::TForm* form = LiveForm(component);
        if (!form || !form->Shown()) continue;
        const auto windows = FormWindows();
        if (std::any_of(windows.begin(), windows.end(),
                        [form](FormWindow* w) { return w->View().Form() == form; }))
            continue;
        auto* window = new FormWindow(*form, "Forms/" + QString::fromStdString(form->Name()));
        area_->addSubWindow(window);
        window->show();
        window->View().SyncFocus();
    }
    // A module goes once nothing of it runs any more: after the current event.
    if (gone) QTimer::singleShot(0, this, [this] { modules_.UnloadUnused(); });
}

void MainWindow::WindowActivated(QMdiSubWindow* window) {
    auto* formWindow = qobject_cast<FormWindow*>(window);
    plat::TForm* form = formWindow ? formWindow->View().Form() : nullptr;
    if (!form || plat::Application().ActiveForm() == form) return;
    formWindow->View().Act([form] {
        plat::Application().SetActiveForm(form);
        form->Activate();
    });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    for (FormWindow* window : FormWindows())
        if (plat::TForm* form = window->View().Form())
            window->View().Act([form] { form->Close(); });
    if (!FormWindows().empty()) {
        // A screen refused to close: the program goes on.
        event->ignore();
        return;
    }
    QSettings().setValue("MainWindow/geometry", saveGeometry());
    event->accept();
}

} // namespace desktop
