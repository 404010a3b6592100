#include "shared/Messages.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

TEST(MessagesTest, KeysIgnoreCaseAndTextRunsFromTheFirstBar) {
    TMessages msg(nullptr, "msgPadrao");
    msg.LoadFromText("Excl|Confirma exclusão?\r\n"
                     "\n"
                     "   \n"
                     "Vazio|\n"
                     "Barra|a|b\n"
                     "Dup|primeiro\n"
                     "DUP|segundo");
    ASSERT_EQ(msg.Lines().size(), 5u);
    EXPECT_EQ(msg.Lines()[0], (std::pair<std::string, std::string>{"Excl", "Confirma exclusão?"}));

    const std::pair<const char*, const char*> lookups[] = {{"EXCL", "Confirma exclusão?"},
                                                           {"Vazio", ""},
                                                           {"barra", "a|b"},
                                                           {"dup", "primeiro"},
                                                           {"Nao_Existe", "Nao_Existe"}};
    for (const auto& [key, text] : lookups)
        EXPECT_EQ(msg.Msg(key), text) << key;

    // A broken catalogue is refused whole.
    EXPECT_THROW(msg.LoadFromText("Bom|texto\nsem barra"), std::runtime_error);
    EXPECT_EQ(msg.Lines().size(), 5u);
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

    EXPECT_TRUE(test::Says([&] { msg.LoadFromFile(dir.File("faltando.txt")); }, "faltando.txt"));
}

} // namespace
} // namespace plat
