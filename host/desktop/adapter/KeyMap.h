#pragma once
#include "ui/Keys.h"

#include <QString>
#include <cstdint>

class QKeyEvent;

namespace desktop {

/// A Qt key press as the platform takes it: the virtual key code with modifiers and, for a
/// printable character typed, its text.
struct PlatformKey {
    enum class Kind { None, Key };
    Kind kind = Kind::None;
    QString text;
    std::uint16_t key = plat::VK_NONE;
    plat::TShiftState shift;
};

/// Translates a key press; Kind::None for keys the platform does not act on (modifiers alone).
PlatformKey TranslateKey(const QKeyEvent& event);

} // namespace desktop
