#include "Scanner/SameFileFilter.h"

#include "FileTree/FileSystemItem.h"
#include "Platform/PathAt.h"
#include "Walker/FolderDescriptors.h"

#include <climits>
#include <cstring>
#include <fcntl.h>

#include <sys/stat.h>

#include <set>
#include <utility>

namespace {

// Reads the identity on disk of what the node's path names now. The walker makes no node
// for a link, but a path may still pass through one (a top folder chosen through a link).
bool identityOf(const FileSystemItem* node, FolderDescriptors* folders,
                std::pair<dev_t, ino_t>& identity) {
    struct stat info;
    std::shared_ptr<const FolderDescriptors::Descriptor> folder;
    const QByteArrayView name = node->nameView();
    if (folders && name.size() <= NAME_MAX && !name.isEmpty() && !name.contains('\0') &&
        !name.contains('/'))
        folder = folders->descriptorOf(node->parent());
    if (folder) {
        char text[NAME_MAX + 1];
        std::memcpy(text, name.data(), std::size_t(name.size()));
        text[name.size()] = '\0';
        // Followed as the whole path would be: the folder was opened through its path.
        if (::fstatat(folder->fd(), text, &info, 0) != 0)
            return false;
    } else if (!PathAt::stat(node->path(), &info, true)) {
        return false;
    }
    identity = {info.st_dev, info.st_ino};
    return true;
}

} // namespace

namespace SameFileFilter {

std::vector<FileSystemItem*> removeSameFiles(std::vector<FileSystemItem*>& nodes,
                                             FolderDescriptors* folders) {
    std::vector<FileSystemItem*> dropped;
    if (nodes.size() < 2)
        return dropped;
    std::set<std::pair<dev_t, ino_t>> seen;
    std::vector<FileSystemItem*> kept;
    kept.reserve(nodes.size());
    for (FileSystemItem* node : nodes) {
        std::pair<dev_t, ino_t> identity;
        if (identityOf(node, folders, identity) && seen.insert(identity).second)
            kept.push_back(node);
        else
            dropped.push_back(node);
    }
    nodes = std::move(kept);
    return dropped;
}

std::vector<FileSystemItem*> removeSameFiles(QSet<FileSystemItem*>& nodes,
                                             FolderDescriptors* folders) {
    if (nodes.size() < 2)
        return {};
    std::vector<FileSystemItem*> ordered(nodes.begin(), nodes.end());
    const std::vector<FileSystemItem*> dropped = removeSameFiles(ordered, folders);
    for (FileSystemItem* node : dropped)
        nodes.remove(node);
    return dropped;
}

} // namespace SameFileFilter
