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

TEST_F(Delta, RowChangedByAnotherUserRefusesTheWholeDelta) {
    const json stale = Term("01", "Um (lido antes)");
    const json stalDay = Day("01", "01", "15", "21");
    struct Case {
        const char* name;
        const char* method;
        json params;
    };
    const std::vector<Case> cases{
        {"term update", "SetFormPgto",
         TermDelta({Insert(Term("05")), Update(stale, Term("01", "Novo"))})},
        {"term delete", "SetFormPgto", TermDelta({Insert(Term("05")), Delete(stale)})},
        {"day update", "SetDiaPgto",
         DayDelta(
             {Insert(Day("02", "01", "31", "06")), Update(stalDay, Day("01", "01", "15", "25"))})},
        {"day delete", "SetDiaPgto",
         DayDelta({Insert(Day("02", "01", "31", "06")), Delete(stalDay)})},
        {"null read where a value is stored", "SetDiaPgto",
         DayDelta({Delete(Day("01", "01", "15", "20", 0.0, nullptr, nullptr))})},
    };
    const json termsBefore = Terms();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        json error = client.Error(c.method, c.params);
        EXPECT_EQ(error["code"], 1);
        EXPECT_EQ(error["message"], kChanged);
        EXPECT_EQ(Terms(), termsBefore);
        EXPECT_EQ(Days("01"), json::array({Day01a, Day01b}));
        EXPECT_EQ(Days("02"), json::array({Day02}));
    }
}

TEST_F(Delta, DuplicateCodesAreRefused) {
    json error = client.Error("SetFormPgto", TermDelta({Insert(Term("02", "Outra"))}));
    EXPECT_EQ(error["message"], kDuplicate);
    error = client.Error("SetFormPgto", TermDelta({Update(Term("01", "Um"), Term("02", "Um"))}));
    EXPECT_EQ(error["message"], kDuplicate);
    EXPECT_EQ(Terms(), json::array({Term("01", "Um"), Term("02", "Dois")}));
    EXPECT_EQ(Days("01").size(), 2u);
}

TEST_F(Delta, DeletingATermDeletesItsDaysOnly) {
    client.Result("SetFormPgto", TermDelta({Delete(Term("01", "Um"))}));
    EXPECT_EQ(Terms(), json::array({Term("02", "Dois")}));
    EXPECT_EQ(Days("01"), json::array());
    EXPECT_EQ(Days("02"), json::array({Day02}));
    // A term inserted again under the same code does not find the old days.
    client.Result("SetFormPgto", TermDelta({Insert(Term("01", "Um"))}));
    EXPECT_EQ(Days("01"), json::array());
}

TEST_F(Delta, ChangingATermCodeMovesItsDays) {
    client.Result("SetFormPgto", TermDelta({Update(Term("01", "Um"), Term("09", "Um"))}));
    EXPECT_EQ(Days("01"), json::array());
    json moved = Days("09");
    ASSERT_EQ(moved.size(), 2u);
    EXPECT_EQ(moved[0][0], "09");
    EXPECT_EQ(moved[1], Day("09", "16", "31", "10", 1.0, 1.0));
    EXPECT_EQ(Days("02"), json::array({Day02}));
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

    client.Result("SetDiaPgto", DayDelta({Insert(twin)}));
    client.Result("SetDiaPgto", DayDelta({Delete(twin)}));
    EXPECT_EQ(Sorted(Days("02")), Sorted(json::array({changed, twin})));

    // Both copies in one delta go; a third delete of the same row finds nothing.
    client.Result("SetDiaPgto", DayDelta({Insert(twin)}));
    client.Result("SetDiaPgto", DayDelta({Delete(twin), Delete(twin)}));
    EXPECT_EQ(Days("02"), json::array({changed}));
    EXPECT_EQ(client.Error("SetDiaPgto", DayDelta({Delete(twin)}))["message"], kChanged);
}

TEST_F(Delta, BadValuesAreRefusedNamingTheField) {
    struct Case {
        const char* method;
        json row;          // a row to insert
        const char* field; // named in the refusal
    };
    const std::string thirtyOne = "Condição de pagamento à vista.."; // 31 characters
    const std::vector<Case> cases{
        {"SetFormPgto", Term("1234"), "CDFORMPGTO"},
        {"SetFormPgto", Term(""), "CDFORMPGTO"},
        {"SetFormPgto", Term("  "), "CDFORMPGTO"},
        {"SetFormPgto", json::array({nullptr, "x", nullptr, nullptr, nullptr, nullptr, nullptr}),
         "CDFORMPGTO"},
        {"SetFormPgto", json::array({5, "x", nullptr, nullptr, nullptr, nullptr, nullptr}),
         "CDFORMPGTO"},
        {"SetFormPgto", Term("05", thirtyOne), "NMFORMPGTO"},
        {"SetFormPgto", Term("05", "x", "emin"), "IDTIPODTPGTO"},
        {"SetFormPgto", Term("05", "x", "EMINX"), "IDTIPODTPGTO"},
        {"SetFormPgto", Term("05", "x", 1), "IDTIPODTPGTO"},
        {"SetFormPgto", Term("05", "x", "EMIN", "FORA"), "IDREFECALCPARC"},
        {"SetFormPgto", Term("05", "x", "EMIN", "FORA_MES", "X"), "IDTPPERIODO"},
        {"SetFormPgto", Term("05", "x", "EMIN", "FORA_MES", "m"), "IDTPPERIODO"},
        {"SetFormPgto", Term("05", "x", "EMIN", "FORA_MES", "M", "s"), "IDCONSDIAUTIL"},
        {"SetFormPgto", Term("05", "x", "EMIN", "FORA_MES", "M", true), "IDCONSDIAUTIL"},
        {"SetFormPgto", Term("05", "x", "EMIN", "FORA_MES", "M", "S", "Sim"), "IDVRIGUALPARC"},
        {"SetDiaPgto", Day("01", "001", "31", "05"), "NRDIAINIPGTO"},
        {"SetDiaPgto", Day("01", "01", 31, "05"), "NRDIAFINPGTO"},
        {"SetDiaPgto", Day("01", "01", "31", "5º."), "NRDIAPGTOVAR"},
        {"SetDiaPgto", Day("01", "01", "31", "05", "1"), "NRMESFORMPGT"},
        {"SetDiaPgto", Day("01", "01", "31", "05", 1.0, json::array()), "NRNUMMESPGTO"},
        {"SetDiaPgto", Day("01", "01", "31", "05", 1.0, 1.0, "008"), "NRDIAPGTOSEMANA"},
        {"SetDiaPgto", Day("", "01", "31", "05"), "CDFORMPGTO"},
        {"SetDiaPgto", Day("99", "01", "31", "05"), "CDFORMPGTO"},
    };
    const json termsBefore = Terms();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row.dump());
        // The bad row comes second: the good first change must not stay either.
        json params = std::string(c.method) == "SetFormPgto"
                          ? TermDelta({Insert(Term("06")), Insert(c.row)})
                          : DayDelta({Insert(Day("02", "01", "31", "09")), Insert(c.row)});
        json error = client.Error(c.method, params);
        EXPECT_EQ(error["code"], 1);
        EXPECT_NE(error["message"].get<std::string>().find(c.field), std::string::npos)
            << error["message"];
        EXPECT_EQ(Terms(), termsBefore);
        EXPECT_EQ(Days("02"), json::array({Day02}));
    }
    // Widths count characters, not bytes; nulls pass everywhere but in the code.
    const json accented = Term("05", "Condição de pagamento à vista.", // 30 characters, 33 bytes
                               nullptr, nullptr, nullptr, nullptr, nullptr);
    client.Result("SetFormPgto", TermDelta({Insert(accented)}));
    client.Result(
        "SetDiaPgto",
        DayDelta({Insert(Day("05", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))}));
    EXPECT_EQ(Days("05").size(), 1u);
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

TEST_F(Delta, DayRowsMustLandOnAStoredTerm) {
    json error =
        client.Error("SetDiaPgto", DayDelta({Update(Day01a, Day("88", "01", "15", "20"))}));
    EXPECT_NE(error["message"].get<std::string>().find("CDFORMPGTO"), std::string::npos);
    client.Result("SetDiaPgto", DayDelta({Update(Day01a, Day("02", "01", "15", "20"))}));
    EXPECT_EQ(Days("02").size(), 2u);
    EXPECT_EQ(Days("01"), json::array({Day01b}));
}

TEST_F(Delta, MalformedPacketsAreRefused) {
    auto termDeltaWith = [](json change) { return TermDelta({std::move(change)}); };
    json reorderedFields = TermDelta({Insert(Term("05"))});
    reorderedFields[0]["fields"].erase(reorderedFields[0]["fields"].begin() + 3);
    json duplicated = TermDelta({Insert(Term("05"))});
    duplicated[0]["fields"][1]["name"] = "CDFORMPGTO";
    json unknown = TermDelta({Insert(Term("05"))});
    unknown[0]["fields"][6]["name"] = "NOVOCAMPO";
    const std::vector<std::pair<const char*, json>> cases{
        {"no fields", json::array({{{"changes", json::array()}}})},
        {"changes not a list", json::array({{{"fields", json::array()}, {"changes", 1}}})},
        {"missing column", reorderedFields},
        {"duplicated column", duplicated},
        {"unknown column", unknown},
        {"unknown op", termDeltaWith({{"op", "upsert"}, {"new", Term("05")}})},
        {"update without old", termDeltaWith({{"op", "update"}, {"new", Term("05")}})},
        {"short row", termDeltaWith(Insert(json::array({"05", "x"})))},
        {"change not an object", termDeltaWith("insert")},
    };
    for (const auto& [name, params] : cases) {
        SCOPED_TRACE(name);
        json error = client.Error("SetFormPgto", params);
        EXPECT_EQ(error["code"], -32602);
        EXPECT_NE(error["message"].get<std::string>().find("Pacote de alterações inválido"),
                  std::string::npos);
    }
    EXPECT_EQ(Terms().size(), 2u);
}

} // namespace
