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
#include <QSignalSpy>
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
    void showsTheEditorsSelectionAndCaret();
    void rowsArriveAsRowSignals();
    void refusedPostShowsOneMessage();
    void serverDownGivesOneMessageAndRecovers();
    void movesIntoTheDayGridAndBackByKeyboard();
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
    QToolButton* confirm = &fixture.Button("sbtConfirmar");
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
    QToolButton* remove = &fixture.Button("sbtExcluir");
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
    QToolButton* reload = &fixture.Button("sbtVerificar");

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

// The line edit of the cell editor on the view's current cell; null when none is open.
QLineEdit* CellEditor(desktop::GridView& view) {
    QWidget* editor = view.indexWidget(view.currentIndex());
    auto* combo = qobject_cast<QComboBox*>(editor);
    return combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(editor);
}

void DesktopWindowTest::showsTheEditorsSelectionAndCaret() {
    DesktopFixture fixture;
    fixture.OpenScreen();
    desktop::GridView& master = fixture.View("dbgPadrao");
    plat::TDBGrid& masterGrid = fixture.Grid("dbgPadrao");

    // The editor shows the grid's selection: all selected on entering the cell, the caret at
    // the end after F2, and the typed character goes after the text.
    QTest::keyClick(&master, Qt::Key_Right);
    QLineEdit* edit = CellEditor(master);
    QVERIFY(edit);
    QVERIFY(masterGrid.EditorSelected());
    QCOMPARE(edit->selectedText(), Q(masterGrid.EditorText()));
    const QString stored = edit->text();
    QTest::keyClick(&master, Qt::Key_F2);
    QVERIFY(!masterGrid.EditorSelected());
    QVERIFY(!edit->hasSelectedText());
    QCOMPARE(edit->cursorPosition(), stored.size());
    QTest::keyClicks(&master, "x");
    QCOMPARE(Q(masterGrid.EditorText()), stored + "x");
    CheckShowsGrid(master, masterGrid);
    QTest::keyClick(&master, Qt::Key_Escape);
    QCOMPARE(masterGrid.DataSet()->State(), plat::TDataSetState::Browse);
    CheckShowsGrid(master, masterGrid);
}

void DesktopWindowTest::rowsArriveAsRowSignals() {
    DesktopFixture fixture;
    fixture.OpenScreen();
    desktop::GridView& master = fixture.View("dbgPadrao");
    plat::TDBGrid& grid = fixture.Grid("dbgPadrao");
    QAbstractItemModel& model = *master.model();
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    const int rows = model.rowCount();

    // Typing changes cells; a new row is one row inserted where the model put it, without
    // reading the grid again; dropping it is that row removed.
    DesktopFixture::ClickCell(master, 1, 1);
    QTest::keyClicks(&master, "Prazo");
    QVERIFY(!changed.isEmpty());
    QCOMPARE(reset.size(), 0);
    QTest::keyClick(&master, Qt::Key_Escape);
    reset.clear();
    fixture.Button("sbtIncluir").click();
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted[0][1].toInt(), grid.CurrentRow());
    QCOMPARE(reset.size(), 0);
    QCOMPARE(model.rowCount(), rows + 1);
    CheckShowsGrid(master, grid);
    MessageBoxAnswerer person;
    person.answer = "Sim";
    QTest::keyClick(&master, Qt::Key_Escape);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(model.rowCount(), rows);
    CheckShowsGrid(master, grid);
}

void DesktopWindowTest::refusedPostShowsOneMessage() {
    DesktopFixture fixture;
    fixture.OpenScreen();
    desktop::GridView& master = fixture.View("dbgPadrao");
    plat::TDBGrid& grid = fixture.Grid("dbgPadrao");
    DesktopFixture::ClickCell(master, 1, 1);
    const QString code = Q(grid.DataSet()->FieldByName("CDFORMPGTO").AsString());

    // Another user renames the term first: the server refuses the stale change, once.
    fixture.Server().OpenStorage()->Execute(
        "UPDATE FORMPGTO SET NMFORMPGTO = 'Outro usuário' WHERE CDFORMPGTO = '" +
        code.toStdString() + "'");
    QTest::keyClicks(&master, "Prazo novo");
    QTest::keyClick(&master, Qt::Key_Return);
    MessageBoxAnswerer person;
    const int before = fixture.Window().Dialogs().Shown();
    fixture.Button("sbtConfirmar").click();
    QCOMPARE(fixture.Window().Dialogs().Shown() - before, 1);
    QCOMPARE(person.texts, QStringList({"Registro alterado ou excluído por outro usuário."}));
    QCOMPARE(fixture.StoredNames().value(1), QString("Outro usuário"));
    QVERIFY(!QApplication::overrideCursor());
    CheckShowsGrid(master, grid);
}

void DesktopWindowTest::movesIntoTheDayGridAndBackByKeyboard() {
    DesktopFixture fixture;
    fixture.Server().OpenStorage()->Execute(
        "INSERT INTO FORMPGTO (CDFORMPGTO, NMFORMPGTO, IDTIPODTPGTO, IDREFECALCPARC, IDTPPERIODO, "
        "IDCONSDIAUTIL, IDVRIGUALPARC) VALUES ('00', 'Sem dias', 'EMIN', 'FORA_MES', 'M', 'N', "
        "'S')");
    fixture.OpenScreen();
    desktop::GridView& master = fixture.View("dbgPadrao");
    desktop::GridView& days = fixture.View("dbgDiaPgto");
    plat::TDBGrid& dayGrid = fixture.Grid("dbgDiaPgto");
    QCOMPARE(fixture.Grid("dbgPadrao").DataSet()->FieldByName("CDFORMPGTO").AsString(),
             std::string("00"));

    // Into the day grid of a term without rows: a new row arrives as one inserted row, with
    // the cursor on its final day.
    QSignalSpy inserted(days.model(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(days.model(), &QAbstractItemModel::modelReset);
    QTest::keyClick(&master, Qt::Key_PageDown, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), &days);
    QCOMPARE(fixture.Form().ActiveControl(), &dayGrid);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(reset.size(), 0);
    QCOMPARE(dayGrid.SelectedField()->FieldName(), std::string("NRDIAFINPGTO"));
    CheckShowsGrid(days, dayGrid);

    // Typed and left by keyboard: the row is stored and the user is back on the code.
    QTest::keyClicks(&days, "31");
    QTest::keyClick(&days, Qt::Key_Tab);
    // Leaving before the month is given: one message, and the focus stays in the day grid.
    {
        MessageBoxAnswerer person;
        QTest::keyClick(&days, Qt::Key_PageUp, Qt::AltModifier);
        QCOMPARE(person.texts, QStringList({"Mês de pagamento deve ser informado."}));
        QCOMPARE(fixture.Form().ActiveControl(), &dayGrid);
        // The window's focus is the day grid's again, to be had when the window is active.
        QCOMPARE(days.window()->focusWidget(), &days);
        days.window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(days.window()));
        QCOMPARE(QApplication::focusWidget(), &days);
    }
    auto* month = qobject_cast<QComboBox*>(days.indexWidget(days.currentIndex()));
    QVERIFY(month);
    QTest::keyClick(&days, Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(month->view()->isVisible());
    const QModelIndex following = month->view()->model()->index(month->findText("Seguinte"), 0);
    QTest::mouseClick(month->view()->viewport(), Qt::LeftButton, {},
                      month->view()->visualRect(following).center());
    QTest::keyClick(&days, Qt::Key_Tab);
    QTest::keyClicks(&days, "10");
    QTest::keyClick(&days, Qt::Key_Tab);
    QTest::keyClicks(&days, "1");
    CheckShowsGrid(days, dayGrid);
    MessageBoxAnswerer person;
    QTest::keyClick(&days, Qt::Key_PageUp, Qt::AltModifier);
    QCOMPARE(person.texts, QStringList());
    QCOMPARE(QApplication::focusWidget(), &master);
    QCOMPARE(fixture.Grid("dbgPadrao").SelectedIndex(), 0);
    const auto stored = fixture.Server().OpenStorage()->Query(
        "SELECT NRDIAFINPGTO, NRDIAPGTOVAR FROM DIAPGTO WHERE CDFORMPGTO = '00'");
    QCOMPARE(stored.size(), std::size_t(1));
    QCOMPARE(std::get<std::string>(stored[0][0]), std::string("31"));
    CheckShowsGrid(days, dayGrid);
    CheckShowsGrid(master, fixture.Grid("dbgPadrao"));
}

QTEST_MAIN(DesktopWindowTest)
#include "DesktopWindowTest.moc"
