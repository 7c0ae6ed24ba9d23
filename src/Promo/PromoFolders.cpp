#include "Promo/PromoFolders.h"

#include "Platform/RemoveTree.h"
#include "Promo/PromoSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PromoFolders {

bool isZembrookFolderPath(const QString& path) {
    const QString support = PromoSettings::applicationSupportFolder();
    if (support.isEmpty() || path.isEmpty())
        return false;
    const QFileInfo info(QDir::cleanPath(path));
    if (QDir::cleanPath(info.absolutePath()) != QDir::cleanPath(QDir(support).absolutePath()))
        return false;
    static const QRegularExpression name(QStringLiteral("^Zembrook_v[0-9]+(_[0-9]+)?$"));
    return name.match(info.fileName()).hasMatch();
}

bool removeZembrookFolder(const QString& path) {
    if (!isZembrookFolderPath(path))
        return false;
    const QFileInfo info(QDir::cleanPath(path));
    const int parent = ::open(QFile::encodeName(info.absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0)
        return false;
    const QByteArray name = QFile::encodeName(info.fileName());
    struct stat parentStat {};
    struct stat entryStat {};
    bool gone = true;
    if (::fstat(parent, &parentStat) == 0 &&
        ::fstatat(parent, name.constData(), &entryStat, AT_SYMLINK_NOFOLLOW) == 0) {
        gone = removeTreeAt(parent, name.constData(), parentStat.st_dev) == 0;
    }
    ::close(parent);
    return gone;
}

std::optional<QString> buildLocalPathForFutureZembrookFolderWithVersion(qint32 version) {
    const QString support = PromoSettings::applicationSupportFolder();
    if (support.isEmpty())
        return std::nullopt;
    const QString base = QDir(support).filePath(QStringLiteral("Zembrook_v%1").arg(version));
    QString candidate = base;
    for (int suffix = 1; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++suffix)
        candidate = QStringLiteral("%1_%2").arg(base).arg(suffix);
    return candidate;
}

} // namespace PromoFolders
