#pragma once

#include "Categories/Separator.h"
#include "Walker/ContentHasher.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class FileSystemItem;
class FolderDescriptors;
class OperationQueue;
class ScanTree;
namespace Dispatch {
class SerialQueue;
}

// The key files are grouped under: the 32 lower-case hexadecimal digits of the MD5 of the
// whole content, or, for an empty file, its name followed by ":#filename#".
using ContentHashKey = QString;
// Key -> the files under it. Only keys holding two or more files are present: a file alone
// under its key has no copy, and a set for each such file would cost more memory than the
// rest of the separation.
using ItemsByContentHash = Separator::Map<ContentHashKey, FileSystemItem*>;

class FileSeparatorListener {
public:
    virtual ~FileSeparatorListener() = default;
    // Sent once per separation, on FileSeparator::workingQueue(); the listener owns the
    // dictionary from then on. It must not wait there for anything that itself needs that
    // queue.
    virtual void onFinishSeparateItemsByHash(ItemsByContentHash result) = 0;
};

// Splits a set of files of equal logical size by content, four files at a time on the shared
// digest threads. With a hasher that has a first look (the standard one), each file is first
// fingerprinted from the bytes its three-piece digest would read (files of up to three blocks
// whole), in one read per piece; a file alone under its fingerprint has no copy and is never
// read again, and the files sharing one are keyed by their whole-file digests. Otherwise each
// file is keyed by its three-piece digest and every key holding two or more files hashed in
// pieces is confirmed by hashing those files whole. Either way two files end under one key
// only when their whole contents are equal. A file that cannot be read joins no set.
//
// One separator serves one separation; make a new one for every set. All bookkeeping of
// every separator runs on the one serial queue "fileseparator.working", so the fields need no
// lock. The separator keeps itself, its listener and the trees of the given nodes alive until
// the listener is told, so the caller may let go of it at any time.
class FileSeparator final : public std::enable_shared_from_this<FileSeparator> {
    struct Token {};

public:
    // A separator reading files with `hasher` (the standard one when none is given).
    static std::shared_ptr<FileSeparator> create(std::shared_ptr<ContentHasher> hasher = {});
    FileSeparator(Token, std::shared_ptr<ContentHasher> hasher);
    ~FileSeparator();
    FileSeparator(const FileSeparator&) = delete;
    FileSeparator& operator=(const FileSeparator&) = delete;

    // Process-wide: when set, every later separation hashes whole files at once and needs no
    // second pass. Any thread.
    static void setUseForcedFullHashCalculation(bool forced);
    static bool useForcedFullHashCalculation();

    // The serial queue of every separator's bookkeeping and of the listener calls.
    static Dispatch::SerialQueue& workingQueue();

    // Lets the digests open files through `folders` (shared with other separations of the
    // same trees) instead of by their full paths. Call it before the separation starts.
    void useFolderDescriptors(std::shared_ptr<FolderDescriptors> folders);

    // Starts separating `items` (equal logical sizes, nodes of live trees) and returns at
    // once. The listener is told exactly once. Every item is marked checked for duplicates
    // as its pass takes it. A set of one file is answered with an empty dictionary at once
    // (the file stays marked); an empty set likewise.
    void separateItemsWithListener(QList<FileSystemItem*> items,
                                   std::shared_ptr<FileSeparatorListener> listener);

    // Ends the separation early, from any thread: digests not yet started are dropped, every
    // file of the set is marked unchecked again and, once the digests already running have
    // ended, the listener gets an empty dictionary. Once the listener has been told, a stop
    // changes nothing.
    void stop();

private:
    // Look: a quick fingerprint of the bytes the partial digest would read; the files that
    // share one are then hashed whole. Partial: the three-piece digest (for a hasher without
    // a first look). Full: whole-file digests.
    enum class Pass { Look, Partial, Full };
    struct ComputedKey {
        FileSystemItem* item = nullptr;
        std::optional<ContentHashKey> key;
        std::optional<std::uint64_t> look;
        bool hashedInPieces = false;
    };

    // All of these run on the working queue.
    void start(QList<FileSystemItem*> items, std::shared_ptr<FileSeparatorListener> listener);
    void runPass(const QList<FileSystemItem*>& items, Pass pass);
    void saveKey(FileSystemItem* item, const std::optional<ContentHashKey>& key,
                 bool hashedInPieces);
    void saveLook(FileSystemItem* item, std::uint64_t look);
    void countSaved();
    // The files that share their fingerprint with another, in the order of the set.
    QList<FileSystemItem*> takeSharedLooks();
    void stopOnWorkingQueue();
    void finish();
    void notifyListener();
    // A stopped separation: tells the listener once the running digests have ended.
    void reportWhenDrained();
    void retireOperationQueue();

    // About the bytes a pass reads of the file.
    std::uint64_t bytesToRead(const FileSystemItem* item, Pass pass) const;
    // Runs on a digest thread: the key of one file.
    void computeKey(ComputedKey& computed, Pass pass);

    const std::shared_ptr<ContentHasher> m_hasher;
    bool m_bIsSeparationCanceled = false;
    bool m_bListenerTold = false;
    // A stopped separation waiting for its running digests before it reports.
    bool m_bDraining = false;
    // Read by the digest threads: true once nothing computed from now on can be used.
    std::atomic<bool> m_bResultClosed{false};
    std::shared_ptr<FileSeparatorListener> m_pListener;
    std::uint64_t m_nCountOfItemsRestToSeparate = 0;
    QList<FileSystemItem*> m_arrItemsForSeparate;
    // Keys met once so far, with their file and whether it was hashed in pieces; a key moves
    // to the dictionary below when its second file comes.
    struct LoneFile {
        FileSystemItem* item = nullptr;
        bool hashedInPieces = false;
    };
    QHash<ContentHashKey, LoneFile> m_loneFiles;
    // The fingerprints of the first look, with their files.
    std::vector<std::pair<std::uint64_t, FileSystemItem*>> m_looks;
    Pass m_currentPass = Pass::Partial;
    // Keys holding two or more files.
    ItemsByContentHash m_arrItemsByFileContentHash;
    // The keys of the dictionary above holding a file hashed in pieces: they are confirmed by
    // whole-file digests.
    QSet<ContentHashKey> m_arrHashThatNeedToCheckFully;
    std::shared_ptr<OperationQueue> m_pFilterOperationQueue;
    std::uint64_t m_nHashBlockSize = 0;
    std::uint64_t m_nHashMaxSize = 0;
    std::shared_ptr<FolderDescriptors> m_folders;
    // Keeps the nodes valid while digest threads read their paths.
    std::vector<std::shared_ptr<ScanTree>> m_trees;
    // Set while a separation runs, so it ends and reports even when the caller lets go.
    std::shared_ptr<FileSeparator> m_self;
};
