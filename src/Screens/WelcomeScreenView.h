#pragma once

#include <QStringList>
#include <QWidget>

class QMimeData;

// The welcome screen's background: it takes folder drops. A drag is accepted only when
// every file it carries is a folder and no modal window is up; at the drop each existing
// folder is announced with "FileDropped" {"path"}, in the drag's order.
class WelcomeScreenView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WelcomeScreenView)

public:
    explicit WelcomeScreenView(QWidget* parent = nullptr);

    // Whether a drag carrying |mime| may be dropped (no modal window, files all folders).
    static bool acceptsDrag(const QMimeData* mime);
    // The dropped paths that are existing folders, in the drag's order.
    static QStringList droppedFolders(const QMimeData* mime);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// The add-folder picture of the help line: a small copy of the "+ Add Folders" button it
// speaks of; clicking it asks for the folder chooser (the add-folder notification).
class AddFolderView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AddFolderView)

public:
    static constexpr int kHeight = 18;

    explicit AddFolderView(QWidget* parent = nullptr);

    // The button's title, as the button shows it.
    static QString title();
    // Wide enough for the title at the help line's size.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
