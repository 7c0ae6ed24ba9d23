#pragma once

#include <memory>

class DuplicatesContainer;

// Told once at the end of a completed scan, on the main queue (adopted by the main window
// controller). Never told for a scan stopped during the walk.
class FoldersScannerListener {
public:
    virtual ~FoldersScannerListener() = default;
    virtual void
    onScanCompleteWithResult(const std::shared_ptr<DuplicatesContainer>& container) = 0;
};
