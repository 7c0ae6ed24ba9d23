#pragma once

#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QWidget>

class CommonBlackButton;
class TitleButton;

// The small popup that a click on a refused last-copy check box opens: one check box bound
// to the setting that allows selecting every copy of a group, and a close button. One
// shared popup for the process, made on first use and reused.
//
// It is a Qt::Popup window placed relative to the clicked check box (so it works where
// top-level windows cannot place themselves). A click outside closes it at once, and for
// 0.1 s afterwards no new showing starts: the click on the same check box that closed it
// does not open it again. Main thread only.
class AllowRemovingAllCopiesWC final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AllowRemovingAllCopiesWC)

public:
    static constexpr const char* kInterfaceName = "AllowRemovingAllCopiesWC_DARK";
    static constexpr int kFadeInMs = 300;
    static constexpr int kFadeOutMs = 200;
    static constexpr int kReopenGuardMs = 100;

    static AllowRemovingAllCopiesWC* sharedController();
    // The shared popup when it has been made, without making it.
    static AllowRemovingAllCopiesWC* existingController();

    // Shows the popup near |point|, the lower-left corner of the clicked check box in screen
    // coordinates with y up from the bottom of that screen; does nothing while the popup is
    // showing or just closed. |mainWindow| bounds the popup on the right (none: unbounded).
    static void showControllerAtPosition(const QPointF& point, QWidget* mainWindow);
    // Fades the popup out and closes it.
    static void hideItself();

    // The lower-left corner of |globalRect| (Qt screen coordinates) as showControllerAtPosition
    // wants it.
    static QPointF screenPointForRect(const QRect& globalRect);
    // Where a popup of |size| goes for |point| (both y-up): 5 points below the point when it
    // fits above the screen's bottom edge, else 25 points above it; 30 points left of the
    // point, moved left so it ends at the right edge of |mainFrame| when it would pass it
    // (an empty frame bounds nothing).
    static QPointF popupOrigin(const QPointF& point, const QSizeF& size, const QRectF& mainFrame);

    bool popupVisible() const { return m_visible; }
    CommonBlackButton* allowRemovingCheckbox() const { return m_allowRemovingCheckbox; }
    TitleButton* closeButton() const { return m_closeButton; }

    void allowRemovingCheckboxPressed();
    void closeButtonPressed() { hideItself(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    explicit AllowRemovingAllCopiesWC();
    void changeVisibility() { m_visible = false; }

    bool m_visible = false;
    bool m_closingByButton = false;
    CommonBlackButton* m_allowRemovingCheckbox = nullptr;
    TitleButton* m_closeButton = nullptr;
};
