#pragma once

#include <cstdint>
#include <optional>

#include "Toolkit/PreviewItem.h"

#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <utility>

class FileSystemItem;
class PreviewLoader;
class QLabel;
class QLPreviewViewMod;
class QuickLookCaptionLabel;
class FolderSystemItem;
class QuickLookMissingView;
struct PreviewFacts;

// The preview pane of the results screen and the heap view: the preview of one file or
// folder with a caption of its name and size under it, or the "moved or deleted" message
// when the path is gone. The pane is its own preview item (its path and file URL).
//
// Whether the path exists is asked off the main thread; the preview or the message
// follows when the answer arrives. Each load replaces the pane's whole content, and an
// answer for an earlier load is dropped.
//
// Main thread only.
class QuickLookVC final : public QWidget, public PreviewItem {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuickLookVC)

public:
    static constexpr const char* kInterfaceFile = "QuickLookVC";
    static constexpr qreal kCornerRadius = 3.0;
    // Layout with y upward: the preview stands 30 points above the bottom and is 40
    // points lower than the pane; the caption stands 7 points above the bottom.
    static constexpr qreal kPreviewBottom = 30.0;
    static constexpr qreal kPreviewHeightInset = 40.0;
    static constexpr qreal kCaptionBottom = 7.0;
    static constexpr qreal kCaptionSideMargin = 10.0;

    explicit QuickLookVC(QWidget* parent = nullptr);
    ~QuickLookVC() override;

    // Shows |item| with its caption; nullptr clears the pane.
    void loadFileByItem(FileSystemItem* item);
    // Shows |path| without caption; an empty path clears the pane.
    void loadFileByPath(const QByteArray& path);
    // Gives the shown path to the preview panel and opens it, or closes it when open.
    void showQuicklookInNewWindow();

    QUrl originalURL() const { return _originalURL; }
    QUrl resolvedFileURL() const { return _resolvedFileURL; }
    QUrl previewItemURL() const override { return _resolvedFileURL; }
    QString previewItemTitle() const override { return _originalURL.toString(); }
    QByteArray previewItemPath() const override { return m_path; }

    QByteArray path() const { return m_path; }
    QLPreviewViewMod* previewView() const { return _previewView; }
    QuickLookCaptionLabel* captionLabel() const { return m_labelFolderInfo; }
    QuickLookMissingView* noFileView() const { return m_noFileView; }
    bool isCaptionShown() const;
    bool isShowingMissingMessage() const;
    // True while the pane waits to learn whether its path exists.
    bool isLoading() const;

    // Layout rules in the pane's upward-y coordinates.
    static QRectF previewFrameForBounds(QSizeF bounds);
    static QRectF captionFrameForBounds(QSizeF bounds, QSizeF captionSize);
    // A rectangle in upward-y coordinates of a view |height| high, in widget coordinates.
    static QRect flipped(const QRectF& rect, qreal height);

    // The caption of |item|: its display name, then " - <size>" or, for a folder that is
    // not a package, " - <size> for <n> file(s)" counting files below it (hidden ones only
    // with |withHidden|). Counts on the calling thread; loadFileByItem() counts on a worker.
    static std::pair<QString, QString> captionPartsForItem(FileSystemItem* item, bool withHidden);

    // At most this many files are counted for a caption: a folder holding more says "more
    // than" that, so a huge tree never keeps a worker walking for long.
    static constexpr std::uint64_t kCaptionCountLimit = 1000000;
    // The files below |folder| (hidden ones only with |withHidden|), walked with a loop, not
    // recursion; nothing once more than |limit| were met.
    static std::optional<std::uint64_t> countDeepFiles(const FolderSystemItem* folder,
                                                       bool withHidden, std::uint64_t limit);
    // The plain part of a folder's caption for |count| files (nothing: more than the limit).
    static QString folderCaption(const QString& size, std::optional<std::uint64_t> count);
    // The plain part while the count is under way.
    static QString countingCaption(const QString& size);
    // True while a folder's files are being counted for the caption.
    bool isCountingCaption() const { return m_countingCaption; }
    // Whether the current result counted hidden folders (false without a result).
    static bool isScanInHiddenFolders();

signals:
    // The pane's content changed after a load (preview, message or nothing).
    void loaded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void removeAllSubviews();
    void onExistence(const PreviewFacts& facts);
    void addQuickLookForPath(const QByteArray& path);
    void addPreviewAsSubview(QLPreviewViewMod* previewView);
    void showMessageThatNotExistedPath(const QByteArray& path);
    void showCaption();
    void layoutSubviews();

    QPointer<QLPreviewViewMod> _previewView;
    QByteArray m_path;
    QuickLookMissingView* m_noFileView = nullptr;
    QWidget* m_noFileInnerView = nullptr;
    QWidget* m_noFileImageView = nullptr;
    QLabel* m_notFoundLabel = nullptr;
    QuickLookCaptionLabel* m_labelFolderInfo = nullptr;
    QUrl _originalURL;
    QUrl _resolvedFileURL;

    PreviewLoader* m_existenceProbe = nullptr;
    QByteArray m_probedPath;
    bool m_captionWanted = false;
    std::pair<QString, QString> m_captionParts;
    // Each load counts afresh; a count that comes back for an earlier load is dropped.
    quint64 m_captionGeneration = 0;
    bool m_countingCaption = false;
};
