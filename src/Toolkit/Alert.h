#pragma once

#include <QMessageBox>

// A question or a notice as a sheet of a window: window-modal on |parent|'s window, with no
// window-manager frame and no coloured icon, drawn in the application's palette. It deletes
// itself when answered; callers connect to finished() and call open(), never exec(). The
// main window places its sheets under its top edge; any other window gets it centred.
class Alert final : public QMessageBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Alert)

public:
    Alert(const QString& message, const QString& informativeText, StandardButtons buttons,
          QWidget* parent);

    // The style sheet that draws an alert in the palette.
    static QString paletteStyleSheet();

protected:
    void showEvent(QShowEvent* event) override;
};
