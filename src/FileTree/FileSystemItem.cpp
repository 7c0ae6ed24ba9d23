#include "FileTree/FileSystemItem.h"

#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "Platform/PathAt.h"

#include <QFile>

#include <sys/stat.h>

#include <cassert>
#include <cstring>
#include <new>
#include <stdexcept>

FileSystemItem::FileSystemItem(Kind kind, std::uint32_t nameLength, FolderSystemItem* parent,
                               std::int64_t itemsize, bool hidden, std::int64_t logicalFileSize)
    : m_parent(parent), mnselfsize(itemsize), mnselfLogicalSize(logicalFileSize),
      m_nameLength(nameLength), m_kind(kind) {
    setHiddenFlag(hidden);
}

void* FileSystemItem::allocateWithName(ScanTree& tree, std::size_t nodeSize, QByteArrayView name) {
    // A name from the walk is one component (at most 255 bytes) and a root's a whole path (at
    // most 4096); anything near a chunk is no name of a file system.
    if (std::size_t(name.size()) > ScanTree::kChunkSize / 4)
        throw std::length_error("a node name longer than any path");
    void* memory = tree.allocateNode(nodeSize + std::size_t(name.size()));
    if (!name.isEmpty())
        std::memcpy(static_cast<char*>(memory) + nodeSize, name.data(), std::size_t(name.size()));
    return memory;
}

FileSystemItem* FileSystemItem::initWithPath(ScanTree& tree, QByteArrayView name,
                                             FolderSystemItem* parent,
                                             bool parentShouldAppendToChildren,
                                             std::int64_t itemsize, std::uint8_t /*timeCode*/,
                                             bool hidden, std::int64_t logicalFileSize) {
    assert(!parent || &parent->scanTree() == &tree);
    void* memory = allocateWithName(tree, sizeof(FileSystemItem), name);
    auto* node = new (memory) FileSystemItem(Kind::File, std::uint32_t(name.size()), parent,
                                             itemsize, hidden, logicalFileSize);
    if (parentShouldAppendToChildren && parent)
        parent->addChild(node);
    return node;
}

FileSystemItem* FileSystemItem::initWithPathSize(ScanTree& tree, QByteArrayView name,
                                                 FolderSystemItem* parent, std::int64_t itemsize,
                                                 std::uint8_t timeCode, bool hidden,
                                                 std::int64_t logicalFileSize) {
    return initWithPath(tree, name, parent, true, itemsize, timeCode, hidden, logicalFileSize);
}

FileSystemItem* FileSystemItem::initWithPathSizeNoParent(ScanTree& tree, QByteArrayView name,
                                                         FolderSystemItem* parent,
                                                         std::int64_t itemsize,
                                                         std::uint8_t timeCode, bool hidden,
                                                         std::int64_t logicalFileSize) {
    return initWithPath(tree, name, parent, false, itemsize, timeCode, hidden, logicalFileSize);
}

std::shared_ptr<ScanTree> FileSystemItem::tree() const {
    return ScanTree::owning(this)->shared_from_this();
}

ScanTree& FileSystemItem::scanTree() const {
    return *ScanTree::owning(this);
}

FolderSystemItem* FileSystemItem::asFolder() {
    return isDir() ? static_cast<FolderSystemItem*>(this) : nullptr;
}

const FolderSystemItem* FileSystemItem::asFolder() const {
    return isDir() ? static_cast<const FolderSystemItem*>(this) : nullptr;
}

void* FileSystemItem::attachObject(void* object, void (*deleter)(void*)) {
    return scanTree().attach(this, object, deleter);
}

void FileSystemItem::recalculateCountOfDeepChildren() {
    if (auto* folder = asFolder())
        folder->recalculateCountOfDeepChildren();
}

std::uint64_t FileSystemItem::getCountOfDeepChildren() const {
    const auto* folder = asFolder();
    return folder ? folder->getCountOfDeepChildren() : 0;
}

std::uint64_t FileSystemItem::getCountOfDeepFilesWithHidden(bool withHidden) const {
    const auto* folder = asFolder();
    return folder ? folder->getCountOfDeepFilesWithHidden(withHidden) : 0;
}

QString FileSystemItem::displayName() const {
    return displayNameOfPath(path());
}

QString FileSystemItem::displayNameOfPath(QByteArrayView full) {
    while (full.size() > 1 && full.endsWith('/'))
        full.chop(1);
    const qsizetype slash = full.lastIndexOf('/');
    if (slash >= 0 && full.size() > 1)
        full = full.sliced(slash + 1);
    // As QFile::decodeName() reads names, without copying the bytes first.
    return QString::fromLocal8Bit(full);
}

QDateTime FileSystemItem::getFileItemLastModificationDate() const {
    struct stat st;
    if (!PathAt::stat(path(), &st))
        return {};
    return QDateTime::fromMSecsSinceEpoch(qint64(st.st_mtim.tv_sec) * 1000 +
                                          st.st_mtim.tv_nsec / 1000000);
}

bool FileSystemItem::isInPackage() const {
    for (FolderSystemItem* folder = m_parent; folder; folder = folder->parent()) {
        if (folder->isPackage())
            return true;
    }
    return false;
}

void FileSystemItem::setHiddenFlag(bool hidden) {
    if (hidden)
        mntimeCode |= kHiddenBit;
    else
        mntimeCode &= std::uint8_t(~kHiddenBit);
}

bool FileSystemItem::isTopHiddenFlag() const {
    for (const FileSystemItem* node = this; node; node = node->m_parent) {
        if (node->isHiddenFlag())
            return true;
    }
    return false;
}

std::int64_t FileSystemItem::calctotalsize() {
    if (auto* folder = asFolder())
        return folder->calctotalsize();
    return mnselfsize < 0 ? 0 : mnselfsize;
}

void FileSystemItem::appendPathTo(const FileSystemItem* node, QByteArray& out) {
    if (node->m_parent) {
        appendPathTo(node->m_parent, out);
        if (!out.endsWith('/'))
            out.append('/');
    }
    out.append(node->nameData(), qsizetype(node->m_nameLength));
}

QByteArray FileSystemItem::path() const {
    // Asked for every file of a scan (to check it against the skip lists and to read it):
    // the chain is walked once to size the path, which is then written in one allocation.
    // The same text as appendPathTo: a "/" between names unless the text so far ends in one.
    constexpr int kMaxDepth = 128;
    const FileSystemItem* chain[kMaxDepth];
    int depth = 0;
    for (const FileSystemItem* node = this; node; node = node->m_parent) {
        if (depth == kMaxDepth) {
            QByteArray out;
            out.reserve(256);
            appendPathTo(this, out);
            return out;
        }
        chain[depth++] = node;
    }
    qsizetype length = 0;
    char last = 0; // the last character so far; 0 while there is none
    for (int i = depth - 1; i >= 0; --i) {
        const FileSystemItem* node = chain[i];
        if (i != depth - 1 && last != '/') {
            ++length;
            last = '/';
        }
        length += qsizetype(node->m_nameLength);
        if (node->m_nameLength > 0)
            last = node->nameData()[node->m_nameLength - 1];
    }
    QByteArray out(length, Qt::Uninitialized);
    char* at = out.data();
    for (int i = depth - 1; i >= 0; --i) {
        const FileSystemItem* node = chain[i];
        if (i != depth - 1 && (at == out.data() || at[-1] != '/'))
            *at++ = '/';
        if (node->m_nameLength > 0)
            std::memcpy(at, node->nameData(), node->m_nameLength);
        at += node->m_nameLength;
    }
    return out;
}

bool FileSystemItem::isPackage() {
    auto* folder = asFolder();
    return folder && folder->isPackage();
}

FileSystemItem* FileSystemItem::childWithName(QByteArrayView name) const {
    const auto* folder = asFolder();
    return folder ? folder->childWithName(name) : nullptr;
}
