#include "Browser/Review/SelectedFilesCellView.h"

#include "Browser/Review/SelectedFilesTexts.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Categories/FileSize.h"
#include "FileTree/FileSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"
#include "Toolkit/PreviewView.h"

#include <QAbstractItemView>
#include <QFile>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr qreal kCheckboxSize = 16;
constexpr qreal kIconSize = 32;
constexpr qreal kOpenFolderSize = 22;
constexpr qreal kSizeWidth = 80;
constexpr qreal kDateWidth = 160;

QString dark(const QString& name) {
    return DarkImageName::prependDarkPrefixIfNeeded(name);
}

QString lastComponent(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return QFile::decodeName(slash >= 0 ? path.mid(slash + 1) : path);
}

} // namespace

SelectedFilesCellView::CellConfiguration
SelectedFilesCellView::configure(const DuplicateItem* item, int row, qint64 selectedRow,
                                 bool removeIsOn, bool allowAllCopies, bool disabled,
                                 const QString& dateText) {
    CellConfiguration c;
    c.disabled = disabled;
    if (item && !item->getFileItemPath().isEmpty() && !item->parentFolderPathView().isEmpty()) {
        c.hasContent = true;
        c.path = item->getFileItemPath();
        c.name = lastComponent(c.path);
        c.folderPath = QFile::decodeName(item->getParentFolderItemPath());
        const FileSystemItem* node = item->getFileSystemItem();
        c.isFolder = node && node->isDir();
        c.sizeText = FileSize::formatMemoryStringDot1(
            node ? static_cast<std::uint64_t>(std::max<std::int64_t>(0, node->logicalSize())) : 0);
        c.dateText = dateText;
        c.checkboxImage = dark(QStringLiteral("checkbox0"));
        c.checkboxAlternateImage = dark(QStringLiteral("checkbox1"));
        c.checkboxAction = CheckboxAction::Check;
        if (const auto group = item->getGroup()) {
            const std::uint64_t selected = group->getSelectedCountWithDuplicatesFolderContent();
            const std::uint64_t total = group->getTotalCount();
            if (!item->isSelected() && selected + 1 == total) {
                c.checkboxToolTip = SelectedFilesTexts::lastCopyToolTip();
                if (allowAllCopies) {
                    c.checkboxImage = dark(QStringLiteral("checkbox0_red"));
                    c.checkboxAlternateImage = dark(QStringLiteral("checkbox1_red"));
                } else {
                    c.checkboxImage = dark(QStringLiteral("checkbox_LastCopy"));
                    c.checkboxAlternateImage.clear();
                    c.checkboxAction = CheckboxAction::LastCopy;
                }
            }
            if (selected == total)
                c.checkboxAlternateImage = dark(QStringLiteral("checkbox1_red"));
        }
        c.checked = item->isSelected();
    }
    c.even = row % 2 == 0;
    c.selected = row == selectedRow;
    c.checkboxEnabled = !removeIsOn;
    if (c.checkboxAction == CheckboxAction::Check && c.hasContent)
        c.checkboxToolTip = c.checked ? SelectedFilesTexts::deselectFromRemovalToolTip()
                                      : SelectedFilesTexts::selectForRemovalToolTip();
    return c;
}

SelectedFilesCellView::Layout SelectedFilesCellView::layoutForWidth(qreal width) {
    Layout l;
    const qreal h = kRowHeight;
    l.checkbox = QRectF(14, (h - kCheckboxSize) / 2, kCheckboxSize, kCheckboxSize);
    l.icon = QRectF(42, (h - kIconSize) / 2, kIconSize, kIconSize);
    l.openFolderButton = QRectF(width - 12 - kOpenFolderSize, (h - kOpenFolderSize) / 2,
                                kOpenFolderSize, kOpenFolderSize);
    l.date = QRectF(l.openFolderButton.left() - 12 - kDateWidth, 0, kDateWidth, h);
    l.size = QRectF(l.date.left() - 12 - kSizeWidth, 0, kSizeWidth, h);
    const qreal textLeft = l.icon.right() + 10;
    const qreal textWidth = std::max<qreal>(0, l.size.left() - 16 - textLeft);
    l.name = QRectF(textLeft, 5, textWidth, 18);
    l.folder = QRectF(textLeft, 23, textWidth, 16);
    return l;
}

SelectedFilesCellView::SelectedFilesCellView(QAbstractItemView* view, SelectedFilesVC* controller)
    : TableCellViewWithTracking(view), m_controller(controller) {}

SelectedFilesVC* SelectedFilesCellView::controller() const {
    return qobject_cast<SelectedFilesVC*>(m_controller.data());
}

QSize SelectedFilesCellView::sizeHint(const QStyleOptionViewItem& option,
                                      const QModelIndex&) const {
    return QSize(option.rect.width(), kRowHeight);
}

QIcon SelectedFilesCellView::iconFor(const CellConfiguration& configuration) const {
    // Icons come from the name's type alone (no disk access while painting), one per type.
    const qsizetype dot = configuration.name.lastIndexOf(QLatin1Char('.'));
    const QString key = configuration.isFolder
                            ? QStringLiteral("/")
                            : (dot > 0 ? configuration.name.mid(dot + 1).toLower() : QString());
    auto found = m_icons.constFind(key);
    if (found != m_icons.constEnd())
        return found.value();
    PreviewFacts facts = PreviewRenderer::factsForName(configuration.path);
    facts.isDir = configuration.isFolder;
    if (configuration.isFolder) {
        facts.iconName = QStringLiteral("folder");
        facts.genericIconName.clear();
    }
    const QIcon icon = PreviewView::iconForFacts(facts);
    m_icons.insert(key, icon);
    return icon;
}

void SelectedFilesCellView::paintRow(QPainter& p, const QRectF& bounds, const CellConfiguration& c,
                                     bool showHoverButton) const {
    p.fillRect(bounds, c.even ? Palette::reviewEvenRowColor() : Palette::reviewOddRowColor());
    if (c.selected)
        p.fillRect(bounds, Palette::selectedRowColor());
    p.fillRect(QRectF(bounds.left(), bounds.bottom() - 1, bounds.width(), 1),
               Palette::separatorColor());
    if (!c.hasContent)
        return;

    const Layout l = layoutForWidth(bounds.width());
    p.save();
    p.translate(bounds.topLeft());
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setOpacity(c.disabled ? kDisabledAlpha : 1.0);

    const QString box = c.shownCheckboxImage();
    if (!box.isEmpty()) {
        // A check box that cannot be clicked during a run is drawn faded, as a disabled button.
        p.save();
        if (!c.checkboxEnabled)
            p.setOpacity(p.opacity() * 0.5);
        ImageStore::draw(p, box, l.checkbox);
        p.restore();
    }
    iconFor(c).paint(&p, l.icon.toRect());

    const auto elided = [&p](const QString& text, const QRectF& rect, Qt::TextElideMode mode) {
        return p.fontMetrics().elidedText(text, mode, int(rect.width()));
    };
    p.setFont(Fonts::font(13, Fonts::Weight::Medium));
    p.setPen(Palette::commonTextColor());
    p.drawText(l.name, Qt::AlignLeft | Qt::AlignVCenter, elided(c.name, l.name, Qt::ElideMiddle));
    p.setFont(Fonts::font(11));
    p.setPen(Palette::pathElementTextColor());
    p.drawText(l.folder, Qt::AlignLeft | Qt::AlignVCenter,
               elided(c.folderPath, l.folder, Qt::ElideMiddle));
    p.setFont(Fonts::font(12));
    p.setPen(Palette::sizeLabelColor());
    p.drawText(l.size, Qt::AlignRight | Qt::AlignVCenter, c.sizeText);
    p.drawText(l.date, Qt::AlignRight | Qt::AlignVCenter,
               elided(c.dateText, l.date, Qt::ElideRight));

    if (showHoverButton)
        ImageStore::draw(p, dark(QStringLiteral("btn_openfolder")), l.openFolderButton);
    p.restore();
}

void SelectedFilesCellView::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    const SelectedFilesVC* panel = controller();
    if (!panel)
        return;
    const CellConfiguration c = panel->cellConfigurationForRow(index.row());
    // The texts keep their colours on the highlighted row: the platform's selection look is
    // never used, the panel draws its own.
    paintRow(*painter, option.rect, c,
             index.row() == m_hoverButtonRow && !c.disabled && !panel->removeIsOn());
}

bool SelectedFilesCellView::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                      const QStyleOptionViewItem& option,
                                      const QModelIndex& index) {
    const SelectedFilesVC* panel = controller();
    if (!panel || !event || event->type() != QEvent::ToolTip)
        return TableCellViewWithTracking::helpEvent(event, view, option, index);
    int row = -1;
    if (partAt(event->pos(), &row) == Part::Checkbox) {
        const QString tip = panel->cellConfigurationForRow(row).checkboxToolTip;
        if (!tip.isEmpty()) {
            QToolTip::showText(event->globalPos(), tip, view);
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

SelectedFilesCellView::Part SelectedFilesCellView::partAt(const QPoint& viewportPosition,
                                                          int* row) const {
    QAbstractItemView* list = view();
    if (!list || !controller())
        return Part::None;
    const QModelIndex index = list->indexAt(viewportPosition);
    if (!index.isValid())
        return Part::None;
    *row = index.row();
    const QRect rect = list->visualRect(index);
    const Layout l = layoutForWidth(rect.width());
    const QPointF inRow = QPointF(viewportPosition - rect.topLeft());
    if (l.checkbox.adjusted(-4, -4, 4, 4).contains(inRow))
        return Part::Checkbox;
    if (index.row() == m_hoverButtonRow && l.openFolderButton.contains(inRow))
        return Part::OpenFolder;
    return Part::None;
}

void SelectedFilesCellView::setHoverButtonRow(int row) {
    if (row == m_hoverButtonRow)
        return;
    QAbstractItemView* list = view();
    const int old = m_hoverButtonRow;
    m_hoverButtonRow = row;
    if (!list)
        return;
    for (int r : {old, row})
        if (r >= 0)
            list->viewport()->update(list->visualRect(list->model()->index(r, 0)));
}

void SelectedFilesCellView::mouseEntered(const QModelIndex& index) {
    mouseMoved(index, {});
}

void SelectedFilesCellView::mouseMoved(const QModelIndex& index, const QPoint&) {
    const SelectedFilesVC* panel = controller();
    const bool allowed = panel && !panel->removeIsOn() && !panel->isRowDisabled(index.row());
    setHoverButtonRow(allowed ? index.row() : -1);
}

void SelectedFilesCellView::mouseExited(const QModelIndex& index) {
    if (index.row() == m_hoverButtonRow)
        setHoverButtonRow(-1);
}

bool SelectedFilesCellView::eventFilter(QObject* watched, QEvent* event) {
    QAbstractItemView* list = view();
    SelectedFilesVC* panel = controller();
    if (!list || watched != list->viewport() || !panel)
        return TableCellViewWithTracking::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        int row = -1;
        const Part part = partAt(mouse->position().toPoint(), &row);
        if (part == Part::None || mouse->button() != Qt::LeftButton)
            break;
        m_pressedPart = part;
        m_pressedRow = row;
        return true; // the table's selection does not follow a click on a row's buttons
    }
    case QEvent::MouseButtonRelease: {
        if (m_pressedPart == Part::None)
            break;
        auto* mouse = static_cast<QMouseEvent*>(event);
        int row = -1;
        const Part part = partAt(mouse->position().toPoint(), &row);
        const Part pressed = std::exchange(m_pressedPart, Part::None);
        if (part != pressed || row != m_pressedRow)
            return true;
        const CellConfiguration c = panel->cellConfigurationForRow(row);
        if (part == Part::OpenFolder) {
            panel->revealInFinderPressed(row);
        } else if (c.hasContent && c.checkboxEnabled) {
            if (c.checkboxAction == CheckboxAction::LastCopy) {
                const QRect cell = list->visualRect(list->model()->index(row, 0));
                const QRect box =
                    layoutForWidth(cell.width()).checkbox.translated(cell.topLeft()).toRect();
                panel->disabledCheckboxPressed(
                    row, QRect(list->viewport()->mapToGlobal(box.topLeft()), box.size()));
            } else if (c.checkboxAction == CheckboxAction::Check) {
                panel->checkboxPressed(row);
            }
        }
        return true;
    }
    default:
        break;
    }
    return TableCellViewWithTracking::eventFilter(watched, event);
}
