#include "core/Value.h"
#include "PlatformTestSupport.h"
#include "core/Abort.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

const auto ErrorOf = &test::ErrorOf<EDatabaseError>;

TEST(ValueTest, FloatToStrWritesTheShortestText) {
    const std::pair<double, const char*> cases[] = {
        {31, "31"},      {-3.75, "-3.75"},     {0.1 + 0.2, "0.3"},
        {-0.0, "0"},     {1e-05, "1E-5"},      {0.0001, "0.0001"},
        {1e+15, "1E15"}, {-2.5e-7, "-2.5E-7"}, {1e14, "100000000000000"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FloatToStr(value, 15), text) << value;
    EXPECT_EQ(FloatToStr(2.0 / 3, 2), "0.67");
    EXPECT_EQ(FloatToStr(1234567, 3), "1.23E6");
}

TEST(ValueTest, StrToFloatReadsTypedNumbers) {
    const std::pair<const char*, double> cases[] = {
        {"2.5", 2.5}, {"  2,5 ", 2.5}, {"-1,25", -1.25}, {"+3", 3}, {"\t7\t", 7}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(StrToFloat(text), value) << text;

    for (const char* bad :
         {"abc", " ", "1,2,3", "1.234,5", "inf", "nan", "+-1", "2,5x", "0x10", "1e999"})
        EXPECT_EQ(ErrorOf([&] { StrToFloat(bad); }),
                  "'" + std::string(bad) + "' não é um valor numérico válido.");
}

TEST(ValueTest, StrToIntReadsWholeNumbersOnly) {
    const std::pair<const char*, int> cases[] = {{" -7 ", -7}, {"+3", 3}, {"007", 7}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(StrToInt(text), value) << text;

    for (const char* bad : {"x", "1.5", "", "99999999999", "-", "1 2"})
        EXPECT_EQ(ErrorOf([&] { StrToInt(bad); }),
                  "'" + std::string(bad) + "' não é um número inteiro válido.");
}

TEST(ValueTest, CaseChangesAndSameTextIgnoresItForAsciiAndAccentedLetters) {
    // The ordinal sign has no case, nor have the multiplication and division signs.
    const std::pair<const char*, const char*> pairs[] = {
        {"àáâãäéêíóôõúüç", "ÀÁÂÃÄÉÊÍÓÔÕÚÜÇ"}, {"mês 1º", "MÊS 1º"}, {"a×b÷c", "A×B÷C"}, {"ÿ", "Ÿ"}};
    for (const auto& [lower, upper] : pairs) {
        EXPECT_EQ(UpperCase(lower), upper);
        EXPECT_EQ(LowerCase(upper), lower);
        EXPECT_TRUE(SameText(lower, upper)) << lower;
    }
    EXPECT_TRUE(SameText("Ref_inf", "REF_INF"));
    EXPECT_FALSE(SameText("Medio", "Médio")) << "an accent is no letter case";
    EXPECT_FALSE(SameText("Ref", "Ref_inf"));
}

TEST(ValueTest, Utf8HelpersCountCharactersNotBytes) {
    EXPECT_EQ(Utf8Length("Médio"), 5u);
    EXPECT_EQ(Utf8Left("Médio", 2), "Mé");
    EXPECT_EQ(Utf8Left("ab", 5), "ab");
    EXPECT_EQ(Utf8DropLast("Sá"), "S");
    EXPECT_EQ(Utf8DropLast(""), "");
    EXPECT_EQ(Utf8Characters("1º Mês"), (std::vector<std::string>{"1", "º", " ", "M", "ê", "s"}));
}

} // namespace
} // namespace plat
