#include "WelcomeScreenView.h"

#include "Categories/AppNotification.h"
#include "Platform/NotificationCenter.h"
#include "Toolkit/ImageStore.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

WelcomeScreenView::WelcomeScreenView(QWidget* parent) : QWidget(parent) {
    setAcceptDrops(true);
}

bool WelcomeScreenView::acceptsDrag(const QMimeData* mime) {
    if (!mime || QApplication::activeModalWidget())
        return false;
    // Every file of the drag must be a folder; a drag of plain web addresses carries no
    // file and yields nothing at the drop.
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isDir())
            return false;
    }
    return mime->hasUrls();
}

QStringList WelcomeScreenView::droppedFolders(const QMimeData* mime) {
    QStringList folders;
    if (!mime)
        return folders;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (QFileInfo(path).isDir())
            folders << path;
    }
    return folders;
}

void WelcomeScreenView::dragEnterEvent(QDragEnterEvent* event) {
    if (!acceptsDrag(event->mimeData())) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void WelcomeScreenView::dragMoveEvent(QDragMoveEvent* event) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void WelcomeScreenView::dragLeaveEvent(QDragLeaveEvent* event) {
    event->accept();
}

void WelcomeScreenView::dropEvent(QDropEvent* event) {
    if (!rect().contains(event->position().toPoint()) || QApplication::activeModalWidget()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    for (const QString& path : droppedFolders(event->mimeData()))
        NotificationCenter::defaultCenter().post(QStringLiteral("FileDropped"),
                                                 QVariantMap{{QStringLiteral("path"), path}});
}

AddFolderView::AddFolderView(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
}

void AddFolderView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    ImageStore::draw(painter, QStringLiteral("dark_help_add"), rect());
}

void AddFolderView::mouseReleaseEvent(QMouseEvent*) {
    AppNotification::CreateAddFolderNotification();
}
