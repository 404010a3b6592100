#include "Packets.h"
#include "RunningServer.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using nlohmann::json;
using namespace packets;

const char* const kChanged = "Registro alterado ou excluído por outro usuário.";
const char* const kDuplicate = "Forma de pagamento já cadastrada.";

/// Each test starts with terms "01" (two day rows) and "02" (one day row).
class Delta : public ::testing::Test {
protected:
    void SetUp() override {
        client.Result("SetFormPgto",
                      TermDelta({Insert(Term("01", "Um")), Insert(Term("02", "Dois"))}));
        client.Result("SetDiaPgto", DayDelta({Insert(Day01a), Insert(Day01b), Insert(Day02)}));
    }
    json Terms() { return client.Result("GetFormPgto", json::array())["rows"]; }
    json Days(const std::string& code) { return client.Result("GetDiaPgto", {code})["rows"]; }

    const json Day01a = Day("01", "01", "15", "20");
    const json Day01b = Day("01", "16", "31", "10", 1.0, 1.0);
    const json Day02 = Day("02", "01", "31", "05", 1.0, 2.0);
    RunningServer server;
    RpcClient client{server.Port()};
};

// The fields come backwards here, as from a client with another field order (every other test
// sends them in table order): each value still lands in its own column.
TEST_F(Delta, InsertUpdateDeleteWithFieldsInAnyOrder) {
    const json term = Term("07", "Sete", "ENIN", "FORA_MES", "A", "S", nullptr);
    EXPECT_EQ(client.Result("SetFormPgto", TermDelta({Insert(term)}, true)), nullptr);
    EXPECT_EQ(Terms()[2], term);
    const json renamed = Term("07", "Sete dias", "ENIN", "FORA_MES", "A", "S", "N");
    client.Result("SetFormPgto", TermDelta({Update(term, renamed)}, true));
    EXPECT_EQ(Terms()[2], renamed);

    const json day = Day("07", "01", "31", "02", 1.0, 2.0, nullptr);
    const json moved = Day("07", "01", "31", "03", 2.0, 4.0, nullptr);
    client.Result("SetDiaPgto", DayDelta({Insert(day)}, true));
    client.Result("SetDiaPgto", DayDelta({Update(day, moved)}, true));
    EXPECT_EQ(Days("07"), json::array({moved}));
    client.Result("SetDiaPgto", DayDelta({Delete(moved)}, true));
    EXPECT_EQ(Days("07"), json::array());
    client.Result("SetFormPgto", TermDelta({Delete(renamed)}, true));
    EXPECT_EQ(Terms().size(), 2u);
    EXPECT_EQ(client.Result("SetFormPgto", TermDelta({})), nullptr); // nothing to do, no error
}

TEST_F(Delta, ATermsDaysFollowItsCodeAndGoWithIt) {
    client.Result("SetFormPgto", TermDelta({Update(Term("01", "Um"), Term("09", "Um"))}));
    EXPECT_EQ(Days("01"), json::array());
    EXPECT_EQ(Days("09"),
              json::array({Day("09", "01", "15", "20"), Day("09", "16", "31", "10", 1.0, 1.0)}));
    client.Result("SetFormPgto", TermDelta({Delete(Term("09", "Um"))}));
    EXPECT_EQ(Terms(), json::array({Term("02", "Dois")}));
    EXPECT_EQ(Days("02"), json::array({Day02}));
    // A term inserted again under the same code does not find the old days.
    client.Result("SetFormPgto", TermDelta({Insert(Term("09", "Um"))}));
    EXPECT_EQ(Days("09"), json::array());
}

TEST_F(Delta, IdenticalDayRowsAreChangedOneAtATime) {
    const json twin = Day02, changed = Day("02", "01", "31", "06", 1.0, 2.0);
    client.Result("SetDiaPgto", DayDelta({Insert(twin)}));
    client.Result("SetDiaPgto", DayDelta({Update(twin, changed)}));
    json days = Days("02");
    std::sort(days.begin(), days.end());
    EXPECT_EQ(days, json::array({twin, changed}));
    // Both copies in one delta go; a third delete of the same row finds nothing.
    client.Result("SetDiaPgto", DayDelta({Insert(twin)}));
    client.Result("SetDiaPgto", DayDelta({Delete(twin), Delete(twin)}));
    EXPECT_EQ(Days("02"), json::array({changed}));
    EXPECT_EQ(client.Call("SetDiaPgto", DayDelta({Delete(twin)}))["error"]["message"], kChanged);
}

// Every refusal takes the whole delta back (a sound change comes first in each) and says why.
// One row per kind of check: random values are the fuzz targets', stale changes made through
// the screen the refused session's.
TEST_F(Delta, RefusedDeltasChangeNothing) {
    const auto term = [](json row) { return TermDelta({Insert(Term("06")), Insert(row)}); };
    const auto day = [](json row) {
        return DayDelta({Insert(Day("02", "01", "31", "09")), Insert(row)});
    };
    const auto month = [&](json mes) { return day(Day("01", "01", "31", "05", mes)); };
    const auto change = [](json change) { return TermDelta({Insert(Term("05")), change}); };
    const auto withField = [](int index, const char* name) {
        json delta = TermDelta({Insert(Term("05"))});
        delta[0]["fields"][index]["name"] = name;
        return delta;
    };
    const std::string invalid = "Pacote de alterações inválido";
    const struct {
        const char* method;
        json params;
        std::string text; ///< found in the message; the code is -32602 for invalid packets
    } cases[] = {
        {"SetFormPgto", term(Term("")), "CDFORMPGTO"},
        {"SetFormPgto", term({nullptr, "x", nullptr, nullptr, nullptr, nullptr, nullptr}),
         "CDFORMPGTO"},
        {"SetFormPgto", term(Term("05", "Condição de pagamento à vista..")), "NMFORMPGTO"}, // 31
        {"SetFormPgto", term(Term("05", "x", "EMINX")), "IDTIPODTPGTO"},
        {"SetFormPgto", term(Term("05", "x", 1)), "IDTIPODTPGTO"},
        {"SetDiaPgto", month("1"), "NRMESFORMPGT"},
        {"SetDiaPgto", month(11), "NRMESFORMPGT"},
        {"SetDiaPgto", month(0.5), "NRMESFORMPGT"},
        {"SetDiaPgto", day(Day("99", "01", "31", "05")), "CDFORMPGTO"},
        // A day row moved onto a term that is not stored.
        {"SetDiaPgto", DayDelta({Update(Day01a, Day("88", "01", "15", "20"))}), "CDFORMPGTO"},
        {"SetFormPgto", term(Term("02", "Outra")), kDuplicate},
        {"SetFormPgto", TermDelta({Update(Term("01", "Um"), Term("02", "Um"))}), kDuplicate},
        // A null read where a value is stored is a change too.
        {"SetDiaPgto", DayDelta({Delete(Day("01", "01", "15", "20", 0.0, nullptr, nullptr))}),
         kChanged},
        {"SetFormPgto", withField(1, "CDFORMPGTO"), invalid},
        {"SetFormPgto", withField(6, "NOVOCAMPO"), invalid},
        {"SetFormPgto", change({{"op", "upsert"}, {"new", Term("07")}}), invalid},
        {"SetFormPgto", change(Insert(json::array({"07", "x"}))), invalid},
    };
    const json termsBefore = Terms();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.params.dump());
        const json error = client.Call(c.method, c.params).value("error", json::object());
        EXPECT_EQ(error.value("code", 0), c.text == invalid ? -32602 : 1);
        EXPECT_NE(error.value("message", "").find(c.text), std::string::npos) << error;
        EXPECT_EQ(Terms(), termsBefore);
        EXPECT_EQ(Days("01"), json::array({Day01a, Day01b}));
        EXPECT_EQ(Days("02"), json::array({Day02}));
    }
    // Widths count characters, not bytes; nulls pass everywhere but in the code.
    client.Result("SetFormPgto",
                  TermDelta({Insert(Term("05", "Condição de pagamento à vista.", // 30
                                         nullptr, nullptr, nullptr, nullptr, nullptr))}));
    client.Result(
        "SetDiaPgto",
        DayDelta({Insert(Day("05", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))}));
    EXPECT_EQ(Days("05").size(), 1u);
    // A day row moved onto another stored term goes.
    client.Result("SetDiaPgto", DayDelta({Update(Day01a, Day("02", "01", "15", "20"))}));
    EXPECT_EQ(Days("02").size(), 2u);
    EXPECT_EQ(Days("01"), json::array({Day01b}));
}

TEST_F(Delta, LegacyValuesSurviveUnrelatedEdits) {
    // Only SQLite keeps a text longer than its column; elsewhere the name is as long as allowed.
    auto storage = server.OpenStorage();
    const std::string name(storage->Dialect().engine() == ger::SqlDialect::Engine::SQLite ? 35 : 30,
                           'n');
    storage->Execute("INSERT INTO FORMPGTO VALUES ('L1', ?, 'XXXX', 'OUTRA', 'Z', 'T', '?')",
                     {name});
    const json legacy = Term("L1", name, "XXXX", "OUTRA", "Z", "T", "?");
    ASSERT_EQ(Terms()[2], legacy);
    // Editing another field keeps the out-of-table values as they are.
    const json edited = Term("L1", name, "XXXX", "OUTRA", "S", "T", "?");
    client.Result("SetFormPgto", TermDelta({Update(legacy, edited)}));
    EXPECT_EQ(Terms()[2], edited);
    // A value changed to another one outside its table is refused.
    const json refused =
        client.Call("SetFormPgto",
                    TermDelta({Update(edited, Term("L1", name, "XXXX", "OUTRA", "S", "T", "!"))}));
    EXPECT_NE(refused["error"]["message"].get<std::string>().find("IDVRIGUALPARC"),
              std::string::npos)
        << refused;
    EXPECT_EQ(Terms()[2], edited);
}

} // namespace
