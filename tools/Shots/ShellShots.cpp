#include "Shots.h"

#include "Shell/WindowController.h"

SORVANTA_SHOT_AREA(shell) {
    WindowController window;
    session.save(QStringLiteral("window"), &window);
}
