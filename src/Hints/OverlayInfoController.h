#pragma once

#include "Platform/KeyEvent.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class ButtonWithTrackingArea;
class OverlayInfoView;
class QVariantAnimation;
class QWidget;

// The help overlay's controller: owns the sheet (OverlayInfoView) and its close button,
// handles the keys and closing. The results screen makes one per showing, gives it the
// screens of its state and a close block, keeps it, and calls showOverlayOnView() with its
// own view. While shown, the result manager's overlayOnScreen is true.
//
// Closing (Escape, the close button, stepping past the last screen) runs the close block,
// or without one only hides the sheet, which can then be shown again. Main thread only.
class OverlayInfoController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverlayInfoController)

public:
    // The layout this controller's view is built with.
    static constexpr const char* kInterfaceName = "OverlayInfoController";

    explicit OverlayInfoController(QObject* parent = nullptr);
    ~OverlayInfoController() override;

    // Null once the sheet is gone or while it is being destroyed.
    OverlayInfoView* view() const;
    ButtonWithTrackingArea* closeBtn() const { return m_closeBtn; }

    void closeOverlayInfo();
    void setScreensArray(const QList<int>& screens);
    void showNextScreen(int step);
    // Lays the sheet over the whole window of |anyView|, fades it in over 2 s and gives it
    // the keyboard.
    void showOverlayOnView(QWidget* anyView);
    // |autoRepeat|: the key is held down; such presses are ignored.
    void keyDown(const KeyEvent& event, bool autoRepeat);

    std::function<void()> closeblock() const { return m_closeblock; }
    void setCloseblock(std::function<void()> block) { m_closeblock = std::move(block); }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeCloseButton();

    // Untyped, reached through view(): the sheet's last events come from its own
    // destructor, when it is no longer an OverlayInfoView.
    QPointer<QObject> m_view;
    ButtonWithTrackingArea* m_closeBtn = nullptr;
    std::function<void()> m_closeblock;
    QPointer<QWidget> m_window;
    QPointer<QVariantAnimation> m_fade;
};
