#include "FileSeparator.h"

#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/ScanTree.h"
#include "Platform/Dispatch.h"
#include "Platform/OperationQueue.h"
#include "Walker/DigestPool.h"
#include "Walker/FolderDescriptors.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

std::atomic<bool> g_forcedFullHashCalculation{false};

const char kEmptyFileKeySuffix[] = ":#filename#";

// One digest operation takes at most this many files, and stops taking more once it has this
// many bytes to read.
constexpr qsizetype kMaxFilesPerDigestRun = 64;
constexpr std::uint64_t kMaxBytesPerDigestRun = 1024 * 1024;

// The key of an empty file: no content to read, so files group by name. A name that is not
// UTF-8 is written byte for byte after a "/", which no name can hold, so two different
// names never meet under one key.
ContentHashKey emptyFileKey(const FileSystemItem* item) {
    const QByteArrayView name = item->nameView();
    const QString text =
        name.isValidUtf8() ? QString::fromUtf8(name) : QLatin1Char('/') + QString::fromLatin1(name);
    return text + QLatin1String(kEmptyFileKeySuffix);
}

} // namespace

std::shared_ptr<FileSeparator> FileSeparator::create(std::shared_ptr<ContentHasher> hasher) {
    return std::make_shared<FileSeparator>(Token{}, std::move(hasher));
}

FileSeparator::FileSeparator(Token, std::shared_ptr<ContentHasher> hasher)
    : m_hasher(hasher ? std::move(hasher) : ContentHasher::standard()) {
    workingQueue();
}

FileSeparator::~FileSeparator() = default;

void FileSeparator::setUseForcedFullHashCalculation(bool forced) {
    g_forcedFullHashCalculation.store(forced);
}

bool FileSeparator::useForcedFullHashCalculation() {
    return g_forcedFullHashCalculation.load();
}

Dispatch::SerialQueue& FileSeparator::workingQueue() {
    // Never destroyed: separators may still report while the process ends.
    static auto* const queue = new Dispatch::SerialQueue(QStringLiteral("fileseparator.working"));
    return *queue;
}

void FileSeparator::useFolderDescriptors(std::shared_ptr<FolderDescriptors> folders) {
    m_folders = std::move(folders);
}

void FileSeparator::separateItemsWithListener(QList<FileSystemItem*> items,
                                              std::shared_ptr<FileSeparatorListener> listener) {
    workingQueue().async([self = shared_from_this(), items = std::move(items),
                          listener = std::move(listener)]() mutable {
        self->start(std::move(items), std::move(listener));
    });
}

void FileSeparator::stop() {
    workingQueue().async([self = shared_from_this()] { self->stopOnWorkingQueue(); });
}

void FileSeparator::start(QList<FileSystemItem*> items,
                          std::shared_ptr<FileSeparatorListener> listener) {
    m_pListener = std::move(listener);
    m_arrItemsForSeparate = std::move(items);
    m_loneFiles.clear();
    m_arrItemsByFileContentHash.clear();
    m_arrHashThatNeedToCheckFully.clear();
    for (FileSystemItem* item : std::as_const(m_arrItemsForSeparate)) {
        ScanTree* tree = ScanTree::owning(item);
        if (std::none_of(m_trees.begin(), m_trees.end(),
                         [tree](const auto& held) { return held.get() == tree; }))
            m_trees.push_back(item->tree());
    }

    if (m_bIsSeparationCanceled) {
        // Stopped before it began: nothing is hashed.
        finish();
        return;
    }
    if (m_arrItemsForSeparate.size() >= 2) {
        m_nHashBlockSize = Settings::hashBlockSize();
        m_nHashMaxSize = 3 * m_nHashBlockSize;
        m_pFilterOperationQueue = std::make_shared<OperationQueue>(
            QStringLiteral("Separating Queue"), DigestPool::shared());
        m_pFilterOperationQueue->setMaxConcurrentOperationCount(DigestPool::kDigestsPerSeparation);
        m_self = shared_from_this();
        runPass(m_arrItemsForSeparate, useForcedFullHashCalculation() ? Pass::Full
                                       : m_hasher->hasFirstLook()     ? Pass::Look
                                                                      : Pass::Partial);
        return;
    }
    if (m_arrItemsForSeparate.size() == 1)
        m_arrItemsForSeparate.front()->setIsCheckedForDuplicates(true);
    notifyListener();
}

void FileSeparator::runPass(const QList<FileSystemItem*>& items, Pass pass) {
    m_currentPass = pass;
    m_nCountOfItemsRestToSeparate = static_cast<std::uint64_t>(items.size());
    const std::weak_ptr<FileSeparator> weakSelf = weak_from_this();
    // Digests of small files take microseconds: one operation and one hop to the working
    // queue per file would cost more in thread hand-offs than the digest itself. So each
    // operation takes a run of files in order and saves their keys in one hop. Runs stay
    // short enough that the set is still spread over all the digest threads and that a
    // stop drops most of the work not yet started.
    const qsizetype count = items.size();
    const qsizetype perRun = std::clamp<qsizetype>((count + DigestPool::kDigestsPerSeparation - 1) /
                                                       DigestPool::kDigestsPerSeparation,
                                                   1, kMaxFilesPerDigestRun);
    for (qsizetype first = 0; first < count;) {
        // The run's keys are made here and filled on the digest thread, which so allocates
        // next to nothing: memory taken on one thread and freed on another keeps every
        // thread's allocator arena from giving it back.
        // Sized exactly: a run of large files may hold a single one.
        qsizetype end = first;
        std::uint64_t bytes = 0;
        while (end < count && end - first < perRun && bytes < kMaxBytesPerDigestRun)
            bytes += bytesToRead(items[end++], pass);
        std::vector<ComputedKey> keys(std::size_t(end - first));
        for (ComputedKey& computed : keys) {
            computed.item = items[first++];
            computed.item->setIsCheckedForDuplicates(true);
        }
        m_pFilterOperationQueue->addOperationWithBlock(
            [weakSelf, keys = std::move(keys), pass]() mutable {
                // While the separation runs, the strong reference goes with the save onto the
                // working queue, so the last one never goes on a digest thread while the
                // separator still owns this operation's queue (whose end waits for its digests).
                // Once the result is closed the queue has been handed off, and nothing is read.
                std::shared_ptr<FileSeparator> self = weakSelf.lock();
                if (!self)
                    return;
                for (ComputedKey& computed : keys) {
                    if (self->m_bResultClosed.load())
                        return;
                    self->computeKey(computed, pass);
                }
                workingQueue().async([self = std::move(self), keys = std::move(keys)] {
                    for (const ComputedKey& computed : keys) {
                        if (computed.look)
                            self->saveLook(computed.item, *computed.look);
                        else
                            self->saveKey(computed.item, computed.key, computed.hashedInPieces);
                    }
                });
            });
    }
}

std::uint64_t FileSeparator::bytesToRead(const FileSystemItem* item, Pass pass) const {
    const auto size = static_cast<std::uint64_t>(std::max<std::int64_t>(item->logicalSize(), 0));
    if (pass == Pass::Full || size <= m_nHashMaxSize)
        return size;
    return m_nHashMaxSize;
}

void FileSeparator::computeKey(ComputedKey& computed, Pass pass) {
    FileSystemItem* const item = computed.item;
    const std::int64_t logicalSize = item->logicalSize();
    if (logicalSize == 0) {
        computed.key = emptyFileKey(item);
        return;
    }
    // Through its folder's descriptor when there is one: no path to build or look up.
    std::shared_ptr<const FolderDescriptors::Descriptor> folder;
    const QByteArrayView name = item->nameView();
    char nameText[NAME_MAX + 1];
    FileInFolder in;
    if (m_folders && name.size() <= NAME_MAX && !name.contains('\0'))
        folder = m_folders->descriptorOf(item->parent());
    if (folder) {
        std::memcpy(nameText, name.data(), std::size_t(name.size()));
        nameText[name.size()] = '\0';
        in = FileInFolder{folder->fd(), nameText, item};
    }
    if (pass == Pass::Full) {
        computed.key = folder ? m_hasher->hashforFileIn(in) : m_hasher->hashforFile(item->path());
        return;
    }
    const auto size = static_cast<std::uint64_t>(std::max<std::int64_t>(logicalSize, 0));
    // Pieces are read only from just above three blocks. At exactly three blocks they are as
    // long as the file, so the digest of one file's pieces could equal the whole-file digest
    // of another, different file of the set ([A][B][C] has the pieces A, C, B: all of
    // [A][C][B]) and the two would meet under one key after the second pass. Reading such a
    // file whole costs the same bytes and leaves no doubt.
    const std::uint64_t threshold = m_nHashMaxSize + 1;
    // The same rule the digest applies: from the threshold on, only the pieces are read.
    if (pass == Pass::Look) {
        // Unreadable: neither a fingerprint nor a key, so the file joins no set.
        computed.look = folder
                            ? m_hasher->firstLookIn(in, size, m_nHashBlockSize, threshold)
                            : m_hasher->firstLook(item->path(), size, m_nHashBlockSize, threshold);
        return;
    }
    computed.hashedInPieces = size >= threshold && m_nHashBlockSize > 0;
    computed.key =
        folder ? m_hasher->hashforFilePartlyIn(in, size, m_nHashBlockSize, threshold)
               : m_hasher->hashforFilePartly(item->path(), size, m_nHashBlockSize, threshold);
}

void FileSeparator::saveLook(FileSystemItem* item, std::uint64_t look) {
    if (m_nCountOfItemsRestToSeparate == 0)
        return;
    --m_nCountOfItemsRestToSeparate;
    m_looks.emplace_back(look, item);
    countSaved();
}

QList<FileSystemItem*> FileSeparator::takeSharedLooks() {
    std::vector<std::pair<std::uint64_t, FileSystemItem*>> looks = std::move(m_looks);
    m_looks.clear();
    std::sort(looks.begin(), looks.end());
    QSet<FileSystemItem*> shared;
    for (std::size_t i = 0; i < looks.size();) {
        std::size_t end = i + 1;
        while (end < looks.size() && looks[end].first == looks[i].first)
            ++end;
        if (end - i >= 2) {
            for (std::size_t k = i; k < end; ++k)
                shared.insert(looks[k].second);
        }
        i = end;
    }
    QList<FileSystemItem*> ordered;
    if (shared.isEmpty())
        return ordered;
    ordered.reserve(shared.size());
    for (FileSystemItem* item : std::as_const(m_arrItemsForSeparate))
        if (shared.contains(item))
            ordered.append(item);
    return ordered;
}

void FileSeparator::saveKey(FileSystemItem* item, const std::optional<ContentHashKey>& key,
                            bool hashedInPieces) {
    if (m_nCountOfItemsRestToSeparate == 0)
        return;
    --m_nCountOfItemsRestToSeparate;
    if (key) {
        const auto grouped = m_arrItemsByFileContentHash.find(*key);
        if (grouped != m_arrItemsByFileContentHash.end()) {
            grouped->insert(item);
            if (hashedInPieces)
                m_arrHashThatNeedToCheckFully.insert(*key);
        } else if (const auto lone = m_loneFiles.constFind(*key); lone != m_loneFiles.cend()) {
            if (lone->item != item) {
                if (hashedInPieces || lone->hashedInPieces)
                    m_arrHashThatNeedToCheckFully.insert(*key);
                m_arrItemsByFileContentHash.insert(*key, {lone->item, item});
                m_loneFiles.erase(lone);
            }
        } else {
            m_loneFiles.insert(*key, LoneFile{item, hashedInPieces});
        }
    }
    countSaved();
}

void FileSeparator::countSaved() {
    if (m_bIsSeparationCanceled) {
        m_nCountOfItemsRestToSeparate = 0;
        finish();
    } else if (m_nCountOfItemsRestToSeparate == 0) {
        finish();
    }
}

void FileSeparator::stopOnWorkingQueue() {
    if (m_bIsSeparationCanceled)
        return;
    m_bIsSeparationCanceled = true;
    // Once the listener has the result, the files may already belong to groups: unchecking
    // them now would let a later stage take them a second time.
    if (m_bListenerTold)
        return;
    m_bResultClosed.store(true);
    if (m_pFilterOperationQueue)
        m_pFilterOperationQueue->cancelAllOperations();
    m_nCountOfItemsRestToSeparate = 0;
    finish();
}

void FileSeparator::finish() {
    if (m_bListenerTold || m_bDraining)
        return;
    if (m_bIsSeparationCanceled) {
        for (FileSystemItem* item : std::as_const(m_arrItemsForSeparate))
            item->setIsCheckedForDuplicates(false);
        m_loneFiles.clear();
        m_looks.clear();
        m_arrItemsByFileContentHash.clear();
        reportWhenDrained();
        return;
    }
    if (m_currentPass == Pass::Look) {
        // Files alone under their fingerprint have no copy; the others are hashed whole (a
        // fingerprint only says they may be equal).
        const QList<FileSystemItem*> shared = takeSharedLooks();
        if (!shared.isEmpty()) {
            runPass(shared, Pass::Full);
            return;
        }
    }

    // A file alone under its key has no copy.
    m_loneFiles = {};
    // A three-piece digest only says the pieces are equal: every such key holding two or
    // more files is hashed again in full, whatever the files' names, before anyone sees it.
    QList<FileSystemItem*> gathered;
    for (const ContentHashKey& key : std::as_const(m_arrHashThatNeedToCheckFully)) {
        const auto found = m_arrItemsByFileContentHash.constFind(key);
        if (found == m_arrItemsByFileContentHash.cend())
            continue;
        for (FileSystemItem* item : *found)
            gathered.append(item);
        m_arrItemsByFileContentHash.erase(found);
    }
    m_arrHashThatNeedToCheckFully.clear();
    if (!gathered.isEmpty()) {
        // In the order the set was given, so the digests are asked for in a stable order.
        const QSet<FileSystemItem*> again(gathered.cbegin(), gathered.cend());
        QList<FileSystemItem*> ordered;
        ordered.reserve(gathered.size());
        for (FileSystemItem* item : std::as_const(m_arrItemsForSeparate))
            if (again.contains(item))
                ordered.append(item);
        runPass(ordered, Pass::Full);
        return;
    }
    notifyListener();
}

void FileSeparator::notifyListener() {
    // Without a listener (a stop before the separation began) nobody is told yet; the start
    // that follows tells its listener.
    if (m_pListener)
        m_bListenerTold = true;
    m_bResultClosed.store(true);
    retireOperationQueue();
    std::shared_ptr<FileSeparatorListener> listener = std::move(m_pListener);
    m_pListener.reset();
    ItemsByContentHash result = std::move(m_arrItemsByFileContentHash);
    m_arrItemsByFileContentHash.clear();
    if (listener)
        listener->onFinishSeparateItemsByHash(std::move(result));
    // The block running this holds its own reference, so letting go here is safe.
    m_self.reset();
}

void FileSeparator::reportWhenDrained() {
    std::shared_ptr<OperationQueue> queue = std::move(m_pFilterOperationQueue);
    m_pFilterOperationQueue.reset();
    if (!queue) {
        notifyListener();
        return;
    }
    queue->cancelAllOperations();
    // A stopped separation may still be reading a large file. Its listener is told only once
    // those digests have ended, so no work of the separation outlives its report; the waiting
    // is done off the working queue, which serves every separator of the process.
    m_bDraining = true;
    Dispatch::globalQueue().async([self = shared_from_this(), queue = std::move(queue)] {
        queue->waitUntilAllOperationsAreFinished();
        workingQueue().async([self] {
            self->m_bDraining = false;
            self->notifyListener();
        });
    });
}

void FileSeparator::retireOperationQueue() {
    if (!m_pFilterOperationQueue)
        return;
    std::shared_ptr<OperationQueue> queue = std::move(m_pFilterOperationQueue);
    m_pFilterOperationQueue.reset();
    queue->cancelAllOperations();
    if (queue->operationCount() == 0)
        return;
    // Letting go of a queue waits for its running digests (a stopped separation may still
    // be reading a large file): do that waiting off the working queue, which serves every
    // separator of the process.
    Dispatch::globalQueue().async([queue = std::move(queue)] {});
}
