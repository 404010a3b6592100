// Opening, showing again, reactivating, closing and reopening the screen through the module.
#include "ScreenFixture.h"

#include "net/NetConnection.h"
#include "shared/WaitIndicator.h"

namespace {

using nlohmann::json;
using plat::TCursor;
using plat::TWindowState;
using Texts = std::vector<std::string>;
using WaitTrail = std::vector<bool>;
using CursorTrail = std::vector<TCursor>;

const Texts kFirstOpen{"GetFormPgto()", "GetDiaPgto(01)"};

TEST_F(ScreenTest, IniProcShowsEveryTermAndTheFirstTermsSchedule) {
    const int created = plat::Application().FormsCreated();
    ASSERT_TRUE(IniProc());
    EXPECT_TRUE(Errors().empty()) << Errors().front();
    EXPECT_EQ(plat::Application().FormsCreated(), created + 1);

    plat::TfrmPadraoGrid& form = Form();
    EXPECT_EQ(form.Name(), "frmFormPgto");
    EXPECT_EQ(*static_cast<void**>(module_->Data("frmFormPgto")), dynamic_cast<void*>(&form));
    EXPECT_TRUE(Flag("boIdCriado"));
    EXPECT_FALSE(Flag("boPrimVez"));
    EXPECT_TRUE(form.Shown());
    EXPECT_EQ(form.WindowState(), TWindowState::Normal);
    EXPECT_EQ(plat::Application().ActiveForm(), &form);
    EXPECT_TRUE(Part<plat::TNetConnection>("netFormPgto").Connected());

    // Every term, ordered by code, the first one current.
    const json terms = StoredTerms();
    ASSERT_EQ(terms.size(), 7u);
    EXPECT_EQ(Rows(Terms()), terms);
    EXPECT_EQ(GridCodes(), (Texts{"01", "02", "03", "04", "05", "06", "07"}));
    EXPECT_EQ(Terms().RecNo(), 1);
    EXPECT_EQ(Part<plat::TDBText>("dbtNome").Text(), terms[0][1]);

    // Its rows, the page of its PeriodType "M", its highest final day.
    const json days = StoredDays("01");
    ASSERT_FALSE(days.empty());
    EXPECT_EQ(Rows(Days()), days);
    ASSERT_EQ(terms[0][4], "M");
    EXPECT_EQ(Page(), 0);
    EXPECT_EQ(Inspect("stMaxDiaFin"), HighestFinalDay(days));
    EXPECT_EQ(Inspect("stMaxDiaFin"), "31");

    // One fetch of each, under the hourglass; the connect ran under the wait indicator.
    EXPECT_EQ(Calls(), kFirstOpen);
    EXPECT_EQ(form.ActiveControl(), &form.dbgPadrao);
    EXPECT_EQ(Cursors(), (CursorTrail{TCursor::HourGlass, TCursor::Default}));
    EXPECT_EQ(Waits(), (WaitTrail{true, false}));
    EXPECT_EQ(plat::WaitIndicator().Kind(), 0);
}

TEST_F(ScreenTest, IniProcAgainOnlyBringsTheFormBackInTheNormalState) {
    ASSERT_TRUE(IniProc());
    plat::TfrmPadraoGrid& form = Form();
    const int created = plat::Application().FormsCreated();
    for (TWindowState state : {TWindowState::Minimized, TWindowState::Maximized}) {
        SCOPED_TRACE(static_cast<int>(state));
        form.SetWindowState(state);
        plat::Application().SetActiveForm(nullptr); // the user went to another window
        ClearLog();

        ASSERT_TRUE(IniProc());
        EXPECT_EQ(&Form(), &form);
        EXPECT_EQ(plat::Application().FormsCreated(), created);
        EXPECT_EQ(form.WindowState(), TWindowState::Normal);
        EXPECT_EQ(plat::Application().ActiveForm(), &form);
        EXPECT_TRUE(Calls().empty());
        EXPECT_TRUE(Waits().empty()); // no second connect
        EXPECT_EQ(Cursors(), (CursorTrail{TCursor::HourGlass, TCursor::Default}));
        EXPECT_TRUE(Errors().empty());
    }
    EXPECT_EQ(GridCodes().size(), 7u);
}

TEST_F(ScreenTest, ReactivationDoesNotFetchTheListAgain) {
    ASSERT_TRUE(IniProc());
    plat::TfrmPadraoGrid& form = Form();
    ASSERT_TRUE(Act([&] { Terms().Locate("CDFORMPGTO", "03", false); }));
    int repaints = 0;
    const int ticket = form.Subscribe([&](plat::TObservable&, plat::Change what) {
        if (what == plat::Change::Repaint) ++repaints;
    });
    ClearLog();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Act([&] { form.Activate(); }));
    form.Unsubscribe(ticket);

    EXPECT_EQ(repaints, 3); // the activation handler ran each time
    EXPECT_TRUE(Calls().empty());
    EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").AsString(), "03");
    EXPECT_EQ(Rows(Days()), StoredDays("03"));
}

TEST_F(ScreenTest, CloseDisconnectsAndAReloadedModuleOpensAFreshScreen) {
    ASSERT_TRUE(IniProc());
    plat::TfrmPadraoGrid& form = Form();
    auto& net = Part<plat::TNetConnection>("netFormPgto");
    bool connected = true, idCriado = true;
    std::size_t forms = 0;
    ASSERT_TRUE(Act([&] {
        form.Close();
        connected = net.Connected();
        idCriado = Flag("boIdCriado");
        forms = plat::Application().Forms().size();
    }));
    EXPECT_FALSE(connected);
    EXPECT_FALSE(idCriado);
    EXPECT_EQ(forms, 1u); // destroyed only once the user action is over
    EXPECT_TRUE(plat::Application().Forms().empty());
    EXPECT_EQ(*static_cast<void**>(module_->Data("frmFormPgto")), nullptr);

    // The host unloads the module; loading it again starts from module initialization.
    UnloadModule();
    LoadModule();
    EXPECT_TRUE(Flag("boPrimVez"));
    EXPECT_FALSE(Flag("boIdCriado"));
    const int created = plat::Application().FormsCreated();
    ClearLog();
    ASSERT_TRUE(IniProc());
    EXPECT_EQ(plat::Application().FormsCreated(), created + 1);
    auto& again = Part<plat::TNetConnection>("netFormPgto");
    EXPECT_TRUE(again.Connected());
    EXPECT_EQ(again.Port, server_.Port());
    EXPECT_EQ(Waits(), (WaitTrail{true, false}));
    EXPECT_EQ(Calls(), kFirstOpen);
    EXPECT_EQ(GridCodes().size(), 7u);
    EXPECT_EQ(Page(), 0);
    EXPECT_FALSE(Flag("boPrimVez"));
}

// The module kept loaded keeps boPrimVez false: a reopened screen connects but starts with an
// empty list until the user reloads it.
TEST_F(ScreenTest, AScreenReopenedWhileTheModuleStaysLoadedWaitsForAReload) {
    ASSERT_TRUE(IniProc());
    ASSERT_TRUE(Act([&] { Form().Close(); }));
    const int created = plat::Application().FormsCreated();
    ClearLog();

    ASSERT_TRUE(IniProc());
    EXPECT_EQ(plat::Application().FormsCreated(), created + 1);
    EXPECT_TRUE(Part<plat::TNetConnection>("netFormPgto").Connected());
    EXPECT_EQ(Waits(), (WaitTrail{true, false}));
    EXPECT_TRUE(Calls().empty());
    EXPECT_FALSE(Flag("boPrimVez"));
    EXPECT_TRUE(GridCodes().empty());
    EXPECT_TRUE(Days().IsEmpty());
    EXPECT_EQ(Page(), 2); // the page of the description: no term has been current
    EXPECT_EQ(Inspect("stMaxDiaFin"), "00");

    ClearLog();
    ASSERT_TRUE(Act([&] { Form().sbtVerificar.Click(); }));
    EXPECT_EQ(Calls(), kFirstOpen);
    EXPECT_EQ(GridCodes().size(), 7u);
    EXPECT_EQ(Page(), 0);
}

// A first fetch that fails leaves boPrimVez true; the next activation fetches. Two outages:
// the server down (the connect at creation fails and so does the fetch, each reported), and a
// server that is up but refuses the list (one report).
TEST_F(ScreenTest, AFailedFirstFetchIsRetriedOnTheNextActivation) {
    const std::string down = "Falha na comunicação com o servidor de aplicação (127.0.0.1:" +
                             std::to_string(server_.Port()) + "): ";
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
        const int created = plat::Application().FormsCreated();

        EXPECT_FALSE(IniProc());
        EXPECT_EQ(plat::Application().FormsCreated(), created + 1);
        const Texts errors = Errors();
        EXPECT_EQ(errors.size(), outage.reports);
        for (const std::string& error : errors) {
            if (!outage.connected) {
                EXPECT_EQ(error.substr(0, down.size()), down) << error;
            }
        }
        EXPECT_TRUE(Flag("boPrimVez"));
        EXPECT_TRUE(Flag("boIdCriado"));
        EXPECT_EQ(Calls(), Texts{"GetFormPgto()"});
        EXPECT_EQ(Part<plat::TNetConnection>("netFormPgto").Connected(), outage.connected);
        EXPECT_FALSE(plat::WaitIndicator().Active());
        EXPECT_EQ(plat::Application().ScreenCursor(), TCursor::Default);
        EXPECT_TRUE(GridCodes().empty());
        EXPECT_EQ(Page(), 2);
        // The form is complete all the same: key field and reference-date mask are set.
        EXPECT_EQ(Terms().FieldByName("CDFORMPGTO").Tag, 1);
        EXPECT_EQ(Terms().FieldByName("IDTIPODTPGTO").EditMask(), ">l;0; ");

        outage.repair();
        ClearLog();
        plat::TfrmPadraoGrid& form = Form();
        ASSERT_TRUE(Act([&] { form.Activate(); }));
        EXPECT_TRUE(Errors().empty());
        EXPECT_EQ(Calls(), kFirstOpen);
        EXPECT_FALSE(Flag("boPrimVez"));
        EXPECT_EQ(Rows(Terms()), StoredTerms());
        EXPECT_EQ(Page(), 0);
        EXPECT_EQ(Inspect("stMaxDiaFin"), "31");

        ClearLog();
        ASSERT_TRUE(Act([&] { form.Activate(); }));
        EXPECT_TRUE(Calls().empty());
        ASSERT_TRUE(Act([&] { form.Close(); }));
    }
}

} // namespace
