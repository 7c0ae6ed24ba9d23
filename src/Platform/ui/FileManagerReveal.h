#pragma once

#include <QString>

// Shows a file or folder in the user's file manager, selected: through the freedesktop.org
// FileManager1 "ShowItems" call on the session bus, or, where no file manager answers it,
// by opening the parent folder. Returns at once; when nothing could show the item, the user
// is told through OpenFailure.
namespace FileManagerReveal {

void revealPath(const QString& path);

// Opens the file manager's properties window of the item through "ShowItemProperties";
// where no file manager answers, reveals it instead.
void showItemProperties(const QString& path);

} // namespace FileManagerReveal
