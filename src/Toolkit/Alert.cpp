#include "Toolkit/Alert.h"

#include "Toolkit/Palette.h"
#include "Toolkit/WindowPlacement.h"

#include <QAbstractButton>
#include <QShowEvent>

Alert::Alert(const QString& message, const QString& informativeText, StandardButtons buttons,
             QWidget* parent)
    : QMessageBox(QMessageBox::NoIcon, QString(), message, buttons,
                  parent ? parent->window() : WindowPlacement::mainWindow()) {
    setInformativeText(informativeText);
    // The message box makes itself a sheet when it turns window-modal, with the window
    // manager's title bar; the sheet keeps no frame of the window manager's.
    setWindowModality(Qt::WindowModal);
    setWindowFlags((windowFlags() &
                    ~(Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)) |
                   Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(paletteStyleSheet());
}

QString Alert::paletteStyleSheet() {
    const auto name = [](const QColor& colour) { return colour.name(QColor::HexRgb); };
    return QStringLiteral("QMessageBox { background-color: %1; border: 1px solid %2; }"
                          "QLabel { color: %3; }"
                          "QCheckBox { color: %3; }"
                          "QPushButton { color: %3; background-color: %4; border: 1px solid %2;"
                          " border-radius: 4px; padding: 4px 18px; min-width: 56px; }"
                          "QPushButton:default { background-color: %5; }"
                          "QPushButton:pressed { background-color: %6; }"
                          "QPushButton:focus { border: 2px solid %7; }")
        .arg(name(Palette::commonPanelBackgroundColor()), name(Palette::commonViewBorderColor()),
             name(Palette::commonTextColor()), name(Palette::commonPrefRowColor()),
             name(Palette::selectedRowColor()), name(Palette::selectedRowColorInactive()),
             name(Palette::focusRingColor()));
}

void Alert::showEvent(QShowEvent* event) {
    // Some desktops' themes put coloured pictures on OK and Cancel; an alert's buttons are
    // words only.
    for (QAbstractButton* button : buttons())
        button->setIcon(QIcon());
    QMessageBox::showEvent(event);
    // A sheet of a window other than the main window hangs centred over it, inside the
    // screen; the main window places its own sheets.
    QWidget* owner = parentWidget();
    if (owner && owner != WindowPlacement::mainWindow()) {
        const QRect available = WindowPlacement::availableGeometry(owner);
        move(WindowPlacement::centredFrame(size(), owner->frameGeometry(), available).topLeft());
    }
}
