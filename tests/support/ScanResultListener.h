#pragma once

#include "Results/DuplicatesContainer.h"
#include "Scanner/FoldersScannerListener.h"

#include <memory>

// A scanner listener that keeps the result it is told and counts how often it was told.
class ScanResultListener final : public FoldersScannerListener {
public:
    void onScanCompleteWithResult(const std::shared_ptr<DuplicatesContainer>& result) override {
        container = result;
        ++told;
    }
    std::shared_ptr<DuplicatesContainer> container;
    int told = 0;
};
