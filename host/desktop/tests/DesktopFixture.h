#pragma once
#include "MainWindow.h"
#include "RunningServer.h"
#include "adapter/FormWindow.h"
#include "rdm/DemoData.h"
#include "shared/DBGeral.h"
#include "shared/HostConfig.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <memory>
#include <stdexcept>

/// Answers the message boxes that come up, as a person would, and remembers their texts.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            texts << box->text();
            buttons.clear();
            QAbstractButton* chosen = box->buttons().value(0);
            for (QAbstractButton* button : box->buttons()) {
                buttons << button->text().remove('&');
                if (buttons.back() == answer) chosen = button;
            }
            if (chosen) chosen->click();
        });
        timer_.start(20);
    }
    QString answer = "OK"; ///< the button pressed, by its text without '&'; else the first
    QStringList texts;
    QStringList buttons; ///< the buttons of the last box, '&' removed

private:
    QTimer timer_;
};

/// The real server on loopback over a fresh database with the demo terms, the host's
/// configuration pointing at it, the main window with the built screen module.
class DesktopFixture {
public:
    DesktopFixture() {
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
    ~DesktopFixture() {
        window_.reset();
        plat::HostConfig::ClearOverrides();
        plat::dtmDBGeral().Close();
    }

    desktop::MainWindow& Window() { return *window_; }
    RunningServer& Server() { return server_; }
    /// Opens the screen from the "Cadastros" menu and returns its window.
    desktop::FormWindow& OpenScreen() {
        Find<QAction>("openGer06700", window_.get()).trigger();
        if (window_->FormWindows().empty()) throw std::runtime_error("the screen did not open");
        window_->FormWindows().back()->activateWindow();
        QApplication::processEvents();
        return *window_->FormWindows().back();
    }
    /// A widget of the open screen (a grid's view, a command button), or of parent, by its name.
    template <class Widget> Widget& Find(const char* name, QObject* parent = nullptr) {
        if (!parent && window_->FormWindows().empty())
            throw std::runtime_error("no screen is open");
        auto* child = (parent ? parent : window_->FormWindows().back())->findChild<Widget*>(name);
        if (!child) throw std::runtime_error(std::string("nothing on screen is named ") + name);
        return *child;
    }
    /// The demo terms' names as the database holds them, by code.
    QStringList StoredNames() {
        QStringList names;
        for (const auto& row :
             server_.OpenStorage()->Query("SELECT NMFORMPGTO FROM FORMPGTO ORDER BY CDFORMPGTO"))
            names << QString::fromStdString(std::get<std::string>(row[0]));
        return names;
    }

private:
    RunningServer server_;
    std::unique_ptr<desktop::MainWindow> window_;
};
