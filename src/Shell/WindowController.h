#pragma once

#include <QWidget>

// The main window of the application: one window that hosts the flow screens in turn.
// For now it is the empty dark window that later screens fill.
class WindowController final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowController)

public:
    explicit WindowController(QWidget* parent = nullptr);
};
