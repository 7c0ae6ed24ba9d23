#include "Browser/Common/FileWorkspace.h"

#include "Platform/ui/FileManagerReveal.h"
#include "Platform/ui/OpenWithApplications.h"

const FileWorkspace& FileWorkspace::platform() {
    static const FileWorkspace workspace{
        [](const QByteArray& path) { FileManagerReveal::revealPath(path); },
        [](const QByteArray& path) { FileManagerReveal::showItemProperties(path); },
        [](const QByteArray& path) { OpenWithApplications::openFile(path); },
        [](const QByteArray& path, const QString& appId) {
            OpenWithApplications::openFileWithApplication(path, appId);
        },
    };
    return workspace;
}
