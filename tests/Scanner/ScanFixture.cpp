#include "ScanFixture.h"

#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <random>

namespace ScanFixture {

namespace {

void addChildren(ScanTree& tree, FolderSystemItem* folder, const QByteArray& path,
                 std::vector<FileSystemItem*>& files) {
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        return;
    std::vector<QByteArray> names;
    while (dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    for (const QByteArray& name : names) {
        const QByteArray childPath = path + '/' + name;
        struct stat info;
        if (::lstat(childPath.constData(), &info) != 0)
            continue;
        const bool hidden = name.startsWith('.');
        if (S_ISDIR(info.st_mode)) {
            FolderSystemItem* sub = FolderSystemItem::initWithPathSize(
                tree, name, folder, info.st_blocks * 512, false, 0, hidden, info.st_size);
            addChildren(tree, sub, childPath, files);
        } else if (S_ISREG(info.st_mode)) {
            files.push_back(FileSystemItem::initWithPathSize(
                tree, name, folder, info.st_blocks * 512, 0, hidden, info.st_size));
        }
    }
}

FileSystemItem* descend(FileSystemItem* node, const QByteArray& relative) {
    for (const QByteArray& part : relative.split('/')) {
        if (!node || part.isEmpty())
            continue;
        node = node->childWithName(part);
    }
    return node;
}

} // namespace

BuiltTree buildTree(const QByteArray& rootPath) {
    BuiltTree built;
    built.tree = ScanTree::create();
    built.root = VolumeSystemItem::initWithPath(*built.tree, rootPath, 0, 0);
    addChildren(*built.tree, built.root, rootPath, built.files);
    built.root->calctotalsizeex();
    return built;
}

FileSystemItem* BuiltTree::node(const QByteArray& relative) const {
    return descend(root, relative);
}

FolderSystemItem* BuiltTree::folder(const QByteArray& relative) const {
    FileSystemItem* found = node(relative);
    return found ? found->asFolder() : nullptr;
}

QByteArray content(int seed, int size) {
    std::mt19937 random(std::uint32_t(seed) * 2654435761u + 17);
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(random() & 0xff);
    return bytes;
}

QByteArray piecesEqualContent(int pieces, int body) {
    QByteArray bytes = content(body, 40000);
    const QByteArray fixed = content(pieces, 40000);
    // The digest pieces of a 40000-byte file with 8192-byte blocks: [0, 8192),
    // [28672, 36864) (the end piece, floored to 4096) and [12288, 20480) (the middle).
    for (auto [from, to] : {std::pair{0, 8192}, std::pair{12288, 20480}, std::pair{28672, 36864}})
        bytes.replace(from, to - from, fixed.mid(from, to - from));
    return bytes;
}

std::vector<QByteArray> pathsOf(const DuplicatesGroup& group) {
    std::vector<QByteArray> paths;
    for (FileSystemItem* node : group.getFileSystemItems())
        paths.push_back(node->path());
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::vector<std::vector<QByteArray>> groupPaths(const DuplicatesContainer& container,
                                                bool withFolders) {
    std::vector<std::vector<QByteArray>> groups;
    for (const auto& category : container.getCategories()) {
        if (!withFolders && category->getType() == 6)
            continue;
        for (const auto& group : category->getGroups()) {
            if (!withFolders && group->getTotalCount() > 0 &&
                group->getItems().front()->getFileSystemItem()->isDir())
                continue;
            groups.push_back(pathsOf(*group));
        }
    }
    std::sort(groups.begin(), groups.end());
    return groups;
}

} // namespace ScanFixture
