#include "app/Dialogs.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

TEST(DialogsTest, QuestionsTakeQueuedAnswersThenCountAsNo) {
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
    EXPECT_EQ(transcript[0].kind, DialogRecord::Kind::Question);
    EXPECT_EQ(transcript[0].buttons, yesNo);
    EXPECT_FALSE(transcript[0].unanswered);
    EXPECT_EQ(transcript[1].kind, DialogRecord::Kind::Error);
    EXPECT_EQ(transcript[2].type, TMsgDlgType::Warning);
    EXPECT_EQ(transcript[2].helpContext, 7);
    EXPECT_EQ(transcript[3].answer, TModalResult::No);
    EXPECT_TRUE(transcript[3].unanswered);

    dialogs.ClearTranscript();
    EXPECT_TRUE(dialogs.Transcript().empty());
}

} // namespace
} // namespace plat
