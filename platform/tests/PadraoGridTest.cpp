#include "base/PadraoGrid.h"
#include "ModelFixture.h"

namespace plat {
namespace {

using test::ItemPacket;
using test::StoredValues;
using test::Texts;

// A screen that replaces one of the base form's handlers and calls it, as screens do.
class ScreenForm : public TfrmPadraoGrid {
public:
    using TfrmPadraoGrid::TfrmPadraoGrid;
    int inserts = 0;
    void sbtIncluirClick(TControl& sender) override {
        ++inserts;
        TfrmPadraoGrid::sbtIncluirClick(sender);
    }
};

class PadraoGridTest : public ::testing::Test {
public:
    ScreenForm frm{nullptr, "frmPadraoTeste"};
    TClientDataSet& cds = frm.Create<TClientDataSet>("cdsItem");
    TField& code = cds.AddStringField("cdsItemCODE", "CODE", 4);
    TField& qty = cds.AddFloatField("cdsItemQTY", "QTY");

    void SetUp() override {
        test::GridFormFixture::ResetDialogs();
        frm.dbgPadrao.AddColumn("CODE");
        frm.dbgPadrao.AddColumn("QTY");
        frm.dtsPadrao.SetDataSet(&cds);
        frm.DoCreate();
        cds.SetData(ItemPacket({{"A", 1.0}, {"B", 2.0}, {"C", 3.0}}));
    }
    void TearDown() override {
        EXPECT_EQ(Application().Headless().PendingAnswers(), 0u);
        test::GridFormFixture::ResetDialogs();
    }
    static bool Run(const std::function<void()>& action) { return Application().Dispatch(action); }
};

TEST_F(PadraoGridTest, ConfirmAndCancelAreEnabledExactlyWhileTheMasterIsEdited) {
    TClientDataSet& other = frm.Create<TClientDataSet>("cdsOutro");
    other.SetData(ItemPacket({{"Z", 1.0}}));
    // Each step and whether confirm and cancel, buttons and menu entries, are enabled after it.
    const std::tuple<const char*, std::function<void()>, bool> steps[] = {
        {"typing in the master grid", [&] { frm.TypeText("Q"); }, true},
        {"post", [&] { cds.Post(); }, false},
        {"another dataset edited", [&] { other.Edit(); }, false},
        {"edit", [&] { cds.Edit(); }, true},
        {"close", [&] { cds.Close(); }, false}};
    for (const auto& [name, step, enabled] : steps) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(Run(step));
        for (TControl* command : std::initializer_list<TControl*>{
                 &frm.sbtConfirmar, &frm.sbtCancelar, &frm.mnuConfirmar, &frm.mnuCancelar})
            EXPECT_EQ(command->Enabled(), enabled) << command->Name();
    }
}

TEST_F(PadraoGridTest, RecordCommandsAndTheirMenuEntries) {
    EXPECT_EQ(frm.ActiveControl(), &frm.dbgPadrao) << "the form opens on its master grid";
    EXPECT_TRUE(Run([&] { frm.mnuIncluir.Click(); }));
    EXPECT_EQ(cds.State(), TDataSetState::Insert);
    EXPECT_EQ(frm.inserts, 1) << "the screen's handler replaces the base one";
    EXPECT_TRUE(Run([&] { frm.sbtCancelar.Click(); }));
    EXPECT_EQ(cds.State(), TDataSetState::Browse);

    cds.Next();
    frm.dbgPadrao.SetSelectedIndex(1);
    EXPECT_TRUE(Run([&] { frm.sbtAlterar.Click(); }));
    EXPECT_EQ(cds.State(), TDataSetState::Edit);
    frm.TypeText("9");
    EXPECT_TRUE(Run([&] { frm.mnuConfirmar.Click(); }));
    EXPECT_EQ(StoredValues(cds, "QTY"), (Texts{"1", "9", "3"}));

    Application().Headless().QueueAnswer(TModalResult::No);
    EXPECT_TRUE(Run([&] { frm.sbtExcluir.Click(); }));
    Application().Headless().QueueAnswer(TModalResult::Yes);
    EXPECT_TRUE(Run([&] { frm.mnuExcluir.Click(); }));
    EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "C"}));
    const auto& transcript = Application().Headless().Transcript();
    ASSERT_EQ(transcript.size(), 2u);
    EXPECT_EQ(transcript[1].text, "Confirma exclusão?");
    EXPECT_EQ(transcript[1].buttons, (TMsgDlgButtons{TMsgDlgBtn::Yes, TMsgDlgBtn::No}));

    // Copy starts a new row without the key fields (Tag 1), on the key column.
    code.Tag = 1;
    EXPECT_TRUE(Run([&] { frm.sbtCopiar.Click(); }));
    EXPECT_EQ(cds.State(), TDataSetState::Insert);
    EXPECT_TRUE(code.IsNull());
    EXPECT_EQ(frm.dbgPadrao.SelectedIndex(), 0);
    frm.TypeText("D");
    EXPECT_TRUE(Run([&] { frm.sbtConfirmar.Click(); }));
    EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "D", "C"}));
    EXPECT_EQ(StoredValues(cds, "QTY"), (Texts{"1", "3", "3"}));

    EXPECT_TRUE(Run([&] { frm.sbtVerificar.Click(); }));
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
}

} // namespace
} // namespace plat
