#include "Platform/ui/PreviewRenderer.h"

#include "Platform/FileManager.h"

#include <QFile>
#include <QImageReader>
#include <QMimeDatabase>
#include <QStringDecoder>

#include <poppler-qt6.h>

#include <libffmpegthumbnailer/videothumbnailerc.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace PreviewRenderer {

namespace {

// A descriptor of the previewed file, closed when it goes out of scope.
class OpenFile final {
public:
    explicit OpenFile(const QByteArray& path) {
        do {
            m_fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        } while (m_fd < 0 && errno == EINTR);
        struct stat st {};
        // Only a regular file is read: a FIFO or a device could block or never end, and
        // O_NOFOLLOW has already refused a link in the last component.
        if (m_fd >= 0 && (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode))) {
            ::close(m_fd);
            m_fd = -1;
        }
        if (m_fd >= 0)
            m_size = st.st_size;
    }
    ~OpenFile() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    qint64 size() const { return m_size; }
    // The name the libraries open: the very file behind the descriptor, whatever the
    // path now names.
    QString procPath() const { return QStringLiteral("/proc/self/fd/%1").arg(m_fd); }

    // Up to |limit| bytes from the start.
    QByteArray readHead(qint64 limit) const {
        QByteArray data;
        data.resize(qsizetype(qMin(limit, qMax<qint64>(m_size, 0))));
        qint64 done = 0;
        while (done < data.size()) {
            const ssize_t n = ::pread(m_fd, data.data() + done, size_t(data.size() - done), done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        data.truncate(qsizetype(done));
        return data;
    }

private:
    int m_fd = -1;
    qint64 m_size = 0;
};

const QMimeDatabase& mimeDatabase() {
    static const QMimeDatabase db;
    return db;
}

const QList<QByteArray>& imageMimeTypes() {
    static const QList<QByteArray> types = QImageReader::supportedMimeTypes();
    return types;
}

QImage fitted(QImage image, QSize maxPixels) {
    if (image.width() > maxPixels.width() || image.height() > maxPixels.height())
        image = image.scaled(maxPixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

PreviewContent renderImage(const OpenFile& file, QSize maxPixels) {
    PreviewContent content;
    QFile device;
    if (!device.open(file.fd(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return content;
    QImageReader reader(&device);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() &&
        (size.width() > maxPixels.width() || size.height() > maxPixels.height()) &&
        reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(size.scaled(maxPixels, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull())
        return content;
    content.kind = PreviewContent::Kind::Image;
    content.image = fitted(std::move(image), maxPixels);
    return content;
}

PreviewContent renderText(const OpenFile& file) {
    PreviewContent content;
    const QByteArray data = file.readHead(kTextLimit);
    QStringDecoder decoder(QStringDecoder::Utf8);
    // A sequence cut by the limit stays in the decoder's state and is simply not shown.
    QString text = decoder(data);
    if (decoder.hasError())
        text = QString::fromLatin1(data);
    text.replace(QChar(0), QChar(QChar::ReplacementCharacter));
    content.kind = PreviewContent::Kind::Text;
    content.text = std::move(text);
    content.truncated = file.size() > data.size();
    return content;
}

PreviewContent renderPdf(const OpenFile& file, QSize maxPixels,
                         const std::atomic<bool>& cancelled) {
    PreviewContent content;
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(file.procPath());
    if (!document || document->isLocked())
        return content;
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    content.pageCount = document->numPages();
    for (int i = 0; i < qMin(kPdfPages, content.pageCount); ++i) {
        if (cancelled.load())
            return {};
        std::unique_ptr<Poppler::Page> page = document->page(i);
        if (!page)
            break;
        const QSizeF points = page->pageSizeF();
        if (points.width() <= 0 || points.height() <= 0)
            break;
        const qreal scale =
            qMin(maxPixels.width() / points.width(), maxPixels.height() / points.height());
        QImage image = page->renderToImage(72.0 * scale, 72.0 * scale);
        if (image.isNull())
            break;
        content.pages.append(std::move(image));
    }
    if (content.pages.isEmpty())
        return {};
    content.kind = PreviewContent::Kind::Pdf;
    return content;
}

PreviewContent renderVideo(const OpenFile& file, QSize maxPixels) {
    PreviewContent content;
    video_thumbnailer* thumbnailer = video_thumbnailer_create();
    image_data* data = video_thumbnailer_create_image_data();
    if (!thumbnailer || !data) {
        video_thumbnailer_destroy_image_data(data);
        video_thumbnailer_destroy(thumbnailer);
        return content;
    }
    video_thumbnailer_set_size(thumbnailer, qMax(maxPixels.width(), maxPixels.height()), 0);
    thumbnailer->thumbnail_image_type = Rgb;
    thumbnailer->maintain_aspect_ratio = 1;
    const QByteArray name = file.procPath().toLatin1();
    if (video_thumbnailer_generate_thumbnail_to_buffer(thumbnailer, name.constData(), data) == 0 &&
        data->image_data_ptr && data->image_data_width > 0 && data->image_data_height > 0 &&
        data->image_data_size >= data->image_data_width * data->image_data_height * 3) {
        const QImage frame(data->image_data_ptr, data->image_data_width, data->image_data_height,
                           data->image_data_width * 3, QImage::Format_RGB888);
        content.kind = PreviewContent::Kind::Video;
        content.image = fitted(frame.copy(), maxPixels);
    }
    video_thumbnailer_destroy_image_data(data);
    video_thumbnailer_destroy(thumbnailer);
    return content;
}

} // namespace

PreviewFacts factsForName(const QByteArray& path) {
    PreviewFacts facts;
    facts.path = path;
    facts.name = FileManager::displayNameAtPath(path);
    const QMimeType type =
        mimeDatabase().mimeTypeForFile(facts.name, QMimeDatabase::MatchExtension);
    facts.mimeType = type.name();
    facts.iconName = type.iconName();
    facts.genericIconName = type.genericIconName();
    return facts;
}

PreviewFacts readFacts(const QByteArray& path) {
    PreviewFacts facts;
    facts.path = path;
    facts.name = FileManager::displayNameAtPath(path);
    struct stat st {};
    if (path.isEmpty() || ::lstat(path.constData(), &st) != 0)
        return facts;
    facts.exists = true;
    facts.isDir = S_ISDIR(st.st_mode);
    facts.isSymlink = S_ISLNK(st.st_mode);
    facts.isRegular = S_ISREG(st.st_mode);
    facts.size = st.st_size;
    facts.modified = QDateTime::fromMSecsSinceEpoch(qint64(st.st_mtim.tv_sec) * 1000 +
                                                    st.st_mtim.tv_nsec / 1000000);
    const QMimeType type =
        facts.isDir ? mimeDatabase().mimeTypeForName(QStringLiteral("inode/directory"))
        : facts.isSymlink
            ? mimeDatabase().mimeTypeForName(QStringLiteral("inode/symlink"))
            : mimeDatabase().mimeTypeForFile(facts.name, QMimeDatabase::MatchExtension);
    facts.mimeType = type.name();
    facts.iconName = type.iconName();
    facts.genericIconName = type.genericIconName();
    return facts;
}

PreviewContent::Kind kindForMimeType(const QString& mimeType) {
    const QMimeType type = mimeDatabase().mimeTypeForName(mimeType);
    if (!type.isValid() || type.isDefault())
        return PreviewContent::Kind::None;
    if (type.inherits(QStringLiteral("application/pdf")))
        return PreviewContent::Kind::Pdf;
    for (const QByteArray& image : imageMimeTypes()) {
        if (type.inherits(QString::fromLatin1(image)))
            return PreviewContent::Kind::Image;
    }
    if (type.name().startsWith(QLatin1String("video/")))
        return PreviewContent::Kind::Video;
    if (type.inherits(QStringLiteral("text/plain")))
        return PreviewContent::Kind::Text;
    return PreviewContent::Kind::None;
}

PreviewContent renderContent(const PreviewFacts& facts, QSize maxPixels,
                             const std::atomic<bool>& cancelled) {
    if (!facts.exists || !facts.isRegular || cancelled.load() || maxPixels.isEmpty())
        return {};
    const OpenFile file(facts.path);
    if (!file.isOpen())
        return {};
    PreviewContent::Kind kind = kindForMimeType(facts.mimeType);
    if (kind == PreviewContent::Kind::None && file.size() > 0) {
        // No known extension: the first bytes may still say what the file is.
        const QMimeType sniffed = mimeDatabase().mimeTypeForData(file.readHead(4096));
        kind = kindForMimeType(sniffed.name());
    }
    switch (kind) {
    case PreviewContent::Kind::Image:
        return renderImage(file, maxPixels);
    case PreviewContent::Kind::Text:
        return renderText(file);
    case PreviewContent::Kind::Pdf:
        return renderPdf(file, maxPixels, cancelled);
    case PreviewContent::Kind::Video:
        // The decoder follows whatever its input names: a playlist or a concatenation list
        // saved under a video's name would make it open other files. Only content that
        // itself reads as a video is handed over.
        if (!mimeDatabase()
                 .mimeTypeForData(file.readHead(4096))
                 .name()
                 .startsWith(QLatin1String("video/")))
            return {};
        return renderVideo(file, maxPixels);
    case PreviewContent::Kind::None:
        break;
    }
    return {};
}

} // namespace PreviewRenderer
