#pragma once

#include <QByteArray>
#include <QString>

namespace TestSupport {

// Installs two desktop entries for text/plain under the temporary $XDG_DATA_HOME
// ("sorvanta-fixture-editor.desktop", named "Fixture Editor", and
// "sorvanta-fixture-viewer.desktop", named "aaa Fixture Viewer" so that it sorts first by
// name) with their folder's MIME cache, and names the editor the default for text/plain in
// $XDG_CONFIG_HOME/mimeapps.list. A third entry, not shown in menus, is the default for
// folders. The editor and the folder entry note the path they are started on. Idempotent.
// Call before the first look-up of applications in the process, since GIO reads the
// application folders once.
void installFakeTextApplications();

// The path the fixture editor ("opened") or folder entry ("shown") was last started on, as
// bytes; empty before.
QByteArray pathGivenToFixture(const char* what);

inline const QString kFixtureEditorId = QStringLiteral("sorvanta-fixture-editor.desktop");
inline const QString kFixtureViewerId = QStringLiteral("sorvanta-fixture-viewer.desktop");
inline const QString kFixtureFolderViewerId = QStringLiteral("sorvanta-fixture-folders.desktop");

} // namespace TestSupport
