#pragma once

#include <QLineEdit>

// A one-line text field without a context menu: a right click does nothing.
class TextFieldWithoutContext : public QLineEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TextFieldWithoutContext)

public:
    explicit TextFieldWithoutContext(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

// The dark search field: a rounded field in the panel's greys with white text, the arrow
// cursor over its whole bounds, and no context menu.
class SearchTextField : public TextFieldWithoutContext {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchTextField)

public:
    explicit SearchTextField(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
