#include "Toolkit/MBCoverFlowView.h"

#include "Platform/ui/FileManagerReveal.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/CoverFlowAccessoryController.h"
#include "Toolkit/DockAnimationVC.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/MBCoverFlowScroller.h"
#include "Toolkit/Palette.h"

#include <QFile>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace {

// The platform's pacing of implicit moves: ease in, ease out.
QEasingCurve moveCurve() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.25, 0.1), QPointF(0.25, 1.0), QPointF(1.0, 1.0));
    return curve;
}

QEasingCurve pulseCurve() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(CoverFlowGeometry::kPulseControl1,
                                CoverFlowGeometry::kPulseControl2, QPointF(1.0, 1.0));
    return curve;
}

QVariant valueAtKeyPath(const QVariantMap& object, const QString& keyPath) {
    QVariant value = object;
    for (const QString& key : keyPath.split(QLatin1Char('.'))) {
        if (value.typeId() != QMetaType::QVariantMap)
            return {};
        value = value.toMap().value(key);
    }
    return value;
}

QImage imageFromValue(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QImage:
        return value.value<QImage>();
    case QMetaType::QPixmap:
        return value.value<QPixmap>().toImage();
    case QMetaType::QIcon: {
        const QIcon icon = value.value<QIcon>();
        return icon.pixmap(QSize(128, 128), 2.0).toImage();
    }
    case QMetaType::QByteArray:
        return QImage::fromData(value.toByteArray());
    default:
        return {};
    }
}

double lerp(double from, double to, double t) {
    return from + (to - from) * t;
}

} // namespace

MBCoverFlowView::MBCoverFlowView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(false);
    setAttribute(Qt::WA_TranslucentBackground);
    _placeholderIcon =
        ImageStore::pixmap(QStringLiteral("quicklook_template"), QSizeF(128, 128), 2.0).toImage();

    _scroller = new MBCoverFlowScroller(this);
    _scroller->setGeometry(
        CoverFlowGeometry::flipped(CoverFlowGeometry::kScrollerInitialFrame, height()).toRect());
    _scroller->hide();
    _scroller->setKnobProportion(1.0);
    _scroller->setAction([this](MBCoverFlowScroller*) { scrollerChange(); });

    m_move = new QVariantAnimation(this);
    m_move->setStartValue(0.0);
    m_move->setEndValue(1.0);
    m_move->setDuration(CoverFlowGeometry::kMoveDurationMs);
    m_move->setEasingCurve(moveCurve());
    connect(m_move, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_moveProgress = value.toDouble();
        update();
    });
    connect(m_move, &QVariantAnimation::finished, this, [this] {
        m_moveProgress = 1.0;
        update();
    });

    m_reveal = [](const QString& path) { FileManagerReveal::revealPath(QFile::encodeName(path)); };

    recachePlaceholder();
    createRemoveButton();
}

MBCoverFlowView::~MBCoverFlowView() {
    m_destroying = true;
    setAccessoryController(nullptr);
    setContent({});
    _imageKeyPath.clear();
}

// --- Layout ------------------------------------------------------------------------------------

void MBCoverFlowView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    resizeSubviews();
    if (dropFolderHereView_) {
        dropFolderHereView_->setGeometry(rect());
        if (auto* label = dropFolderHereView_->findChild<QWidget*>())
            label->setGeometry(
                CoverFlowGeometry::flipped(CoverFlowGeometry::dropTextFrame(size()), height())
                    .toRect());
    }
    if (m_dockAnimationVC)
        m_dockAnimationVC->setGeometry(
            CoverFlowGeometry::flipped(CoverFlowGeometry::dockAnimationFrame(width()), height())
                .toRect());
    placeRemoveButton();
}

void MBCoverFlowView::resizeSubviews() {
    QRectF scrollerFrame = CoverFlowGeometry::kScrollerInitialFrame;
    if (_showsScrollbar) {
        scrollerFrame = CoverFlowGeometry::scrollerFrame(width());
        _scroller->setGeometry(CoverFlowGeometry::flipped(scrollerFrame, height()).toRect());
    }
    if (_accessoryController && _accessoryController->view()) {
        QWidget* accessory = _accessoryController->view();
        const double y = CoverFlowGeometry::accessoryY(_showsScrollbar, scrollerFrame);
        const QRectF frame = CoverFlowGeometry::accessoryFrame(width(), accessory->size(), y);
        accessory->setGeometry(CoverFlowGeometry::flipped(frame, height()).toRect());
    }
    setSelectionIndex(_selectionIndex);
}

double MBCoverFlowView::accessoryTop() const {
    if (!_accessoryController || !_accessoryController->view())
        return 0.0;
    const QWidget* accessory = _accessoryController->view();
    // Back from the flipped geometry to the y-up top edge.
    return height() - accessory->geometry().top();
}

QRectF MBCoverFlowView::containerFrame() const {
    return CoverFlowGeometry::containerRect(size(), accessoryTop(), itemSize().height());
}

QSizeF MBCoverFlowView::itemSize() const {
    double accessoryHeight = 0;
    if (_accessoryController && _accessoryController->view())
        accessoryHeight = _accessoryController->view()->height();
    return CoverFlowGeometry::itemSize(size(), _autoresizesItems, _showsScrollbar, accessoryHeight,
                                       _itemSize);
}

void MBCoverFlowView::setAutoresizesItems(bool autoresizes) {
    _autoresizesItems = autoresizes;
    setSelectionIndex(_selectionIndex);
}

MBCoverFlowView::Placement MBCoverFlowView::presentation(const ItemLayer& item) const {
    const double t = m_moveProgress;
    return {lerp(item.from.x, item.model.x, t), lerp(item.from.angle, item.model.angle, t),
            lerp(item.from.imageZ, item.model.imageZ, t),
            lerp(item.from.stackingZ, item.model.stackingZ, t)};
}

double MBCoverFlowView::presentedScrollOffset() const {
    return lerp(m_scrollFrom, m_scrollModel, m_moveProgress);
}

bool MBCoverFlowView::isMoving() const {
    // A move driven by the clock's manual time is paused between steps, yet under way.
    return m_move->state() != QAbstractAnimation::Stopped;
}

void MBCoverFlowView::layoutItems(bool animated) {
    const QSizeF card = itemSize();
    const double scrollWidth = containerFrame().width();
    const int count = itemCount();
    const double margin = CoverFlowGeometry::margin(scrollWidth, count, card.width());
    const int selection = static_cast<int>(_selectionIndex);
    // A new move starts where the cards are seen now.
    for (auto& item : m_items) {
        item->from = animated ? presentation(*item) : Placement{};
        const auto placement = CoverFlowGeometry::cardPlacement(static_cast<int>(item->index),
                                                                selection, card, margin);
        item->model = {placement.frame.x(), placement.angle, placement.imageZ, placement.stackingZ};
        if (!animated)
            item->from = item->model;
    }
    m_scrollFrom = animated ? presentedScrollOffset() : 0.0;
    m_scrollModel = CoverFlowGeometry::positionOfSelectedItem(scrollWidth, count, card, selection);
    if (!animated)
        m_scrollFrom = m_scrollModel;
    m_move->stop();
    if (animated) {
        m_moveProgress = 0.0;
        AnimationClock::instance().start(m_move);
    } else {
        m_moveProgress = 1.0;
    }
    update();
}

QRectF MBCoverFlowView::rectForItemAtIndex(long index) const {
    const ItemLayer* item = layerForIndex(index);
    if (!item)
        return {};
    const QSizeF card = itemSize();
    const QRectF container = containerFrame();
    const Placement seen = presentation(*item);
    const QRectF frame(container.x() + seen.x - presentedScrollOffset(),
                       container.y() + card.height(), card.width(), card.height());
    return CoverFlowGeometry::projectedBounds(frame, seen.angle, seen.imageZ, item->pulseScale);
}

// --- Selection ---------------------------------------------------------------------------------

void MBCoverFlowView::setSelectionIndex(long index) {
    if (static_cast<unsigned long>(index) >= static_cast<unsigned long>(m_items.size()))
        return;
    const bool changed = index != _selectionIndex;
    _selectionIndex = index;
    layoutItems(true);
    _scroller->setIntegerValue(index);
    holdBackRemoveButtonAfterSelection();
    tellAccessory();
    if (changed)
        emit selectionIndexChanged(index);
}

void MBCoverFlowView::_setSelectionIndex(long index) {
    const long count = static_cast<long>(m_items.size());
    if (index >= count)
        index = count - 1;
    if (index < 0)
        index = 0;
    setSelectionIndex(index);
}

QVariantMap MBCoverFlowView::selectedObject() const {
    if (_selectionIndex < 0 || _selectionIndex >= _content.size())
        return {};
    return _content.at(_selectionIndex);
}

void MBCoverFlowView::setSelectedObject(const QVariantMap& object) {
    const qsizetype index = _content.indexOf(object);
    if (index >= 0)
        _setSelectionIndex(index);
}

void MBCoverFlowView::tellAccessory() {
    if (_accessoryController)
        _accessoryController->setRepresentedObject(selectedObject());
}

// --- Content -----------------------------------------------------------------------------------

MBCoverFlowView::ItemLayer* MBCoverFlowView::layerForObject(const QVariantMap& object) {
    for (auto& item : m_items) {
        if (item->representedObject == object)
            return item.get();
    }
    return nullptr;
}

const MBCoverFlowView::ItemLayer* MBCoverFlowView::layerForIndex(long index) const {
    if (index < 0 || index >= _content.size())
        return nullptr;
    for (const auto& item : m_items) {
        if (item->index == index)
            return item.get();
    }
    return nullptr;
}

void MBCoverFlowView::setContent(const Content& content) {
    // The empty-list area comes and goes with the cards, never while the view is going away.
    if (!m_destroying) {
        if (!content.isEmpty() && dropFolderHereView_)
            removeDropFolderHereView();
        else if (content.isEmpty() && !dropFolderHereView_)
            addDropFolderHereView();
    }

    if (content == _content) {
        // The screens hand over their unchanged list after selecting a folder that was
        // added again: its card pulses to show where it is.
        if (_selectionIndex >= 0 && _selectionIndex < _content.size()) {
            ItemLayer* selected = layerForObject(_content.at(_selectionIndex));
            if (selected && !isMoving())
                animateItemLayer(*selected);
        }
        return;
    }

    const Content old = _content;
    _content = content;

    for (const QVariantMap& object : _content) {
        if (!old.contains(object))
            insertLayerInScrollLayer(object);
    }
    for (const QVariantMap& object : old) {
        if (_content.contains(object))
            continue;
        const auto it = std::find_if(m_items.begin(), m_items.end(), [&](const auto& item) {
            return item->representedObject == object;
        });
        if (it != m_items.end())
            m_items.erase(it);
    }
    for (auto& item : m_items)
        item->index = _content.indexOf(item->representedObject);

    _scroller->setNumberOfIncrements(
        _content.isEmpty() ? 0u : static_cast<unsigned>(_content.size() - 1));

    const unsigned long count = static_cast<unsigned long>(_content.size());
    const long before = _selectionIndex;
    setSelectionIndex(static_cast<unsigned long>(_selectionIndex) >= count ? _selectionIndex - 1
                                                                           : _selectionIndex);
    if (static_cast<unsigned long>(_selectionIndex) >= count)
        setSelectionIndex(0);
    // The selected entry may have changed under an unchanged index.
    tellAccessory();
    if (_selectionIndex == before)
        emit selectionIndexChanged(_selectionIndex);

    holdBackRemoveButtonAfterContent();
    update();
}

void MBCoverFlowView::insertLayerInScrollLayer(const QVariantMap& object) {
    auto item = std::make_unique<ItemLayer>();
    item->index = static_cast<long>(m_items.size());
    item->representedObject = object;
    item->contents = _placeholderRef;
    // A new card appears where the layout puts it; only cards already shown move.
    const QSizeF card = itemSize();
    const double scrollWidth = containerFrame().width();
    const int index = static_cast<int>(_content.indexOf(object));
    const auto placement = CoverFlowGeometry::cardPlacement(
        index, static_cast<int>(_selectionIndex), card,
        CoverFlowGeometry::margin(scrollWidth, static_cast<int>(_content.size()), card.width()));
    item->model = {placement.frame.x(), placement.angle, placement.imageZ, placement.stackingZ};
    item->from = item->model;
    ItemLayer& added = *item;
    m_items.push_back(std::move(item));
    refreshLayer(added);
}

void MBCoverFlowView::refreshLayer(ItemLayer& item) {
    item.index = _content.indexOf(item.representedObject);
    item.hasImage = false;
    loadImageForLayer(item);
}

void MBCoverFlowView::loadImageForLayer(ItemLayer& item) {
    QImage image;
    if (!_imageKeyPath.isEmpty())
        image = imageFromValue(valueAtKeyPath(item.representedObject, _imageKeyPath));
    if (!image.isNull()) {
        item.contents = image;
        item.hasImage = true;
    } else {
        item.contents = _placeholderRef;
        item.hasImage = false;
    }
    update();
}

void MBCoverFlowView::setImageKeyPath(const QString& keyPath) {
    _imageKeyPath = keyPath;
    for (auto& item : m_items)
        refreshLayer(*item);
}

bool MBCoverFlowView::itemHasImage(long index) const {
    const ItemLayer* item = layerForIndex(index);
    return item && item->hasImage;
}

void MBCoverFlowView::setShowsScrollbar(bool shows) {
    _showsScrollbar = shows;
    _scroller->setVisible(shows);
    resizeSubviews();
}

void MBCoverFlowView::setAccessoryController(CoverFlowAccessoryController* controller) {
    if (controller == _accessoryController)
        return;
    if (_accessoryController) {
        CoverFlowAccessoryController* old = _accessoryController;
        if (QWidget* view = old->view()) {
            view->hide();
            view->setParent(nullptr);
        }
        old->setRepresentedObject({});
        if (old->parent() == this)
            old->deleteLater();
    }
    _accessoryController = controller;
    if (controller) {
        controller->setParent(this);
        if (QWidget* view = controller->view()) {
            view->setParent(this);
            view->show();
        }
        tellAccessory();
    }
    if (!m_destroying)
        resizeSubviews();
}

// --- Pictures ----------------------------------------------------------------------------------

void MBCoverFlowView::setPlaceholderIcon(const QImage& icon) {
    _placeholderIcon = icon;
    recachePlaceholder();
}

void MBCoverFlowView::recachePlaceholder() {
    const QSizeF size = CoverFlowGeometry::placeholderSize(itemSize());
    QImage picture(size.toSize(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    auto grey = [](float white) {
        return Palette::properColorWithRedGreenBlueAlpha(white, white, white, 1.0f);
    };

    // A soft light falling from the middle of the top edge.
    const QPointF centre(w / 2.0, 0.0);
    QRadialGradient light(centre, std::hypot(w / 2.0, h));
    light.setColorAt(0.0, grey(0.15f));
    light.setColorAt(1.0, grey(0.0f));
    painter.fillRect(QRectF(0, 0, w, h), light);
    painter.fillRect(CoverFlowGeometry::flipped(QRectF(0, 595, w, 5), h), grey(0.3f));
    painter.fillRect(CoverFlowGeometry::flipped(QRectF(0, 0, w, 5), h), grey(0.1f));

    if (!_placeholderIcon.isNull() && _placeholderIcon.height() > 0) {
        const QSizeF box =
            CoverFlowGeometry::placeholderIconBox(_placeholderIcon.deviceIndependentSize(), w);
        QImage tinted(box.toSize(), QImage::Format_ARGB32_Premultiplied);
        tinted.fill(Qt::transparent);
        QPainter tint(&tinted);
        tint.setRenderHint(QPainter::SmoothPixmapTransform);
        // The tint fills the whole box, however wide it is, then keeps only the icon's shape.
        QLinearGradient shade(0, 0, 0, box.height());
        shade.setColorAt(0.0, Palette::properColorWithRedGreenBlueAlpha(0.38f, 0.4f, 0.427f, 1));
        shade.setColorAt(1.0, Palette::properColorWithRedGreenBlueAlpha(0.224f, 0.255f, 0.302f, 1));
        tint.fillRect(QRectF(QPointF(0, 0), box), shade);
        tint.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        tint.drawImage(QRectF(QPointF(0, 0), box), _placeholderIcon);
        tint.end();
        const QRectF target((w - box.width()) / 2.0, (h - box.height()) / 2.0, box.width(),
                            box.height());
        painter.drawImage(CoverFlowGeometry::flipped(target, h), tinted);
    }
    painter.end();
    _placeholderRef = picture;
    for (auto& item : m_items) {
        if (!item->hasImage)
            item->contents = _placeholderRef;
    }
    update();
}

// --- Pulse -------------------------------------------------------------------------------------

void MBCoverFlowView::animateItemLayer(ItemLayer& item) {
    if (item.pulse)
        item.pulse->stop();
    auto pulse = std::make_shared<QVariantAnimation>();
    pulse->setStartValue(0.0);
    pulse->setEndValue(1.0);
    pulse->setDuration(2 * CoverFlowGeometry::kPulseHalfDurationMs);
    ItemLayer* target = &item;
    // Out and back on the same curve, played backwards on the way back.
    connect(pulse.get(), &QVariantAnimation::valueChanged, this,
            [this, target](const QVariant& value) {
                const double t = value.toDouble() * 2.0;
                const double eased = pulseCurve().valueForProgress(t <= 1.0 ? t : 2.0 - t);
                target->pulseScale = 1.0 + (CoverFlowGeometry::kPulseScale - 1.0) * eased;
                update();
            });
    connect(pulse.get(), &QVariantAnimation::finished, this, [this, target] {
        target->pulseScale = 1.0;
        update();
    });
    item.pulse = pulse;
    AnimationClock::instance().start(pulse.get());
}

double MBCoverFlowView::pulseScaleOfItem(long index) const {
    const ItemLayer* item = layerForIndex(index);
    return item ? item->pulseScale : 1.0;
}

// --- Painting ----------------------------------------------------------------------------------

void MBCoverFlowView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath outline;
    outline.addRoundedRect(bounds, 15.0, 15.0);
    painter.fillPath(outline, Palette::coverFlowBackgroundColor());

    const double h = height();
    const QRectF container = containerFrame();
    painter.save();
    painter.setClipRect(CoverFlowGeometry::flipped(container, h));
    // Farthest cards first, so the selected one ends up in front.
    std::vector<const ItemLayer*> order;
    for (const auto& item : m_items)
        order.push_back(item.get());
    std::stable_sort(order.begin(), order.end(), [this](const ItemLayer* a, const ItemLayer* b) {
        return presentation(*a).stackingZ < presentation(*b).stackingZ;
    });
    const QSizeF card = itemSize();
    const double scroll = presentedScrollOffset();
    for (const ItemLayer* item : order) {
        if (item->contents.isNull())
            continue;
        const Placement seen = presentation(*item);
        const QRectF frame(container.x() + seen.x - scroll, container.y() + card.height(),
                           card.width(), card.height());
        const auto corners =
            CoverFlowGeometry::projectedCorners(frame, seen.angle, seen.imageZ, item->pulseScale);
        const QSizeF picture = item->contents.deviceIndependentSize();
        QPolygonF source({QPointF(0, 0), QPointF(picture.width(), 0),
                          QPointF(picture.width(), picture.height()),
                          QPointF(0, picture.height())});
        QPolygonF seenQuad(
            {CoverFlowGeometry::flipped(corners[3], h), CoverFlowGeometry::flipped(corners[2], h),
             CoverFlowGeometry::flipped(corners[1], h), CoverFlowGeometry::flipped(corners[0], h)});
        QTransform transform;
        if (!QTransform::quadToQuad(source, seenQuad, transform))
            continue;
        painter.save();
        painter.setTransform(transform, true);
        painter.drawImage(QRectF(QPointF(0, 0), picture), item->contents);
        painter.restore();
    }
    painter.restore();

    painter.setPen(QPen(Palette::coverFlowBorderColor(), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
}
