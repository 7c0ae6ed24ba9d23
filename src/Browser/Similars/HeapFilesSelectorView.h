#pragma once

#include "Browser/Similars/HeapCheckboxRules.h"

#include <QPointer>
#include <QWidget>

class FolderSystemItem;
class HeapFilesSelectorVC;
class QProgressBar;
class UMTickerScrollView;

// The root view of the two-folder table: its top band, 29 points high, shows the heap's main
// folder on the left and its second folder on the right, each with the check box that
// selects the folder's common copies, the folder's icon, its path and, under the pointer, the
// open button; the table fills the rest. Right-clicking a half of the band offers that
// folder's commands. Main thread; owned by its controller (Qt parent).
class HeapFilesSelectorView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HeapFilesSelectorView)

public:
    static constexpr int kBandHeight = 29;

    struct Side {
        FolderSystemItem* folder = nullptr;
        HeapCheckboxRules::Look look;
        // Whether the folder was on disk when the band was filled (the open button's test,
        // made once per fill rather than at every pointer move).
        bool exists = false;
    };

    explicit HeapFilesSelectorView(HeapFilesSelectorVC* parent);

    void setController(HeapFilesSelectorVC* controller) { m_controller = controller; }
    void setSides(const Side& left, const Side& right);
    const Side& side(int index) const { return m_sides[index == 0 ? 0 : 1]; }
    void setSpinning(bool spinning);
    bool isSpinning() const;

    // The band's parts in this view's Qt coordinates.
    QRectF bandRect() const { return QRectF(0, 0, width(), kBandHeight); }
    QRectF checkboxRect(int side) const;
    QRectF openButtonRect(int side) const;
    QRect checkboxGlobalRect(int side) const;
    QRectF pathRect(int side) const;
    UMTickerScrollView* pathTicker(int side) const { return m_pathTickers[side == 0 ? 0 : 1]; }
    // The open button shown; -1 none.
    int openButtonSide() const { return m_openSide; }
    // The band's pointer rules, with the pointer at |position| (Qt coordinates of this view).
    void pointerEntered(const QPointF& position);
    void pointerMoved(const QPointF& position);
    void pointerExited();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    int sideAt(const QPointF& position) const;
    void setOpenSide(int side);

    QPointer<HeapFilesSelectorVC> m_controller;
    Side m_sides[2];
    int m_openSide = -1;
    QProgressBar* m_progressIndicator = nullptr;
    UMTickerScrollView* m_pathTickers[2] = {nullptr, nullptr};
};
