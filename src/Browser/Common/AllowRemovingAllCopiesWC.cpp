#include "Browser/Common/AllowRemovingAllCopiesWC.h"

#include "Browser/Common/SharedTexts.h"
#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/CommonBlackButton.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <QVariantAnimation>
#include <QWindow>

namespace {

QPointer<AllowRemovingAllCopiesWC>& shared() {
    static QPointer<AllowRemovingAllCopiesWC> controller;
    return controller;
}

// The bottom edge of the desktop in Qt coordinates: the origin of the y-up coordinates.
qreal screenBottom() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    const QRect geometry = screen->virtualGeometry();
    return geometry.y() + geometry.height();
}

void fadeTo(QWidget* window, qreal to, int ms, std::function<void()> done) {
    auto* fade = new QVariantAnimation(window);
    fade->setStartValue(window->windowOpacity());
    fade->setEndValue(to);
    fade->setDuration(ms);
    QObject::connect(fade, &QVariantAnimation::valueChanged, window,
                     [window](const QVariant& value) { window->setWindowOpacity(value.toReal()); });
    QObject::connect(fade, &QVariantAnimation::finished, window, [fade, done = std::move(done)] {
        fade->deleteLater();
        if (done)
            done();
    });
    AnimationClock::instance().start(fade);
}

} // namespace

AllowRemovingAllCopiesWC::AllowRemovingAllCopiesWC() : QWidget(nullptr, Qt::Popup) {
    setObjectName(QLatin1String(kInterfaceName));
    setAttribute(Qt::WA_TranslucentBackground, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->setSpacing(8);
    auto* title = new QLabel(SharedTexts::allowTitle, this);
    title->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue-Medium"), 13));
    QPalette colours = title->palette();
    colours.setColor(QPalette::WindowText, Palette::commonTextColor());
    title->setPalette(colours);
    layout->addWidget(title);
    m_allowRemovingCheckbox = new CommonBlackButton(this);
    m_allowRemovingCheckbox->setTitle(SharedTexts::allowCheckbox);
    m_allowRemovingCheckbox->sizeToFit();
    layout->addWidget(m_allowRemovingCheckbox);
    auto* closeButton = new WhiteTitleButton(this);
    closeButton->setColor(Palette::toolbarButtonsTextColor());
    closeButton->setTitle(SharedTexts::close);
    closeButton->sizeToFit();
    m_closeButton = closeButton;
    layout->addWidget(closeButton, 0, Qt::AlignRight);
    connect(m_allowRemovingCheckbox, &QAbstractButton::clicked, this,
            [this] { allowRemovingCheckboxPressed(); });
    connect(closeButton, &QAbstractButton::clicked, this, [this] { closeButtonPressed(); });
    adjustSize();
}

AllowRemovingAllCopiesWC* AllowRemovingAllCopiesWC::sharedController() {
    if (!shared())
        shared() = new AllowRemovingAllCopiesWC;
    return shared();
}

AllowRemovingAllCopiesWC* AllowRemovingAllCopiesWC::existingController() {
    return shared();
}

QPointF AllowRemovingAllCopiesWC::screenPointForRect(const QRect& globalRect) {
    const QPoint bottomLeft(globalRect.left(), globalRect.top() + globalRect.height());
    return QPointF(bottomLeft.x(), screenBottom() - bottomLeft.y());
}

QPointF AllowRemovingAllCopiesWC::popupOrigin(const QPointF& point, const QSizeF& size,
                                              const QRectF& mainFrame) {
    const qreal w = size.width(), h = size.height();
    const qreal y = point.y() - 5 - h > 0 ? point.y() - 5 - h : point.y() + 25;
    qreal x = point.x() - 30;
    const qreal right = mainFrame.x() + mainFrame.width();
    if (!mainFrame.isEmpty() && x + w > right)
        x -= x + w - right;
    return QPointF(x, y);
}

void AllowRemovingAllCopiesWC::showControllerAtPosition(const QPointF& point, QWidget* mainWindow) {
    AllowRemovingAllCopiesWC* popup = sharedController();
    QRectF mainFrame;
    if (mainWindow)
        mainFrame = QRectF(mainWindow->window()->frameGeometry());
    if (popup->m_visible)
        return;
    popup->m_visible = true;
    popup->m_closingByButton = false;
    popup->m_allowRemovingCheckbox->setState(Settings::allowRemovingAllDuplicateCopies() ? 1 : 0);
    popup->adjustSize();
    const QPointF origin = popupOrigin(point, popup->size(), mainFrame);
    // Back to Qt coordinates: the y-up origin is the popup's bottom edge.
    popup->move(int(origin.x()), int(screenBottom() - origin.y() - popup->height()));
    if (mainWindow && mainWindow->window()->windowHandle()) {
        popup->winId();
        if (QWindow* handle = popup->windowHandle())
            handle->setTransientParent(mainWindow->window()->windowHandle());
    }
    popup->setWindowOpacity(0.0);
    popup->show();
    fadeTo(popup, 1.0, kFadeInMs, [popup] { popup->update(); });
}

void AllowRemovingAllCopiesWC::hideItself() {
    AllowRemovingAllCopiesWC* popup = shared();
    if (!popup || !popup->isVisible())
        return;
    popup->m_closingByButton = true;
    fadeTo(popup, 0.0, kFadeOutMs, [popup] {
        popup->close();
        popup->m_visible = false;
    });
}

void AllowRemovingAllCopiesWC::allowRemovingCheckboxPressed() {
    Settings::setAllowRemovingAllDuplicateCopies(m_allowRemovingCheckbox->state() != 0);
    AppNotification::CreateDuplicateItemSelectionChangedNotification();
    update();
}

void AllowRemovingAllCopiesWC::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Palette::allowRemovingPopupColor());
    painter.setPen(Palette::separatorColor());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void AllowRemovingAllCopiesWC::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_closingByButton)
        return;
    // Closed by a click elsewhere: that click may be the one on the same check box, which
    // must not open the popup again at once.
    AnimationClock::instance().after(kReopenGuardMs, this, [this] { changeVisibility(); });
}
