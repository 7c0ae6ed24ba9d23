#pragma once

#include "Platform/ui/PreviewRenderer.h"

#include <QIcon>
#include <QWidget>

class PreviewItem;
class PreviewLoader;
class QPlainTextEdit;
class QScrollArea;
class QuickLookMissingView;

// Our preview of one file, in place of the platform's preview view: a picture scaled to
// fit (images, the first frame of a video), the beginning of a text file in a read-only
// view, the first pages of a PDF document, and for anything else the file's icon, name,
// size and modification date. A vanished path shows the "moved or deleted" message.
//
// The facts (icon, name, size, date) show as soon as they are read; everything touching
// the file runs on a worker (PreviewLoader), so a slow or huge file never holds up the
// main thread. A symbolic link is shown as a link, never followed.
//
// Main thread only.
class PreviewView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreviewView)

public:
    // The largest picture, in pixels, a preview reads.
    static constexpr QSize kMaxPixels{1600, 1600};

    explicit PreviewView(QWidget* parent = nullptr);
    ~PreviewView() override;

    // Shows |item|, or nothing for nullptr. The item's path and title are read at once;
    // the pointer is kept only to tell items apart and is never read again, so an item
    // may go away while it is shown.
    virtual void setPreviewItem(const PreviewItem* item);
    const PreviewItem* previewItem() const { return m_item; }

    QByteArray path() const { return m_path; }
    QString title() const { return m_title; }
    bool hasFacts() const { return m_hasFacts; }
    const PreviewFacts& facts() const { return m_facts; }
    bool hasContent() const { return m_hasContent; }
    const PreviewContent& content() const { return m_content; }
    // True while the file is being read.
    bool isLoading() const;
    // True while the "moved or deleted" message is shown.
    bool isShowingMissingMessage() const;

    // The icon of a file type (theme icon, else our own picture).
    static QIcon iconForFacts(const PreviewFacts& facts);
    // The icon of a file by its name alone (nothing read from the disk).
    static QIcon iconForPath(const QByteArray& path);

signals:
    void factsLoaded(const PreviewFacts& facts);
    void contentLoaded(const PreviewContent& content);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clear();
    void onFacts(const PreviewFacts& facts);
    void onContent(const PreviewContent& content);
    void paintPicture(QPainter& painter, const QImage& image);
    void paintFacts(QPainter& painter);

    PreviewLoader* m_loader = nullptr;
    QPlainTextEdit* m_textView = nullptr;
    QScrollArea* m_pagesArea = nullptr;
    QuickLookMissingView* m_missingView = nullptr;

    const PreviewItem* m_item = nullptr;
    QByteArray m_path;
    QString m_title;
    bool m_hasFacts = false;
    PreviewFacts m_facts;
    bool m_hasContent = false;
    PreviewContent m_content;
};
