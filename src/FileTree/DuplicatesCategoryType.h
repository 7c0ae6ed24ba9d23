#pragma once

#include <QString>

// The category of a file or of a duplicate group. A signed int: the numbers are stored
// with groups and categories and compared with plain ints, so the enumeration stays
// unscoped.
enum DuplicatesCategoryType : int {
    DuplicatesCategoryTypeUnknown = -1, // hidden, unrecognised, or all files
    DuplicatesCategoryTypeImage = 0,    // pictures
    DuplicatesCategoryTypeVideo = 1,    // movies
    DuplicatesCategoryTypeMusic = 2,    // music
    DuplicatesCategoryTypeDocument = 3, // documents
    DuplicatesCategoryTypeArchive = 4,  // archives
    DuplicatesCategoryTypeOther = 5,    // others
    DuplicatesCategoryTypeFolder = 6,   // folders
};

namespace DuplicatesCategoryTypes {

// The name used for a category: "unknown" for -1 and for any number outside -1 to 6,
// else "image", "video", "music", "document", "archieve" (spelt so: it is the stored
// name), "other", "folder".
inline QString nameOfType(int type) {
    switch (type) {
    case DuplicatesCategoryTypeImage:
        return QStringLiteral("image");
    case DuplicatesCategoryTypeVideo:
        return QStringLiteral("video");
    case DuplicatesCategoryTypeMusic:
        return QStringLiteral("music");
    case DuplicatesCategoryTypeDocument:
        return QStringLiteral("document");
    case DuplicatesCategoryTypeArchive:
        return QStringLiteral("archieve");
    case DuplicatesCategoryTypeOther:
        return QStringLiteral("other");
    case DuplicatesCategoryTypeFolder:
        return QStringLiteral("folder");
    default:
        return QStringLiteral("unknown");
    }
}

// The category a name stands for (exact, case-sensitive); -1 for "unknown" and for any
// text that names no category.
inline DuplicatesCategoryType typeOfName(const QString& name) {
    for (int type = DuplicatesCategoryTypeImage; type <= DuplicatesCategoryTypeFolder; ++type) {
        if (name == nameOfType(type)) {
            return static_cast<DuplicatesCategoryType>(type);
        }
    }
    return DuplicatesCategoryTypeUnknown;
}

} // namespace DuplicatesCategoryTypes
