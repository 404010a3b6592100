#include "app/Application.h"
#include "core/Abort.h"
#include "shared/Consiste.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

TEST(ConsisteTextTest, EmptyStringMeansNothingEntered) {
    const std::pair<const char*, bool> cases[] = {
        {"", true},    {" ", true},   {"  ", true},  {"\t", true},
        {"01", false}, {" 1", false}, {"a ", false},
    };
    for (const auto& [text, empty] : cases)
        EXPECT_EQ(EmptyString(text), empty) << "'" << text << "'";
}

TEST(ConsisteTextTest, AjustaPadsCodesToTheirWidth) {
    struct Case {
        const char* text;
        int width;
        const char* result;
    };
    const Case cases[] = {
        {"5", 2, "05"},  {"12", 2, "12"}, {"", 2, "00"},   {"123", 2, "123"},
        {"5 ", 2, "05"}, {" 7", 2, "07"}, {"ã", 3, "00ã"}, {"7", 1, "7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Ajusta(c.text, c.width), c.result) << "'" << c.text << "'";
}

TEST(ConsisteTextTest, FormatFillsTheFirstPlaceholder) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Quantidade %s deve estar entre 1 e 99.", "do pedido",
         "Quantidade do pedido deve estar entre 1 e 99."},
        {"Preço %s informado é inválido.", "de venda", "Preço de venda informado é inválido."},
        {"sem marcador", "x", "sem marcador"},
        {"%s e %s", "a", "a e %s"},
        {"%s", "", ""},
    };
    for (const auto& [pattern, arg, result] : cases)
        EXPECT_EQ(Format(pattern, arg), result);
}

TEST(ConsisteTextTest, MensErroShowsTheTextThenAbortsWhenAsked) {
    HeadlessDialogs& dialogs = Application().Headless();
    dialogs.ClearTranscript();
    EXPECT_THROW(MensErro("Nome deve ser informado.", true), EAbort);
    EXPECT_NO_THROW(MensErro("Só um aviso.", false));
    ASSERT_EQ(dialogs.Transcript().size(), 2u);
    EXPECT_EQ(dialogs.Transcript()[0].kind, DialogRecord::Kind::Error);
    EXPECT_EQ(dialogs.Transcript()[0].text, "Nome deve ser informado.");
    EXPECT_EQ(dialogs.Transcript()[1].text, "Só um aviso.");
    dialogs.ClearTranscript();
}

} // namespace
} // namespace plat
