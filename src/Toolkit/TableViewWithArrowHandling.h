#pragma once

#include <QTableView>

// The table of the results lists. It handles no key itself: every key press is posted as
// "KeyPressedNotification" (the key-table code and modifiers) and whoever observes it moves
// the selection. When the table loses the keyboard focus every visible row is redrawn, so
// the rows take the inactive look at once. The scrollers are the thin dark ones.
class TableViewWithArrowHandling : public QTableView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableViewWithArrowHandling)

public:
    explicit TableViewWithArrowHandling(QWidget* parent = nullptr);

    // Makes every visible row again.
    void reloadData();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
};
