#include "FakeApplications.h"

#include "TestSupport.h"

#include <QFile>

namespace TestSupport {

void installFakeTextApplications() {
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    auto entry = [](const char* name) {
        return QByteArray("[Desktop Entry]\nType=Application\nName=") + name +
               "\nExec=true %f\nMimeType=text/plain;\n";
    };
    writeFile(data + "/applications/" + QFile::encodeName(kFixtureEditorId),
              entry("Fixture Editor"));
    writeFile(data + "/applications/" + QFile::encodeName(kFixtureViewerId),
              entry("aaa Fixture Viewer"));
    // What update-desktop-database writes: GIO finds a folder's applications for a type here.
    writeFile(data + "/applications/mimeinfo.cache",
              "[MIME Cache]\ntext/plain=" + QFile::encodeName(kFixtureEditorId) + ';' +
                  QFile::encodeName(kFixtureViewerId) + ";\n");
    writeFile(config + "/mimeapps.list",
              "[Default Applications]\ntext/plain=" + QFile::encodeName(kFixtureEditorId) + "\n");
}

} // namespace TestSupport
