// Opening, reactivating, closing and reopening the screen through the module, and a server
// that goes down. The fetches, window states and report texts a session shows of these are in
// the open-screen, reopen and server-down sessions.
#include "ScreenFixture.h"

#include "net/NetConnection.h"
#include "shared/WaitIndicator.h"

namespace {

using plat::TCursor;
using WaitTrail = std::vector<bool>;

const Texts kFirstOpen{"GetFormPgto()", "GetDiaPgto(01)"};
const std::vector<TCursor> kHourGlass{TCursor::HourGlass, TCursor::Default};

// IniProc connects once, under the hourglass and the wait indicator, and afterwards only
// brings the screen back. Closing disconnects; a screen reopened while the module stays
// loaded connects but starts with an empty list until the user reloads it.
TEST_F(ScreenTest, IniProcConnectsOnceAndAReopenedScreenWaitsForAReload) {
    ASSERT_TRUE(IniProc());
    plat::TfrmPadraoGrid& form = Form();
    EXPECT_EQ(*static_cast<void**>(module_->Data("frmFormPgto")), dynamic_cast<void*>(&form));
    EXPECT_EQ(Cursors(), kHourGlass);
    EXPECT_EQ(Waits(), (WaitTrail{true, false}));
    EXPECT_EQ(plat::WaitIndicator().Kind(), 0);

    plat::Application().SetActiveForm(nullptr); // the user went to another window
    ClearLog();
    ASSERT_TRUE(IniProc());
    EXPECT_EQ(plat::Application().ActiveForm(), &form);
    EXPECT_TRUE(Waits().empty());
    EXPECT_EQ(Cursors(), kHourGlass);

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
    EXPECT_EQ(Calls(), kFirstOpen);
}

// The server down at opening: the connect and the fetch fail (retried at each activation: the
// server-down session), yet the form is complete, and once the server is back the next
// activation fetches the list. A failed reload stops the wait and keeps the list and term.
TEST_F(ScreenTest, AFailedFetchIsRetriedAndAFailedReloadKeepsTheList) {
    server_.Stop();
    EXPECT_FALSE(IniProc());
    EXPECT_TRUE(Flag("boIdCriado"));
    EXPECT_FALSE(plat::WaitIndicator().Active());
    EXPECT_EQ(plat::Application().ScreenCursor(), TCursor::Default);
    EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").Tag, 1); // the key field
    EXPECT_EQ(Terms().FieldByName("IDTIPODTPGTO").EditMask(), ">l;0; ");

    server_.Restart();
    ClearLog();
    ASSERT_TRUE(Act([&] { Form().Activate(); }));
    EXPECT_EQ(Calls(), kFirstOpen);

    Locate("04");
    server_.Stop();
    ClearLog();
    EXPECT_FALSE(Act([&] { Form().sbtVerificar.Click(); }));
    EXPECT_EQ(Waits(), (WaitTrail{true, false}));
    EXPECT_EQ(Terms().RecordCount(), 7);
    EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), "04");
    EXPECT_EQ(Days().RecordCount(), 3);
    server_.Restart();
    ClearLog();
    ASSERT_TRUE(Act([&] { Form().sbtVerificar.Click(); }));
    EXPECT_EQ(Waits(), (WaitTrail{true, false}));
    EXPECT_EQ(plat::WaitIndicator().Kind(), 6);
}

} // namespace
