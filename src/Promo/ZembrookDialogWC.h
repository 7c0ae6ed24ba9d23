#pragma once

#include <QtGlobal>

// The promotional panel's window controller. For now only its class entry points exist:
// the panel window itself registers its opener with PromoPanelGate when it is built, and
// until then both calls open nothing.
class ZembrookDialogWC final {
public:
    ZembrookDialogWC() = delete;

    // Shows the promotional panel as a sheet on the main window (one at a time).
    static void pleaseShowWindow();
    // Called on the main queue when a scan starts comparing files; applies the rules of the
    // automatic showing (PromoPanelGate) and opens the panel when they allow it.
    static void pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(quint64 duplicatesCount);
};
