#pragma once

#include <QByteArray>
#include <QTemporaryDir>

#include <memory>
#include <vector>

class DuplicatesContainer;
class DuplicatesGroup;
class FileSystemItem;
class FolderSystemItem;
class ScanTree;
class VolumeSystemItem;

namespace ScanFixture {

// A tree built from a real folder without the walker: every regular file and folder
// becomes a node (symbolic links none), names beginning with "." are hidden, and the totals
// are computed.
struct BuiltTree {
    std::shared_ptr<ScanTree> tree;
    VolumeSystemItem* root = nullptr;
    std::vector<FileSystemItem*> files;
    // The node at `relative` ("a/b.txt") below the root, or null.
    FileSystemItem* node(const QByteArray& relative) const;
    FolderSystemItem* folder(const QByteArray& relative) const;
};
BuiltTree buildTree(const QByteArray& rootPath);

// Content of `size` bytes from a seed: equal seeds give equal bytes.
QByteArray content(int seed, int size);
// A file of three 8192-byte pieces apart from a 40000-byte body: two files made with the
// same `pieces` and different `body` are equal at the start, the middle and the end of a
// three-piece digest and different elsewhere.
QByteArray piecesEqualContent(int pieces, int body);

// The sorted full paths of every file group (`withFolders`: also folder groups) of the
// container, one list per group, groups sorted; the hidden category included.
std::vector<std::vector<QByteArray>> groupPaths(const DuplicatesContainer& container,
                                                bool withFolders = false);
std::vector<QByteArray> pathsOf(const DuplicatesGroup& group);

} // namespace ScanFixture
