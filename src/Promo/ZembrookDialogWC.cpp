#include "Promo/ZembrookDialogWC.h"

#include "Scanner/PromoPanelGate.h"

void ZembrookDialogWC::pleaseShowWindow() {
    PromoPanelGate::pleaseShowWindow();
}

void ZembrookDialogWC::pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(
    quint64 duplicatesCount) {
    PromoPanelGate::pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(duplicatesCount);
}
