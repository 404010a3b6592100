#include "rdm/DataPacket.h"
#include "rdm/TableDef.h"
#include "rpc/JsonText.h"

#include <gtest/gtest.h>
#include <limits>
#include <nlohmann/json.hpp>

namespace ger {
namespace {

using json = nlohmann::json;

// Answers are written as text without a JSON tree: exactly as nlohmann's writer writes the
// same values, odd bytes of legacy rows included.
TEST(AnswerText, StringsAreWrittenAsTheJsonWriterWritesThem) {
    // Plain, escaped, multibyte, DEL, invalid or cut short, overlong, a surrogate, a NUL.
    std::vector<std::string> texts = {"",
                                      "aspas \" e barra \\",
                                      "ção º",
                                      "\xF0\x9F\x98\x80",
                                      "\x7F",
                                      "A\xFF\x42\xC3",
                                      "\xC0\xAF",
                                      "\xED\xA0\x80",
                                      std::string("nul\0x", 5)};
    for (int c = 1; c < 0x20; ++c)
        texts.push_back("<" + std::string(1, static_cast<char>(c)) + ">");
    for (const std::string& text : texts) {
        std::string written;
        JsonText::AppendString(written, text);
        EXPECT_EQ(written, json(text).dump(-1, ' ', false, json::error_handler_t::replace))
            << json(text).dump(-1, ' ', true, json::error_handler_t::replace);
    }
}

TEST(AnswerText, LegacyValuesOfTheWrongKindAreConvertedOrSentAsNull) {
    const std::vector<FieldDef> fields = DiaPgtoTable().Select({"CDFORMPGTO", "NRMESFORMPGT"});
    const double infinity = std::numeric_limits<double>::infinity();
    const std::vector<SqlRow> rows = {
        {std::string("01"), 2.5},
        {std::int64_t{7}, std::string("2.50")},
        {8.5, std::string("x")},
        {std::monostate{}, infinity},
        {std::string("\xFF"), std::int64_t{3}},
        {std::string("09")}, // a short row: the missing column is null
    };
    const json packet = json::parse(DataPacket::Build(fields, rows));
    EXPECT_EQ(packet["fields"], json::parse(R"([{"name":"CDFORMPGTO","size":2,"type":"string"},
                                                 {"name":"NRMESFORMPGT","type":"float"}])"));
    EXPECT_EQ(packet["rows"], json::parse(R"([["01",2.5],["7",2.5],["8.5",null],[null,null],
                                               ["\ufffd",3.0],["09",null]])"));
}

} // namespace
} // namespace ger
