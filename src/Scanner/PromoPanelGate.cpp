#include "Scanner/PromoPanelGate.h"

#include "Scanner/ZembrookDefaults.h"

namespace {

PromoPanelGate::Opener& opener() {
    static PromoPanelGate::Opener instance;
    return instance;
}

} // namespace

void PromoPanelGate::setPanelOpener(Opener newOpener) {
    opener() = std::move(newOpener);
}

bool PromoPanelGate::hasPanelOpener() {
    return static_cast<bool>(opener());
}

void PromoPanelGate::pleaseShowWindow() {
    if (opener())
        opener()();
}

void PromoPanelGate::pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(
    quint64 duplicatesCount) {
    if (!hasPanelOpener())
        return;
    const qint32 version = ZembrookDefaults::getZembrookVersion();
    if (!ZembrookDefaults::isNeedShowZembrookDialogAutomaticallyWithVersion(version,
                                                                            duplicatesCount))
        return;
    ZembrookDefaults::notifyZembrookDialogDataThatShowedAutomaticallyVersion(version);
    pleaseShowWindow();
}
