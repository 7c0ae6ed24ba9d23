#include "Browser/Overview/PieChartView.h"

#include "Browser/Overview/OverviewPainting.h"
#include "Categories/AppNotification.h"
#include "Categories/FileSize.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

using namespace PieChartGeometry;

namespace {

constexpr int kCategoryCount = 7;

struct CategoryRow {
    const char* name;
    QColor (*color)();
    QColor (*selectedColor)();
};

const CategoryRow kRows[kCategoryCount] = {
    {"Pictures", Palette::picturesOverview, Palette::picturesOverviewSelected},
    {"Movies", Palette::moviesOverview, Palette::moviesOverviewSelected},
    {"Music", Palette::musicOverview, Palette::musicOverviewSelected},
    {"Documents", Palette::documentsOverview, Palette::documentsOverviewSelected},
    {"Archives", Palette::archivesOverview, Palette::archivesOverviewSelected},
    {"Others", Palette::othersOverview, Palette::othersOverviewSelected},
    {"Folders", Palette::foldersOverview, Palette::foldersOverviewSelected},
};

QFont calloutNameFont() {
    return Fonts::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 13);
}
QFont calloutDetailsFont() {
    return Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 13);
}

} // namespace

PieChartView::PieChartView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    // A removal (or any change of the result) while the overview is on screen: the slices
    // follow, once per turn of the event loop.
    NotificationCenter::defaultCenter().addObserver(
        this, AppNotification::DuplicatesContainerDataChangedNotificationName(),
        [this](const Notification&) {
            if (m_redrawScheduled)
                return;
            m_redrawScheduled = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_redrawScheduled = false;
                    redrawOverview();
                },
                Qt::QueuedConnection);
        });
}

PieChartView::~PieChartView() {
    stopTorqueAction();
}

PieChartView::PieCategoryRecord PieChartView::recordForType(int type, std::uint64_t size,
                                                            std::uint64_t files) {
    const CategoryRow& row = kRows[type];
    return {QString::fromLatin1(row.name), size, files, row.color(), row.selectedColor()};
}

QString PieChartView::calloutDetails(const PieCategoryRecord& record) {
    const QString noun = record.name == QLatin1String("Folders") ? QStringLiteral("folders")
                                                                 : QStringLiteral("files");
    return QStringLiteral("%1 %2 / %3")
        .arg(record.files)
        .arg(noun, FileSize::formatMemoryStringDot1(record.size));
}

void PieChartView::redrawOverview() {
    const std::shared_ptr<DuplicatesContainer> container =
        DuplicatesManager::sharedManager().duplicateContainer();
    m_categoriesArray.clear();
    m_totalSize = 0;
    for (int type = 0; type < kCategoryCount; ++type) {
        const std::shared_ptr<DuplicatesCategory> category =
            container ? container->getCategoryWithType(type) : nullptr;
        const PieCategoryRecord record =
            recordForType(type, category ? category->getTotalSize() : 0,
                          category ? category->getTotalCount() : 0);
        // A category without bytes has no slice, whatever its count.
        if (record.size != 0) {
            m_categoriesArray.push_back(record);
            m_totalSize += record.size;
        }
    }
    m_selectedPiece = -1;
    relayout();
    update();
}

void PieChartView::setStartAngle(float angle) {
    m_startAngle = normaliseAngle(angle);
    relayout();
    update();
}

void PieChartView::relayout() {
    const QSizeF viewSize = size();
    const qreal w = viewSize.width();
    const qreal h = viewSize.height();
    m_radius = radiusForSize(viewSize);
    const QPointF center(w / 2, h / 2); // the same point y-up and y-down

    std::vector<std::uint64_t> sizes;
    for (const PieCategoryRecord& record : m_categoriesArray)
        sizes.push_back(record.size);
    m_categorySectorsPathArray.clear();
    m_sectorCenterAngleArray.clear();
    for (const Slice& slice : slices(sizes, m_startAngle)) {
        m_categorySectorsPathArray.push_back(sliceOutline(slice, center, m_radius));
        m_sectorCenterAngleArray.push_back(slice.center);
    }

    m_tooltipsAnglesArray = layoutCallouts(sizes, m_sectorCenterAngleArray, m_radius, center);
    m_tooltipsPathArray.clear();
    m_callouts.clear();
    const QFont detailsFont = calloutDetailsFont();
    for (size_t i = 0; i < m_categoriesArray.size(); ++i) {
        float u = m_sectorCenterAngleArray[i];
        for (const TipPlacement& placement : m_tooltipsAnglesArray) {
            if (placement.sectorNumber == int(i)) {
                u = placement.angle;
                break;
            }
        }
        Callout callout;
        callout.start = pointAt(center, m_radius, m_sectorCenterAngleArray[i]);
        callout.elbow = pointAt(center, double(m_radius) + kCalloutElbowOffset, u);
        callout.details = calloutDetails(m_categoriesArray[i]);
        const qreal detailsWidth = OverviewPainting::textSize(callout.details, detailsFont).width();
        qreal underline = detailsWidth + 5;
        if (callout.elbow.x() <= center.x())
            underline = -underline; // the callout runs to the left
        callout.underline = float(underline);
        const qreal x = std::floor(callout.elbow.x() + 5 + (underline < 0 ? underline - 3 : 0));
        callout.textOrigin = QPointF(x, callout.elbow.y() + 3);
        m_tooltipsPathArray.push_back(QRectF(x, h - callout.textOrigin.y() - 30, detailsWidth, 30));
        m_callouts.push_back(callout);
    }

    if (window() != this)
        OverviewPainting::writeOverlayFrames(
            1, 0,
            {OverviewPainting::windowRectYUp(
                this, QRectF(w / 2 - m_radius, h / 2 - m_radius, 2.0 * m_radius, 2.0 * m_radius))});
}

void PieChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void PieChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = width();
    const qreal h = height();
    const QPointF center(w / 2, h / 2);

    // The grey disc behind the ring with its soft shadow.
    const qreal disc = m_radius + 0.5;
    QRadialGradient shadow(center, disc + 5);
    shadow.setColorAt(disc / (disc + 5), Palette::properColorWithRedGreenBlueAlpha(0, 0, 0, 0.9f));
    shadow.setColorAt(1, Palette::properColorWithRedGreenBlueAlpha(0, 0, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(center, disc + 5, disc + 5);
    const float grey = 100.0f / 255.0f;
    painter.setBrush(Palette::properColorWithRedGreenBlueAlpha(grey, grey, grey, 1));
    painter.drawEllipse(center, disc, disc);

    for (size_t i = 0; i < m_categorySectorsPathArray.size(); ++i) {
        const QColor color = m_categoriesArray[i].color;
        painter.setPen(QPen(color, 1));
        painter.setBrush(color);
        painter.drawPath(m_categorySectorsPathArray[i]);
    }
    if (m_selectedPiece >= 0 && size_t(m_selectedPiece) < m_categorySectorsPathArray.size()) {
        painter.setPen(QPen(m_categoriesArray[size_t(m_selectedPiece)].selectedColor, 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(m_categorySectorsPathArray[size_t(m_selectedPiece)]);
    }

    drawSmartTips(painter);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::totalCircleColor());
    painter.drawEllipse(center, kCenterDiscDiameter / 2, kCenterDiscDiameter / 2);

    const QFont totalFont = Fonts::fontWithName(QStringLiteral("HelveticaNeue-Light"), 25);
    const QFont sizeFont = Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 18);
    const QString total = QStringLiteral("Total");
    const QString sizeText = FileSize::formatMemoryStringDot1(m_totalSize);
    const qreal totalWidth = OverviewPainting::textSize(total, totalFont).width();
    const qreal sizeWidth = OverviewPainting::textSize(sizeText, sizeFont).width();
    OverviewPainting::drawTextAt(painter, total, totalFont, Palette::totalTextColor(),
                                 {std::floor((w - totalWidth) / 2), h / 2 - 2}, h);
    OverviewPainting::drawTextAt(painter, sizeText, sizeFont, Palette::totalTextColor(),
                                 {std::floor((w - sizeWidth) / 2), h / 2 - 26}, h);
}

void PieChartView::drawSmartTips(QPainter& painter) const {
    const qreal h = height();
    const QFont nameFont = calloutNameFont();
    const QFont detailsFont = calloutDetailsFont();
    for (size_t i = 0; i < m_callouts.size(); ++i) {
        const Callout& callout = m_callouts[i];
        const QColor color = m_categoriesArray[i].selectedColor;
        painter.setPen(QPen(color, int(i) == m_selectedPiece ? 3 : 1));
        painter.drawLine(toQt(callout.start), toQt(callout.elbow));
        painter.drawLine(toQt(callout.elbow), toQt(callout.elbow + QPointF(callout.underline, 0)));
        OverviewPainting::drawTextAt(painter, callout.details, detailsFont,
                                     Palette::toolbarButtonsTextColor(), callout.textOrigin, h);
        OverviewPainting::drawTextAt(painter, m_categoriesArray[i].name, nameFont,
                                     Palette::toolbarButtonsTextColor(),
                                     {callout.textOrigin.x(), callout.elbow.y() + 17}, h);
    }
}

// ---- Pointer.

void PieChartView::mousePressEvent(QMouseEvent* event) {
    m_prevAngle = pointerAngle(toYUp(event->position()), size());
    m_torque = 0;
    stopTorqueAction();
}

void PieChartView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        hover(event->position());
        return;
    }
    const float angle = pointerAngle(toYUp(event->position()), size());
    m_torque = angleStep(m_prevAngle, angle);
    m_startAngle = normaliseAngle(m_startAngle + m_torque);
    m_prevAngle = angle;
    relayout();
    update();
}

void PieChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (m_torque != 0) {
        stopTorqueAction();
        m_torqueTimer =
            AnimationClock::instance().every(kTorqueTickMs, this, [this] { torqueAction(); });
        return;
    }
    checkMouseUpInArray(false, event->position());
    checkMouseUpInArray(true, event->position());
}

void PieChartView::torqueAction() {
    m_startAngle = normaliseAngle(m_startAngle + m_torque);
    relayout();
    update();
    m_torque = dampedTorque(m_torque);
    if (m_torque == 0)
        stopTorqueAction();
}

void PieChartView::stopTorqueAction() {
    if (m_torqueTimer != 0)
        AnimationClock::instance().cancel(m_torqueTimer);
    m_torqueTimer = 0;
}

void PieChartView::checkMouseUpInArray(bool callouts, const QPointF& pointQt) {
    // Every target under the pointer is pressed, without an early exit.
    const size_t count = callouts ? m_tooltipsPathArray.size() : m_categorySectorsPathArray.size();
    for (size_t i = 0; i < count && i < m_categoriesArray.size(); ++i) {
        const bool hit = callouts ? m_tooltipsPathArray[i].contains(pointQt)
                                  : m_categorySectorsPathArray[i].contains(pointQt);
        if (hit)
            pressCategoryNamed(m_categoriesArray[i].name);
    }
}

void PieChartView::pressCategoryNamed(const QString& name) {
    if (!m_controller)
        return;
    for (int type = 0; type < kCategoryCount; ++type) {
        if (name != QLatin1String(kRows[type].name))
            continue;
        m_controller->chooseCategory(type);
        return;
    }
}

void PieChartView::hover(const QPointF& pointQt) {
    if (DuplicatesManager::sharedManager().overlayOnScreen())
        return;
    bool hit = false;
    for (size_t i = 0; i < m_categorySectorsPathArray.size(); ++i) {
        if (m_categorySectorsPathArray[i].contains(pointQt)) {
            m_selectedPiece = int(i);
            hit = true;
        }
    }
    for (size_t i = 0; i < m_tooltipsPathArray.size(); ++i) {
        if (m_tooltipsPathArray[i].contains(pointQt)) {
            m_selectedPiece = int(i);
            hit = true;
        }
    }
    if (hit) {
        OverviewPainting::setPointingHand(this, true);
        update();
    } else if (m_selectedPiece >= 0) {
        OverviewPainting::setPointingHand(this, false);
        m_selectedPiece = -1;
        update();
    }
}

void PieChartView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_selectedPiece = -1;
    update();
}

void PieChartView::setController(ResultsFrame* controller) {
    m_controller = controller;
}

ResultsFrame* PieChartView::controller() const {
    return m_controller;
}
