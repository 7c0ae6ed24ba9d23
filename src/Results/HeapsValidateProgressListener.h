#pragma once

#include <cstdint>

// Told about a validation of the heaps of similar folders (adopted by the scan controller).
// The validation runs synchronously and is handed the listener as a plain pointer, so every
// call arrives on the validating thread while the validation runs; a listener that shows the
// size hands it on to the main queue itself. Size reports come at most every 0.5 seconds,
// and once more, forced, at the end.
class HeapsValidateProgressListener {
public:
    virtual ~HeapsValidateProgressListener() = default;
    virtual bool isHeapsValidationCanceled() = 0;
    // `count` folders were just examined (always 1).
    virtual void onHeapsCheckedFolders(uint64_t count) = 0;
    // The heaps bytes found so far and the progress, 0.5 to 1.0.
    virtual void onHeapsSizeChanged(uint64_t size, float progress) = 0;
};
