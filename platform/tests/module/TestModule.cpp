// A stand-in screen module for the module loader's tests. Each hook and entry appends its
// name to the file named by GER_TEST_MODULE_LOG, which outlives the module's unloading.
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace {

void Log(const char* what) {
    if (const char* path = std::getenv("GER_TEST_MODULE_LOG"))
        std::ofstream(path, std::ios::app) << what << '\n';
}

} // namespace

extern "C" __attribute__((visibility("default"))) void Initialize() {
    Log("Initialize");
    if (std::getenv("GER_TEST_MODULE_FAIL_INIT")) throw std::runtime_error("falha na carga");
}

extern "C" __attribute__((visibility("default"))) void Finalize() {
    Log("Finalize");
}

extern "C" __attribute__((visibility("default"))) void IniProc() {
    Log("IniProc");
}
