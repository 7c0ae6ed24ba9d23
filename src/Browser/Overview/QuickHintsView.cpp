#include "Browser/Overview/QuickHintsView.h"

#include "Browser/Overview/OverviewPainting.h"
#include "Browser/Overview/OverviewVC.h"
#include "Categories/AppNotification.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesManager.h"
#include "Selection/DuplicatesManagerDelegate.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"
#include "Toolkit/TitleButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace {

// Hands each answer to the panel only while it exists.
class QuickHintsRelay final : public DuplicatesManagerDelegate {
public:
    explicit QuickHintsRelay(QuickHintsView* view) : m_view(view) {}
    void onCalculatedBiggestGroups(
        const std::vector<std::shared_ptr<DuplicatesGroup>>& groups) override {
        if (m_view)
            m_view->onCalculatedBiggestGroups(groups);
    }
    void onCalculatedDuplicatesForAutoselect(
        const std::vector<AutoSelectCandidate>& candidates) override {
        if (m_view)
            m_view->onCalculatedDuplicatesForAutoselect(candidates);
    }
    void onCalculateBiggestEasyForRemoveHeaps(
        const std::vector<std::shared_ptr<DuplicatesHeap>>& heaps) override {
        if (m_view)
            m_view->onCalculateBiggestEasyForRemoveHeaps(heaps);
    }

private:
    QPointer<QuickHintsView> m_view;
};

// A hint's text wrapped to the box's text width.
void layoutHintText(QTextDocument& document, const QuickHintRecord& hint) {
    document.setDocumentMargin(0);
    document.setTextWidth(QuickHintsView::kTextWidth);
    QTextCursor cursor(&document);
    for (const HintTextPart& part : hint.name) {
        QTextCharFormat format;
        format.setFont(Fonts::fontWithName(part.bold ? QStringLiteral("HelveticaNeue-Bold")
                                                     : QStringLiteral("HelveticaNeue"),
                                           13));
        format.setForeground(Palette::commonTextColor());
        cursor.insertText(part.text, format);
    }
}

} // namespace

// The small spinning indicator shown while the calculations run.
class QuickHintsView::Spinner final : public QWidget {
public:
    explicit Spinner(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(16, 16);
    }
    void start() {
        if (m_tick == 0)
            m_tick = AnimationClock::instance().every(83, this, [this] {
                m_phase = (m_phase + 1) % 12;
                update();
            });
        show();
    }
    void stop() {
        AnimationClock::instance().cancel(m_tick);
        m_tick = 0;
        hide(); // not displayed when stopped
    }
    bool isSpinning() const { return m_tick != 0; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(8, 8);
        for (int i = 0; i < 12; ++i) {
            QColor color = Palette::commonTextColor();
            color.setAlphaF(0.15f + 0.85f * float((i + 12 - m_phase) % 12) / 11.0f);
            painter.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap));
            painter.drawLine(QPointF(0, -4), QPointF(0, -7));
            painter.rotate(30);
        }
    }

private:
    AnimationClock::Handle m_tick = 0;
    int m_phase = 0;
};

QuickHintsView::QuickHintsView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    m_progressIndicator = new Spinner(this);
    // Placed y-up at (152, 112) in the panel's first 240 points.
    m_progressIndicator->move(152, kInitialHeight - 112 - 16);
    m_progressIndicator->start();
    ask();
    // An answer is dropped when the result changes while it is computed: ask again then.
    NotificationCenter::defaultCenter().addObserver(
        this, AppNotification::DuplicatesContainerDataChangedNotificationName(),
        [this](const Notification&) {
            if (!m_balanced)
                ask();
        });
}

void QuickHintsView::ask() {
    DuplicatesManager& manager = DuplicatesManager::sharedManager();
    auto relay = std::make_shared<QuickHintsRelay>(this);
    if (!m_topGroupArray)
        manager.calculateBiggestGroupsWithDelegate(relay);
    if (!m_topAutoselectArray)
        manager.calculateDuplicatesForAutoselectWithDelegate(relay);
    if (!m_topHeapsArray)
        manager.calculateBiggestEasyForRemoveHeapsWithDelegate(relay);
}

bool QuickHintsView::isCalculating() const {
    return m_progressIndicator->isSpinning();
}

void QuickHintsView::onCalculatedBiggestGroups(
    const std::vector<std::shared_ptr<DuplicatesGroup>>& groups) {
    if (m_balanced)
        return;
    m_topGroupArray = QuickHintRecords::biggestGroupHints(groups);
    splitHintsBetweenArrays();
}

void QuickHintsView::onCalculatedDuplicatesForAutoselect(
    const std::vector<AutoSelectCandidate>& candidates) {
    if (m_balanced)
        return;
    m_topAutoselectArray = QuickHintRecords::autoselectHints(candidates);
    splitHintsBetweenArrays();
}

void QuickHintsView::onCalculateBiggestEasyForRemoveHeaps(
    const std::vector<std::shared_ptr<DuplicatesHeap>>& heaps) {
    if (m_balanced)
        return;
    m_topHeapsArray = QuickHintRecords::similarFolderHints(heaps);
    splitHintsBetweenArrays();
}

void QuickHintsView::splitHintsBetweenArrays() {
    if (!m_topGroupArray || !m_topAutoselectArray || !m_topHeapsArray)
        return;
    m_balanced = true;
    m_progressIndicator->stop();
    const int height = QuickHintRecords::splitHintsBetweenArrays(
        *m_topGroupArray, *m_topAutoselectArray, *m_topHeapsArray);
    resize(width(), height);
    if (m_container)
        m_container->updateHintsContainerFrame();
    addRefreshButton();
}

void QuickHintsView::addRefreshButton() {
    if (!m_refreshButton) {
        m_refreshButton = new TitleButton(this);
        m_refreshButton->setImage(
            DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("refresh")));
        m_refreshButton->setImagePosition(TitleButton::ImagePosition::ImageOnly);
        m_refreshButton->setTitle(QString());
        connect(m_refreshButton, &TitleButton::clicked, this,
                &QuickHintsView::refreshButtonPressed);
    }
    // 15 x 15 at (W - 78, H - 25), y up.
    m_refreshButton->setGeometry(width() - 78, 25 - 15, 15, 15);
    m_refreshButton->setVisible(height() > 0);
    m_currentHintTrinity = 0;
    update();
}

void QuickHintsView::refreshButtonPressed() {
    // The rows are the group hints'; without any, those of the longest other list.
    size_t rows = m_topGroupArray ? m_topGroupArray->size() : 0;
    if (rows == 0 && m_topAutoselectArray && m_topHeapsArray)
        rows = std::max(m_topAutoselectArray->size(), m_topHeapsArray->size());
    ++m_currentHintTrinity;
    if (size_t(m_currentHintTrinity) >= rows)
        m_currentHintTrinity = 0;
    update();
}

std::vector<const QuickHintRecord*> QuickHintsView::currentRow() const {
    std::vector<const QuickHintRecord*> row;
    if (!m_balanced)
        return row;
    for (const auto* list : {&*m_topGroupArray, &*m_topAutoselectArray, &*m_topHeapsArray})
        // A list shorter than the row shows nothing in its slot.
        if (size_t(m_currentHintTrinity) < list->size())
            row.push_back(&(*list)[size_t(m_currentHintTrinity)]);
    return row;
}

QRectF QuickHintsView::boxRect(int k) const {
    const qreal y = height() - 100 - 70.0 * k + 0.5; // y up
    return {0.5, height() - y - kBoxHeight, kBoxWidth, kBoxHeight};
}

int QuickHintsView::boxAt(const QPointF& pointQt) const {
    const int boxes = int(currentRow().size());
    for (int k = 0; k < boxes; ++k)
        if (boxRect(k).contains(pointQt))
            return k;
    return -1;
}

void QuickHintsView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = width();
    const qreal h = height();
    const qreal lineWidth = int(devicePixelRatioF()) == 1 ? 1.0 : 0.5;

    const QFont titleFont = Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 16);
    const QString title = QStringLiteral("Cleanup Hints");
    const qreal titleWidth = OverviewPainting::textSize(title, titleFont).width();
    OverviewPainting::drawTextAt(painter, title, titleFont,
                                 Palette::quickHintUnderlineButtonColor(),
                                 {std::floor((w - titleWidth) / 2), h - 28}, h);

    const std::vector<const QuickHintRecord*> row = currentRow();
    for (int k = 0; k < int(row.size()); ++k) {
        const QRectF box = boxRect(k);
        QPainterPath shape;
        shape.addRoundedRect(box, 3, 3);
        painter.fillPath(shape, Palette::hintBackgroundColor());
        const QRectF button(286, box.y() - 0.5, 33, 65);
        ImageStore::draw(
            painter, DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("btn_hints")), button);
        if (k == m_hoveredIndex)
            ImageStore::draw(
                painter,
                DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("btn_hints_hover")),
                button);
        if (k == m_clickedIndex)
            ImageStore::draw(
                painter,
                DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("btn_hints_click")),
                button);
        painter.setPen(QPen(Palette::hintBorderColor(), lineWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shape);

        QTextDocument document;
        layoutHintText(document, *row[size_t(k)]);
        const qreal textHeight = document.size().height();
        painter.save();
        painter.translate(15, box.y() + (kBoxHeight - textHeight) / 2 - 1);
        document.drawContents(&painter);
        painter.restore();
    }
}

void QuickHintsView::mouseMoveEvent(QMouseEvent* event) {
    if (DuplicatesManager::sharedManager().overlayOnScreen())
        return;
    const int box = boxAt(event->position());
    OverviewPainting::setPointingHand(this, box >= 0);
    if (box != m_hoveredIndex) {
        m_hoveredIndex = box;
        update();
    }
}

void QuickHintsView::mousePressEvent(QMouseEvent* event) {
    m_pressedBox = boxAt(event->position());
    if (m_pressedBox >= 0) {
        m_clickedIndex = m_pressedBox;
        update();
    }
}

void QuickHintsView::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = m_pressedBox;
    m_pressedBox = -1;
    if (event->button() != Qt::LeftButton || DuplicatesManager::sharedManager().overlayOnScreen())
        return;
    // Only a press and a release in the same box act.
    const int box = boxAt(event->position());
    if (box < 0 || box != pressed)
        return;
    const std::vector<const QuickHintRecord*> row = currentRow();
    act(*row[size_t(box)]);
}

void QuickHintsView::act(const QuickHintRecord& hint) {
    if (!hint.duplicates.empty()) {
        DuplicatesGroup::BeginSelectionGroup();
        for (const std::weak_ptr<DuplicateItem>& weak : hint.duplicates)
            if (const std::shared_ptr<DuplicateItem> copy = weak.lock(); copy && copy->getGroup())
                copy->selectItemForced(false);
        DuplicatesGroup::EndSelectionGroup();
    }
    if (!m_controller)
        return;
    if (hint.hasArray) {
        std::vector<std::shared_ptr<DuplicatesGroup>> groups;
        for (const std::weak_ptr<DuplicatesGroup>& weak : hint.groups)
            if (std::shared_ptr<DuplicatesGroup> group = weak.lock(); group && group->getCategory())
                groups.push_back(std::move(group));
        if (!groups.empty())
            m_controller->showGroupArrayWithType(std::move(groups), -1);
    } else if (const std::shared_ptr<DuplicatesHeap> heap = hint.heap.lock();
               heap && QuickHintRecords::heapIsInResult(*heap)) {
        m_controller->showHeapFromFolderCategoryWithPath(heap->getMainFolderItem()->path());
    }
}

void QuickHintsView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_clickedIndex = -1;
    m_hoveredIndex = -1;
    update();
}

void QuickHintsView::setController(ResultsFrame* controller) {
    m_controller = controller;
}

void QuickHintsView::setContainer(OverviewVC* container) {
    m_container = container;
}
