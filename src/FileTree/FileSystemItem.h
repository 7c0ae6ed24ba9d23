#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>
#include <type_traits>

class ScanTree;
class FolderSystemItem;
class DuplicateItem;
class AutoSelectName;

// One node of the scanned tree: a file, or (through FolderSystemItem and VolumeSystemItem) a
// folder or a root. Nodes live in the arena of their ScanTree and are never deleted one by
// one; make them only through the static initialisers below, never on the stack.
//
// Memory budget (a scan makes one node per file and folder met, easily millions): a file node
// is 48 bytes plus its name bytes in the arena plus one pointer in its parent's children list.
// For a name of up to 16 bytes that stays under 96 bytes with the list's growth slack counted
// (bench/walk measures it). That is why there is no vtable: the operations that a folder does
// differently dispatch on the node's kind, and a file answers the neutral values, so callers
// may ask any node without first testing isDir().
//
// Names are the raw bytes the file system gave (not necessarily UTF-8); path() gives back
// bytes that reopen the file, displayName() decodes for display only.
//
// Threads: no lock. Walker threads make nodes, the walker's tree-building queue attaches them,
// then one scan stage at a time reads and marks them; callers keep to one thread at a time
// per tree.
class FileSystemItem {
public:
    enum class Kind : std::uint8_t { File, Folder, Volume };

    FileSystemItem(const FileSystemItem&) = delete;
    FileSystemItem& operator=(const FileSystemItem&) = delete;

    // Makes a file node in `tree` (the parent's tree when a parent is given). The time code
    // is ignored. With `parentShouldAppendToChildren` the node is appended to the parent's
    // children at once; otherwise only the parent link is set (the walker attaches later).
    static FileSystemItem* initWithPath(ScanTree& tree, QByteArrayView name,
                                        FolderSystemItem* parent, bool parentShouldAppendToChildren,
                                        std::int64_t itemsize, std::uint8_t timeCode, bool hidden,
                                        std::int64_t logicalFileSize);
    static FileSystemItem* initWithPathSize(ScanTree& tree, QByteArrayView name,
                                            FolderSystemItem* parent, std::int64_t itemsize,
                                            std::uint8_t timeCode, bool hidden,
                                            std::int64_t logicalFileSize);
    // Sets the parent link but leaves the parent's children alone.
    static FileSystemItem* initWithPathSizeNoParent(ScanTree& tree, QByteArrayView name,
                                                    FolderSystemItem* parent, std::int64_t itemsize,
                                                    std::uint8_t timeCode, bool hidden,
                                                    std::int64_t logicalFileSize);

    // The tree that owns this node; keeping it keeps the node alive.
    std::shared_ptr<ScanTree> tree() const;
    ScanTree& scanTree() const;

    Kind kind() const { return m_kind; }
    FolderSystemItem* asFolder();
    const FolderSystemItem* asFolder() const;

    // The wrapping group member while the node belongs to a duplicate group, else nullptr.
    // The member clears the link when it goes, so it never dangles.
    DuplicateItem* getDuplicateItem() const { return m_pDuplicateItem; }

    // Links to the result model (FileSystemItemLinks.cpp).
    //
    // Sets or clears the link to the group member that wraps this node. A member that its
    // group does not hold is not linked, and neither is one while the node's current member
    // still belongs to a group: a node belongs to at most one group at a time. For a folder,
    // every copy below is then tied to the outermost duplicate folder around it (with the
    // link cleared, each looks for another enclosing duplicate folder itself). Builds the
    // automatic-selection data.
    void setDuplicateItem(DuplicateItem* item);
    // Clears the link only when it names `item`, and nothing else: for a member that goes
    // away without leaving its group (the whole result is dropped).
    void clearDuplicateItemLink(const DuplicateItem* item);
    // The node's name taken apart for automatic selection; built on the first call and kept
    // (tried again while building answers nothing).
    AutoSelectName* getAutoSelectData();
    // The same when it was built already (a node linked to a member has it from the moment
    // it was linked), else null; never builds one, so safe from any thread.
    const AutoSelectName* getAutoSelectDataIfBuilt() const;
    // Passes `folder` to the linked member; a folder passes it to every node of its subtree,
    // parents before children.
    void updateAssociatedDuplicateFolderTo(DuplicateItem* folder);
    // Makes the linked member follow the selection of its associated duplicate folder; a
    // folder does so for every node of its subtree, parents before children.
    void updateDuplicateItemSelection();

    void recalculateCountOfDeepChildren();
    std::uint64_t getCountOfDeepChildren() const;
    std::uint64_t getCountOfDeepFilesWithHidden(bool withHidden) const;

    // The last component of path(), decoded for display; worked out on each call.
    QString displayName() const;
    // The same for a path already at hand (a node's path()).
    static QString displayNameOfPath(QByteArrayView path);
    std::int64_t logicalSize() const { return mnselfLogicalSize; }
    // The modification date read now from the file system; invalid when it cannot be read.
    QDateTime getFileItemLastModificationDate() const;
    // True when the parent or any folder above it is a package (the node itself not asked).
    bool isInPackage() const;

    void setHiddenFlag(bool hidden);
    bool isHiddenFlag() const { return (mntimeCode & kHiddenBit) != 0; }
    // The node or any ancestor is hidden.
    bool isTopHiddenFlag() const;

    // The node's own name (a root: the whole start path), as a copy of the bytes.
    QByteArray name() const { return QByteArray(nameData(), qsizetype(m_nameLength)); }
    // The same bytes without a copy; valid while the tree lives.
    QByteArrayView nameView() const { return QByteArrayView(nameData(), qsizetype(m_nameLength)); }

    // Size on disk as stored (for a folder: the total as last computed).
    std::int64_t gettotalsize() const { return mnselfsize; }
    // A file: its size on disk, 0 when negative, nothing stored. A folder: recomputes the
    // totals of its subtree and answers the size on disk.
    std::int64_t calctotalsize();

    // The full path as bytes, worked out from the ancestors on every call.
    QByteArray path() const;
    FolderSystemItem* parent() const { return m_parent; }

    bool isDir() const { return m_kind != Kind::File; }
    bool isPackage();
    FileSystemItem* childWithName(QByteArrayView name) const;

    bool isCheckedForDuplicates() const { return _isCheckedForDuplicates != 0; }
    void setIsCheckedForDuplicates(bool checked) { _isCheckedForDuplicates = checked ? 1 : 0; }

    // Hands the node its automatic-selection data, unless it has some already; the tree
    // deletes it when it goes. Answers the node's data now. A template so that the deleting
    // code is made where AutoSelectName is a complete type.
    template <typename T>
    T* adoptAutoSelectName(std::unique_ptr<T> data) {
        static_assert(std::is_same_v<T, AutoSelectName>);
        return static_cast<T*>(
            attachObject(data.release(), [](void* p) { delete static_cast<T*>(p); }));
    }

    // The size of a folder node (and a root's), which its name follows; checked where the
    // folder node is declared.
    static constexpr std::size_t kFolderNodeSize = 72;

protected:
    // The node's name bytes stand right after the node in the same arena block (no pointer
    // to them and no padding between them: a scan holds hundreds of thousands of nodes).
    FileSystemItem(Kind kind, std::uint32_t nameLength, FolderSystemItem* parent,
                   std::int64_t itemsize, bool hidden, std::int64_t logicalFileSize);
    const char* nameData() const {
        return reinterpret_cast<const char*>(this) +
               (m_kind == Kind::File ? sizeof(FileSystemItem) : kFolderNodeSize);
    }
    // Room in `tree` for a node of `nodeSize` bytes followed by `name`, which is copied there.
    static void* allocateWithName(ScanTree& tree, std::size_t nodeSize, QByteArrayView name);
    ~FileSystemItem() = default;
    void* attachObject(void* object, void (*deleter)(void*));
    static void appendPathTo(const FileSystemItem* node, QByteArray& out);

    static constexpr std::uint8_t kHiddenBit = 0x20;

    FolderSystemItem* m_parent;
    // Weak: the DuplicateItem sets and clears it.
    DuplicateItem* m_pDuplicateItem = nullptr;
    std::int64_t mnselfsize;
    std::int64_t mnselfLogicalSize;
    std::uint32_t m_nameLength;
    std::uint8_t mntimeCode = 0;
    std::int8_t _isCheckedForDuplicates = 0;
    Kind m_kind;
    // Folder state packed here to keep the folder node small: bit 0 package question
    // answered, bit 1 is a package.
    std::uint8_t m_folderBits = 0;

    friend class FolderSystemItem;
};
