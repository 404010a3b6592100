#include "shared/DBGeral.h"

#include "PlatformTestSupport.h"
#include "core/Abort.h"
#include "shared/HostConfig.h"
#include "shared/SqlParams.h"
#include "shared/Vandrel.h"

#include <gtest/gtest.h>
#include <optional>
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

TEST_F(DBGeralTest, QueryReadsTheMaximumThroughABoundParameterAndNamesWhatIsWrong) {
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

// Runs each test with none of the host's variables set and puts them back afterwards.
class HostConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name :
             {"GER06700_SERVER_HOST", "GER06700_SERVER_PORT", "GER06700_DB",
              "GER06700_SERVER_TOKEN_FILE", "GER06700_CONFIG", "XDG_CONFIG_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
        HostConfig::ClearOverrides();
    }
    void TearDown() override {
        HostConfig::ClearOverrides();
        for (const auto& [name, value] : saved_)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
    test::TempDir dir_;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(HostConfigTest, OverrideBeatsEnvironmentBeatsFileBeatsDefault) {
    setenv("GER06700_CONFIG", dir_.File("host.conf").c_str(), 1);
    EXPECT_EQ(HostConfig::ServerPort(), 6700); // the file does not exist yet

    dir_.Write("host.conf", "# servidor de testes\n"
                            "server.host = servidor.local\n"
                            "\n"
                            "server.port=7001   # porta da homologação\n"
                            "db = sqlite:/dados/a#b.db\n");
    EXPECT_EQ(HostConfig::ServerHost(), "servidor.local");
    EXPECT_EQ(HostConfig::ServerPort(), 7001);
    EXPECT_EQ(HostConfig::DatabaseUrl(), "sqlite:/dados/a#b.db");

    dir_.Write("host.conf", "server.port = 7002\n"); // read again at every lookup
    EXPECT_EQ(HostConfig::ServerPort(), 7002);
    EXPECT_EQ(HostConfig::ServerHost(), "127.0.0.1");

    setenv("GER06700_SERVER_PORT", "7003", 1);
    setenv("GER06700_SERVER_HOST", "", 1); // set but empty counts as unset
    EXPECT_EQ(HostConfig::ServerPort(), 7003);
    EXPECT_EQ(HostConfig::ServerHost(), "127.0.0.1");

    HostConfig::SetOverride("server.port", "7004");
    HostConfig::SetOverride("server.host", "10.0.0.5");
    HostConfig::SetOverride("db", "sqlite:/tmp/linha.db");
    EXPECT_EQ(HostConfig::DatabaseUrl(), "sqlite:/tmp/linha.db");
    // The screens' server address is the configured one at every call.
    EXPECT_EQ(WebURL(), "10.0.0.5");
    EXPECT_EQ(WebPort(), 7004);
    HostConfig::ClearOverrides();
    EXPECT_EQ(WebPort(), 7003);

    EXPECT_THROW(HostConfig::SetOverride("server.hots", "x"), std::invalid_argument);
}

TEST_F(HostConfigTest, TheTokenIsTheFirstLineOfTheFileNamed) {
    EXPECT_EQ(HostConfig::ServerToken(), ""); // no file named: no login
    const std::string token = dir_.Write("token", "  segredo-de-teste \nsegunda linha\n");
    setenv("GER06700_CONFIG",
           dir_.Write("host.conf", "server.token-file = " + token + "\n").c_str(), 1);
    EXPECT_EQ(HostConfig::ServerToken(), "segredo-de-teste");
    setenv("GER06700_SERVER_TOKEN_FILE", dir_.Write("vazio", "\n").c_str(), 1);
    EXPECT_THROW(HostConfig::ServerToken(), std::runtime_error); // an empty token is a mistake
    HostConfig::SetOverride("server.token-file", dir_.File("ausente"));
    EXPECT_TRUE(test::Says([] { HostConfig::ServerToken(); }, "ausente")) << "a missing token file";
}

TEST_F(HostConfigTest, ConfigFileIsLookedForInTheUsualPlaces) {
    EXPECT_EQ(HostConfig::ConfigFilePath(), "");
    setenv("HOME", "/home/ana", 1);
    EXPECT_EQ(HostConfig::ConfigFilePath(), "/home/ana/.config/ger06700/host.conf");
    setenv("XDG_CONFIG_HOME", "relativo", 1); // not absolute: ignored
    EXPECT_EQ(HostConfig::ConfigFilePath(), "/home/ana/.config/ger06700/host.conf");
    setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(HostConfig::ConfigFilePath(), "/xdg/ger06700/host.conf");
    setenv("GER06700_CONFIG", "/etc/ger.conf", 1);
    EXPECT_EQ(HostConfig::ConfigFilePath(), "/etc/ger.conf");
}

TEST_F(HostConfigTest, BadValuesGiveErrorsNamingTheirSource) {
    const auto port = [] { HostConfig::ServerPort(); };
    for (const char* bad : {"0", "70000", "12x"}) {
        setenv("GER06700_SERVER_PORT", bad, 1);
        EXPECT_TRUE(test::Says(port, "GER06700_SERVER_PORT")) << bad;
    }
    unsetenv("GER06700_SERVER_PORT");
    const std::string path = dir_.Write("host.conf", "server.port = muitas\n");
    setenv("GER06700_CONFIG", path.c_str(), 1);
    EXPECT_TRUE(test::Says(port, path) && test::Says(port, "muitas"));
    dir_.Write("host.conf", "server.host = ok\nsem igual\n"); // a line without '='
    EXPECT_TRUE(test::Says([] { HostConfig::ServerHost(); }, "linha 2"));
}

} // namespace
} // namespace plat
