#include "ScreenModules.h"

#include "app/Application.h"
#include "app/ModuleLoader.h"

#include <cstdlib>
#include <stdexcept>

namespace desktop {

namespace {

std::filesystem::path ProgramFolder() {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path(".") : self.parent_path();
}

std::set<plat::TComponent*> ExistingForms() {
    const auto forms = plat::Application().Forms();
    return {forms.begin(), forms.end()};
}

// Outside any user action: forms the unload hook releases are destroyed at once, while the
// module's code is still loaded.
void Unload(plat::TModule& module) {
    try {
        module.Unload();
    } catch (...) {
        plat::Application().HandleException(std::current_exception());
    }
}

} // namespace

ScreenModules::ScreenModules(std::vector<std::filesystem::path> folders)
    : folders_(std::move(folders)) {}

ScreenModules::~ScreenModules() {
    UnloadAll();
}

std::vector<std::filesystem::path> ScreenModules::DefaultFolders() {
    std::vector<std::filesystem::path> folders;
    if (const char* path = std::getenv("GER06700_MODULE_PATH")) {
        std::string list = path;
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t colon = std::min(list.find(':', start), list.size());
            if (colon > start) folders.emplace_back(list.substr(start, colon - start));
            start = colon + 1;
        }
    }
    const auto program = ProgramFolder();
    folders.push_back(program / GER_INSTALLED_MODULE_DIR);
    folders.push_back(program);
    return folders;
}

std::filesystem::path ScreenModules::Find(const std::string& code) const {
    const std::string file = "Pkg_" + code + ".so";
    for (const auto& folder : folders_) {
        std::error_code error;
        if (std::filesystem::is_regular_file(folder / file, error))
            return (folder / file).lexically_normal();
    }
    return {};
}

bool ScreenModules::Open(const std::string& code) {
    auto it = modules_.find(code);
    if (it == modules_.end()) {
        const auto path = Find(code);
        bool loaded = plat::Application().Dispatch([&] {
            if (path.empty())
                throw std::runtime_error("O módulo da tela " + code + " (Pkg_" + code +
                                         ".so) não foi encontrado.");
            modules_[code].module = plat::TModule::Load(path.string());
        });
        if (!loaded) {
            modules_.erase(code);
            return false;
        }
        it = modules_.find(code);
    }
    LoadedModule& entry = it->second;
    const auto before = ExistingForms();
    plat::TModule::Proc iniProc = nullptr;
    const bool ok = plat::Application().Dispatch([&] {
        iniProc = entry.module->Entry("IniProc");
        iniProc();
    });
    // Forms that came into being during the entry call belong to this module.
    for (plat::TComponent* form : ExistingForms())
        if (!before.count(form)) entry.forms.insert(form);
    UnloadUnused();
    return ok;
}

void ScreenModules::UnloadUnused() {
    const auto existing = ExistingForms();
    for (auto it = modules_.begin(); it != modules_.end();) {
        auto& forms = it->second.forms;
        for (auto form = forms.begin(); form != forms.end();)
            form = existing.count(*form) ? std::next(form) : forms.erase(form);
        if (forms.empty()) {
            Unload(*it->second.module);
            it = modules_.erase(it);
        } else {
            ++it;
        }
    }
}

void ScreenModules::UnloadAll() {
    for (auto& [code, entry] : modules_)
        Unload(*entry.module);
    modules_.clear();
}

} // namespace desktop
