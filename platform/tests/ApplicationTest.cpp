#include "app/Application.h"
#include "core/Abort.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

// A form that reports its destruction.
class ProbeForm : public TComponent {
public:
    explicit ProbeForm(bool* destroyed) : TComponent(nullptr, "frmProbe"), destroyed_(destroyed) {}
    ~ProbeForm() override { *destroyed_ = true; }

private:
    bool* destroyed_;
};

TEST(ApplicationTest, HeadlessQuestionsTakeQueuedAnswersThenCountAsNo) {
    HeadlessDialogs dialogs;
    std::vector<std::string> seen;
    dialogs.OnRecord = [&](const DialogRecord& record) { seen.push_back(record.text); };
    dialogs.QueueAnswer(TModalResult::Yes);
    dialogs.QueueAnswer(TModalResult::Cancel);
    const TMsgDlgButtons yesNo{TMsgDlgBtn::Yes, TMsgDlgBtn::No};
    EXPECT_EQ(dialogs.Ask("Primeira?", TMsgDlgType::Confirmation, yesNo, 0), TModalResult::Yes);
    dialogs.ShowError("Falhou.");
    EXPECT_EQ(dialogs.Ask("Segunda?", TMsgDlgType::Warning, yesNo, 7), TModalResult::Cancel);
    EXPECT_EQ(dialogs.PendingAnswers(), 0u);
    EXPECT_EQ(dialogs.Ask("Terceira?", TMsgDlgType::Confirmation, yesNo, 0), TModalResult::No);

    const auto& transcript = dialogs.Transcript();
    ASSERT_EQ(transcript.size(), 4u);
    EXPECT_EQ(seen, (std::vector<std::string>{"Primeira?", "Falhou.", "Segunda?", "Terceira?"}));
    EXPECT_FALSE(transcript[0].unanswered);
    EXPECT_EQ(transcript[2].type, TMsgDlgType::Warning);
    EXPECT_EQ(transcript[2].helpContext, 7);
    EXPECT_EQ(transcript[3].answer, TModalResult::No);
    EXPECT_TRUE(transcript[3].unanswered);
}

TEST(ApplicationTest, DispatchReportsFailuresOnceAndSwallowsTheAbort) {
    TApplication app;
    const auto& transcript = app.Headless().Transcript();

    EXPECT_TRUE(app.Dispatch([] {}));
    EXPECT_FALSE(app.Dispatch([] { Abort(); }));
    EXPECT_TRUE(transcript.empty()) << "the silent abort showed a dialog";

    EXPECT_FALSE(app.Dispatch([] { throw std::runtime_error("Servidor fora do ar."); }));
    EXPECT_FALSE(app.Dispatch([] { throw 42; }));
    ASSERT_EQ(transcript.size(), 2u);
    EXPECT_EQ(transcript[0].kind, DialogRecord::Kind::Error);
    EXPECT_EQ(transcript[0].text, "Servidor fora do ar.");
    EXPECT_EQ(transcript[1].text, "Erro inesperado.");

    // An inner dispatch reports its own failure; the outer action goes on.
    app.Headless().ClearTranscript();
    bool outerFinished = false;
    EXPECT_TRUE(app.Dispatch([&] {
        EXPECT_FALSE(app.Dispatch([] { throw EDatabaseError("Campo inválido."); }));
        outerFinished = true;
    }));
    EXPECT_TRUE(outerFinished);
    ASSERT_EQ(transcript.size(), 1u);
    EXPECT_EQ(transcript[0].text, "Campo inválido.");
}

TEST(ApplicationTest, ReleasedFormLivesUntilTheOutermostDispatchReturns) {
    TApplication app;
    int formChanges = 0;
    app.Subscribe([&](TObservable&, Change what) { formChanges += what == Change::Forms; });

    bool destroyed = false;
    auto form = std::make_unique<ProbeForm>(&destroyed);
    TComponent* raw = form.get();
    app.AdoptForm(std::move(form));
    EXPECT_EQ(app.FormsCreated(), 1);
    EXPECT_EQ(formChanges, 1);

    app.Dispatch([&] {
        app.Dispatch([&] { app.ReleaseForm(raw); });
        EXPECT_FALSE(destroyed) << "destroyed under a running handler";
        app.ReleaseForm(raw); // a second release changes nothing
        throw std::runtime_error("o manipulador falhou depois");
    });
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(app.Forms().empty());
    EXPECT_EQ(formChanges, 2);

    // Outside any dispatch a release destroys at once; a stranger is ignored.
    bool second = false;
    app.AdoptForm(std::make_unique<ProbeForm>(&second));
    ProbeForm stranger(&destroyed);
    app.ReleaseForm(&stranger);
    EXPECT_EQ(app.Forms().size(), 1u);
    app.ReleaseForm(app.Forms()[0]);
    EXPECT_TRUE(second);
    EXPECT_EQ(app.FormsCreated(), 2);
}

TEST(ApplicationTest, CursorNotifiesOnlyWhenItChanges) {
    TApplication app;
    int cursorChanges = 0;
    app.Subscribe([&](TObservable&, Change what) { cursorChanges += what == Change::Cursor; });
    app.SetScreenCursor(TCursor::HourGlass);
    app.SetScreenCursor(TCursor::HourGlass);
    EXPECT_EQ(app.ScreenCursor(), TCursor::HourGlass);
    app.SetScreenCursor(TCursor::Default);
    EXPECT_EQ(cursorChanges, 2);
}

} // namespace
} // namespace plat
