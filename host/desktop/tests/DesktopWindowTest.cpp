// The desktop host driven through its widgets against the real server and screen module:
// after every step the widgets show what the platform model holds.
#include "DesktopFixture.h"
#include "adapter/FormView.h"
#include "adapter/GridModel.h"
#include "adapter/GridView.h"
#include "app/Application.h"
#include "ui/DBControls.h"
#include "ui/DBGrid.h"
#include "ui/Form.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

const auto Q = [](const std::string& text) { return QString::fromStdString(text); };

// The line edit of the cell editor on the view's current cell; null when none is open.
QLineEdit* CellEditor(QTableView& view) {
    QWidget* editor = view.indexWidget(view.currentIndex());
    auto* combo = qobject_cast<QComboBox*>(editor);
    return combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(editor);
}

// Every cell, title, the current cell and the open editor agree with the grid.
void CheckShowsGrid(desktop::GridView& view) {
    const plat::TDBGrid& grid = *view.Model().Grid();
    QAbstractItemModel& model = *view.model();
    QCOMPARE(model.rowCount(), grid.RowCount());
    QCOMPARE(model.columnCount(), grid.ColumnCount());
    for (int c = 0; c < grid.ColumnCount(); ++c) {
        QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), Q(grid.ColumnTitle(c)));
        for (int r = 0; r < grid.RowCount(); ++r)
            QCOMPARE(model.index(r, c).data().toString(), Q(grid.CellText(r, c)));
    }
    if (grid.CurrentRow() >= 0)
        QCOMPARE(view.currentIndex(), model.index(grid.CurrentRow(), grid.SelectedIndex()));
    if (QLineEdit* editor = CellEditor(view)) QCOMPARE(editor->text(), Q(grid.EditorText()));
}

} // namespace

class DesktopWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensWalksTheGridsAndCloses();
    void forwardsKeysClicksAndDialogs();
};

void DesktopWindowTest::opensWalksTheGridsAndCloses() {
    DesktopFixture fixture;
    fixture.Server().OpenStorage()->Execute("DELETE FROM DIAPGTO WHERE CDFORMPGTO = '02'");
    desktop::FormWindow& window = fixture.OpenScreen();
    plat::TForm& form = *window.View().Form();
    QCOMPARE(window.windowTitle(), QString("Forma de Pagamento - GER06700"));
    auto& master = fixture.Find<desktop::GridView>("dbgPadrao");
    plat::TDBGrid& grid = *master.Model().Grid();
    CheckShowsGrid(master);
    QCOMPARE(master.columnWidth(1), grid.Column(1).Width);
    QCOMPARE(QApplication::focusWidget(), &master);
    auto& name = fixture.Find<QLabel>("dbtNome");
    QCOMPARE(name.text(), Q(form.Find<plat::TDBText>("dbtNome")->Text()));

    // Opening it again brings the same window forward; the navigator moves the list.
    fixture.OpenScreen();
    QCOMPARE(fixture.Window().FormWindows().size(), std::size_t(1));
    fixture.Find<QWidget>("dbnPadrao").findChild<QToolButton*>("Next")->click();
    QCOMPARE(grid.CurrentRow(), 1);
    CheckShowsGrid(master);
    QCOMPARE(name.text(), fixture.StoredNames().value(1));

    // Into the day grid of a term without rows, where a row starts: the focus follows.
    auto& days = fixture.Find<desktop::GridView>("dbgDiaPgto");
    QTest::keyClick(&master, Qt::Key_PageDown, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), &days);
    QCOMPARE(form.ActiveControl(), days.Model().Grid());
    QCOMPARE(days.model()->rowCount(), 1);
    CheckShowsGrid(days);

    // Leaving a row the model refuses: one message, and the focus stays in the day grid, also
    // when the window is activated again.
    QTest::keyClicks(&days, "31");
    QTest::keyClick(&days, Qt::Key_Tab);
    MessageBoxAnswerer person;
    QTest::keyClick(&days, Qt::Key_PageUp, Qt::AltModifier);
    QCOMPARE(person.texts.size(), 1);
    QCOMPARE(form.ActiveControl(), days.Model().Grid());
    QCOMPARE(window.focusWidget(), &days);
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), &days);

    // Escape drops the row, and the user can go back to the master grid.
    QTest::keyClick(&days, Qt::Key_Escape);
    QCOMPARE(days.model()->rowCount(), 0);
    QTest::keyClick(&days, Qt::Key_PageUp, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), &master);
    QCOMPARE(form.ActiveControl(), &grid);
    CheckShowsGrid(days);

    // Closing the window closes the form and unloads the module.
    window.close();
    QTRY_VERIFY(fixture.Window().FormWindows().empty());
    QTRY_VERIFY(!fixture.Window().Modules().Loaded("Ger06700"));
    QVERIFY(plat::Application().Forms().empty());
}

void DesktopWindowTest::forwardsKeysClicksAndDialogs() {
    DesktopFixture fixture;
    fixture.OpenScreen();
    auto& master = fixture.Find<desktop::GridView>("dbgPadrao");
    plat::TDBGrid& grid = *master.Model().Grid();
    auto& confirm = fixture.Find<QToolButton>("sbtConfirmar");
    QAbstractItemModel& model = *master.model();
    const int rows = model.rowCount();
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    // A question is one box with the Portuguese buttons; "Não" reaches the model.
    MessageBoxAnswerer person;
    person.answer = "Não";
    fixture.Find<QToolButton>("sbtExcluir").click();
    QCOMPARE(fixture.Window().Dialogs().Shown(), 1);
    QCOMPARE(person.buttons, QStringList({"Sim", "Não"}));
    QCOMPARE(grid.RowCount(), rows);

    // The editor shows the grid's selection: all of it on entering the cell, the caret at the
    // end after F2; the typed text reaches the model as changed cells.
    QTest::keyClick(&master, Qt::Key_Right);
    QLineEdit* edit = CellEditor(master);
    QVERIFY(edit && grid.EditorSelected());
    QCOMPARE(edit->selectedText(), Q(grid.EditorText()));
    const QString stored = edit->text();
    QTest::keyClick(&master, Qt::Key_F2);
    QVERIFY(!edit->hasSelectedText());
    QCOMPARE(edit->cursorPosition(), stored.size());
    QTest::keyClicks(&master, "x");
    QCOMPARE(Q(grid.EditorText()), stored + "x");
    QVERIFY(confirm.isEnabled());
    QVERIFY(!changed.isEmpty());
    QCOMPARE(reset.size(), 0);
    CheckShowsGrid(master);

    // Escape reaches the model: the cell shows the stored name again, nothing to confirm.
    QTest::keyClick(&master, Qt::Key_Escape);
    QCOMPARE(model.index(0, 1).data().toString(), stored);
    QVERIFY(!confirm.isEnabled());
    CheckShowsGrid(master);

    // A click moves the model to its cell, Tab to the next column, whose list pick reaches it.
    const QRect cell = master.visualRect(model.index(2, 3));
    QTest::mouseClick(master.viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(std::pair(grid.CurrentRow(), grid.SelectedIndex()), std::pair(2, 3));
    QTest::keyClick(&master, Qt::Key_Tab);
    QCOMPARE(grid.SelectedIndex(), 4);
    auto* combo = qobject_cast<QComboBox*>(master.indexWidget(master.currentIndex()));
    QVERIFY(combo);
    QTest::keyClick(&master, Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(combo->view()->isVisible());
    const QModelIndex entry = combo->view()->model()->index(combo->findText("Não"), 0);
    QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {},
                      combo->view()->visualRect(entry).center());
    QCOMPARE(Q(grid.EditorText()), QString("Não"));
    QVERIFY(grid.EditorModified());
    CheckShowsGrid(master);
    QTest::keyClick(&master, Qt::Key_Escape);

    // A new row is one row inserted where the model put it, not a reset; dropping it, removed.
    reset.clear();
    fixture.Find<QToolButton>("sbtIncluir").click();
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted[0][1].toInt(), grid.CurrentRow());
    QCOMPARE(reset.size(), 0);
    CheckShowsGrid(master);
    QTest::keyClick(&master, Qt::Key_Escape);
    QCOMPARE(removed.size(), 1);
    CheckShowsGrid(master);

    // With the server down an error is one box and the hourglass goes; once it is back the
    // same window works again.
    fixture.Server().Stop();
    fixture.Find<QToolButton>("sbtVerificar").click();
    QCOMPARE(person.texts.size(), 2);
    QVERIFY(!QApplication::overrideCursor());
    fixture.Server().Restart();
    fixture.Find<QToolButton>("sbtVerificar").click();
    QCOMPARE(person.texts.size(), 2);
    QCOMPARE(model.rowCount(), rows);
    CheckShowsGrid(master);
}

QTEST_MAIN(DesktopWindowTest)
#include "DesktopWindowTest.moc"
