#include "TypeIdentifier.h"

#include <QMimeDatabase>
#include <QMimeType>
#include <QStringList>

#include <algorithm>
#include <initializer_list>

namespace {

const QString kDynamicIdentifier = QStringLiteral("application/octet-stream");

// Type names (or name prefixes, ending in "." or "/" or "-") of the families that are not
// told by the top-level media type alone. A name belongs to a family when it equals an
// entry or begins with an entry that ends in one of those separators.
const std::initializer_list<const char*> kMovieTypes = {
    "application/vnd.rn-realmedia",
};

const std::initializer_list<const char*> kImageTypes = {
    "application/illustrator",
};

const std::initializer_list<const char*> kCompositeContentTypes = {
    "application/pdf",
    "application/postscript",
    "application/vnd.ms-xpsdocument",
    "application/oxps",
};

const std::initializer_list<const char*> kOpenXmlTypes = {
    "application/vnd.openxmlformats-officedocument.",
};

// Office, word-processor and e-book formats. Many of them are zip files underneath; they
// are tested before archives so that they count as documents.
const std::initializer_list<const char*> kDocumentTypes = {
    "application/rtf",
    "application/msword",
    "application/vnd.ms-word",
    "application/vnd.ms-excel",
    "application/vnd.ms-powerpoint",
    "application/vnd.ms-visio.",
    "application/vnd.ms-publisher",
    "application/vnd.ms-works",
    "application/vnd.oasis.opendocument.",
    "application/vnd.sun.xml.",
    "application/vnd.stardivision.",
    "application/vnd.wordperfect",
    "application/vnd.apple.pages",
    "application/vnd.apple.numbers",
    "application/vnd.apple.keynote",
    "application/x-iwork-",
    "application/x-abiword",
    "application/epub+zip",
    "application/x-mobipocket-ebook",
    "application/vnd.amazon.",
    "application/x-fictionbook",
    "application/vnd.comicbook",
};

const std::initializer_list<const char*> kArchiveTypes = {
    "application/zip",
    "application/x-tar",
    "application/gzip",
    "application/x-bzip",
    "application/x-bzip2",
    "application/x-xz",
    "application/x-lzma",
    "application/x-lzip",
    "application/x-lz4",
    "application/x-lzop",
    "application/x-lrzip",
    "application/zstd",
    "application/x-compress",
    "application/x-7z-compressed",
    "application/vnd.rar",
    "application/x-rar",
    "application/x-rar-compressed",
    "application/x-archive",
    "application/x-cpio",
    "application/x-arj",
    "application/x-lha",
    "application/x-lzh-compressed",
    "application/x-ace",
    "application/x-stuffit",
    "application/x-stuffitx",
    "application/vnd.ms-cab-compressed",
    "application/x-xar",
    "application/x-apple-diskimage",
    "application/x-raw-disk-image",
    "application/x-rpm",
    "application/vnd.debian.binary-package",
    "application/x-shar",
    "application/x-zoo",
};

bool matchesEntry(const QString& name, const char* entry) {
    const QLatin1String pattern(entry);
    if (pattern.endsWith(QLatin1Char('.')) || pattern.endsWith(QLatin1Char('/')) ||
        pattern.endsWith(QLatin1Char('-'))) {
        return name.startsWith(pattern);
    }
    return name == pattern;
}

bool matchesAny(const QStringList& names, std::initializer_list<const char*> entries) {
    return std::any_of(names.cbegin(), names.cend(), [&](const QString& name) {
        return std::any_of(entries.begin(), entries.end(),
                           [&](const char* entry) { return matchesEntry(name, entry); });
    });
}

bool anyHasPrefix(const QStringList& names, const char* prefix) {
    return std::any_of(names.cbegin(), names.cend(),
                       [&](const QString& name) { return name.startsWith(QLatin1String(prefix)); });
}

} // namespace

QString TypeIdentifier::preferredIdentifierForExtension(const QString& extension) {
    if (extension.isEmpty()) {
        return {};
    }
    // A made-up stem keeps whole-name patterns ("Makefile", "README*") out of the match;
    // only patterns of the form "*.ext" (and a few "*ext") can match.
    const QMimeDatabase database;
    const QMimeType type =
        database.mimeTypeForFile(QStringLiteral("x.") + extension, QMimeDatabase::MatchExtension);
    if (!type.isValid()) {
        return kDynamicIdentifier;
    }
    return type.name();
}

bool TypeIdentifier::isDynamic(const QString& identifier) {
    return identifier == kDynamicIdentifier;
}

bool TypeIdentifier::conformsTo(const QString& identifier, Conformance conformance) {
    if (identifier.isEmpty()) {
        return false;
    }
    QStringList names{identifier};
    if (!isDynamic(identifier)) {
        const QMimeDatabase database;
        const QMimeType type = database.mimeTypeForName(identifier);
        if (!type.isValid()) {
            return false;
        }
        // Aliases are left out on purpose: some are misleading ("image/pdf").
        names = QStringList{type.name()} + type.allAncestors();
    }
    switch (conformance) {
    case Conformance::Image:
        return anyHasPrefix(names, "image/") || matchesAny(names, kImageTypes);
    case Conformance::Movie:
        return anyHasPrefix(names, "video/") || matchesAny(names, kMovieTypes);
    case Conformance::Audio:
        return anyHasPrefix(names, "audio/");
    case Conformance::Content:
        return anyHasPrefix(names, "text/") || anyHasPrefix(names, "message/") ||
               matchesAny(names, kCompositeContentTypes) || matchesAny(names, kOpenXmlTypes) ||
               matchesAny(names, kDocumentTypes);
    case Conformance::CompositeContent:
        return matchesAny(names, kCompositeContentTypes);
    case Conformance::OpenXml:
        return matchesAny(names, kOpenXmlTypes);
    case Conformance::Archive:
        return matchesAny(names, kArchiveTypes);
    case Conformance::Data:
        // Every byte-stream type inherits application/octet-stream; folders, links and
        // other inode/* types do not.
        return names.contains(kDynamicIdentifier);
    }
    return false;
}
