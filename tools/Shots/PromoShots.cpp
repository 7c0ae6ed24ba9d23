#include "Shots.h"

#include "Promo/ZembrookDialogWC.h"

SORVANTA_SHOT_AREA(promo) {
    // The promotional panel with the page the application carries, at its own size.
    ZembrookDialogWC::pleaseShowWindow();
    if (ZembrookDialogWC* panel = ZembrookDialogWC::currentPanel()) {
        panel->setAttribute(Qt::WA_DontShowOnScreen);
        session.save(QStringLiteral("panel"), panel);
    }
    ZembrookDialogWC::closeZembrookWC();
}
