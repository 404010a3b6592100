#include "app/ModuleLoader.h"

#include "PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace plat {
namespace {

using test::ErrorOf;
using test::Says;

class ModuleLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("GER_TEST_MODULE_LOG", dir_.File("hooks.log").c_str(), 1); }
    void TearDown() override {
        unsetenv("GER_TEST_MODULE_LOG");
        unsetenv("GER_TEST_MODULE_FAIL_INIT");
    }
    // The hooks and entries the test module ran, in order.
    std::vector<std::string> Ran() const {
        std::ifstream file(dir_.File("hooks.log"));
        std::vector<std::string> calls;
        for (std::string line; std::getline(file, line);)
            calls.push_back(line);
        return calls;
    }
    test::TempDir dir_;
};

using Calls = std::vector<std::string>;

TEST_F(ModuleLoaderTest, HooksRunOnceAroundTheEntryCall) {
    auto module = TModule::Load(PLATFORM_TEST_MODULE);
    EXPECT_EQ(Ran(), Calls{"Initialize"});

    module->Entry("IniProc")();
    EXPECT_EQ(Ran(), (Calls{"Initialize", "IniProc"}));

    EXPECT_TRUE(Says([&] { module->Entry("CriaFormItems"); }, "CriaFormItems"));
    // malloc is reachable through the module's libraries, but the module does not export it.
    EXPECT_FALSE(ErrorOf([&] { module->Entry("malloc"); }).empty());

    module->Unload();
    module->Unload(); // a second unload changes nothing
    EXPECT_FALSE(ErrorOf([&] { module->Entry("IniProc"); }).empty());
    module.reset();
    EXPECT_EQ(Ran(), (Calls{"Initialize", "IniProc", "Finalize"}));

    { auto scoped = TModule::Load(PLATFORM_TEST_MODULE); } // the destructor unloads
    EXPECT_EQ(Ran(), (Calls{"Initialize", "IniProc", "Finalize", "Initialize", "Finalize"}));
}

TEST_F(ModuleLoaderTest, FailedLoadsSayWhy) {
    const std::string path = dir_.File("nao-existe.so");
    EXPECT_TRUE(Says([&] { TModule::Load(path); }, path));

    const std::string notAModule = dir_.Write("texto.so", "isto não é um módulo");
    EXPECT_TRUE(Says([&] { TModule::Load(notAModule); }, notAModule));

    // A module whose load hook fails is closed again without its unload hook.
    setenv("GER_TEST_MODULE_FAIL_INIT", "1", 1);
    EXPECT_EQ(ErrorOf([&] { TModule::Load(PLATFORM_TEST_MODULE); }), "falha na carga");
    EXPECT_EQ(Ran(), Calls{"Initialize"});
}

} // namespace
} // namespace plat
