#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QList>
#include <QMetaType>
#include <QSize>
#include <QString>

#include <atomic>

// What a preview can say about a path without reading its content: read with lstat, so a
// symbolic link is described as the link itself and never followed.
struct PreviewFacts {
    QByteArray path;
    QString name; // the last component, decoded for display
    bool exists = false;
    bool isDir = false;
    bool isSymlink = false;
    bool isRegular = false;
    qint64 size = 0;
    QDateTime modified;
    QString mimeType; // by the name's extension; "inode/directory" for a folder
    QString iconName; // freedesktop icon name of the type
    QString genericIconName;
};

// The content of a preview: a picture (image, first frame of a video), text, or the first
// pages of a PDF document. Kind None means only the facts can be shown.
struct PreviewContent {
    enum class Kind { None, Image, Text, Pdf, Video };
    Kind kind = Kind::None;
    QImage image;           // Image and Video
    QList<QImage> pages;    // Pdf: the first pages
    int pageCount = 0;      // Pdf: pages in the whole document
    QString text;           // Text: the beginning of the file
    bool truncated = false; // Text: the file goes on past what is shown
};

Q_DECLARE_METATYPE(PreviewFacts)
Q_DECLARE_METATYPE(PreviewContent)

// The preview generators: image formats through Qt's image readers (and their plugins),
// text, PDF pages through Poppler, a video frame through libffmpegthumbnailer.
//
// Any thread; the calls may take long on a big or slow file, so the interface runs them on
// a worker (PreviewLoader). The file is opened once with O_NOFOLLOW | O_NONBLOCK and
// checked to be the regular file that lstat described; every reader then reads through
// that descriptor (the libraries by its /proc/self/fd name), so a path swapped for a link
// or a FIFO meanwhile is never followed or waited on.
namespace PreviewRenderer {

// How much of a text file is shown.
inline constexpr qint64 kTextLimit = 256 * 1024;
// How many pages of a PDF document are rendered.
inline constexpr int kPdfPages = 3;

PreviewFacts readFacts(const QByteArray& path);
// The facts the name alone gives (name, type by extension, icon names), touching no disk;
// exists stays false.
PreviewFacts factsForName(const QByteArray& path);

// The content of the file |facts| describes, its pictures fitting in |maxPixels|. A
// folder, a link, a device, an unreadable file or an unknown type gives Kind None, as does
// a set |cancelled| (checked between steps).
PreviewContent renderContent(const PreviewFacts& facts, QSize maxPixels,
                             const std::atomic<bool>& cancelled);

// Which kind of content a MIME type name is previewed as (None for the facts only).
PreviewContent::Kind kindForMimeType(const QString& mimeType);

} // namespace PreviewRenderer
