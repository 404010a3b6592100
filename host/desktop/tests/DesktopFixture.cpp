#include "DesktopFixture.h"

#include <QToolButton>

#include "adapter/FormView.h"
#include "adapter/FormWindow.h"
#include "adapter/GridView.h"
#include "rdm/DemoData.h"
#include "shared/DBGeral.h"
#include "shared/HostConfig.h"
#include "ui/DBGrid.h"
#include "ui/Form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <stdexcept>

MessageBoxAnswerer::MessageBoxAnswerer() {
    connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswerer::Poll);
    timer_.start(20);
}

void MessageBoxAnswerer::Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    texts << box->text();
    buttons.clear();
    QAbstractButton* chosen = nullptr;
    for (QAbstractButton* button : box->buttons()) {
        const QString text = button->text().remove('&');
        buttons << text;
        if (text == answer) chosen = button;
    }
    if (!chosen) chosen = box->buttons().value(0);
    if (chosen) chosen->click();
}

DesktopFixture::DesktopFixture() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings().clear();
    ger::DemoData::InsertIfEmpty(*server_.OpenStorage());
    plat::HostConfig::SetOverride("server.host", "127.0.0.1");
    plat::HostConfig::SetOverride("server.port", std::to_string(server_.Port()));
    // The host reads the server's database directly for one value, on either engine.
    plat::HostConfig::SetOverride("db", server_.DatabaseUrl());
    window_ = std::make_unique<desktop::MainWindow>(
        std::vector<std::filesystem::path>{GER06700_MODULE_DIR});
    window_->show();
    window_->activateWindow();
    if (!QTest::qWaitForWindowExposed(window_.get()))
        throw std::runtime_error("the main window was never shown");
}

DesktopFixture::~DesktopFixture() {
    window_.reset();
    plat::HostConfig::ClearOverrides();
    plat::dtmDBGeral().Close();
}

desktop::FormWindow& DesktopFixture::OpenScreen() {
    QAction* open = window_->findChild<QAction*>("openGer06700");
    if (!open) throw std::runtime_error("the Cadastros menu has no Forma de Pagamento");
    open->trigger();
    desktop::FormWindow* window = ScreenWindow();
    if (!window) throw std::runtime_error("the screen did not open");
    window->activateWindow();
    QApplication::processEvents();
    return *window;
}

desktop::FormWindow* DesktopFixture::ScreenWindow() {
    const auto windows = window_->FormWindows();
    return windows.empty() ? nullptr : windows.back();
}

plat::TForm& DesktopFixture::Form() {
    desktop::FormWindow* window = ScreenWindow();
    if (!window || !window->View().Form()) throw std::runtime_error("no screen is open");
    return *window->View().Form();
}

desktop::GridView& DesktopFixture::View(const char* gridName) {
    auto* view = ScreenWindow() ? ScreenWindow()->findChild<desktop::GridView*>(gridName) : nullptr;
    if (!view) throw std::runtime_error(std::string("no view of grid ") + gridName);
    return *view;
}

QToolButton& DesktopFixture::Button(const char* name) {
    auto* button = ScreenWindow() ? ScreenWindow()->findChild<QToolButton*>(name) : nullptr;
    if (!button) throw std::runtime_error(std::string("the screen has no button ") + name);
    return *button;
}

plat::TDBGrid& DesktopFixture::Grid(const char* gridName) {
    auto* grid = Form().Find<plat::TDBGrid>(gridName);
    if (!grid) throw std::runtime_error(std::string("the form has no grid ") + gridName);
    return *grid;
}

void DesktopFixture::ClickCell(QTableView& view, int row, int column) {
    const QRect cell = view.visualRect(view.model()->index(row, column));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
}

QStringList DesktopFixture::StoredNames() {
    QStringList names;
    for (const auto& row :
         server_.OpenStorage()->Query("SELECT NMFORMPGTO FROM FORMPGTO ORDER BY CDFORMPGTO"))
        names << QString::fromStdString(std::get<std::string>(row[0]));
    return names;
}
