#include "Browser/Similars/HeapCheckboxRules.h"

#include "Browser/Similars/HeapFilesTexts.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Platform/Dispatch.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"

namespace HeapCheckboxRules {

namespace T = HeapFilesTexts;

bool isLastUnselectedCopy(const DuplicateItem& copy) {
    auto group = copy.getGroup();
    return group && !copy.isSelected() &&
           group->getSelectedCountWithDuplicatesFolderContent() + 1 == group->getTotalCount();
}

Look rowCheckboxLook(const DuplicateItem& copy, bool allowRemovingAll) {
    Look look;
    look.image = QStringLiteral("checkbox0");
    look.alternateImage = QStringLiteral("checkbox1");
    if (isLastUnselectedCopy(copy)) {
        if (allowRemovingAll) {
            look.image = QStringLiteral("checkbox0_red");
            look.alternateImage = QStringLiteral("checkbox1_red");
        } else {
            look.tooltip = T::lastCopyTip;
            look.image = QStringLiteral("checkbox_LastCopy");
            look.alternateImage.clear();
            look.action = Action::Disabled;
        }
    }
    auto group = copy.getGroup();
    if (group && group->getSelectedCountWithDuplicatesFolderContent() == group->getTotalCount())
        look.alternateImage = QStringLiteral("checkbox1_red");
    look.state = copy.isSelected();
    if (look.action == Action::Press)
        look.tooltip = look.state ? T::deselectFromRemoval : T::selectForRemovalTip;
    if (copy.hasAssociatedDuplicateFolder()) {
        look.tooltip = T::openInDuplicateFolders;
        look.hoverSwap = true;
        look.action = Action::LockedFile;
        look.image = QStringLiteral("link_folders");
        look.alternateImage.clear();
    }
    return look;
}

namespace {

// What a folder's header box is worked out from: its copies in the heap, those selected,
// whether one unselected copy has another unselected copy in its group (safe), and whether
// one selected copy's group is wholly selected (full).
struct SideCounts {
    std::size_t total = 0;
    std::size_t selected = 0;
    bool safe = false;
    bool full = false;
};

// Both folders' counts in one pass over the heap's copies: [0] the main folder's. A heap of
// large folders holds tens of thousands of copies, each a few reads into the result: slices
// of them are counted on a few threads while this one waits, and so changes nothing.
std::array<SideCounts, 2> countSides(const DuplicatesHeap& heap) {
    FolderSystemItem* main = heap.getMainFolderItem();
    FolderSystemItem* second = heap.getSecondFolderItem();
    const QByteArray paths[2] = {main ? main->path() : QByteArray(),
                                 second ? second->path() : QByteArray()};
    const auto& items = heap.getDuplicateItems().items();
    constexpr std::size_t kSlice = 4096;
    std::vector<std::array<SideCounts, 2>> bySlice((items.size() + kSlice - 1) / kSlice);
    Dispatch::applyInSlices(items.size(), kSlice, [&](std::size_t begin, std::size_t end) {
        std::array<SideCounts, 2>& counts = bySlice[begin / kSlice];
        for (std::size_t i = begin; i < end; ++i) {
            const auto& copy = items[i];
            if (!copy)
                continue;
            const QByteArrayView parent = copy->parentFolderPathView();
            // A heap of a folder with itself counts its copies on both sides.
            for (int side = 0; side < 2; ++side) {
                if (parent != paths[side])
                    continue;
                SideCounts& c = counts[std::size_t(side)];
                ++c.total;
                auto group = copy->getGroup();
                const uint64_t groupTotal = group ? group->getTotalCount() : 0;
                const uint64_t groupSelected = group ? group->getActualSelectedCount() : 0;
                const uint64_t unselected = groupTotal - std::min(groupTotal, groupSelected);
                if (copy->isSelected())
                    ++c.selected;
                else if (unselected > 1)
                    c.safe = true;
                if ((copy->isSelected() || unselected <= 1) && group && groupTotal == groupSelected)
                    c.full = true;
            }
        }
    });
    std::array<SideCounts, 2> counts;
    for (const auto& slice : bySlice)
        for (std::size_t side = 0; side < 2; ++side) {
            counts[side].total += slice[side].total;
            counts[side].selected += slice[side].selected;
            counts[side].safe = counts[side].safe || slice[side].safe;
            counts[side].full = counts[side].full || slice[side].full;
        }
    return counts;
}

Look lookOfSide(const DuplicatesHeap& heap, bool mainFolder, bool allowRemovingAll,
                const std::array<SideCounts, 2>* counted) {
    Look look;
    FolderSystemItem* folder = mainFolder ? heap.getMainFolderItem() : heap.getSecondFolderItem();
    FolderSystemItem* other = mainFolder ? heap.getSecondFolderItem() : heap.getMainFolderItem();
    if (folder && folder->getDuplicateItem()) {
        look.tooltip = T::openInDuplicateFolders;
        look.hoverSwap = true;
        look.action = Action::LockedFolder;
        look.image = QStringLiteral("link_folders");
        return look;
    }
    look.image = QStringLiteral("checkbox0");
    look.alternateImage = QStringLiteral("checkbox1");
    const SideCounts counts = (counted ? *counted : countSides(heap))[mainFolder ? 0 : 1];
    const std::size_t total = counts.total;
    const std::size_t selected = counts.selected;
    const bool safe = counts.safe;
    const bool full = counts.full;
    const QString otherName = other ? other->displayName() : QString();
    if (allowRemovingAll) {
        const bool last =
            mainFolder ? heap.isHasLastItemsInMainFolder() : heap.isHasLastItemsInSecondFolder();
        if (selected > 0) {
            look.state = true;
            look.tooltip = T::deselectAllCommonTip.arg(otherName);
            if (selected < total) {
                if (!full) {
                    look.alternateImage = QStringLiteral("checkbox-");
                } else {
                    look.image = QStringLiteral("checkbox0_red");
                    look.alternateImage = QStringLiteral("checkbox-_red");
                }
            } else if (full) {
                look.image = QStringLiteral("checkbox0_red");
                look.alternateImage = QStringLiteral("checkbox1_red");
            }
        } else {
            look.tooltip = T::selectAllCommonTip.arg(otherName);
            if (last) {
                look.image = QStringLiteral("checkbox0_red");
                look.alternateImage = QStringLiteral("checkbox1_red");
            }
        }
        return look;
    }
    if (selected > 0) {
        look.state = true;
        look.tooltip = T::deselectAllCommonTip.arg(otherName);
        if (selected < total)
            look.alternateImage = QStringLiteral("checkbox-");
    } else if (safe) {
        look.tooltip = T::selectAllCommonTip.arg(otherName);
    } else {
        look.tooltip = T::lastCopiesFolderTip;
        look.image = QStringLiteral("checkbox_LastCopy");
        look.alternateImage.clear();
        look.action = Action::Disabled;
    }
    return look;
}

} // namespace

Look headerCheckboxLook(const DuplicatesHeap& heap, bool mainFolder, bool allowRemovingAll) {
    return lookOfSide(heap, mainFolder, allowRemovingAll, nullptr);
}

std::array<Look, 2> headerCheckboxLooks(const DuplicatesHeap& heap, bool allowRemovingAll) {
    const auto counts = countSides(heap);
    return {lookOfSide(heap, true, allowRemovingAll, &counts),
            lookOfSide(heap, false, allowRemovingAll, &counts)};
}

} // namespace HeapCheckboxRules
