#pragma once

#include <QMetaType>
#include <QtGlobal>

// A key press as the key tables of the application name it: the macOS virtual key code
// (36 Return, 48 Tab, 49 Space, 51 Delete, 53 Escape, 123 to 126 arrows, ...) and the
// modifier flags. A plain value, so it can be copied into a notification's user info and
// outlive the toolkit event it was made from.
struct KeyEvent {
    // Modifier bits, at the positions the key tables use.
    enum ModifierFlag : quint32 {
        ShiftKeyMask = 1u << 17,
        ControlKeyMask = 1u << 18, // Meta
        OptionKeyMask = 1u << 19,  // Alt
        CommandKeyMask = 1u << 20, // Ctrl
    };

    quint16 keyCode = 0;
    quint32 modifierFlags = 0;

    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

Q_DECLARE_METATYPE(KeyEvent)
