#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

class FolderSystemItem;

// One folder waiting to be read: the node its entries get as parent, and the folder's path
// bytes (a reference any walker thread can open) with the device and inode it had when it
// was listed, so a folder swapped for another one meanwhile is not read.
struct StackItem_Folder {
    FolderSystemItem* folderItem = nullptr;
    QByteArray path;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// A walker's own last-in-first-out stack of folders still to read. Used by one thread.
class StackCollection final {
public:
    void pushItem(StackItem_Folder item) { m_items.push_back(std::move(item)); }
    // Answers false on an empty stack.
    bool popItem(StackItem_Folder& out) {
        if (m_items.empty())
            return false;
        out = std::move(m_items.back());
        m_items.pop_back();
        return true;
    }
    std::uint64_t nDepth() const { return m_items.size(); }
    void clearStack() { m_items.clear(); }

private:
    std::vector<StackItem_Folder> m_items;
};
