#include "WelcomeScreenView.h"

#include "Categories/AppNotification.h"
#include "Platform/NotificationCenter.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

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
    setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue-Medium"), 11));
}

QString AddFolderView::title() {
    return QStringLiteral("+ Add Folders");
}

QSize AddFolderView::sizeHint() const {
    return {QFontMetrics(font()).horizontalAdvance(title()) + 14, kHeight};
}

void AddFolderView::paintEvent(QPaintEvent*) {
    // Drawn as the button is: a rounded pill in the panel's grey with a light outline and
    // the title in the hint's light text colour.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF pill = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(Palette::sizeLabelColor());
    painter.setBrush(Palette::commonPanelBackgroundColor());
    painter.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
    painter.setPen(Palette::quickHintUnderlineButtonColor());
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, title());
}

void AddFolderView::mouseReleaseEvent(QMouseEvent*) {
    AppNotification::CreateAddFolderNotification();
}
