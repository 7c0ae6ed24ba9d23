#pragma once

#include "Platform/KeyEvent.h"

class QKeyEvent;

// The one translation from a toolkit key press to the key tables' codes: Ctrl is Command,
// Alt is Option, Meta is Control. Keys without a code in the tables answer code 0xFFFF,
// which no table names.
KeyEvent keyEventFromQt(const QKeyEvent& event);

// The code of a Qt key (Qt::Key_Return -> 36, Qt::Key_A -> 0, ...); |keypad| picks the
// keypad's digits and Enter. 0xFFFF when the tables have no such key.
quint16 keyCodeFromQtKey(int key, bool keypad = false);
