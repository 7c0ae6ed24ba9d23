#pragma once

#include <QPalette>

// The look of the standard Qt pieces the interface shows beside its own painted controls:
// message boxes (the sheets), file choosers, menus, scroll bars of plain views. They take the
// dark palette here, so a question in a sheet reads like the rest of the interface instead of
// a light desktop dialog.
namespace ApplicationLook {

// The dark palette, built from the interface's named colours.
QPalette darkPalette();

// Sets the Fusion style (it honours the palette on every desktop), the dark palette and the
// interface's font for the whole application. Call once, after the QApplication exists.
void install();

} // namespace ApplicationLook
