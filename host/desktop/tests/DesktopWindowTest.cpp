// The desktop host driven through its widgets against the real server and screen module:
// after every step the widgets show what the platform model holds.
#include "DesktopFixture.h"
#include "adapter/FormView.h"
#include "adapter/FormWindow.h"
#include "adapter/GridModel.h"
#include "adapter/GridView.h"
#include "app/Application.h"
#include "data/ClientDataSet.h"
#include "ui/Buttons.h"
#include "ui/DBControls.h"
#include "ui/DBGrid.h"
#include "ui/Form.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTest>
#include <QToolButton>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Every cell, title, the current cell and the open editor agree with the grid.
void CheckShowsGrid(desktop::GridView& view, plat::TDBGrid& grid) {
    QAbstractItemModel& model = *view.model();
    QCOMPARE(model.rowCount(), grid.RowCount());
    QCOMPARE(model.columnCount(), grid.ColumnCount());
    for (int c = 0; c < grid.ColumnCount(); ++c) {
        QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), Q(grid.ColumnTitle(c)));
        for (int r = 0; r < grid.RowCount(); ++r)
            QCOMPARE(model.index(r, c).data().toString(), Q(grid.CellText(r, c)));
    }
    if (grid.CurrentRow() >= 0) {
        QCOMPARE(view.currentIndex().row(), grid.CurrentRow());
        QCOMPARE(view.currentIndex().column(), grid.SelectedIndex());
    }
    if (QWidget* editor = view.indexWidget(view.currentIndex())) {
        auto* combo = qobject_cast<QComboBox*>(editor);
        auto* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(editor);
        QVERIFY(edit);
        QCOMPARE(edit->text(), Q(grid.EditorText()));
    }
}

} // namespace

class DesktopWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensTheScreenInAChildWindow();
    void typesPicksAndCancelsInTheMasterGrid();
    void asksWithPortugueseButtonsOnce();
    void serverDownGivesOneMessageAndRecovers();
};

void DesktopWindowTest::opensTheScreenInAChildWindow() {
    DesktopFixture fixture;
    desktop::FormWindow& window = fixture.OpenScreen();
    QCOMPARE(window.windowTitle(), QString("Forma de Pagamento - GER06700"));
    QCOMPARE(fixture.Window().FormWindows().size(), std::size_t(1));

    desktop::GridView& master = fixture.View("dbgPadrao");
    plat::TDBGrid& grid = fixture.Grid("dbgPadrao");
    QCOMPARE(master.model()->rowCount(), fixture.StoredNames().size());
    CheckShowsGrid(master, grid);
    QCOMPARE(master.columnWidth(1), grid.Column(1).Width);
    QCOMPARE(QApplication::focusWidget(), &master);

    auto* name = window.findChild<QLabel*>("dbtNome");
    QVERIFY(name);
    QCOMPARE(name->text(), Q(fixture.Form().Find<plat::TDBText>("dbtNome")->Text()));

    // Opening it again brings the same window forward; the navigator moves the list.
    fixture.OpenScreen();
    QCOMPARE(fixture.Window().FormWindows().size(), std::size_t(1));
    auto* next = window.findChild<QWidget*>("dbnPadrao")->findChild<QToolButton*>("Next");
    next->click();
    QCOMPARE(grid.CurrentRow(), 1);
    CheckShowsGrid(master, grid);
    QCOMPARE(name->text(), fixture.StoredNames().value(1));

    // Closing the window closes the form and unloads the module.
    window.close();
    QTRY_VERIFY(fixture.Window().FormWindows().empty());
    QTRY_VERIFY(!fixture.Window().Modules().Loaded("Ger06700"));
    QVERIFY(plat::Application().Forms().empty());
}

void DesktopWindowTest::typesPicksAndCancelsInTheMasterGrid() {
    DesktopFixture fixture;
    fixture.OpenScreen();
    desktop::GridView& master = fixture.View("dbgPadrao");
    plat::TDBGrid& grid = fixture.Grid("dbgPadrao");
    plat::TClientDataSet& terms = *grid.DataSet();
    auto* confirm = fixture.ScreenWindow()->findChild<QToolButton*>("sbtConfirmar");
    QVERIFY(confirm && !confirm->isEnabled());

    // A click on a cell of another row and column moves the model; typing edits the cell.
    DesktopFixture::ClickCell(master, 2, 1);
    QCOMPARE(grid.CurrentRow(), 2);
    QCOMPARE(grid.SelectedIndex(), 1);
    QTest::keyClicks(&master, "Prazo");
    QCOMPARE(Q(grid.EditorText()), QString("Prazo"));
    QCOMPARE(terms.State(), plat::TDataSetState::Edit);
    QVERIFY(confirm->isEnabled());
    CheckShowsGrid(master, grid);

    // Escape drops the text and the edit: the stored name is back.
    QTest::keyClick(&master, Qt::Key_Escape);
    QCOMPARE(terms.State(), plat::TDataSetState::Browse);
    QCOMPARE(master.model()->index(2, 1).data().toString(), fixture.StoredNames().value(2));
    QVERIFY(!confirm->isEnabled());
    CheckShowsGrid(master, grid);

    // Tab moves to the next column; its drop-down opens and the pick reaches the grid.
    DesktopFixture::ClickCell(master, 0, 3);
    QTest::keyClick(&master, Qt::Key_Tab);
    QCOMPARE(grid.SelectedIndex(), 4);
    auto* combo = qobject_cast<QComboBox*>(master.indexWidget(master.currentIndex()));
    QVERIFY(combo);
    QTest::keyClick(&master, Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(combo->view()->isVisible());
    const int entry = combo->findText("Não");
    QVERIFY(entry >= 0);
    const QRect item = combo->view()->visualRect(combo->view()->model()->index(entry, 0));
    QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(Q(grid.EditorText()), QString("Não"));
    QVERIFY(grid.EditorModified());
    CheckShowsGrid(master, grid);
    QTest::keyClick(&master, Qt::Key_Escape);
    CheckShowsGrid(master, grid);
}

void DesktopWindowTest::asksWithPortugueseButtonsOnce() {
    DesktopFixture fixture;
    fixture.OpenScreen();
    desktop::GridView& master = fixture.View("dbgPadrao");
    plat::TDBGrid& grid = fixture.Grid("dbgPadrao");
    const int rows = grid.RowCount();

    // The delete command asks; "Não" keeps the row. One box, with the two Portuguese buttons.
    auto* remove = fixture.ScreenWindow()->findChild<QToolButton*>("sbtExcluir");
    QVERIFY(remove);
    MessageBoxAnswerer person;
    person.answer = "Não";
    const int before = fixture.Window().Dialogs().Shown();
    remove->click();
    QCOMPARE(fixture.Window().Dialogs().Shown() - before, 1);
    QCOMPARE(person.texts.size(), 1);
    QCOMPARE(person.buttons, QStringList({"Sim", "Não"}));
    QCOMPARE(grid.RowCount(), rows);
    CheckShowsGrid(master, grid);
}

void DesktopWindowTest::serverDownGivesOneMessageAndRecovers() {
    DesktopFixture fixture;
    fixture.OpenScreen();
    desktop::GridView& master = fixture.View("dbgPadrao");
    plat::TDBGrid& grid = fixture.Grid("dbgPadrao");
    auto* reload = fixture.ScreenWindow()->findChild<QToolButton*>("sbtVerificar");
    QVERIFY(reload);

    MessageBoxAnswerer person;
    fixture.Server().Stop();
    reload->click();
    QCOMPARE(person.texts.size(), 1);
    QVERIFY(!person.texts[0].isEmpty());
    QVERIFY(!QApplication::overrideCursor());

    // Once the server is back the same window works again.
    fixture.Server().Restart();
    reload->click();
    QCOMPARE(person.texts.size(), 1);
    QCOMPARE(master.model()->rowCount(), fixture.StoredNames().size());
    CheckShowsGrid(master, grid);
}

QTEST_MAIN(DesktopWindowTest)
#include "DesktopWindowTest.moc"
