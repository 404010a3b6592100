#include "shared/Messages.h"

#include "PlatformTestSupport.h"
#include "app/Application.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

TEST(MessagesTest, KeysIgnoreCaseAndTextRunsFromTheFirstBar) {
    TMessages msg(nullptr, "msgPadrao");
    msg.LoadFromText("Excl|Confirma exclusão?\r\n"
                     "\n"
                     "   \n"
                     "Nome_Inf|Nome do item deve ser informado.\n"
                     "Vazio|\n"
                     "Barra|a|b\n"
                     "Qtde_maior|Quantidade %s deve estar entre 1 e 99.\n"
                     "Dup|primeiro\n"
                     "DUP|segundo");
    ASSERT_EQ(msg.Lines().size(), 7u);
    EXPECT_EQ(msg.Lines()[0], (std::pair<std::string, std::string>{"Excl", "Confirma exclusão?"}));

    const std::pair<const char*, const char*> lookups[] = {
        {"nome_inf", "Nome do item deve ser informado."},
        {"EXCL", "Confirma exclusão?"},
        {"Vazio", ""},
        {"barra", "a|b"},
        {"Qtde_maior", "Quantidade %s deve estar entre 1 e 99."},
        {"dup", "primeiro"},
        {"Nao_Existe", "Nao_Existe"},
    };
    for (const auto& [key, text] : lookups)
        EXPECT_EQ(msg.Msg(key), text) << key;

    // A broken catalogue is refused whole.
    EXPECT_THROW(msg.LoadFromText("Bom|texto\nsem barra"), std::runtime_error);
    EXPECT_EQ(msg.Lines().size(), 7u);
}

TEST(MessagesTest, FileRoundTripKeepsAccentsAndOrdinals) {
    test::TempDir dir;
    const std::string path = dir.Write("msg.txt", "\xEF\xBB\xBF"
                                                  "1Lugar|1º Lugar\r\n"
                                                  "7|Médio\r\n"
                                                  "Resp_Nao|Não\r\n");
    TMessages msg(nullptr, "msgPadrao");
    msg.LoadFromFile(path);
    EXPECT_EQ(msg.Msg("1lugar"), "1º Lugar");
    EXPECT_EQ(msg.Msg("7"), "Médio");
    EXPECT_EQ(msg.Msg("Resp_Nao"), "Não");
    EXPECT_EQ(msg.Lines()[0].first, "1Lugar"); // the byte-order mark is not part of the key

    const std::string missing = test::ErrorOf([&] { msg.LoadFromFile(dir.File("faltando.txt")); });
    EXPECT_NE(missing.find("faltando.txt"), std::string::npos) << missing;
}

TEST(MessagesTest, ShowMsgAsksThroughTheApplicationDialogs) {
    HeadlessDialogs& dialogs = Application().Headless();
    dialogs.ClearTranscript();
    TMessages msg(nullptr, "msgPadrao");
    msg.LoadFromText("Canc|Cancelar operação?");
    const TMsgDlgButtons yesNo{TMsgDlgBtn::Yes, TMsgDlgBtn::No};

    dialogs.QueueAnswer(TModalResult::Yes);
    EXPECT_EQ(msg.ShowMsg("Canc", TMsgDlgType::Confirmation, yesNo, 0), TModalResult::Yes);
    EXPECT_EQ(msg.ShowMsg("canc", TMsgDlgType::Confirmation, yesNo, 0), TModalResult::No);

    const auto& transcript = dialogs.Transcript();
    ASSERT_EQ(transcript.size(), 2u);
    EXPECT_EQ(transcript[0].text, "Cancelar operação?");
    EXPECT_EQ(transcript[0].type, TMsgDlgType::Confirmation);
    EXPECT_EQ(transcript[0].buttons, yesNo);
    dialogs.ClearTranscript();
}

} // namespace
} // namespace plat
