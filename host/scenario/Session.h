#pragma once
#include "ScriptLine.h"

#include <functional>
#include <memory>
#include <string>

namespace plat {
class TDBGrid;
class TForm;
class TModule;
} // namespace plat

namespace gerscript {

class Transcript;

/// Applies script commands to the real screen as the user actions they name. It loads the
/// screen's module on open, runs every user action through the application's dispatcher (so
/// errors reach the user as dialogs, exactly as on the desktop), and unloads the module once
/// the screen has closed, so that a screen opened again starts from module initialization.
/// While it exists it writes dialogs, remote calls and cache notices to the transcript.
class Session {
public:
    Session(std::string modulePath, Transcript& transcript);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    /// Carries out one command; throws ScriptFault when the user could not do it.
    void Run(const ScriptCommand& command);

private:
    void Open();
    void Focus(const std::string& name);
    void Column(const std::string& field);
    void Row(int row);
    void Type(const std::string& text);
    void Pick(const std::string& entry);
    void Click(const std::string& name);
    void Grid(const std::string& part);
    void Shell(const std::string& command);

    /// The open screen; a fault naming the command when there is none.
    plat::TForm& Screen(const char* command) const;
    /// The grid holding the focus; a fault naming the command when no grid has it.
    plat::TDBGrid& FocusedGrid(const char* command) const;
    /// One user action, delivered as the desktop delivers it.
    void UserAction(const std::function<void()>& action);
    void UnloadIfClosed();

    std::string modulePath_;
    Transcript& transcript_;
    std::unique_ptr<plat::TModule> module_;
};

} // namespace gerscript
