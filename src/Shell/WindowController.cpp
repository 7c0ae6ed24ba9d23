#include "WindowController.h"

#include <QPalette>

namespace {
constexpr int kWelcomeWidth = 740;
constexpr int kWelcomeHeight = 550;
} // namespace

WindowController::WindowController(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Sorvanta"));
    setFixedSize(kWelcomeWidth, kWelcomeHeight);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, QColor(0x1e, 0x1f, 0x22));
    dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
    setPalette(dark);
    setAutoFillBackground(true);
}
