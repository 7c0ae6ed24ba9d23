#include "Browser/Similars/HeapFilesSelectorView.h"

#include "Browser/Similars/HeapFilesCellView.h"

#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"
#include "Toolkit/UMTickerScrollView.h"
#include <QAbstractItemView>

#include <QFile>
#include <QFileInfo>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QToolTip>

HeapFilesSelectorView::HeapFilesSelectorView(HeapFilesSelectorVC* parent)
    : QWidget(parent), m_controller(parent) {
    setObjectName(QStringLiteral("HeapFilesSelectorView"));
    setMouseTracking(true);
    m_progressIndicator = new QProgressBar(this);
    m_progressIndicator->setRange(0, 0);
    m_progressIndicator->setTextVisible(false);
    m_progressIndicator->hide();
    for (UMTickerScrollView*& ticker : m_pathTickers) {
        ticker = new UMTickerScrollView(this);
        ticker->hide();
    }
}

void HeapFilesSelectorView::setSides(const Side& left, const Side& right) {
    m_sides[0] = left;
    m_sides[1] = right;
    for (Side& side : m_sides)
        side.exists = side.folder && QFileInfo::exists(QFile::decodeName(side.folder->path()));
    // Every fill hides both open buttons.
    m_openSide = -1;
    for (int index = 0; index < 2; ++index) {
        FolderSystemItem* folder = m_sides[index].folder;
        m_pathTickers[index]->setStringValue(folder ? QFile::decodeName(folder->path())
                                                    : QString());
        m_pathTickers[index]->setVisible(folder != nullptr);
    }
    update();
}

void HeapFilesSelectorView::setSpinning(bool spinning) {
    m_progressIndicator->setVisible(spinning);
}

bool HeapFilesSelectorView::isSpinning() const {
    return !m_progressIndicator->isHidden();
}

void HeapFilesSelectorView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_progressIndicator->setGeometry(width() / 2 - 30, kBandHeight + 8, 60, 6);
    for (int index = 0; index < 2; ++index)
        m_pathTickers[index]->setGeometry(pathRect(index).toRect());
}

QRectF HeapFilesSelectorView::pathRect(int side) const {
    const qreal half = HeapFilesCellView::halfWidth(width());
    const qreal x0 = side == 0 ? 0 : half;
    return QRectF(x0 + 60, 6, std::max<qreal>(0, half - 96), kBandHeight - 12);
}

QRectF HeapFilesSelectorView::checkboxRect(int side) const {
    // Lined up with the rows' check boxes of the same side.
    return HeapFilesCellView::checkboxRect(bandRect(), side, width());
}

QRectF HeapFilesSelectorView::openButtonRect(int side) const {
    return HeapFilesCellView::openButtonRect(bandRect(), side, width());
}

QRect HeapFilesSelectorView::checkboxGlobalRect(int side) const {
    const QRectF box = checkboxRect(side);
    return QRect(mapToGlobal(box.topLeft().toPoint()), box.size().toSize());
}

int HeapFilesSelectorView::sideAt(const QPointF& position) const {
    return position.x() < width() / 2.0 ? 0 : 1;
}

void HeapFilesSelectorView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(event->rect(), Palette::heapRowFolderBackground());
    painter.fillRect(QRectF(0, kBandHeight - 1, width(), 1), Palette::heapRowFolderSeparator());
    const qreal half = HeapFilesCellView::halfWidth(width());
    for (int index = 0; index < 2; ++index) {
        const Side& side = m_sides[index];
        if (!side.folder || !m_controller || !m_controller->shownHeap())
            continue;
        const qreal x0 = index == 0 ? 0 : half;
        ImageStore::draw(painter, DarkImageName::prependDarkPrefixIfNeeded(side.look.shownImage()),
                         checkboxRect(index));
        const QRectF icon(x0 + 34, 4, 20, 20);
        ImageStore::draw(painter, QStringLiteral("dark_folder_icon"), icon);
        if (m_openSide == index)
            ImageStore::draw(painter,
                             DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("Lens1")),
                             openButtonRect(index));
    }
}

void HeapFilesSelectorView::setOpenSide(int side) {
    if (side == m_openSide)
        return;
    m_openSide = side;
    update(bandRect().toRect());
}

void HeapFilesSelectorView::pointerEntered(const QPointF& position) {
    if (DuplicatesManager::sharedManager().overlayOnScreen() || position.y() >= kBandHeight)
        return;
    const int side = sideAt(position);
    if (m_openSide != side && m_sides[side].exists)
        setOpenSide(side);
}

void HeapFilesSelectorView::pointerMoved(const QPointF& position) {
    if (DuplicatesManager::sharedManager().overlayOnScreen())
        return;
    if (position.y() >= kBandHeight) {
        setOpenSide(-1);
        return;
    }
    const int side = sideAt(position);
    setOpenSide(m_sides[side].exists ? side : -1);
}

void HeapFilesSelectorView::pointerExited() {
    setOpenSide(-1);
}

void HeapFilesSelectorView::enterEvent(QEnterEvent* event) {
    pointerEntered(event->position());
    QWidget::enterEvent(event);
}

void HeapFilesSelectorView::mouseMoveEvent(QMouseEvent* event) {
    pointerMoved(event->position());
    QWidget::mouseMoveEvent(event);
}

void HeapFilesSelectorView::leaveEvent(QEvent* event) {
    pointerExited();
    QWidget::leaveEvent(event);
}

void HeapFilesSelectorView::mousePressEvent(QMouseEvent* event) {
    const QPointF position = event->position();
    if (!m_controller || position.y() >= kBandHeight ||
        DuplicatesManager::sharedManager().overlayOnScreen()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int index = sideAt(position);
    const auto side = index == 0 ? HeapFilesSelectorVC::Left : HeapFilesSelectorVC::Right;
    const bool menu = event->button() == Qt::RightButton;
    if (menu) {
        if (QMenu* contextMenu = m_controller->menuForFolder(side))
            contextMenu->popup(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (checkboxRect(index).contains(position)) {
        m_controller->headerCheckboxPressed(side, checkboxGlobalRect(index));
        return;
    }
    if (m_openSide == index && openButtonRect(index).contains(position))
        m_controller->revealFolder(side);
}

bool HeapFilesSelectorView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = sideAt(help->pos());
        const Side& side = m_sides[index];
        QString tip;
        if (side.folder && help->pos().y() < kBandHeight) {
            tip = checkboxRect(index).contains(help->pos())
                      ? side.look.tooltip
                      : QFile::decodeName(side.folder->path());
        }
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}
