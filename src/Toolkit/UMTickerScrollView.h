#pragma once

#include "Toolkit/AnimationClock.h"

#include <QColor>
#include <QWidget>

// A one-line path label of the similar-folders views: the folder part in the regular face
// and the last component in the medium face, truncated at the head when it does not fit
// (so at rest a long path shows its end). When the pointer rests on it for half a second,
// the whole path scrolls back and forth, one point every 25 ms, until the pointer leaves.
//
// A new text or a new frame (size or place) stops the scrolling and cancels a start that is still
// waiting, so the ticker never scrolls a stale path; after a new frame the wait starts afresh when
// the pointer is still over it. Nothing happens on hover while the help overlay is shown.
// All timing runs through AnimationClock. Wheel events go to the enclosing list.
class UMTickerScrollView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UMTickerScrollView)

public:
    explicit UMTickerScrollView(QWidget* parent = nullptr);
    ~UMTickerScrollView() override;

    // Shows |path| and stops any scrolling.
    void setStringValue(const QString& path);
    QString stringValue() const { return m_path; }
    // The colour the text is drawn in until the next setStringValue(), which draws it in
    // heapRowFolderPathColor again.
    void setTextColor(const QColor& color);
    QColor textColor() const { return m_color; }

    // The two parts a path is shown as: the folder part ending in "/" and the last
    // component. A path at the root shows one "/" ("/Users"), the root alone is "/", and a
    // bare name is "/" followed by the name.
    static std::pair<QString, QString> pathParts(const QString& path);

    // State, for the views that place it and for tests.
    bool isScrolling() const { return m_scrollTimer != 0; }
    bool isWaitingToStart() const;
    float currentX() const { return m_currentX; }
    float shiftForX() const { return m_shiftForX; }
    // The label's width when fitted to its whole text.
    qreal labelWidth() const;
    // What is shown at rest: the text as truncated at the head to the view's width.
    QString displayedText() const;

    // What the platform sends when the pointer enters or leaves.
    void mouseEntered();
    void mouseExited();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void stopAnimation();
    void cancelPendingStart();
    void startAnimationWithText(const QString& text);
    void tick();
    void updateTrackingAreas();

    AnimationClock::Handle m_scrollTimer = 0;
    AnimationClock::Handle m_pendingStart = 0;
    float m_currentX = 0;
    float m_shiftForX = -1.0f;
    QColor m_color;
    QString m_path;
    QString m_folderPart;
    QString m_namePart;
};
