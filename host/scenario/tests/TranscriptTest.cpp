#include "Transcript.h"
#include "TextFormat.h"

#include <gtest/gtest.h>
#include <sstream>

namespace gerscript {
namespace {

TEST(TextFormat, JsonAndLineTextsEscapeWhatWouldBreakTheirFormat) {
    EXPECT_EQ(JsonText("tab\there\nline\x01"), "\"tab\\there\\nline\\u0001\"");
    // Invalid UTF-8 (a lone continuation byte, a cut sequence) is replaced, never passed on.
    EXPECT_EQ(JsonText("a\x80z"), "\"a\xEF\xBF\xBDz\"");
    EXPECT_EQ(JsonText("S\xC3"), "\"S\xEF\xBF\xBD\"");
    // Line texts keep quotes and backslashes but escape line breaks.
    EXPECT_EQ(LineText("Código deve ser \"informado\" \\ já."),
              "Código deve ser \"informado\" \\ já.");
    EXPECT_EQ(LineText("one\ntwo\r"), "one\\ntwo\\r");
    EXPECT_EQ(LineText("bad\xFF"), "bad\xEF\xBF\xBD");
}

TEST(TextFormat, NumbersAndValuesInShortestForm) {
    EXPECT_EQ(NumberText(-2.5), "-2.5");
    EXPECT_EQ(NumberText(0.1), "0.1");
    EXPECT_EQ(NumberText(1e20), "1e+20");
    EXPECT_EQ(ValueText(plat::Value{std::string()}), "\"\"");
}

// Every scenario transcript shows commands, questions, cache notices and sh exits; these are
// the escapes and counts none of them shows.
TEST(Transcript, EscapesWhatTheScenariosDoNotShow) {
    std::ostringstream out;
    Transcript transcript(out);
    plat::DialogRecord error;
    error.text = "Falha\nna rede";
    transcript.Dialog(error);
    transcript.Call("GetDiaPgto", nlohmann::json::array({"0\"1"}));
    const nlohmann::json delta{{"fields", nlohmann::json::array()},
                               {"changes", nlohmann::json::array({{{"op", "delete"}}, {}})}};
    transcript.Call("SetDiaPgto", nlohmann::json::array({delta}));
    transcript.Call("Other", nlohmann::json::array({7}));
    EXPECT_EQ(out.str(), "error: Falha\\nna rede\n"
                         "call: GetDiaPgto(\"0\\\"1\")\n"
                         "call: SetDiaPgto(2 changes)\n"
                         "call: Other(7)\n");
}

} // namespace
} // namespace gerscript
