// Renders the screen with the demo terms on a real X display (Xvfb) and writes it as a PNG:
// ger_desktop_screenshot OUTPUT.png. Fails when the picture is blank or the master grid does
// not show the demo terms. The last line printed sums it up.
#include "DesktopFixture.h"
#include "adapter/GridView.h"

#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <iostream>

static int Colours(const QImage& image, const QRect& area) {
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    try {
        if (argc != 2) throw std::runtime_error("usage: ger_desktop_screenshot OUTPUT.png");
        DesktopFixture fixture;
        fixture.Window().resize(1180, 560);
        fixture.OpenScreen().setGeometry(0, 0, 1150, 470);
        QTest::qWait(300);
        auto& master = fixture.Find<desktop::GridView>("dbgPadrao");
        const QStringList names = fixture.StoredNames();
        for (int row = 0; row < names.size(); ++row) {
            const QModelIndex cell = master.model()->index(row, 1);
            if (cell.data().toString() != names[row] ||
                !master.viewport()->rect().contains(master.visualRect(cell)))
                throw std::runtime_error("row " + std::to_string(row) + " is not on show");
        }
        const QImage shot =
            fixture.Window().screen()->grabWindow(fixture.Window().winId()).toImage();
        const int colours = Colours(shot, shot.rect());
        const QRect grid(master.viewport()->mapTo(&fixture.Window(), QPoint(0, 0)),
                         master.viewport()->size());
        if (shot.width() < 200 || shot.height() < 200 || colours < 8 ||
            Colours(shot, grid & shot.rect()) < 3)
            throw std::runtime_error("the picture is blank (" + std::to_string(colours) +
                                     " colours)");
        if (!shot.save(argv[1])) throw std::runtime_error(std::string("cannot write ") + argv[1]);
        std::cout << "screenshot: " << argv[1] << " (" << shot.width() << "x" << shot.height()
                  << ", " << colours << " colours, " << names.size() << " terms shown)"
                  << std::endl;
        return 0;
    } catch (const std::exception& error) {
        std::cout << "screenshot: FAILED: " << error.what() << std::endl;
        return 1;
    }
}
