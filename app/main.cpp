#include "Shell/WindowController.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velquor"));
    QApplication::setApplicationName(QStringLiteral("Sorvanta"));

    WindowController window;
    window.show();
    return QApplication::exec();
}
