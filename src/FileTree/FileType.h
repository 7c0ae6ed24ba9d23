#pragma once

#include "FileTree/DuplicatesCategoryType.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

class UMUTITypeCache;
class UTIDynamicTypes;

// The category of a file from its name's extension. Callable from any thread at once (the
// walker, the filter and digest queues and the main thread all ask).
namespace FileType {

// The extension of a name or path: the text after the last "." of the last path component
// (trailing "/" ignored). Empty when the component has no ".", ends in ".", is "..", or
// begins with its only "." (".bashrc" has no extension; "a.tar.gz" has "gz").
QString pathExtension(const QString& path);
QByteArray pathExtension(const QByteArray& path);
// The same, as a view into the given bytes.
QByteArrayView pathExtensionView(QByteArrayView path);

// The category of a file name or path; only its extension counts, case as written:
// - no extension: 5 (others), not cached;
// - a number other than -1 cached for the extension: that number;
// - otherwise the type database decides: images 0, movies 1, audio 2, text and office
//   documents 3, archives 4, any other known data 3, anything else 5;
// - an extension the database does not know: the application's type table decides (no
//   entry: 5; a category name: its number; any other word: -1, asked again next time).
// The answer of the last two steps is cached. A missing or empty type table is a packaging
// error: the process stops with "plist cant be empty" on the first lookup that needs it.
DuplicatesCategoryType typeOfFileAtPath(const QString& path);
// The same for a name or path held as raw bytes (decoded only to find the extension).
DuplicatesCategoryType typeOfFileAtPath(const QByteArray& path);

// The same with a given cache and type table (the table is fetched only when needed).
// The plain forms use the process-wide cache and UTIDynamicTypes::shared().
DuplicatesCategoryType typeOfFileAtPath(const QString& path, UMUTITypeCache& cache,
                                        const std::function<const UTIDynamicTypes&()>& table);

} // namespace FileType
