#pragma once

#include <map>
#include <memory>

class DuplicatesGroup;
class DuplicateItem;
class HeapsFolderData;

// The last chosen group and copy per category type (-1 all files, 0 to 6 the categories)
// and the two folders last chosen in the similar-folders view, for the life of one results
// screen. Everything is remembered weakly and checked on the way out: a group that left
// its category or a copy that left its group is never handed back.
class CategoryStateManager final {
public:
    static CategoryStateManager& sharedManager();

    struct Items {
        std::shared_ptr<DuplicatesGroup> group;
        std::shared_ptr<DuplicateItem> fileItem;
    };
    // Empty members when nothing (still valid) was remembered for |type|.
    Items getItemsForType(int type) const;
    bool hasItemsForType(int type) const { return m_allCategories.count(type) != 0; }
    // Another group than the remembered one forgets the type's copy.
    void setDuplicateGroupForType(const std::shared_ptr<DuplicatesGroup>& group, int type);
    void setFileItemForType(const std::shared_ptr<DuplicateItem>& item, int type);
    void removeGategoryItems() { m_allCategories.clear(); }

    std::shared_ptr<HeapsFolderData> mainFolderItem() const { return m_mainFolder.lock(); }
    std::shared_ptr<HeapsFolderData> secondFolderItem() const { return m_secondFolder.lock(); }
    void setMainFolderItem(const std::shared_ptr<HeapsFolderData>& folder) {
        m_mainFolder = folder;
    }
    void setSecondFolderItem(const std::shared_ptr<HeapsFolderData>& folder) {
        m_secondFolder = folder;
    }
    void removeHeapsItems() {
        m_mainFolder.reset();
        m_secondFolder.reset();
    }

private:
    CategoryStateManager() = default;
    struct Entry {
        std::weak_ptr<DuplicatesGroup> group;
        std::weak_ptr<DuplicateItem> fileItem;
    };
    std::map<int, Entry> m_allCategories;
    std::weak_ptr<HeapsFolderData> m_mainFolder;
    std::weak_ptr<HeapsFolderData> m_secondFolder;
};
