#include "Platform/ui/KeyEventFromQt.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

struct KeyCase {
    int key;
    Qt::KeyboardModifiers modifiers;
    quint16 code;
    quint32 flags;
};

TEST(KeyEventFromQtTest, KeysAndModifiersBecomeTheTablesCodes) {
    const KeyCase cases[] = {
        {Qt::Key_Return, Qt::NoModifier, 36, 0},
        {Qt::Key_Enter, Qt::KeypadModifier, 76, 0},
        {Qt::Key_Tab, Qt::NoModifier, 48, 0},
        {Qt::Key_Backtab, Qt::ShiftModifier, 48, KeyEvent::ShiftKeyMask},
        {Qt::Key_Space, Qt::NoModifier, 49, 0},
        {Qt::Key_Backspace, Qt::ControlModifier, 51, KeyEvent::CommandKeyMask},
        {Qt::Key_Escape, Qt::NoModifier, 53, 0},
        {Qt::Key_Left, Qt::NoModifier, 123, 0},
        {Qt::Key_Right, Qt::NoModifier, 124, 0},
        {Qt::Key_Down, Qt::NoModifier, 125, 0},
        {Qt::Key_Up, Qt::AltModifier, 126, KeyEvent::OptionKeyMask},
        {Qt::Key_1, Qt::NoModifier, 18, 0},
        {Qt::Key_0, Qt::NoModifier, 29, 0},
        {Qt::Key_5, Qt::KeypadModifier, 87, 0},
        {Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, 0,
         KeyEvent::CommandKeyMask | KeyEvent::ShiftKeyMask},
        {Qt::Key_Z, Qt::MetaModifier, 6, KeyEvent::ControlKeyMask},
        {Qt::Key_Delete, Qt::NoModifier, 117, 0},
        {Qt::Key_VolumeUp, Qt::NoModifier, 0xFFFF, 0},
    };
    for (const KeyCase& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
        const KeyEvent result = keyEventFromQt(event);
        EXPECT_EQ(result.keyCode, c.code) << "key " << c.key;
        EXPECT_EQ(result.modifierFlags, c.flags) << "key " << c.key;
    }
}

} // namespace
