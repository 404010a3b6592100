#include "shared/DBGeral.h"

#include "PlatformTestSupport.h"
#include "core/Abort.h"
#include "shared/HostConfig.h"
#include "shared/SqlParams.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace plat {
namespace {

const auto ErrorOf = &test::ErrorOf<EDatabaseError>;
const auto Says = &test::Says<EDatabaseError>;
using Texts = std::vector<std::string>;

// The application server's side: its own connection writing the database file.
class Writer {
public:
    explicit Writer(const std::string& path) {
        if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) throw std::runtime_error("open");
        Exec("PRAGMA journal_mode = WAL;"
             "CREATE TABLE ENTRIES (CDITEM TEXT, NRFIRST TEXT, NRLAST TEXT);");
    }
    ~Writer() { sqlite3_close(db_); }
    void Exec(const std::string& sql) {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }

private:
    sqlite3* db_ = nullptr;
};

class DBGeralTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.File("ger06700.db");
        writer_ = std::make_unique<Writer>(path_);
        writer_->Exec("INSERT INTO ENTRIES VALUES ('01','01','10'), ('01','11','31'),"
                      "('01','32','05'), ('02','01','09'), ('02','10','10'), ('0''','01','07');");
        HostConfig::SetOverride("db", "sqlite:" + path_);
        qryMaxLast_.SQL = {"SELECT",   "      MAX (NRLAST)  AS NRLAST", "   FROM", "      ENTRIES",
                           "   WHERE", "      (CDITEM = :P_CDITEM)"};
    }
    void TearDown() override {
        dtmDBGeral().Close();
        HostConfig::ClearOverrides();
    }
    std::string MaxLast(const std::string& code) {
        qryMaxLast_.Close();
        qryMaxLast_.ParamByName("P_CDITEM").SetAsString(code);
        qryMaxLast_.Open();
        return qryMaxLast_.FieldByName("NRLAST").AsString();
    }

    test::TempDir dir_;
    std::string path_;
    std::unique_ptr<Writer> writer_;
    TADOIBQuery qryMaxLast_{nullptr, "qryMaxLast"};
};

TEST_F(DBGeralTest, QueryReadsTheMaximumThroughABoundParameter) {
    // Text order with the leading zero is day order; a quote in the code is bound, not
    // spliced; no rows: the maximum is null and reads as empty text.
    for (const auto& [code, day] : {std::pair{"01", "31"}, {"0'", "07"}, {"x' OR '1'='1", ""}})
        EXPECT_EQ(MaxLast(code), day) << code;
    EXPECT_FALSE(qryMaxLast_.Eof()); // an aggregate gives its one row even then
    EXPECT_TRUE(qryMaxLast_.FieldByName("nrlast").IsNull());

    // What the server writes meanwhile shows at the next read.
    writer_->Exec("INSERT INTO ENTRIES VALUES ('x'' OR ''1''=''1','01','15');");
    EXPECT_EQ(MaxLast("x' OR '1'='1"), "15");
}

TEST_F(DBGeralTest, ConnectionFollowsTheConfiguredDatabase) {
    EXPECT_EQ(MaxLast("02"), "10");
    TDatabaseConnection* first = &dtmDBGeral().Connection();
    EXPECT_EQ(&dtmDBGeral().Connection(), first); // opened once while the URL stays

    const std::string other = dir_.File("outro.db");
    Writer otherWriter(other);
    otherWriter.Exec("INSERT INTO ENTRIES VALUES ('02','01','20');");
    HostConfig::SetOverride("db", "sqlite:" + other);
    EXPECT_EQ(MaxLast("02"), "20");

    HostConfig::SetOverride("db", "sqlite:" + dir_.File("nao-existe.db"));
    EXPECT_TRUE(Says([&] { MaxLast("02"); }, "nao-existe.db"));
    EXPECT_FALSE(dtmDBGeral().Connected()); // no silent fallback to the former database
    EXPECT_FALSE(std::filesystem::exists(dir_.File("nao-existe.db")));

    HostConfig::SetOverride("db", "mysql://servidor/ger");
    EXPECT_TRUE(Says([&] { MaxLast("02"); }, "não suportado"));
}

TEST_F(DBGeralTest, MisuseGivesClearErrors) {
    EXPECT_TRUE(Says([&] { qryMaxLast_.ParamByName("P_OUTRO"); }, "P_OUTRO"));
    EXPECT_TRUE(Says([&] { qryMaxLast_.FieldByName("NRLAST"); }, "não está aberta"));
    EXPECT_TRUE(Says([&] { qryMaxLast_.Open(); }, "sem valor"));
    MaxLast("01");
    EXPECT_TRUE(Says([&] { qryMaxLast_.FieldByName("CDITEM"); }, "CDITEM"));

    TADOIBQuery query(nullptr, "qry");
    query.SQL = {"SELECT * FROM NAO_EXISTE"};
    EXPECT_TRUE(Says([&] { query.Open(); }, "NAO_EXISTE"));
    EXPECT_FALSE(query.Active());

    // The host reads only: the server's data cannot be changed through it.
    query.SQL = {"DELETE FROM ENTRIES"};
    EXPECT_FALSE(ErrorOf([&] { query.Open(); }).empty());
    EXPECT_EQ(MaxLast("01"), "31");
}

TEST_F(DBGeralTest, ParametersOutsideQuotesCommentsAndCastsBindAndTheCursorWalksEveryRow) {
    auto connection = TDatabaseConnection::Open("sqlite://" + path_);
    TADOIBQuery query(nullptr, "qry");
    query.Connection = connection.get();
    query.SQL = {"SELECT NRFIRST, NRLAST FROM ENTRIES", "WHERE CDITEM = :cd",
                 "AND NRFIRST <> ':cd' /* :x */ AND \"NRLAST\" <> ':y' -- :nada",
                 "AND NRFIRST = NRFIRST OR CDITEM = :CD AND 0", "ORDER BY NRFIRST"};
    query.ParamByName("CD").SetAsString("01");
    query.Open();
    Texts days;
    for (; !query.Eof(); query.Next())
        days.push_back(query.FieldByName("NRFIRST").AsString());
    EXPECT_EQ(days, (Texts{"01", "11", "32"}));
    EXPECT_EQ(query.RecordCount(), 3);
    EXPECT_EQ(query.FieldByName("NRLAST").AsString(), "05"); // stays on the last row
    // A Postgres cast is no parameter.
    EXPECT_EQ(ParseNamedParams("SELECT x::int FROM t WHERE a = :A").names, Texts{"A"});
}

} // namespace
} // namespace plat
