#pragma once
#include <cstdint>

namespace plat {

/// Virtual key codes the grids and forms act on.
enum VirtualKey : std::uint16_t {
    VK_NONE = 0,
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33, ///< PageUp
    VK_NEXT = 34,  ///< PageDown
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_F2 = 113,
    VK_OEM_COMMA = 188,
    VK_OEM_PERIOD = 190,
    VK_PACKET = 231, ///< a character with no key of its own (accented letters)
};

/// Modifier keys held with a key.
struct TShiftState {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool operator==(const TShiftState&) const = default;
};

} // namespace plat
