#include "Toolkit/WindowPlacement.h"

#include "Toolkit/MyScroller.h"
#include "Toolkit/Palette.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace WindowPlacement {

namespace {

// The whole content's size of a window made by holdContentInScrollArea.
constexpr char kScrolledContentSize[] = "sorvantaScrolledContentSize";
constexpr char kScrollerThickness[] = "sorvantaScrollerThickness";

QPointer<QWidget>& mainWindowPointer() {
    static QPointer<QWidget> window;
    return window;
}

// Places its window on every show and closes it on Ctrl+W (and Escape when asked).
class SecondaryWindowFilter final : public QObject {
public:
    SecondaryWindowFilter(QWidget* window, bool closeOnEscape)
        : QObject(window), m_window(window), m_closeOnEscape(closeOnEscape) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_window)
            return false;
        if (event->type() == QEvent::Show) {
            place();
            return false;
        }
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
            const bool closeKey = key->key() == Qt::Key_W && modifiers == Qt::ControlModifier;
            const bool escape =
                m_closeOnEscape && key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier;
            if (closeKey || escape) {
                m_window->close();
                return true;
            }
        }
        return false;
    }

private:
    void place() {
        if (!m_watchingScreen && m_window->windowHandle()) {
            m_watchingScreen = true;
            refitOnScreenChange(m_window, [window = m_window] {
                fitSizeLimits(window);
                window->move(
                    fitFrame(window->frameGeometry(), availableGeometry(window)).topLeft());
            });
        }
        QWidget* main = mainWindow();
        if (main && main != m_window && main->windowHandle() && m_window->windowHandle())
            m_window->windowHandle()->setTransientParent(main->windowHandle());
        fitSizeLimits(m_window);
        const QRect available = availableGeometry(main ? main : m_window);
        const QRect over = main && main->isVisible() ? main->frameGeometry() : available;
        // Placed by its frame, window manager's decorations included.
        const QRect frame =
            centredFrame(m_window->size().grownBy(frameMargins(m_window)), over, available);
        m_window->move(frame.topLeft());
    }

    QWidget* m_window;
    bool m_closeOnEscape;
    bool m_watchingScreen = false;
};

} // namespace

QMargins frameMargins(const QWidget* window) {
    const QWindow* handle = window ? window->windowHandle() : nullptr;
    return handle ? handle->frameMargins() : QMargins();
}

void setMainWindow(QWidget* window) {
    mainWindowPointer() = window;
}

QWidget* mainWindow() {
    return mainWindowPointer();
}

QRect availableGeometry(const QWidget* window) {
    const QScreen* screen = window ? window->screen() : nullptr;
    if (!screen && mainWindow())
        screen = mainWindow()->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize fitSize(QSize size, const QRect& available) {
    if (available.isEmpty())
        return size;
    return {std::min(size.width(), available.width()), std::min(size.height(), available.height())};
}

QRect fitFrame(const QRect& frame, const QRect& available) {
    if (available.isEmpty())
        return frame;
    QRect fitted(frame.topLeft(), fitSize(frame.size(), available));
    const int x = std::clamp(fitted.x(), available.left(), available.right() + 1 - fitted.width());
    const int y = std::clamp(fitted.y(), available.top(), available.bottom() + 1 - fitted.height());
    fitted.moveTo(x, y);
    return fitted;
}

QRect centredFrame(QSize size, const QRect& over, const QRect& available) {
    const QRect frame(over.x() + (over.width() - size.width()) / 2,
                      over.y() + (over.height() - size.height()) / 2, size.width(), size.height());
    return fitFrame(frame, available);
}

void fitSizeLimits(QWidget* window) {
    if (!window)
        return;
    // The window manager's frame takes its part of the screen too.
    const QRect available = availableGeometry(window).marginsRemoved(frameMargins(window));
    if (available.isEmpty())
        return;
    if (const QVariant content = window->property(kScrolledContentSize); content.isValid()) {
        const QSize size = scrolledWindowSize(content.toSize(), available.size(),
                                              window->property(kScrollerThickness).toInt());
        if (size != window->minimumSize() || size != window->maximumSize())
            window->setFixedSize(size);
        return;
    }
    const QSize minimum = fitSize(window->minimumSize(), available);
    if (minimum != window->minimumSize())
        window->setMinimumSize(minimum);
    // A window that cannot be resized keeps one size: the fitted one.
    if (window->maximumSize().width() < QWIDGETSIZE_MAX ||
        window->maximumSize().height() < QWIDGETSIZE_MAX) {
        const QSize maximum = fitSize(window->maximumSize(), available);
        if (maximum != window->maximumSize())
            window->setMaximumSize(maximum);
    }
    const QSize size = fitSize(window->size(), available);
    if (size != window->size())
        window->resize(size);
}

QSize scrolledWindowSize(QSize content, QSize available, int scroller) {
    if (available.isEmpty())
        return content;
    // A scroller across one side takes room from the other, which may then need one too.
    bool vertical = false;
    bool horizontal = false;
    for (int pass = 0; pass < 2; ++pass) {
        vertical = content.height() + (horizontal ? scroller : 0) > available.height();
        horizontal = content.width() + (vertical ? scroller : 0) > available.width();
    }
    const QSize wanted(content.width() + (vertical ? scroller : 0),
                       content.height() + (horizontal ? scroller : 0));
    return fitSize(wanted, QRect(QPoint(), available));
}

QScrollArea* holdContentInScrollArea(QWidget* window, QWidget* content) {
    if (!window || !content)
        return nullptr;
    auto* area = new QScrollArea(window);
    area->setObjectName(QStringLiteral("scrolledContent"));
    area->setFrameShape(QFrame::NoFrame);
    // Resizable within the content's one fixed size: the area then measures what it needs
    // against its whole room, and drops its scrollers as soon as the content fits again.
    area->setWidgetResizable(true);
    // Tab goes through the content's controls, and the area brings each into sight.
    area->setFocusPolicy(Qt::NoFocus);
    area->setVerticalScrollBar(new MyScroller(Qt::Vertical, area));
    area->setHorizontalScrollBar(new MyScroller(Qt::Horizontal, area));
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The corner between two scrollers and any room beside the content in the palette.
    QPalette colours = area->palette();
    colours.setColor(QPalette::Window, Palette::commonBackgroundColor());
    area->setPalette(colours);
    area->setAutoFillBackground(true);
    area->viewport()->setAutoFillBackground(false);
    content->setFixedSize(content->size());
    area->setWidget(content);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(area);
    window->setProperty(kScrolledContentSize, content->size());
    window->setProperty(kScrollerThickness, area->verticalScrollBar()->sizeHint().width());
    return area;
}

void refitOnScreenChange(QWidget* window, std::function<void()> refit) {
    QWindow* handle = window ? window->windowHandle() : nullptr;
    if (!handle || !refit)
        return;
    QObject::connect(handle, &QWindow::screenChanged, window,
                     [refit = std::move(refit)](QScreen*) { refit(); });
}

void attachToMainWindow(QWidget* window, bool closeOnEscape) {
    if (window)
        new SecondaryWindowFilter(window, closeOnEscape);
}

} // namespace WindowPlacement
