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
    ASSERT_TRUE(IniProc());
    EXPECT_TRUE(Errors().empty());
    plat::TfrmPadraoGrid& form = Form();
    EXPECT_EQ(form.Name(), "frmFormPgto");
    EXPECT_EQ(*static_cast<void**>(module_->Data("frmFormPgto")), dynamic_cast<void*>(&form));
    EXPECT_TRUE(Flag("boIdCriado"));
    EXPECT_FALSE(Flag("boPrimVez"));
    EXPECT_TRUE(form.Shown());
    EXPECT_EQ(plat::Application().ActiveForm(), &form);
    EXPECT_TRUE(Part<plat::TNetConnection>("netFormPgto").Connected());
    EXPECT_EQ(Calls(), kFirstOpen);
    EXPECT_EQ(Cursors(), kHourGlass);
    EXPECT_EQ(Waits(), (WaitTrail{true, false})); // the connect
    EXPECT_EQ(plat::WaitIndicator().Kind(), 0);

    for (TWindowState state : {TWindowState::Minimized, TWindowState::Maximized}) {
        SCOPED_TRACE(static_cast<int>(state));
        form.SetWindowState(state);
        plat::Application().SetActiveForm(nullptr); // the user went to another window
        ClearLog();
        ASSERT_TRUE(IniProc());
        EXPECT_EQ(&Form(), &form);
        EXPECT_EQ(form.WindowState(), TWindowState::Normal);
        EXPECT_EQ(plat::Application().ActiveForm(), &form);
        EXPECT_TRUE(Calls().empty());
        EXPECT_TRUE(Waits().empty()); // no second connect
        EXPECT_EQ(Cursors(), kHourGlass);
    }

    // Each activation repaints and fetches nothing; the current term stays.
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
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), "03");
}

// Closing disconnects. A screen reopened while the module stays loaded connects but starts
// with an empty list until the user reloads it; a reloaded module fetches at opening again.
TEST_F(ScreenTest, CloseDisconnectsAndOnlyAReloadedModuleFetchesTheListAtOpening) {
    ASSERT_TRUE(IniProc());
    auto& net = Part<plat::TNetConnection>("netFormPgto");
    bool connected = true, idCriado = true;
    std::size_t forms = 0;
    ASSERT_TRUE(Act([&] {
        Form().Close();
        connected = net.Connected();
        idCriado = Flag("boIdCriado");
        forms = plat::Application().Forms().size();
    }));
    EXPECT_FALSE(connected);
    EXPECT_FALSE(idCriado);
    EXPECT_EQ(forms, 1u); // destroyed only once the user action is over
    EXPECT_TRUE(plat::Application().Forms().empty());
    EXPECT_EQ(*static_cast<void**>(module_->Data("frmFormPgto")), nullptr);

    ClearLog();
    ASSERT_TRUE(IniProc());
    EXPECT_TRUE(Part<plat::TNetConnection>("netFormPgto").Connected());
    EXPECT_EQ(Waits(), (WaitTrail{true, false}));
    EXPECT_TRUE(Calls().empty());
    EXPECT_TRUE(GridCodes().empty());
    EXPECT_TRUE(Days().IsEmpty());
    EXPECT_EQ(Page(), 2); // the page of the description: no term has been current
    EXPECT_EQ(Inspect("stMaxDiaFin"), "00");
    ClearLog();
    ASSERT_TRUE(Act([&] { Form().sbtVerificar.Click(); }));
    EXPECT_EQ(Calls(), kFirstOpen);
    EXPECT_EQ(Page(), 0);

    ASSERT_TRUE(Act([&] { Form().Close(); }));
    UnloadModule();
    LoadModule();
    EXPECT_TRUE(Flag("boPrimVez"));
    EXPECT_FALSE(Flag("boIdCriado"));
    ClearLog();
    ASSERT_TRUE(IniProc());
    EXPECT_EQ(Part<plat::TNetConnection>("netFormPgto").Port, server_.Port());
    EXPECT_EQ(Calls(), kFirstOpen);
    EXPECT_EQ(GridCodes().size(), 7u);
}

// A first fetch that fails leaves boPrimVez true; the next activation fetches. Two outages:
// the server down (the connect at creation fails and so does the fetch, each reported), and a
// server that is up but refuses the list (one report).
TEST_F(ScreenTest, AFailedFirstFetchIsRetriedOnTheNextActivation) {
    struct Outage {
        const char* name;
        std::function<void()> cause, repair;
        std::size_t reports;
        bool connected;
    };
    const Outage outages[] = {
        {"server down", [&] { server_.Stop(); }, [&] { server_.Restart(); }, 2, false},
        {"list refused", [&] { Write("ALTER TABLE FORMPGTO RENAME TO FORMPGTO_FORA"); },
         [&] { Write("ALTER TABLE FORMPGTO_FORA RENAME TO FORMPGTO"); }, 1, true},
    };
    for (const Outage& outage : outages) {
        SCOPED_TRACE(outage.name);
        UnloadModule();
        LoadModule();
        outage.cause();
        ClearLog();
        EXPECT_FALSE(IniProc());
        EXPECT_EQ(Errors().size(), outage.reports); // their texts: the server-down session
        EXPECT_TRUE(Flag("boPrimVez"));
        EXPECT_TRUE(Flag("boIdCriado"));
        EXPECT_EQ(Calls(), Texts{"GetFormPgto()"});
        EXPECT_EQ(Part<plat::TNetConnection>("netFormPgto").Connected(), outage.connected);
        EXPECT_FALSE(plat::WaitIndicator().Active());
        EXPECT_EQ(plat::Application().ScreenCursor(), TCursor::Default);
        EXPECT_EQ(Page(), 2);
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
        ASSERT_TRUE(Act([&] { Form().Close(); }));
    }
}

} // namespace
