#include "TestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cstdlib>

namespace TestSupport {

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents();
        QThread::msleep(1);
    }
    return true;
}

void spinFor(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents();
        QThread::msleep(1);
    }
}

bool writeFile(const QByteArray& path, const QByteArray& contents) {
    const QString name = QFile::decodeName(path);
    QDir().mkpath(QFileInfo(name).absolutePath());
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(contents) == contents.size();
}

QString isolateUserFolders() {
    static QString root;
    if (!root.isEmpty())
        return root;
    const QByteArray tmp = qEnvironmentVariableIsSet("TMPDIR") ? qgetenv("TMPDIR") : "/tmp";
    QByteArray templ = tmp + "/sorvanta-test-XXXXXX";
    if (!mkdtemp(templ.data()))
        std::abort();
    root = QString::fromLocal8Bit(templ);
    for (const char* var : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        const QString dir = root + "/" + QString::fromLatin1(var).toLower();
        QDir().mkpath(dir);
        qputenv(var, QFile::encodeName(dir));
    }
    const QString runtime = root + "/runtime";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    return root;
}

} // namespace TestSupport
