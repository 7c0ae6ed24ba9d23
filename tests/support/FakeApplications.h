#pragma once

#include <QString>

namespace TestSupport {

// Installs two desktop entries for text/plain under the temporary $XDG_DATA_HOME
// ("sorvanta-fixture-editor.desktop", named "Fixture Editor", and
// "sorvanta-fixture-viewer.desktop", named "aaa Fixture Viewer" so that it sorts first by
// name) with their folder's MIME cache, and names the editor the default for text/plain in
// $XDG_CONFIG_HOME/mimeapps.list. Idempotent. Call before the first look-up of applications in the
// process, since GIO reads the application folders once.
void installFakeTextApplications();

inline const QString kFixtureEditorId = QStringLiteral("sorvanta-fixture-editor.desktop");
inline const QString kFixtureViewerId = QStringLiteral("sorvanta-fixture-viewer.desktop");

} // namespace TestSupport
