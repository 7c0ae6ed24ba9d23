// The folder cover flow as the welcome screen shows it: empty (drop area), one folder and
// seven folders, with the selection at the start and in the middle.
#include "Shots.h"

#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/CoverFlowAccessoryController.h"
#include "Toolkit/FolderEntry.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/MBCoverFlowView.h"
#include "Toolkit/Palette.h"

#include "Toolkit/AnimationClock.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace {

// A sample screen behind the cover flow, so its rounded corners show against a background.
class Backdrop final : public QWidget {
public:
    explicit Backdrop(QSize flowSize = QSize(464, 246)) {
        flow = new MBCoverFlowView(this);
        flow->setGeometry(QRect(QPoint(20, 20), flowSize));
        flow->setAccessoryController(new FolderNameAccessoryController(true));
        flow->setImageKeyPath(FolderEntry::kImage);
        flow->setShowsScrollbar(true);
    }
    MBCoverFlowView* flow = nullptr;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Palette::commonBackgroundColor());
    }
};

QImage folderIcon(const QColor& tint) {
    QImage image =
        ImageStore::pixmap(QStringLiteral("dark_preview_folder"), QSizeF(128, 128), 2.0).toImage();
    if (tint.isValid()) {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        QColor wash = tint;
        wash.setAlphaF(0.35f);
        painter.fillRect(image.rect(), wash);
    }
    return image;
}

MBCoverFlowView::Content folders(int count) {
    const char* const names[] = {"Pictures",      "Documents", "Music",
                                 "Projects 2026", "Downloads", "Backup of the old laptop",
                                 "Videos"};
    const QColor tints[] = {
        QColor(), QColor(78, 161, 209), QColor(120, 200, 120), QColor(), QColor(230, 160, 80),
        QColor(), QColor(200, 120, 200)};
    MBCoverFlowView::Content content;
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromLatin1(names[i % 7]);
        // The sixth folder comes without an icon and shows the placeholder.
        const QImage image = i == 5 ? QImage() : folderIcon(tints[i % 7]);
        content.append(FolderEntry::make(image, name, QStringLiteral("/home/user/") + name));
    }
    return content;
}

// The pointer over the middle of the selected card, once every move has ended: the remove
// button shows at the card's top right corner.
void hoverSelectedCard(MBCoverFlowView* flow) {
    AnimationClock::instance().flush();
    const QRectF card = flow->removeButtonArea();
    const QPointF at(card.center().x(), flow->height() - card.center().y());
    QMouseEvent move(QEvent::MouseMove, at, flow->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(flow, &move);
}

} // namespace

SORVANTA_SHOT_AREA(coverflow) {
    const QSize size(504, 286);
    {
        Backdrop screen;
        screen.flow->setContent({});
        session.save(QStringLiteral("empty-drop-area"), &screen, size);
    }
    {
        Backdrop screen;
        screen.flow->setContent(folders(1));
        session.save(QStringLiteral("one-folder"), &screen, size);
    }
    {
        Backdrop screen;
        screen.flow->setContent(folders(7));
        screen.flow->selectFolderByIndex(0);
        session.save(QStringLiteral("seven-folders-first"), &screen, size);
        screen.flow->selectFolderByIndex(3);
        session.save(QStringLiteral("seven-folders-middle"), &screen, size);
        // The remove button as the pointer over the selected card shows it.
        hoverSelectedCard(screen.flow);
        session.save(QStringLiteral("seven-folders-remove-button"), &screen, size);
        screen.flow->selectFolderByIndex(5);
        session.save(QStringLiteral("seven-folders-placeholder"), &screen, size);
    }
    {
        // Wider than the screens make it: the button still stands on the selected card.
        Backdrop screen(QSize(760, 300));
        screen.flow->setContent(folders(7));
        screen.flow->selectFolderByIndex(2);
        session.save(QStringLiteral("wide"), &screen, QSize(800, 340));
        hoverSelectedCard(screen.flow);
        session.save(QStringLiteral("wide-remove-button"), &screen, QSize(800, 340));
    }
}
