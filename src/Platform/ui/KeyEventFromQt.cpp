#include "Platform/ui/KeyEventFromQt.h"

#include <QKeyEvent>

#include <array>

namespace {

constexpr quint16 kNoKey = 0xFFFF;

// Letters A to Z, in alphabetical order, as the key tables number them.
constexpr std::array<quint16, 26> kLetters = {0,  11, 8,  2,  14, 3, 5,  4,  34, 38, 40, 37, 46,
                                              45, 31, 35, 12, 15, 1, 17, 32, 9,  13, 7,  16, 6};
// Digits 0 to 9 on the main keyboard and on the keypad.
constexpr std::array<quint16, 10> kDigits = {29, 18, 19, 20, 21, 23, 22, 26, 28, 25};
constexpr std::array<quint16, 10> kKeypadDigits = {82, 83, 84, 85, 86, 87, 88, 89, 91, 92};
// F1 to F12.
constexpr std::array<quint16, 12> kFunctionKeys = {122, 120, 99,  118, 96,  97,
                                                   98,  100, 101, 109, 103, 111};

} // namespace

quint16 keyCodeFromQtKey(int key, bool keypad) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return kLetters[static_cast<size_t>(key - Qt::Key_A)];
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (keypad ? kKeypadDigits : kDigits)[static_cast<size_t>(key - Qt::Key_0)];
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return kFunctionKeys[static_cast<size_t>(key - Qt::Key_F1)];
    switch (key) {
    case Qt::Key_Return:
        return 36;
    case Qt::Key_Enter:
        return keypad ? 76 : 36;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 48;
    case Qt::Key_Space:
        return 49;
    case Qt::Key_Backspace:
        return 51;
    case Qt::Key_Escape:
        return 53;
    case Qt::Key_Delete:
        return 117;
    case Qt::Key_Home:
        return 115;
    case Qt::Key_End:
        return 119;
    case Qt::Key_PageUp:
        return 116;
    case Qt::Key_PageDown:
        return 121;
    case Qt::Key_Left:
        return 123;
    case Qt::Key_Right:
        return 124;
    case Qt::Key_Down:
        return 125;
    case Qt::Key_Up:
        return 126;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return 24;
    case Qt::Key_Minus:
        return 27;
    case Qt::Key_BracketRight:
        return 30;
    case Qt::Key_BracketLeft:
        return 33;
    case Qt::Key_Apostrophe:
        return 39;
    case Qt::Key_Semicolon:
        return 41;
    case Qt::Key_Backslash:
        return 42;
    case Qt::Key_Comma:
        return 43;
    case Qt::Key_Slash:
        return 44;
    case Qt::Key_Period:
        return 47;
    case Qt::Key_QuoteLeft:
        return 50;
    default:
        return kNoKey;
    }
}

KeyEvent keyEventFromQt(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    KeyEvent result;
    result.keyCode = keyCodeFromQtKey(event.key(), mods.testFlag(Qt::KeypadModifier));
    if (mods.testFlag(Qt::ShiftModifier) || event.key() == Qt::Key_Backtab)
        result.modifierFlags |= KeyEvent::ShiftKeyMask;
    if (mods.testFlag(Qt::ControlModifier))
        result.modifierFlags |= KeyEvent::CommandKeyMask;
    if (mods.testFlag(Qt::AltModifier))
        result.modifierFlags |= KeyEvent::OptionKeyMask;
    if (mods.testFlag(Qt::MetaModifier))
        result.modifierFlags |= KeyEvent::ControlKeyMask;
    return result;
}
