#include "Packets.h"
#include "RpcClient.h"
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

TEST_F(Delta, InsertUpdateDeleteWithFieldsInAnyOrder) {
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "fields reversed" : "fields in table order");
        const json term = Term("07", "Sete", "ENIN", "FORA_MES", "A", "S", nullptr);
        EXPECT_EQ(client.Result("SetFormPgto", TermDelta({Insert(term)}, reversed)), nullptr);
        EXPECT_EQ(Terms()[2], term);

        const json renamed = Term("07", "Sete dias", "ENIN", "FORA_MES", "A", "S", "N");
        client.Result("SetFormPgto", TermDelta({Update(term, renamed)}, reversed));
        EXPECT_EQ(Terms()[2], renamed);

        const json day = Day("07", "01", "31", "02", 1.0, 2.0, nullptr);
        const json moved = Day("07", "01", "31", "03", 2.0, 4.0, nullptr);
        client.Result("SetDiaPgto", DayDelta({Insert(day)}, reversed));
        client.Result("SetDiaPgto", DayDelta({Update(day, moved)}, reversed));
        EXPECT_EQ(Days("07"), json::array({moved}));
        client.Result("SetDiaPgto", DayDelta({Delete(moved)}, reversed));
        EXPECT_EQ(Days("07"), json::array());

        client.Result("SetFormPgto", TermDelta({Delete(renamed)}, reversed));
        EXPECT_EQ(Terms().size(), 2u);
    }
    // An empty change log changes nothing and is no error.
    EXPECT_EQ(client.Result("SetFormPgto", TermDelta({})), nullptr);
}

TEST_F(Delta, ATermsDaysFollowItsCodeAndGoWithIt) {
    client.Result("SetFormPgto", TermDelta({Update(Term("01", "Um"), Term("09", "Um"))}));
    EXPECT_EQ(Days("01"), json::array());
    EXPECT_EQ(Days("09"),
              json::array({Day("09", "01", "15", "20"), Day("09", "16", "31", "10", 1.0, 1.0)}));
    client.Result("SetFormPgto", TermDelta({Delete(Term("09", "Um"))}));
    EXPECT_EQ(Terms(), json::array({Term("02", "Dois")}));
    EXPECT_EQ(Days("09"), json::array());
    EXPECT_EQ(Days("02"), json::array({Day02}));
    // A term inserted again under the same code does not find the old days.
    client.Result("SetFormPgto", TermDelta({Insert(Term("09", "Um"))}));
    EXPECT_EQ(Days("09"), json::array());
}

/// Rows in a canonical order, for comparing sets of rows that cannot be told apart.
json Sorted(json rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
}

TEST_F(Delta, IdenticalDayRowsAreChangedOneAtATime) {
    const json twin = Day("02", "01", "31", "05", 1.0, 2.0); // equal to Day02 in every column
    client.Result("SetDiaPgto", DayDelta({Insert(twin)}));
    ASSERT_EQ(Days("02").size(), 2u);

    const json changed = Day("02", "01", "31", "06", 1.0, 2.0);
    client.Result("SetDiaPgto", DayDelta({Update(twin, changed)}));
    EXPECT_EQ(Sorted(Days("02")), Sorted(json::array({twin, changed})));

    // Both copies in one delta go; a third delete of the same row finds nothing.
    client.Result("SetDiaPgto", DayDelta({Insert(twin)}));
    client.Result("SetDiaPgto", DayDelta({Delete(twin), Delete(twin)}));
    EXPECT_EQ(Days("02"), json::array({changed}));
    EXPECT_EQ(client.Error("SetDiaPgto", DayDelta({Delete(twin)}))["message"], kChanged);
}

// Every refusal takes the whole delta back: a sound change comes first in each and must not
// stay; the message says why (the field at fault, or the row another user changed).
TEST_F(Delta, RefusedDeltasChangeNothing) {
    struct Case {
        const char* method;
        json params;
        int code;
        std::string text; // found in the message
    };
    const auto badTerm = [](json row, const char* field) {
        return Case{"SetFormPgto", TermDelta({Insert(Term("06")), Insert(std::move(row))}), 1,
                    field};
    };
    const auto badDay = [](json row, const char* field) {
        return Case{"SetDiaPgto",
                    DayDelta({Insert(Day("02", "01", "31", "09")), Insert(std::move(row))}), 1,
                    field};
    };
    const auto month = [&](json mes, json numMeses, const char* field) {
        return badDay(Day("01", "01", "31", "05", std::move(mes), std::move(numMeses)), field);
    };
    const auto malformed = [](json params) {
        return Case{"SetFormPgto", std::move(params), -32602, "Pacote de alterações inválido"};
    };
    const auto termChange = [&](json change) {
        return malformed(TermDelta({Insert(Term("05")), std::move(change)}));
    };
    const json stale = Term("01", "Um (lido antes)");
    const json staleDay = Day("01", "01", "15", "21");
    const json nulls = json::array({nullptr, "x", nullptr, nullptr, nullptr, nullptr, nullptr});
    json missing = TermDelta({Insert(Term("05"))});
    missing[0]["fields"].erase(missing[0]["fields"].begin() + 3);
    json duplicated = TermDelta({Insert(Term("05"))});
    duplicated[0]["fields"][1]["name"] = "CDFORMPGTO";
    json unknown = TermDelta({Insert(Term("05"))});
    unknown[0]["fields"][6]["name"] = "NOVOCAMPO";
    const std::vector<Case> cases{
        badTerm(Term("1234"), "CDFORMPGTO"),
        badTerm(Term(""), "CDFORMPGTO"),
        badTerm(nulls, "CDFORMPGTO"),
        badTerm(Term("05", "Condição de pagamento à vista.."), "NMFORMPGTO"), // 31 characters
        badTerm(Term("05", "x", "EMINX"), "IDTIPODTPGTO"),
        badTerm(Term("05", "x", 1), "IDTIPODTPGTO"),
        badTerm(Term("05", "x", "EMIN", "FORA"), "IDREFECALCPARC"),
        badTerm(Term("05", "x", "EMIN", "FORA_MES", "m"), "IDTPPERIODO"),
        badTerm(Term("05", "x", "EMIN", "FORA_MES", "M", "s"), "IDCONSDIAUTIL"),
        badTerm(Term("05", "x", "EMIN", "FORA_MES", "M", "S", "Sim"), "IDVRIGUALPARC"),
        badDay(Day("01", "001", "31", "05"), "NRDIAINIPGTO"),
        badDay(Day("01", "01", 31, "05"), "NRDIAFINPGTO"),
        badDay(Day("01", "01", "31", "5º."), "NRDIAPGTOVAR"),
        month("1", nullptr, "NRMESFORMPGT"),
        month(11, nullptr, "NRMESFORMPGT"),
        month(0.5, nullptr, "NRMESFORMPGT"),
        month(1.0, json::array(), "NRNUMMESPGTO"),
        month(1.0, 1e6, "NRNUMMESPGTO"),
        badDay(Day("01", "01", "31", "05", 1.0, 1.0, "008"), "NRDIAPGTOSEMANA"),
        badDay(Day("99", "01", "31", "05"), "CDFORMPGTO"),
        // A day row moved onto a term that is not stored.
        {"SetDiaPgto", DayDelta({Update(Day01a, Day("88", "01", "15", "20"))}), 1, "CDFORMPGTO"},
        {"SetFormPgto", TermDelta({Insert(Term("05")), Insert(Term("02", "Outra"))}), 1,
         kDuplicate},
        {"SetFormPgto", TermDelta({Update(Term("01", "Um"), Term("02", "Um"))}), 1, kDuplicate},
        {"SetFormPgto", TermDelta({Insert(Term("05")), Update(stale, Term("01", "Novo"))}), 1,
         kChanged},
        {"SetDiaPgto", DayDelta({Insert(Day("02", "01", "31", "06")), Delete(staleDay)}), 1,
         kChanged},
        // A null read where a value is stored is a change too.
        {"SetDiaPgto", DayDelta({Delete(Day("01", "01", "15", "20", 0.0, nullptr, nullptr))}), 1,
         kChanged},
        malformed(json::array({{{"changes", json::array()}}})),
        malformed(missing),
        malformed(duplicated),
        malformed(unknown),
        termChange({{"op", "upsert"}, {"new", Term("07")}}),
        termChange(Insert(json::array({"07", "x"}))),
        termChange(Insert(json::array({"07", "x", "EMIN", nullptr, "M", "N", "S", "extra"}))),
        termChange("insert"),
    };
    const json termsBefore = Terms();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.params.dump());
        const json error = client.Error(c.method, c.params);
        EXPECT_EQ(error["code"], c.code);
        EXPECT_NE(error["message"].get<std::string>().find(c.text), std::string::npos)
            << error["message"];
        EXPECT_EQ(Terms(), termsBefore);
        EXPECT_EQ(Days("01"), json::array({Day01a, Day01b}));
        EXPECT_EQ(Days("02"), json::array({Day02}));
    }
    // The stale term deletion and day update are the term-refused and day-refused sessions'.
    // Widths count characters, not bytes; nulls pass everywhere but in the code.
    const json accented = Term("05", "Condição de pagamento à vista.", // 30 characters, 33 bytes
                               nullptr, nullptr, nullptr, nullptr, nullptr);
    client.Result("SetFormPgto", TermDelta({Insert(accented)}));
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
    auto storage = server.OpenStorage();
    // Only SQLite keeps a text longer than its column; elsewhere the name is as long as allowed.
    const std::string longName(
        storage->Dialect().engine() == ger::SqlDialect::Engine::SQLite ? 35 : 30, 'n');
    {
        storage->Execute("INSERT INTO FORMPGTO VALUES ('L1', ?, 'XXXX', 'OUTRA', 'Z', 'T', '?')",
                         {longName});
    }
    const json legacy = Term("L1", longName, "XXXX", "OUTRA", "Z", "T", "?");
    ASSERT_EQ(Terms()[2], legacy);

    // Editing another field keeps the out-of-table values as they are.
    const json edited = Term("L1", longName, "XXXX", "OUTRA", "S", "T", "?");
    client.Result("SetFormPgto", TermDelta({Update(legacy, edited)}));
    EXPECT_EQ(Terms()[2], edited);

    // A value changed to another one outside its table is refused.
    json error = client.Error(
        "SetFormPgto",
        TermDelta({Update(edited, Term("L1", longName, "XXXX", "OUTRA", "S", "T", "!"))}));
    EXPECT_NE(error["message"].get<std::string>().find("IDVRIGUALPARC"), std::string::npos);
    EXPECT_EQ(Terms()[2], edited);
}

} // namespace
