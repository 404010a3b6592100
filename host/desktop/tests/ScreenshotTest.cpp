// Renders the screen with the demo terms on a real X display (Xvfb) and writes it as a PNG:
// ger_desktop_screenshot OUTPUT.png. Fails when the picture is blank or the master grid does
// not show the demo terms. The last line printed sums it up.
#include "DesktopFixture.h"
#include "adapter/FormView.h"
#include "adapter/FormWindow.h"
#include "adapter/GridView.h"

#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <iostream>

namespace {

int Fail(const std::string& why) {
    std::cout << "screenshot: FAILED: " << why << std::endl;
    return 1;
}

int Colours(const QImage& image, const QRect& area) {
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) return Fail("usage: ger_desktop_screenshot OUTPUT.png");
    try {
        DesktopFixture fixture;
        fixture.Window().resize(1180, 560);
        desktop::FormWindow& window = fixture.OpenScreen();
        window.setGeometry(0, 0, 1150, 470);
        QTest::qWait(300);

        desktop::GridView& master = fixture.View("dbgPadrao");
        const QStringList names = fixture.StoredNames();
        for (int row = 0; row < names.size(); ++row) {
            const QModelIndex cell = master.model()->index(row, 1);
            if (cell.data().toString() != names[row])
                return Fail("row " + std::to_string(row) + " shows '" +
                            cell.data().toString().toStdString() + "'");
            if (!master.viewport()->rect().contains(master.visualRect(cell)))
                return Fail("row " + std::to_string(row) + " is not on show");
        }

        QScreen* screen = fixture.Window().screen();
        const QImage shot = screen->grabWindow(fixture.Window().winId()).toImage();
        if (shot.isNull() || shot.width() < 200 || shot.height() < 200)
            return Fail("nothing was captured");
        const int colours = Colours(shot, shot.rect());
        if (colours < 8)
            return Fail("the picture is blank (" + std::to_string(colours) + " colours)");
        const QRect grid(master.viewport()->mapTo(&fixture.Window(), QPoint(0, 0)),
                         master.viewport()->size());
        if (Colours(shot, grid & shot.rect()) < 3) return Fail("the master grid is blank");
        if (!shot.save(argv[1])) return Fail(std::string("cannot write ") + argv[1]);
        std::cout << "screenshot: " << argv[1] << " (" << shot.width() << "x" << shot.height()
                  << ", " << colours << " colours, " << names.size() << " terms shown)"
                  << std::endl;
        return 0;
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
}
