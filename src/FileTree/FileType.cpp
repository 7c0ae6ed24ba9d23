#include "FileType.h"

#include "FileTree/UMUTITypeCache.h"
#include "FileTree/UTIDynamicTypes.h"
#include "Platform/TypeIdentifier.h"

#include <QFile>
#include <QHash>
#include <QtGlobal>

#include <utility>

namespace {

// Where the extension of the path's last component lies: its start and length, or a
// length of 0 when there is none.
template <typename Text, typename Char>
std::pair<qsizetype, qsizetype> extensionBounds(const Text& path, Char slash, Char dot) {
    qsizetype end = path.size();
    if (end == 0) {
        return {0, 0};
    }
    while (end > 1 && path.at(end - 1) == slash) {
        --end;
    }
    const qsizetype slashAt = path.lastIndexOf(slash, end - 1);
    const qsizetype componentStart = slashAt < 0 ? 0 : slashAt + 1;
    const qsizetype dotAt = path.lastIndexOf(dot, end - 1);
    if (dotAt < componentStart || dotAt == componentStart) {
        return {0, 0};
    }
    // ".." is a reference to the parent, not a name with an extension.
    if (end - componentStart == 2 && dotAt == componentStart + 1 &&
        path.at(componentStart) == dot) {
        return {0, 0};
    }
    return {dotAt + 1, end - dotAt - 1};
}

template <typename Text, typename Char>
Text extensionOf(const Text& path, Char slash, Char dot) {
    const auto [start, length] = extensionBounds(path, slash, dot);
    return length == 0 ? Text{} : path.mid(start, length);
}

DuplicatesCategoryType typeOfKnownIdentifier(const QString& identifier) {
    using C = TypeIdentifier::Conformance;
    // The first family that holds decides; documents are tested before archives because
    // many office formats are zip files underneath.
    static const std::pair<C, DuplicatesCategoryType> kOrder[] = {
        {C::Image, DuplicatesCategoryTypeImage},
        {C::Movie, DuplicatesCategoryTypeVideo},
        {C::Audio, DuplicatesCategoryTypeMusic},
        {C::Content, DuplicatesCategoryTypeDocument},
        {C::CompositeContent, DuplicatesCategoryTypeDocument},
        {C::OpenXml, DuplicatesCategoryTypeDocument},
        {C::Archive, DuplicatesCategoryTypeArchive},
        {C::Data, DuplicatesCategoryTypeDocument},
    };
    for (const auto& [conformance, type] : kOrder) {
        if (TypeIdentifier::conformsTo(identifier, conformance)) {
            return type;
        }
    }
    return DuplicatesCategoryTypeOther;
}

} // namespace

namespace FileType {

QString pathExtension(const QString& path) {
    return extensionOf(path, QChar(u'/'), QChar(u'.'));
}

QByteArray pathExtension(const QByteArray& path) {
    return extensionOf(path, '/', '.');
}

QByteArrayView pathExtensionView(QByteArrayView path) {
    const auto [start, length] = extensionBounds(path, '/', '.');
    return length == 0 ? QByteArrayView() : path.sliced(start, length);
}

DuplicatesCategoryType typeOfFileAtPath(const QString& path) {
    return typeOfFileAtPath(path, UMUTITypeCache::cache(),
                            []() -> const UTIDynamicTypes& { return UTIDynamicTypes::shared(); });
}

DuplicatesCategoryType typeOfFileAtPath(const QByteArray& path) {
    const QByteArrayView extensionView = pathExtensionView(path);
    const QByteArray extension =
        QByteArray::fromRawData(extensionView.data(), extensionView.size());
    // An extension's type never changes once known (the shared cache keeps it for the whole
    // process), and a scan asks for every file: each thread remembers the extensions it has
    // met by their raw bytes, which spares decoding them and taking the shared cache's lock.
    constexpr qsizetype kRememberedExtensions = 4096;
    thread_local QHash<QByteArray, DuplicatesCategoryType> known;
    if (const auto found = known.constFind(extension); found != known.cend())
        return *found;
    // Only the extension is decoded: the rest of a raw name may not be valid UTF-8.
    const DuplicatesCategoryType type =
        typeOfFileAtPath(QFile::decodeName(extension).prepend(QLatin1String("x.")));
    if (known.size() < kRememberedExtensions)
        known.insert(extensionView.toByteArray(), type);
    return type;
}

DuplicatesCategoryType typeOfFileAtPath(const QString& path, UMUTITypeCache& cache,
                                        const std::function<const UTIDynamicTypes&()>& table) {
    if (path.isEmpty()) {
        return DuplicatesCategoryTypeOther;
    }
    const QString extension = pathExtension(path);
    if (extension.isEmpty()) {
        return DuplicatesCategoryTypeOther;
    }
    const int cached = cache.fileTypeIdentifierWithExtension(extension);
    if (cached != DuplicatesCategoryTypeUnknown) {
        return static_cast<DuplicatesCategoryType>(cached);
    }

    DuplicatesCategoryType type = DuplicatesCategoryTypeOther;
    const QString identifier = TypeIdentifier::preferredIdentifierForExtension(extension);
    if (identifier.isEmpty()) {
        type = DuplicatesCategoryTypeOther;
    } else if (TypeIdentifier::isDynamic(identifier)) {
        // An empty table (missing or damaged) lists nothing: the extension is "other".
        const UTIDynamicTypes& types = table();
        type = types.containsExtension(extension)
                   ? DuplicatesCategoryTypes::typeOfName(types.nameForExtension(extension))
                   : DuplicatesCategoryTypeOther;
    } else {
        type = typeOfKnownIdentifier(identifier);
    }
    cache.setUTITypeForExtension(type, extension);
    return type;
}

} // namespace FileType
