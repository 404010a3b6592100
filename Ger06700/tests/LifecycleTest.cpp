// Opening, showing again, reactivating, closing and reopening the screen through the module.
#include "ScreenFixture.h"

#include "net/NetConnection.h"
#include "shared/WaitIndicator.h"

namespace {

using plat::TCursor;
using plat::TWindowState;
using WaitTrail = std::vector<bool>;
using CursorTrail = std::vector<TCursor>;

const Texts kFirstOpen{"GetFormPgto()", "GetDiaPgto(01)"};
const CursorTrail kHourGlass{TCursor::HourGlass, TCursor::Default};

TEST_F(ScreenTest, IniProcConnectsOnceAndAfterwardsOnlyBringsTheScreenBack) {
    // The form shown and the list fetched without a report, and the flags of a first opening
    // (created=1 and no second fetch): the open-screen session.
    ASSERT_TRUE(IniProc());
    plat::TfrmPadraoGrid& form = Form();
    EXPECT_EQ(*static_cast<void**>(module_->Data("frmFormPgto")), dynamic_cast<void*>(&form));
    EXPECT_EQ(plat::Application().ActiveForm(), &form);
    // Its printer set-up entry is off (the print button and list entry: the faults session).
    EXPECT_FALSE(form.mnuConfigImpressora.Enabled());
    EXPECT_EQ(Cursors(), kHourGlass);
    EXPECT_EQ(Waits(), (WaitTrail{true, false})); // the connect
    EXPECT_EQ(plat::WaitIndicator().Kind(), 0);

    // Opening again only brings the screen back (the window states and the fetches: the
    // open-screen session), without a second connect.
    form.SetWindowState(TWindowState::Minimized);
    plat::Application().SetActiveForm(nullptr); // the user went to another window
    ClearLog();
    ASSERT_TRUE(IniProc());
    EXPECT_EQ(plat::Application().ActiveForm(), &form);
    EXPECT_TRUE(Waits().empty());
    EXPECT_EQ(Cursors(), kHourGlass);

    // Each activation repaints; the current term stays.
    Locate("03");
    int repaints = 0;
    const int ticket = form.Subscribe([&](plat::TObservable&, plat::Change what) {
        if (what == plat::Change::Repaint) ++repaints;
    });
    ClearLog();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Act([&] { form.Activate(); }));
    form.Unsubscribe(ticket);
    EXPECT_EQ(repaints, 3);
    EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), "03");
}

// Closing disconnects. A screen reopened while the module stays loaded connects but starts
// with an empty list until the user reloads it (a reloaded module fetches at opening again:
// the reopen session).
TEST_F(ScreenTest, CloseDisconnectsAndAReopenedScreenWaitsForAReload) {
    ASSERT_TRUE(IniProc());
    auto& net = Part<plat::TNetConnection>("netFormPgto");
    bool connected = true, idCriado = true;
    ASSERT_TRUE(Act([&] {
        Form().Close();
        connected = net.Connected();
        idCriado = Flag("boIdCriado");
    }));
    EXPECT_FALSE(connected);
    EXPECT_FALSE(idCriado);
    EXPECT_TRUE(plat::Application().Forms().empty());
    EXPECT_EQ(*static_cast<void**>(module_->Data("frmFormPgto")), nullptr);

    ClearLog();
    ASSERT_TRUE(IniProc());
    EXPECT_TRUE(Part<plat::TNetConnection>("netFormPgto").Connected());
    EXPECT_EQ(Waits(), (WaitTrail{true, false}));
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Grid("dbgPadrao").RowCount(), 0);
    EXPECT_TRUE(Days().IsEmpty());
    EXPECT_EQ(Page(), 2); // the page of the description: no term has been current
    EXPECT_EQ(Inspect("stMaxDiaFin"), "00");
    ClearLog();
    ASSERT_TRUE(Act([&] { Form().sbtVerificar.Click(); }));
    EXPECT_EQ(Calls(), kFirstOpen);
    EXPECT_EQ(Page(), 0);
}

// Two outages: the server down (the connect at creation fails and so does the fetch, each
// reported; their texts: the server-down session), and a server that is up but refuses the
// list (one report). A first fetch that fails leaves boPrimVez true and the next activation
// fetches; a reload that fails is reported once, stops the wait indicator and keeps the list.
TEST_F(ScreenTest, AFailedFetchIsRetriedAndAFailedReloadKeepsTheList) {
    struct Outage {
        const char* name;
        std::function<void()> cause, repair;
        std::size_t reports;
        bool connected;
        const char* reloadReport; // how the report of a failed reload begins
    };
    const Outage outages[] = {
        {"server down", [&] { server_.Stop(); }, [&] { server_.Restart(); }, 2, false,
         "Falha na comunicação com o servidor de aplicação"},
        {"list refused", [&] { Write("ALTER TABLE FORMPGTO RENAME TO FORMPGTO_FORA"); },
         [&] { Write("ALTER TABLE FORMPGTO_FORA RENAME TO FORMPGTO"); }, 1, true, "Erro"},
    };
    for (const Outage& outage : outages) {
        SCOPED_TRACE(outage.name);
        UnloadModule();
        LoadModule();
        outage.cause();
        ClearLog();
        EXPECT_FALSE(IniProc());
        EXPECT_EQ(Errors().size(), outage.reports);
        EXPECT_TRUE(Flag("boPrimVez"));
        EXPECT_TRUE(Flag("boIdCriado"));
        EXPECT_EQ(Part<plat::TNetConnection>("netFormPgto").Connected(), outage.connected);
        EXPECT_FALSE(plat::WaitIndicator().Active());
        EXPECT_EQ(plat::Application().ScreenCursor(), TCursor::Default);
        // The form is complete all the same: key field and reference-date mask are set.
        EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").Tag, 1);
        EXPECT_EQ(Terms().FieldByName("IDTIPODTPGTO").EditMask(), ">l;0; ");

        outage.repair();
        for (const Texts& calls : {kFirstOpen, Texts{}}) {
            ClearLog();
            ASSERT_TRUE(Act([&] { Form().Activate(); }));
            EXPECT_TRUE(Errors().empty());
            EXPECT_EQ(Calls(), calls);
        }
        EXPECT_FALSE(Flag("boPrimVez"));
        EXPECT_EQ(Rows(Terms()), StoredTerms());
        EXPECT_EQ(Inspect("stMaxDiaFin"), "31");

        // The reload, once failing and once repaired (what it then fetches: the reload session).
        Locate("04");
        const nlohmann::json shown = Rows(Terms()), days = Rows(Days());
        outage.cause();
        ClearLog();
        EXPECT_FALSE(Act([&] { Form().sbtVerificar.Click(); }));
        const Texts errors = Errors();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].rfind(outage.reloadReport, 0), 0u) << errors[0];
        EXPECT_EQ(Waits(), (WaitTrail{true, false}));
        EXPECT_EQ(Calls(), Texts{"GetFormPgto()"});
        EXPECT_EQ(Rows(Terms()), shown);
        EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), "04");
        EXPECT_EQ(Rows(Days()), days);
        outage.repair();
        ClearLog();
        ASSERT_TRUE(Act([&] { Form().sbtVerificar.Click(); }));
        EXPECT_EQ(Waits(), (WaitTrail{true, false}));
        EXPECT_EQ(plat::WaitIndicator().Kind(), 6);
        ASSERT_TRUE(Act([&] { Form().Close(); }));
    }
}

} // namespace
