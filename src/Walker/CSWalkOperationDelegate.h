#pragma once

class VolumeSystemItem;

// Told about one walk operation, always on the main queue and only while still alive.
class CSWalkOperationDelegate {
public:
    virtual ~CSWalkOperationDelegate() = default;
    // Once, before any folder is read: the root of the walk. Keep root->tree() to keep it.
    virtual void onOperationStartBuildTree(VolumeSystemItem* root) = 0;
    // Not sent by the walk; part of the protocol for the scan controller's sake.
    virtual void onOperationProgress() {}
    // Once, at the end, after every batch of files was delivered: true unless cancelled.
    virtual void onOperationDoneWithSuccess(bool success) = 0;
};
