#include "adapter/KeyMap.h"

#include <QKeyEvent>

namespace desktop {

namespace {

std::uint16_t VirtualKey(int key) {
    switch (key) {
    case Qt::Key_Backspace:
        return plat::VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return plat::VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return plat::VK_RETURN;
    case Qt::Key_Escape:
        return plat::VK_ESCAPE;
    case Qt::Key_Space:
        return plat::VK_SPACE;
    case Qt::Key_Comma:
        return plat::VK_OEM_COMMA;
    case Qt::Key_Period:
        return plat::VK_OEM_PERIOD;
    case Qt::Key_PageUp:
        return plat::VK_PRIOR;
    case Qt::Key_PageDown:
        return plat::VK_NEXT;
    case Qt::Key_End:
        return plat::VK_END;
    case Qt::Key_Home:
        return plat::VK_HOME;
    case Qt::Key_Left:
        return plat::VK_LEFT;
    case Qt::Key_Up:
        return plat::VK_UP;
    case Qt::Key_Right:
        return plat::VK_RIGHT;
    case Qt::Key_Down:
        return plat::VK_DOWN;
    case Qt::Key_Insert:
        return plat::VK_INSERT;
    case Qt::Key_Delete:
        return plat::VK_DELETE;
    case Qt::Key_F2:
        return plat::VK_F2;
    default:
        break;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<std::uint16_t>('A' + key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<std::uint16_t>('0' + key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<std::uint16_t>(112 + key - Qt::Key_F1);
    return plat::VK_NONE;
}

} // namespace

PlatformKey TranslateKey(const QKeyEvent& event) {
    PlatformKey result;
    const auto modifiers = event.modifiers();
    result.shift.shift = modifiers.testFlag(Qt::ShiftModifier) || event.key() == Qt::Key_Backtab;
    result.shift.ctrl = modifiers.testFlag(Qt::ControlModifier);
    result.shift.alt = modifiers.testFlag(Qt::AltModifier);

    // A printable character without Ctrl or Alt goes with its key (VK_PACKET when it has none
    // of its own, as accented letters); other keys carry no text and the platform makes
    // the characters of Enter, Backspace and Escape itself.
    const QString text = event.text();
    const bool typing =
        !result.shift.ctrl && !result.shift.alt && !text.isEmpty() && text.at(0).isPrint();
    result.key = VirtualKey(event.key());
    if (typing) {
        result.text = text;
        if (result.key == plat::VK_NONE) result.key = plat::VK_PACKET;
    }
    if (result.key != plat::VK_NONE) result.kind = PlatformKey::Kind::Key;
    return result;
}

} // namespace desktop
