#pragma once

#include <QtGlobal>

#include <functional>

// Where the engine asks the promotional panel to show itself. The panel is a window of the
// interface, which the engine must not link; the interface registers how the panel opens,
// and the engine keeps the rules of when it may open on its own.
class PromoPanelGate final {
public:
    using Opener = std::function<void()>;

    // Registers (or, with an empty function, withdraws) how the panel opens as a sheet on
    // the main window. Main thread.
    static void setPanelOpener(Opener opener);
    static bool hasPanelOpener();

    // Opens the panel through the registered opener; nothing while none is registered.
    static void pleaseShowWindow();

    // Main thread. When a panel can be opened and the promotional defaults allow an
    // automatic showing for `duplicatesCount` candidate files and the panel version in
    // force, records the showing and opens the panel. Otherwise nothing happens, and
    // nothing is recorded: while no panel exists no automatic showing is used up.
    static void pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(quint64 duplicatesCount);
};
