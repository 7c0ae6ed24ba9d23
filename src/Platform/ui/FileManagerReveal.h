#pragma once

#include <QByteArray>
#include <QString>

// Shows a file or folder in the user's file manager, selected: through the freedesktop.org
// FileManager1 "ShowItems" call on the session bus, or, where no file manager answers it,
// by opening the parent folder. Paths are the item's own bytes, so a name that is not valid
// UTF-8 is shown too. Returns at once; when nothing could show the item, the user is told
// through OpenFailure.
namespace FileManagerReveal {

void revealPath(const QByteArray& path);

// Opens the file manager's properties window of the item through "ShowItemProperties";
// where no file manager answers, reveals it instead.
void showItemProperties(const QByteArray& path);

// The "file://" URL of an absolute path, every byte outside the unreserved characters and
// "/" percent-encoded, so it names exactly these bytes (QUrl::fromLocalFile goes through
// text, where invalid UTF-8 is lost). Pure.
QString fileUrlOfPath(const QByteArray& path);

} // namespace FileManagerReveal
