#pragma once
#include <memory>
#include <string>

namespace plat {

/// A screen module loaded at run time: its load hook runs on load, its unload hook on unload.
class TModule {
public:
    /// A procedure the module exports, without arguments or result.
    using Proc = void (*)();

    /// Loads the module at path and runs its exported Initialize hook, when it has one;
    /// throws std::runtime_error saying why when the module cannot be loaded.
    static std::unique_ptr<TModule> Load(const std::string& path);

    TModule(const TModule&) = delete;
    TModule& operator=(const TModule&) = delete;
    /// Unloads the module (see Unload); errors of its unload hook are dropped.
    ~TModule();

    /// The procedure the module itself exports under name; throws std::runtime_error when it
    /// exports none (a symbol of a library the module depends on does not count).
    Proc Entry(const std::string& name) const;
    /// The address of a variable the module itself exports under name; null when none.
    void* Data(const std::string& name) const;
    /// Runs the module's exported Finalize hook, when it has one, and unloads the module;
    /// a second call does nothing.
    void Unload();
    /// True until the module has been unloaded.
    bool Loaded() const { return handle_ != nullptr; }
    /// The path the module was loaded from.
    const std::string& Path() const { return path_; }

private:
    TModule(std::string path, void* handle);
    Proc FindOwn(const std::string& name) const;
    void* FindOwnSymbol(const std::string& name) const;
    std::string path_;
    void* handle_;
};

} // namespace plat
