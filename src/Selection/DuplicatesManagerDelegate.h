#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class DuplicateItem;
class DuplicatesGroup;
class DuplicatesHeap;

// One group's share of what automatic selection would select across the result.
struct AutoSelectCandidate {
    std::shared_ptr<DuplicatesGroup> group;                     // "group"
    std::vector<std::shared_ptr<DuplicateItem>> duplicateArray; // "duplicateArray"
    std::uint64_t size = 0; // "size": the sum of those copies' file sizes
};

// Receives the answers of the result manager's overview calculations, always on the main
// thread. Each operation answers one calculation; a delegate implements those of the
// calculations it starts (the others do nothing). Lists are ordered biggest first.
class DuplicatesManagerDelegate {
public:
    virtual ~DuplicatesManagerDelegate() = default;

    virtual void onCalculatedTenBiggestHeaps(const std::vector<std::shared_ptr<DuplicatesHeap>>&) {}
    virtual void onCalculatedBiggestGroups(const std::vector<std::shared_ptr<DuplicatesGroup>>&) {}
    virtual void onCalculatedDuplicatesForAutoselect(const std::vector<AutoSelectCandidate>&) {}
    virtual void
    onCalculateBiggestEasyForRemoveHeaps(const std::vector<std::shared_ptr<DuplicatesHeap>>&) {}
};
