#pragma once
#include "app/Dialogs.h"

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

namespace gerscript {

/// Writes the transcript lines of what happens as it happens: commands, dialogs, remote calls,
/// cache notices and shell results. The formats are fixed: users and tests grep them.
class Transcript {
public:
    explicit Transcript(std::ostream& out) : out_(out) {}
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    /// "> LINE": the command as the script gave it.
    void Command(std::string_view line);
    /// "error: TEXT", or "ask: TEXT = yes|no", "= no (unanswered)" when no answer was queued.
    void Dialog(const plat::DialogRecord& record);
    /// "call: METHOD(...)": the first argument as a JSON string when it is text, "N changes"
    /// when it is a delta packet, nothing when there is none.
    void Call(const std::string& method, const nlohmann::json& args);
    /// "cache: TABLE".
    void CacheNotice(const std::string& table);
    /// "sh: exit N".
    void ShellExit(int status);

    /// Remote calls written so far.
    long Calls() const { return calls_; }

    /// The stream, for the state blocks of show and grid.
    std::ostream& Out() { return out_; }
    void Flush() { out_.flush(); }

private:
    std::ostream& out_;
    long calls_ = 0;
};

} // namespace gerscript
