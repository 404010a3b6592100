#include "shared/HostConfig.h"

#include "PlatformTestSupport.h"
#include "shared/Vandrel.h"

#include <gtest/gtest.h>

#include <optional>

namespace plat {
namespace {

using test::Says;

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
    EXPECT_TRUE(Says([] { HostConfig::ServerToken(); }, "ausente")) << "a missing token file";
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
        EXPECT_TRUE(Says(port, "GER06700_SERVER_PORT")) << bad;
    }
    unsetenv("GER06700_SERVER_PORT");
    const std::string path = dir_.Write("host.conf", "server.port = muitas\n");
    setenv("GER06700_CONFIG", path.c_str(), 1);
    EXPECT_TRUE(Says(port, path) && Says(port, "muitas"));
    dir_.Write("host.conf", "server.host = ok\nsem igual\n"); // a line without '='
    EXPECT_TRUE(Says([] { HostConfig::ServerHost(); }, "linha 2"));
}

} // namespace
} // namespace plat
