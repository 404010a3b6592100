#pragma once
#include "MainWindow.h"
#include "RunningServer.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <memory>

class QTableView;
class QToolButton;

namespace plat {
class TDBGrid;
class TForm;
} // namespace plat

namespace desktop {
class FormWindow;
class GridView;
} // namespace desktop

/// Answers the message boxes that come up, as a person would, and remembers their texts.
class MessageBoxAnswerer : public QObject {
    Q_OBJECT
public:
    MessageBoxAnswerer();
    /// The button (by its text without '&') pressed on the next boxes; "OK" for an error.
    QString answer = "OK";
    QStringList texts;
    QStringList buttons; ///< the buttons of the last box, '&' removed

private:
    void Poll();
    QTimer timer_;
};

/// The desktop host as a person starts it: the real server on loopback over a fresh database
/// with the demo terms, the host's configuration pointing at it, the main window with the
/// built screen module.
class DesktopFixture {
public:
    DesktopFixture();
    ~DesktopFixture();

    desktop::MainWindow& Window() { return *window_; }
    RunningServer& Server() { return server_; }
    /// Opens the screen from the "Cadastros" menu and waits for its window.
    desktop::FormWindow& OpenScreen();
    /// The open screen's window; null when none.
    desktop::FormWindow* ScreenWindow();
    plat::TForm& Form();
    desktop::GridView& View(const char* gridName);
    plat::TDBGrid& Grid(const char* gridName);
    /// A button of the screen's command bar, by its name.
    QToolButton& Button(const char* name);
    /// Clicks the cell of the view (on its viewport, as the mouse does).
    static void ClickCell(QTableView& view, int row, int column);

    /// The demo terms' names as the database holds them, by code.
    QStringList StoredNames();

private:
    RunningServer server_;
    std::unique_ptr<desktop::MainWindow> window_;
};
