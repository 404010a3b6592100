#pragma once
#include "ui/Keys.h"

#include <QString>
#include <cstdint>

class QKeyEvent;

namespace desktop {

/// A Qt key press as the platform takes it: either a character typed (text, delivered with the
/// key that makes it) or a key of its own (virtual key code with modifiers).
struct PlatformKey {
    enum class Kind { None, Character, Key };
    Kind kind = Kind::None;
    QString text;
    std::uint16_t key = plat::VK_NONE;
    plat::TShiftState shift;
};

/// Translates a key press; Kind::None for keys the platform does not act on (modifiers alone).
PlatformKey TranslateKey(const QKeyEvent& event);

} // namespace desktop
