#include "app/ModuleLoader.h"

#include <dlfcn.h>
#include <link.h>
#include <stdexcept>

namespace plat {

namespace {

std::string LastDlError() {
    const char* error = dlerror();
    return error ? error : "erro desconhecido";
}

} // namespace

TModule::TModule(std::string path, void* handle) : path_(std::move(path)), handle_(handle) {}

std::unique_ptr<TModule> TModule::Load(const std::string& path) {
    dlerror(); // forget any earlier error
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw std::runtime_error("Não foi possível carregar o módulo '" + path +
                                 "': " + LastDlError());
    std::unique_ptr<TModule> module(new TModule(path, handle));
    if (Proc initialize = module->FindOwn("Initialize")) {
        try {
            initialize();
        } catch (...) {
            // The module never finished loading: close it without its unload hook.
            dlclose(module->handle_);
            module->handle_ = nullptr;
            throw;
        }
    }
    return module;
}

TModule::~TModule() {
    try {
        Unload();
    } catch (...) {
        // A destructor cannot report; the module is closed all the same.
    }
}

TModule::Proc TModule::Entry(const std::string& name) const {
    if (!handle_)
        throw std::runtime_error("O módulo '" + path_ + "' já foi descarregado; '" + name +
                                 "' não pode ser chamado.");
    Proc entry = FindOwn(name);
    if (!entry)
        throw std::runtime_error("O módulo '" + path_ + "' não exporta o procedimento '" + name +
                                 "'.");
    return entry;
}

void TModule::Unload() {
    if (!handle_) return;
    Proc finalize = FindOwn("Finalize");
    void* handle = handle_;
    handle_ = nullptr; // before the hook runs, so no path leads to a second unload
    struct CloseOnExit {
        void* handle;
        ~CloseOnExit() { dlclose(handle); }
    } closer{handle};
    if (finalize) finalize();
}

void* TModule::Data(const std::string& name) const {
    if (!handle_) return nullptr;
    return FindOwnSymbol(name);
}

TModule::Proc TModule::FindOwn(const std::string& name) const {
    return reinterpret_cast<Proc>(FindOwnSymbol(name));
}

void* TModule::FindOwnSymbol(const std::string& name) const {
    dlerror();
    void* symbol = dlsym(handle_, name.c_str());
    if (!symbol) return nullptr;
    // dlsym also searches the libraries the module depends on; a hook or entry of the
    // platform library or of libc must never be taken for the module's own.
    link_map* moduleMap = nullptr;
    if (dlinfo(handle_, RTLD_DI_LINKMAP, &moduleMap) != 0) return nullptr;
    Dl_info info{};
    link_map* symbolMap = nullptr;
    if (dladdr1(symbol, &info, reinterpret_cast<void**>(&symbolMap), RTLD_DL_LINKMAP) == 0)
        return nullptr;
    if (symbolMap != moduleMap) return nullptr;
    return symbol;
}

} // namespace plat
