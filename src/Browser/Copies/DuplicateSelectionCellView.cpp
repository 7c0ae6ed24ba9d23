#include "Browser/Copies/DuplicateSelectionCellView.h"

#include "Browser/Common/RowPress.h"
#include "Browser/Copies/DuplicateSelectionVC.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr qreal kCheckboxSize = 16.0;
constexpr qreal kCheckboxLeft = 10.0;
constexpr qreal kPathLeft = 34.0;
constexpr qreal kPathHeight = 18.0;
constexpr qreal kDateWidth = 150.0;
constexpr qreal kDateRightMargin = 10.0;
constexpr qreal kOpenButtonSize = 16.0;
constexpr qreal kOpenButtonGap = 8.0;
constexpr qreal kDisabledDateAlpha = 0.3;
constexpr qreal kDisabledCheckboxAlpha = 0.5;

QString openFolderImage() {
    return DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("btn_show_in_folder"));
}

// The part of the row above its 1-point bottom separator.
QRectF content(const QRectF& row) {
    return row.adjusted(0, 0, 0, -1);
}

} // namespace

DuplicateSelectionCellView::DuplicateSelectionCellView(DuplicateSelectionVC* controller,
                                                       QAbstractItemView* view)
    : CellWithCustomSelection(view), m_controller(controller) {}

QRectF DuplicateSelectionCellView::checkboxRect(const QRectF& row) {
    const QRectF c = content(row);
    return QRectF(c.left() + kCheckboxLeft, c.top() + (c.height() - kCheckboxSize) / 2,
                  kCheckboxSize, kCheckboxSize);
}

QRectF DuplicateSelectionCellView::dateRect(const QRectF& row) {
    const QRectF c = content(row);
    return QRectF(c.right() - kDateRightMargin - kDateWidth, c.top(), kDateWidth, c.height());
}

QRectF DuplicateSelectionCellView::openFolderButtonRect(const QRectF& row) {
    const QRectF c = content(row);
    return QRectF(dateRect(row).left() - kOpenButtonGap - kOpenButtonSize,
                  c.top() + (c.height() - kOpenButtonSize) / 2, kOpenButtonSize, kOpenButtonSize);
}

QRectF DuplicateSelectionCellView::pathRect(const QRectF& row) {
    const QRectF c = content(row);
    const qreal left = c.left() + kPathLeft;
    const qreal right = openFolderButtonRect(row).left() - kOpenButtonGap;
    return QRectF(left, c.top() + (c.height() - kPathHeight) / 2, std::max<qreal>(0, right - left),
                  kPathHeight);
}

CustomPathControl DuplicateSelectionCellView::pathControlForRow(int row) const {
    CustomPathControl control;
    if (!m_controller)
        return control;
    const auto& config = m_controller->cellConfigurationForRow(row);
    control.setDisabled(config.disabled);
    control.setURL(config.path);
    control.setIndexRow(row);
    control.setController(m_controller);
    control.setHasAssociated(false);
    control.setSelected(config.selected);
    control.setOnActiveSelection(config.selected && !config.inActive);
    if (config.hasAssociated) {
        control.setHasAssociated(true);
        control.setAssociatedFolderPath(config.associatedFolderPath);
        control.setSelected(config.selected);
    }
    return control;
}

bool DuplicateSelectionCellView::openButtonVisibleAt(qreal pointerY, qreal visibleHeight) {
    return pointerY >= 0 && pointerY <= visibleHeight;
}

void DuplicateSelectionCellView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    if (!m_controller)
        return;
    using Kind = DuplicateSelectionRows::Kind;
    const int row = index.row();
    const auto& config = m_controller->cellConfigurationForRow(row);
    const QRectF bounds = option.rect;
    painter->save();
    switch (config.kind) {
    case Kind::LockedHeader:
    case Kind::SimilarHeader:
        HeaderForLockedCellView::draw(*painter, bounds, config.title);
        break;
    case Kind::SimilarCollapsed: {
        drawBackground(*painter, bounds, {.inActive = config.inActive, .even = config.even});
        QFont font = Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 12.0);
        font.setUnderline(true);
        painter->setFont(font);
        painter->setPen(Palette::quickHintUnderlineButtonColor());
        painter->drawText(content(bounds), Qt::AlignCenter, kShowSimilarTitle);
        break;
    }
    case Kind::Copy:
    case Kind::LockedCopy:
    case Kind::SimilarFolder: {
        drawBackground(*painter, bounds,
                       {.selected = config.selected,
                        .aboveSelected = config.aboveSelected,
                        .inActive = config.inActive,
                        .even = config.even});
        painter->save();
        if (config.disabled)
            painter->setOpacity(kDisabledCheckboxAlpha);
        ImageStore::draw(*painter, config.shownImage(), checkboxRect(bounds));
        painter->restore();
        pathControlForRow(row).paint(*painter, pathRect(bounds));
        painter->save();
        if (config.disabled)
            painter->setOpacity(kDisabledDateAlpha);
        painter->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 12.0));
        painter->setPen(CustomPathControl::textColor(false, config.selected && !config.inActive));
        painter->drawText(dateRect(bounds), Qt::AlignVCenter | Qt::AlignRight, config.dateText);
        painter->restore();
        if (row == m_openButtonRow)
            ImageStore::draw(*painter, openFolderImage(), openFolderButtonRect(bounds));
        break;
    }
    case Kind::None:
        break;
    }
    painter->restore();
}

QSize DuplicateSelectionCellView::sizeHint(const QStyleOptionViewItem& /*option*/,
                                           const QModelIndex& index) const {
    return m_controller ? QSize(0, m_controller->rows().height(index.row())) : QSize();
}

bool DuplicateSelectionCellView::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                           const QStyleOptionViewItem& option,
                                           const QModelIndex& index) {
    if (!m_controller || !event || event->type() != QEvent::ToolTip || !index.isValid())
        return CellWithCustomSelection::helpEvent(event, view, option, index);
    const auto& config = m_controller->cellConfigurationForRow(index.row());
    const QRectF row = view->visualRect(index);
    if (checkboxRect(row).contains(event->pos()) && !config.tooltip.isEmpty()) {
        QToolTip::showText(event->globalPos(), config.tooltip, view);
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

void DuplicateSelectionCellView::mouseEntered(const QModelIndex& index) {
    CellWithCustomSelection::mouseEntered(index);
    if (QAbstractItemView* list = view())
        tryToShowOpenButton(index.row(), list->viewport()->mapFromGlobal(QCursor::pos()));
}

void DuplicateSelectionCellView::mouseMoved(const QModelIndex& index,
                                            const QPoint& viewportPosition) {
    CellWithCustomSelection::mouseMoved(index, viewportPosition);
    tryToShowOpenButton(index.row(), viewportPosition);
}

void DuplicateSelectionCellView::mouseExited(const QModelIndex& index) {
    CellWithCustomSelection::mouseExited(index);
    if (index.row() == m_openButtonRow)
        setOpenButtonRow(-1);
}

void DuplicateSelectionCellView::tryToShowOpenButton(int row, const QPoint& viewportPosition) {
    if (!m_controller || DuplicatesManager::sharedManager().overlayOnScreen())
        return;
    const auto& config = m_controller->cellConfigurationForRow(row);
    using Kind = DuplicateSelectionRows::Kind;
    const bool rowCell = config.kind == Kind::Copy || config.kind == Kind::LockedCopy ||
                         config.kind == Kind::SimilarFolder;
    if (!rowCell || config.disabled)
        return;
    QAbstractItemView* list = view();
    if (!list)
        return;
    setOpenButtonRow(openButtonVisibleAt(viewportPosition.y(), list->viewport()->height()) ? row
                                                                                           : -1);
}

void DuplicateSelectionCellView::setOpenButtonRow(int row) {
    if (row == m_openButtonRow)
        return;
    m_openButtonRow = row;
    if (QAbstractItemView* list = view())
        list->viewport()->update();
}

bool DuplicateSelectionCellView::eventFilter(QObject* watched, QEvent* event) {
    const bool handledByBase = CellWithCustomSelection::eventFilter(watched, event);
    if (const auto press = RowPress::of(view(), watched, event); press && handlePress(*press))
        return true;
    return handledByBase;
}

bool DuplicateSelectionCellView::handlePress(const RowPress& press) {
    QAbstractItemView* list = view();
    if (!m_controller)
        return false;
    const QPoint position = press.position;
    const Qt::MouseButton button = press.button;
    const int row = press.row;
    const QRectF bounds = press.bounds;
    const auto& config = m_controller->cellConfigurationForRow(row);
    using Kind = DuplicateSelectionRows::Kind;
    using Action = DuplicateSelectionVC::CheckboxAction;
    if (config.kind == Kind::SimilarCollapsed) {
        if (button == Qt::LeftButton)
            m_controller->showSimilarPressed();
        return true;
    }
    if (config.kind != Kind::Copy && config.kind != Kind::LockedCopy &&
        config.kind != Kind::SimilarFolder)
        return false;
    if (button == Qt::LeftButton && checkboxRect(bounds).contains(position)) {
        switch (config.action) {
        case Action::Checkbox:
            m_controller->checkboxPressed(row, !config.state);
            break;
        case Action::DisabledCheckbox: {
            const QRect box = checkboxRect(bounds).toAlignedRect();
            m_controller->disabledCheckboxPressed(
                QRect(list->viewport()->mapToGlobal(box.topLeft()), box.size()));
            break;
        }
        case Action::LockedFolder:
            m_controller->lockedFolderPressed(row);
            break;
        case Action::Heap:
            m_controller->heapPressed(row);
            break;
        }
        return true;
    }
    if (button == Qt::LeftButton && row == m_openButtonRow &&
        openFolderButtonRect(bounds).contains(position)) {
        m_controller->showInFinderPressed(row);
        return true;
    }
    const QRectF path = pathRect(bounds);
    if (path.contains(position)) {
        const CustomPathControl control = pathControlForRow(row);
        if (button == Qt::RightButton) {
            control.rightMouseDown(path, position);
            return true;
        }
        if (button == Qt::LeftButton) {
            control.mouseDown();
            return true;
        }
    }
    return false;
}

namespace HeaderForLockedCellView {

void draw(QPainter& painter, const QRectF& bounds, const QString& title) {
    const qreal w = bounds.width(), h = bounds.height();
    const qreal x = bounds.x(), top = bounds.y();
    // Body first, then the lines over it: the lighter one along the top edge, the darker
    // one along the bottom edge.
    painter.fillRect(QRectF(x, top, w, h - 1), Palette::toolbarTexturedBackgroundColor());
    painter.fillRect(QRectF(x, top + h - 1, w, 1), Palette::sectionHeaderBottomLineColor());
    painter.fillRect(QRectF(x, top, w, 1), Palette::sectionHeaderTopLineColor());
    painter.setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue-Medium"), 12.0));
    painter.setPen(Palette::sectionHeaderTitleColor());
    painter.drawText(QRectF(x + kCheckboxLeft, top, w - 2 * kCheckboxLeft, h - 1),
                     Qt::AlignVCenter | Qt::AlignLeft, title);
}

} // namespace HeaderForLockedCellView

DuplicateSelectionView::DuplicateSelectionView(QWidget* parent) : QWidget(parent) {}

void DuplicateSelectionView::setFirstRowSelected(bool selected) {
    if (selected == m_firstRowSelected)
        return;
    m_firstRowSelected = selected;
    update();
}

QRectF DuplicateSelectionView::separatorRect(const QSizeF& size) {
    // y-up: (0, H - 39, W, 1); flipped: y = H - (H - 39) - 1.
    const qreal h = size.height();
    const qreal yUp = h - 39;
    return QRectF(0, h - yUp - 1, size.width(), 1);
}

void DuplicateSelectionView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Palette::commonPanelBackgroundColor());
    painter.fillRect(separatorRect(size()), m_firstRowSelected ? Palette::separatorSelectedColor()
                                                               : Palette::separatorColor());
}
