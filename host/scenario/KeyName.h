#pragma once
#include "ui/Keys.h"

#include <cstdint>
#include <string_view>

namespace gerscript {

/// A key as the user presses it: the virtual key code and the modifiers held.
struct KeyStroke {
    std::uint16_t key = plat::VK_NONE;
    plat::TShiftState shift;
    bool operator==(const KeyStroke&) const = default;
};

/// Reads a key name such as "Tab", "Alt+PageDown" or "Shift+Ctrl+Delete" (names compared
/// without regard to letter case); throws ScriptFault naming what is wrong.
KeyStroke ParseKeyName(std::string_view name);

} // namespace gerscript
