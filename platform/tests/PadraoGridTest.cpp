#include "base/PadraoGrid.h"
#include "ModelFixture.h"

namespace plat {
namespace {

using test::ItemPacket;
using test::StoredValues;
using Texts = std::vector<std::string>;

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
    bool Click(TControl& command) {
        return Application().Dispatch([&] {
            if (auto* button = dynamic_cast<TSpeedButton*>(&command)) button->Click();
            if (auto* menu = dynamic_cast<TMenuItem*>(&command)) menu->Click();
        });
    }
    /// Enabled state of the confirm and cancel commands; all four must agree.
    bool ConfirmCancelEnabled() {
        const bool enabled = frm.sbtConfirmar.Enabled();
        EXPECT_EQ(frm.sbtCancelar.Enabled(), enabled);
        EXPECT_EQ(frm.mnuConfirmar.Enabled(), enabled);
        EXPECT_EQ(frm.mnuCancelar.Enabled(), enabled);
        return enabled;
    }
};

TEST_F(PadraoGridTest, ConfirmAndCancelAreEnabledExactlyWhileTheMasterIsEdited) {
    TClientDataSet& other = frm.Create<TClientDataSet>("cdsOutro");
    other.SetData(ItemPacket({{"Z", 1.0}}));
    // Each step and whether confirm and cancel are enabled after it.
    const std::tuple<const char*, std::function<void()>, bool> steps[] = {
        {"insert", [&] { cds.Insert(); }, true},
        {"cancel", [&] { cds.Cancel(); }, false},
        {"edit", [&] { cds.Edit(); }, true},
        {"post", [&] { cds.Post(); }, false},
        {"typing in the master grid", [&] { frm.TypeText("Q"); }, true},
        {"escape", [&] { frm.PressKey(VK_ESCAPE, {}); }, false},
        {"another dataset edited", [&] { other.Edit(); }, false},
        {"down on the last row",
         [&] {
             cds.Last();
             frm.PressKey(VK_DOWN, {});
         },
         true},
        {"close", [&] { cds.Close(); }, false},
    };
    EXPECT_FALSE(ConfirmCancelEnabled());
    for (const auto& [name, step, enabled] : steps) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(Application().Dispatch(step));
        EXPECT_EQ(ConfirmCancelEnabled(), enabled);
    }
}

TEST_F(PadraoGridTest, RecordCommandsAndTheirMenuEntries) {
    EXPECT_EQ(frm.ActiveControl(), &frm.dbgPadrao) << "the form opens on its master grid";
    EXPECT_TRUE(Click(frm.mnuIncluir));
    EXPECT_EQ(cds.State(), TDataSetState::Insert);
    EXPECT_EQ(frm.inserts, 1) << "the screen's handler replaces the base one";
    EXPECT_TRUE(Click(frm.sbtCancelar));
    EXPECT_EQ(cds.State(), TDataSetState::Browse);

    cds.Next();
    frm.dbgPadrao.SetSelectedIndex(1);
    EXPECT_TRUE(Click(frm.sbtAlterar));
    EXPECT_EQ(cds.State(), TDataSetState::Edit);
    EXPECT_EQ(frm.ActiveControl(), &frm.dbgPadrao);
    frm.TypeText("9");
    EXPECT_TRUE(Click(frm.mnuConfirmar));
    EXPECT_EQ(StoredValues(cds, "QTY"), (Texts{"1", "9", "3"}));

    Application().Headless().QueueAnswer(TModalResult::No);
    EXPECT_TRUE(Click(frm.sbtExcluir));
    Application().Headless().QueueAnswer(TModalResult::Yes);
    EXPECT_TRUE(Click(frm.mnuExcluir));
    EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "C"}));
    const auto& transcript = Application().Headless().Transcript();
    ASSERT_EQ(transcript.size(), 2u);
    EXPECT_EQ(transcript[1].text, "Confirma exclusão?");
    EXPECT_EQ(transcript[1].type, TMsgDlgType::Confirmation);
    EXPECT_EQ(transcript[1].buttons, (TMsgDlgButtons{TMsgDlgBtn::Yes, TMsgDlgBtn::No}));

    EXPECT_TRUE(Click(frm.sbtVerificar));
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
    EXPECT_EQ(cds.RecordCount(), 2);
    frm.Close();
    EXPECT_TRUE(frm.Closed());
    EXPECT_FALSE(frm.Visible());
}

TEST_F(PadraoGridTest, CopyStartsANewRowWithoutTheKeyFields) {
    code.Tag = 1;
    cds.Next();
    frm.dbgPadrao.SetSelectedIndex(1);
    EXPECT_TRUE(Click(frm.sbtCopiar));
    EXPECT_EQ(cds.State(), TDataSetState::Insert);
    EXPECT_TRUE(code.IsNull());
    EXPECT_EQ(qty.AsFloat(), 2.0);
    EXPECT_EQ(frm.dbgPadrao.SelectedIndex(), 0) << "the key column is selected";
    frm.TypeText("D");
    EXPECT_TRUE(Click(frm.sbtConfirmar));
    EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "D", "B", "C"}));
    EXPECT_EQ(StoredValues(cds, "QTY"), (Texts{"1", "2", "2", "3"}));
}

} // namespace
} // namespace plat
