// ger-desktop: the desktop host. A multi-document window that opens the screens of the
// business application from their modules and lets a person work them against the
// application server.
#include "MainWindow.h"
#include "shared/HostConfig.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <iostream>

namespace {

// Splits HOST:PORT at its last colon; false when it is no such thing.
bool SplitServer(const QString& server, QString& host, QString& port) {
    const int colon = server.lastIndexOf(':');
    if (colon <= 0) return false;
    host = server.left(colon);
    port = server.mid(colon + 1);
    bool ok = false;
    const int number = port.toInt(&ok);
    return ok && number >= 1 && number <= 65535;
}

struct Options {
    QString open, server, database;
    QStringList moduleDirs;
};

// The command line is read before any window exists, so that --help and a wrong option work
// without a display.
Options ReadOptions(int argc, char** argv) {
    QCoreApplication probe(argc, argv);
    QCoreApplication::setApplicationName("ger-desktop");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Desktop host: opens the screens of the business application in a multi-document "
        "window and works them against the application server.");
    parser.addHelpOption();
    const QCommandLineOption open("open", "Open the screen CODE (e.g. Ger06700) at start.", "CODE");
    const QCommandLineOption server("server",
                                    "Application server as HOST:PORT (default: the host "
                                    "configuration).",
                                    "HOST:PORT");
    const QCommandLineOption database("db",
                                      "Database the screens read directly, e.g. sqlite:PATH "
                                      "(default: the host configuration).",
                                      "URL");
    const QCommandLineOption modules("module-dir",
                                     "Folder searched first for screen modules (Pkg_CODE.so); "
                                     "may be repeated. Then GER06700_MODULE_PATH, the installed "
                                     "module folder and the program's folder.",
                                     "DIR");
    parser.addOptions({open, server, database, modules});
    parser.process(probe);
    return {parser.value(open), parser.value(server), parser.value(database),
            parser.values(modules)};
}

} // namespace

int main(int argc, char** argv) {
    const Options options = ReadOptions(argc, argv);
    if (!options.server.isEmpty()) {
        QString host, port;
        if (!SplitServer(options.server, host, port)) {
            std::cerr << "ger-desktop: --server must be HOST:PORT, not '"
                      << options.server.toStdString() << "'\n";
            return 2;
        }
        plat::HostConfig::SetOverride("server.host", host.toStdString());
        plat::HostConfig::SetOverride("server.port", port.toStdString());
    }
    if (!options.database.isEmpty())
        plat::HostConfig::SetOverride("db", options.database.toStdString());

    QApplication app(argc, argv);
    QApplication::setOrganizationName("Ger06700");
    QApplication::setApplicationName("ger-desktop");

    std::vector<std::filesystem::path> folders;
    for (const QString& folder : options.moduleDirs)
        folders.emplace_back(folder.toStdString());
    for (auto& folder : desktop::ScreenModules::DefaultFolders())
        folders.push_back(std::move(folder));

    desktop::MainWindow window(std::move(folders));
    window.show();
    if (!options.open.isEmpty())
        QTimer::singleShot(0, &window, [&window, code = options.open] { window.OpenScreen(code); });
    return app.exec();
}
