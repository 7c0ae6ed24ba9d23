#include "FakeApplications.h"

#include "TestSupport.h"

#include <QFile>

#include <sys/stat.h>

namespace TestSupport {

void installFakeTextApplications() {
    const QByteArray data = qgetenv("XDG_DATA_HOME");
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    // The editor and the folder viewer note the path they were started on, byte for byte.
    const QByteArray recorder = data + "/applications/sorvanta-fixture-record";
    writeFile(recorder, "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.$2\"\n");
    ::chmod(recorder.constData(), 0755);
    auto entry = [](const char* name, const QByteArray& exec, const char* type) {
        return QByteArray("[Desktop Entry]\nType=Application\nName=") + name + "\nExec=" + exec +
               "\nMimeType=" + type + ";\n";
    };
    writeFile(data + "/applications/" + QFile::encodeName(kFixtureEditorId),
              entry("Fixture Editor", recorder + " %f opened", "text/plain"));
    writeFile(data + "/applications/" + QFile::encodeName(kFixtureViewerId),
              entry("aaa Fixture Viewer", "true %f", "text/plain"));
    writeFile(data + "/applications/" + QFile::encodeName(kFixtureFolderViewerId),
              entry("Fixture Folders", recorder + " %f shown", "inode/directory") +
                  "NoDisplay=true\n");
    // What update-desktop-database writes: GIO finds a folder's applications for a type here.
    writeFile(data + "/applications/mimeinfo.cache",
              "[MIME Cache]\ntext/plain=" + QFile::encodeName(kFixtureEditorId) + ';' +
                  QFile::encodeName(kFixtureViewerId) +
                  ";\ninode/directory=" + QFile::encodeName(kFixtureFolderViewerId) + ";\n");
    writeFile(config + "/mimeapps.list",
              "[Default Applications]\ntext/plain=" + QFile::encodeName(kFixtureEditorId) +
                  "\ninode/directory=" + QFile::encodeName(kFixtureFolderViewerId) + "\n");
}

QByteArray pathGivenToFixture(const char* what) {
    QFile file(QFile::decodeName(qgetenv("XDG_DATA_HOME") +
                                 "/applications/sorvanta-fixture-record." + what));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace TestSupport
