#include "Browser/Similars/HeapCheckboxRules.h"

#include "Browser/Similars/HeapFilesTexts.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
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

Look headerCheckboxLook(const DuplicatesHeap& heap, bool mainFolder, bool allowRemovingAll) {
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
    const QByteArray path = folder ? folder->path() : QByteArray();
    std::size_t total = 0;
    std::size_t selected = 0;
    bool safe = false;
    bool full = false;
    for (const auto& copy : heap.getDuplicateItems().items()) {
        if (!copy || copy->parentFolderPathView() != path)
            continue;
        ++total;
        auto group = copy->getGroup();
        const uint64_t groupTotal = group ? group->getTotalCount() : 0;
        const uint64_t groupSelected = group ? group->getActualSelectedCount() : 0;
        const uint64_t unselected = groupTotal - std::min(groupTotal, groupSelected);
        if (copy->isSelected())
            ++selected;
        else if (unselected > 1)
            safe = true;
        if ((copy->isSelected() || unselected <= 1) && group && groupTotal == groupSelected)
            full = true;
    }
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

} // namespace HeapCheckboxRules
