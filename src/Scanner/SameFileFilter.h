#pragma once

#include <QList>
#include <QSet>

#include <vector>

class FileSystemItem;
class FolderDescriptors;

// Two nodes of one scan can stand for one file on disk: hard links, a folder reached under
// two names (a bind mount), a file given twice. Such nodes are never copies of each other:
// removing one frees nothing, and removing "all but one" could remove the only content.
// These helpers keep the first node of every (device, inode) pair and drop the others;
// nodes that cannot be examined any more are dropped as well.
namespace SameFileFilter {

// Drops from `nodes` every node that is the same file or folder as an earlier one (in
// order) and every node that no longer exists. Answers the dropped nodes. Reads the file
// system once per node.
// With `folders`, a node is looked up by name inside its folder's open descriptor (when it has
// one) instead of by its whole path.
std::vector<FileSystemItem*> removeSameFiles(std::vector<FileSystemItem*>& nodes,
                                             FolderDescriptors* folders = nullptr);

// The same for a set of equal-content files; sets of fewer than two are left alone, since
// they never become groups.
std::vector<FileSystemItem*> removeSameFiles(QSet<FileSystemItem*>& nodes,
                                             FolderDescriptors* folders = nullptr);

} // namespace SameFileFilter
