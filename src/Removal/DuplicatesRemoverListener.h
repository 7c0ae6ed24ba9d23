#pragma once

#include <memory>
#include <vector>

class DuplicateItem;

// Told of a removal run's progress and end. Both calls come on the main queue, and only
// while the listener is still alive (the remover holds it weakly).
class DuplicatesRemoverListener {
public:
    virtual ~DuplicatesRemoverListener() = default;

    // The copies removed since the previous call (possibly none, in the last call). The
    // remover's processed count and removed size are already updated; the copies are taken
    // out of the result container right after this returns.
    virtual void
    onDidRemovedDuplicateItems(const std::vector<std::shared_ptr<DuplicateItem>>& items) = 0;
    // The run is over; the remover's result getters now answer.
    virtual void onRemoveFinished() = 0;
};
