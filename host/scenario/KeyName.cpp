#include "KeyName.h"

#include "ScriptFault.h"
#include "core/Value.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace gerscript {

namespace {

struct NamedKey {
    const char* name;
    std::uint16_t key;
};

// The keys the screen and its grids act on. Insert, Home and End are not in the first list
// of the language but the grids handle them, so a script may press them too.
constexpr NamedKey kKeys[] = {
    {"Tab", plat::VK_TAB},       {"Enter", plat::VK_RETURN},  {"Escape", plat::VK_ESCAPE},
    {"Up", plat::VK_UP},         {"Down", plat::VK_DOWN},     {"Left", plat::VK_LEFT},
    {"Right", plat::VK_RIGHT},   {"Delete", plat::VK_DELETE}, {"Backspace", plat::VK_BACK},
    {"PageUp", plat::VK_PRIOR},  {"PageDown", plat::VK_NEXT}, {"F2", plat::VK_F2},
    {"Insert", plat::VK_INSERT}, {"Home", plat::VK_HOME},     {"End", plat::VK_END},
};

// Sets the modifier a part names; false when the part names none.
bool ApplyModifier(std::string_view part, plat::TShiftState& shift, std::string_view whole) {
    bool* flag = plat::SameText(part, "Shift")  ? &shift.shift
                 : plat::SameText(part, "Ctrl") ? &shift.ctrl
                 : plat::SameText(part, "Alt")  ? &shift.alt
                                                : nullptr;
    if (!flag) return false;
    if (*flag)
        throw ScriptFault("key name '" + std::string(whole) + "' repeats " + std::string(part));
    *flag = true;
    return true;
}

} // namespace

KeyStroke ParseKeyName(std::string_view name) {
    KeyStroke stroke;
    std::string_view rest = name;
    for (;;) {
        const auto plus = rest.find('+');
        const std::string_view part = rest.substr(0, plus);
        if (part.empty())
            throw ScriptFault("key name '" + std::string(name) + "' has an empty part");
        if (plus == std::string_view::npos) {
            for (const NamedKey& key : kKeys)
                if (plat::SameText(part, key.name)) {
                    stroke.key = key.key;
                    return stroke;
                }
            throw ScriptFault("unknown key '" + std::string(part) + "'");
        }
        if (!ApplyModifier(part, stroke.shift, name))
            throw ScriptFault("unknown modifier '" + std::string(part) + "' in key name '" +
                              std::string(name) + "' (Shift, Ctrl or Alt)");
        rest = rest.substr(plus + 1);
    }
}

} // namespace gerscript
