#pragma once

#include <QString>

#include <cstdint>

namespace CountNoun {

// The noun after a count of selected copies, |folders| of them folders.
inline QString nounForCount(std::uint64_t count, std::uint64_t folders) {
    if (folders == 0)
        return count == 1 ? QStringLiteral("file") : QStringLiteral("files");
    if (folders < count)
        return QStringLiteral("files and folders");
    return count == 1 ? QStringLiteral("folder") : QStringLiteral("folders");
}

} // namespace CountNoun
