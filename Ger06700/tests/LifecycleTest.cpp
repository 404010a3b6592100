// Opening, closing and reopening the screen through the module, and a server that goes down
// (fetches, window states, forms and reports: open-screen, reopen, server-down).
#include "ScreenFixture.h"

#include "net/NetConnection.h"
#include "shared/WaitIndicator.h"

namespace {

using plat::TCursor;

// IniProc shows the hourglass (the first time with the connect's wait) and brings the screen
// back. Closing disconnects; reopened with the module loaded, it waits for a reload.
TEST_F(ScreenTest, IniProcConnectsOnceAndAReopenedScreenWaitsForAReload) {
    std::vector<TCursor> cursors;
    const int ticket = plat::Application().Subscribe([&](plat::TObservable&, plat::Change what) {
        if (what == plat::Change::Cursor) cursors.push_back(plat::Application().ScreenCursor());
    });
    ASSERT_TRUE(IniProc());
    plat::TfrmPadraoGrid& form = Form();
    EXPECT_EQ(*static_cast<void**>(module_->Data("frmFormPgto")), dynamic_cast<void*>(&form));
    EXPECT_EQ(plat::WaitIndicator().Kind(), 0);
    EXPECT_FALSE(plat::WaitIndicator().Active());
    plat::Application().SetActiveForm(nullptr); // the user went to another window
    ASSERT_TRUE(IniProc());
    plat::Application().Unsubscribe(ticket);
    EXPECT_EQ(plat::Application().ActiveForm(), &form);
    EXPECT_EQ(cursors, (std::vector<TCursor>{TCursor::HourGlass, TCursor::Default,
                                             TCursor::HourGlass, TCursor::Default}));
    auto& net = Part<plat::TNetConnection>("netFormPgto");
    bool connected = true, idCriado = true;
    ASSERT_TRUE(Act([&] {
        form.Close();
        connected = net.Connected();
        idCriado = Flag("boIdCriado");
    }));
    EXPECT_FALSE(connected);
    EXPECT_FALSE(idCriado);
    EXPECT_EQ(*static_cast<void**>(module_->Data("frmFormPgto")), nullptr);
    ClearLog();
    ASSERT_TRUE(IniProc());
    EXPECT_TRUE(Part<plat::TNetConnection>("netFormPgto").Connected());
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Grid("dbgPadrao").RowCount(), 0);
    ASSERT_TRUE(Act([&] { Form().sbtVerificar.Click(); }));
    EXPECT_EQ(Calls(), (Texts{"GetFormPgto()", "GetDiaPgto(01)"}));
}

// A failed connect and fetch at opening (retried: server-down) leave the form complete, and
// the next activation fetches. A failed reload stops its wait, keeping list and current term.
TEST_F(ScreenTest, AFailedFetchIsRetriedAndAFailedReloadKeepsTheList) {
    server_.Stop();
    EXPECT_FALSE(IniProc());
    EXPECT_FALSE(plat::WaitIndicator().Active());
    EXPECT_EQ(plat::Application().ScreenCursor(), TCursor::Default);
    EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").Tag, 1); // the key field
    EXPECT_EQ(Terms().FieldByName("IDTIPODTPGTO").EditMask(), ">l;0; ");
    server_.Restart();
    ASSERT_TRUE(Act([&] { Form().Activate(); }));
    Locate("04");
    server_.Stop();
    EXPECT_FALSE(Act([&] { Form().sbtVerificar.Click(); }));
    EXPECT_EQ(plat::WaitIndicator().Kind(), 6);
    EXPECT_FALSE(plat::WaitIndicator().Active());
    EXPECT_EQ(Terms().RecordCount(), 7);
    EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), "04");
    EXPECT_EQ(Days().RecordCount(), 3);
    server_.Restart();
    ASSERT_TRUE(Act([&] { Form().sbtVerificar.Click(); }));
    EXPECT_FALSE(plat::WaitIndicator().Active());
}

} // namespace
