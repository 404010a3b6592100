#pragma once
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace plat {
class TComponent;
class TModule;
} // namespace plat

namespace desktop {

/// The screen modules the host opens: found by name in the module folders, loaded through the
/// platform's module loader, entered through IniProc inside a user action, and unloaded as
/// soon as none of the forms they created is left.
class ScreenModules {
public:
    /// Folders searched, first match wins.
    explicit ScreenModules(std::vector<std::filesystem::path> folders);
    ~ScreenModules();
    ScreenModules(const ScreenModules&) = delete;
    ScreenModules& operator=(const ScreenModules&) = delete;

    /// The default folders: GER06700_MODULE_PATH (colon-separated), then the installed module
    /// folder relative to the program, then the program's own folder.
    static std::vector<std::filesystem::path> DefaultFolders();
    const std::vector<std::filesystem::path>& Folders() const { return folders_; }

    /// The file of the module of screen code (e.g. "Ger06700" -> Pkg_Ger06700.so); empty when
    /// no folder holds it.
    std::filesystem::path Find(const std::string& code) const;
    /// Loads the module (once) and calls its IniProc as a user action; errors reach the user
    /// as an error dialog. Returns false when the module could not be loaded or entered.
    bool Open(const std::string& code);
    /// Unloads every module whose forms are all gone.
    void UnloadUnused();
    /// Unloads every module, closing what their unload hooks close.
    void UnloadAll();
    bool Loaded(const std::string& code) const { return modules_.count(code) > 0; }

private:
    struct LoadedModule {
        std::unique_ptr<plat::TModule> module;
        std::set<plat::TComponent*> forms;
    };
    std::vector<std::filesystem::path> folders_;
    std::map<std::string, LoadedModule> modules_;
};

} // namespace desktop
