// The results screen's split views: the limits of their dividers and the sizes their panes
// keep when the window is resized.
#include "Browser/Frame/SelectDuplicatesVC.h"

#include <QEvent>
#include <QLabel>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace {

// The Similars split's width in a window of the results screen's own minimum width. A
// narrower split (a small screen) shares its room so that the right pane, whose table names
// and picture labels need it most, keeps kSimilarsRightNeed (room for the picture's "Show"
// buttons) while the two lists give way, each down to kNarrowSimilarsListWidth; room above
// that goes to the lists up to their opening width, and then to the right pane.
constexpr int kFullSimilarsSplitWidth = 1200 - 16;
constexpr int kNarrowSimilarsListWidth = 200;
constexpr int kSimilarsRightNeed = 530;

} // namespace

std::vector<int> SelectDuplicatesVC::categorySplitSizes(int length, const std::vector<int>& old,
                                                        int t) {
    const int w0 = old.at(0);
    return {w0, length - w0 - t};
}

std::vector<int> SelectDuplicatesVC::quickLookSplitSizes(int length, const std::vector<int>& old,
                                                         int t) {
    int h1 = old.at(1);
    int h0 = length - h1 - t;
    if (h0 <= 240) {
        h0 = 240;
        h1 = length - 240 - t;
    }
    return {h0, h1};
}

std::vector<int> SelectDuplicatesVC::heapsSplitSizes(int length, const std::vector<int>& old,
                                                     int t) {
    int w0 = old.at(0);
    int w1 = old.at(1);
    int w2 = length - (w0 + w1 + 2 * t);
    if (w2 <= 400) {
        w2 = 400;
        if (w0 > w1)
            w0 = length - 400 - w1 - 2 * t;
        else
            w1 = length - 400 - w0 - 2 * t;
    }
    if (length < kFullSimilarsSplitWidth) {
        const int lists =
            std::min(std::max(0, length - 2 * t),
                     std::clamp(length - 2 * t - kSimilarsRightNeed, 2 * kNarrowSimilarsListWidth,
                                2 * kOpeningSimilarsListWidth));
        const int right = length - 2 * t - lists;
        // The lists share theirs in the ratio they had.
        const int before = old.at(0) + old.at(1);
        const double ratio = before > 0 ? double(old.at(0)) / before : 0.5;
        const int least = std::max(0, std::min(kNarrowSimilarsListWidth, lists / 2));
        w0 = std::clamp(int(std::lround(lists * ratio)), least, std::max(least, lists - least));
        w1 = lists - w0;
        w2 = right;
    }
    return {w0, w1, w2};
}

std::vector<int> SelectDuplicatesVC::heapsSelectionSplitSizes(int length,
                                                              const std::vector<int>& old, int t) {
    int h0 = old.at(0);
    int h1 = old.at(1);
    if (h0 != 0) {
        h0 = length - h1 - t;
    } else {
        h1 = length - t;
    }
    if (h0 < 140) {
        h0 = 140;
        h1 = length - 140 - t;
    }
    return {h0, h1};
}

std::pair<qreal, qreal> SelectDuplicatesVC::dividerLimits(SplitKind kind, int divider,
                                                          qreal proposedMin, qreal proposedMax) {
    switch (kind) {
    case SplitKind::Category:
        return {proposedMin + 365, 580};
    case SplitKind::QuickLookAndSelection:
        return {proposedMin + 240, proposedMax - 200};
    case SplitKind::Heaps: {
        // Lists that a small window made narrower than 270 keep the divider between them
        // where it is, rather than one list being pressed under its share.
        const qreal lists = std::min<qreal>(270, (proposedMax - proposedMin) / 2);
        return divider == 0 ? std::pair<qreal, qreal>{proposedMin + lists, proposedMax - lists}
                            : std::pair<qreal, qreal>{proposedMin + 270, proposedMax - 400};
    }
    case SplitKind::HeapsSelection:
        return {proposedMin + 140, proposedMax - 31};
    default:
        return {proposedMin + 200, proposedMax - 200};
    }
}

SelectDuplicatesVC::SplitKind SelectDuplicatesVC::kindOf(const SplitViewWithDivider* split) const {
    if (split == m_categorySplitView)
        return SplitKind::Category;
    if (split == m_quickLookAndSelectionSplitView)
        return SplitKind::QuickLookAndSelection;
    if (split == m_heapsSplitView)
        return SplitKind::Heaps;
    if (split == m_heapsSelectionSplitView)
        return SplitKind::HeapsSelection;
    return SplitKind::Other;
}

namespace {

// The places a divider could go at most, before the owner's limits: from the start of the
// pane before it to the end of the pane after it.
std::pair<qreal, qreal> paneSpan(SplitViewWithDivider* split, int divider) {
    const qreal t = SplitViewWithDivider::dividerThickness();
    const qreal start = divider == 0 ? 0 : split->positionOfDividerAtIndex(divider - 1) + t;
    const qreal length = split->orientation() == Qt::Horizontal ? split->width() : split->height();
    const qreal end =
        divider + 2 < split->count() ? split->positionOfDividerAtIndex(divider + 1) : length;
    return {start, end};
}

} // namespace

qreal SelectDuplicatesVC::splitViewConstrainMinCoordinateOfSubviewAt(SplitViewWithDivider* split,
                                                                     qreal, int divider) {
    const auto [start, end] = paneSpan(split, divider);
    return dividerLimits(kindOf(split), divider, start, end).first;
}

qreal SelectDuplicatesVC::splitViewConstrainMaxCoordinateOfSubviewAt(SplitViewWithDivider* split,
                                                                     qreal, int divider) {
    const auto [start, end] = paneSpan(split, divider);
    return dividerLimits(kindOf(split), divider, start, end).second;
}

bool SelectDuplicatesVC::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Resize)
        return QWidget::eventFilter(watched, event);
    if (watched == m_selectedFolderViewContainer) {
        const QSize s = m_selectedFolderViewContainer->size();
        m_labelSimilarFolders->setGeometry(0, 0, s.width(), kSimilarsCaptionHeight);
        if (m_heapsPickerHost)
            m_heapsPickerHost->setGeometry(0, kSimilarsCaptionHeight, s.width(),
                                           s.height() - kSimilarsCaptionHeight);
        return false;
    }
    auto* split = qobject_cast<SplitViewWithDivider*>(watched);
    const SplitKind kind = split ? kindOf(split) : SplitKind::Other;
    if (kind == SplitKind::Other)
        return QWidget::eventFilter(watched, event);
    // The panes get fixed minimum sizes in place of proportional resizing.
    const QSize newSize = static_cast<QResizeEvent*>(event)->size();
    const int length = split->orientation() == Qt::Horizontal ? newSize.width() : newSize.height();
    const int t = static_cast<int>(SplitViewWithDivider::dividerThickness());
    const QList<int> current = split->sizes();
    std::vector<int> old(current.begin(), current.end());
    std::vector<int> sizes;
    switch (kind) {
    case SplitKind::Category:
        sizes = categorySplitSizes(length, old, t);
        break;
    case SplitKind::QuickLookAndSelection:
        sizes = quickLookSplitSizes(length, old, t);
        break;
    case SplitKind::Heaps:
        sizes = heapsSplitSizes(length, old, t);
        break;
    default:
        sizes = heapsSelectionSplitSizes(length, old, t);
        break;
    }
    for (int& s : sizes)
        s = std::max(0, s);
    split->setSizes(QList<int>(sizes.begin(), sizes.end()));
    updateOverlayHintFrameValues();
    return false;
}
