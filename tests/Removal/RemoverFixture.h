#pragma once

#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/Dispatch.h"
#include "Platform/FileManager.h"
#include "Removal/DuplicatesRemover.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <dirent.h>
#include <mutex>
#include <sys/stat.h>

// A file manager that records what was asked of it and can play a volume without a Trash
// (under `noTrashPrefix`) or a refused permanent removal (under `refuseRemovalPrefix`).
// Everything else goes to the real file manager.
class RecordingFileManager : public FileManager {
public:
    QByteArray noTrashPrefix;
    QByteArray refuseRemovalPrefix;
    // Called after every trash or removal attempt (on the remover's file-operation queue).
    std::function<void(const QByteArray&)> afterAttempt;

    bool trashItemAtPath(const QByteArray& path, FileError* error) const override {
        record(path);
        bool ok = false;
        if (!noTrashPrefix.isEmpty() && path.startsWith(noTrashPrefix)) {
            *error = FileError{VolumeHasNoTrashError, "This volume has no Trash."};
        } else {
            ok = FileManager::trashItemAtPath(path, error);
        }
        if (afterAttempt)
            afterAttempt(path);
        return ok;
    }
    bool removeItemAtPath(const QByteArray& path, FileError* error) const override {
        record(path);
        bool ok = false;
        if (!refuseRemovalPrefix.isEmpty() && path.startsWith(refuseRemovalPrefix)) {
            *error = FileError{NoWritePermissionError, "Permission denied"};
        } else {
            ok = FileManager::removeItemAtPath(path, error);
        }
        if (afterAttempt)
            afterAttempt(path);
        return ok;
    }
    QByteArray volumePathPrefixOfPath(const QByteArray& path) const override {
        if (!noTrashPrefix.isEmpty() && path.startsWith(noTrashPrefix))
            return noTrashPrefix;
        return FileManager::volumePathPrefixOfPath(path);
    }
    QString localizedNameOfVolumeForPath(const QByteArray& path) const override {
        if (!noTrashPrefix.isEmpty() && path.startsWith(noTrashPrefix))
            return QStringLiteral("Stick");
        return FileManager::localizedNameOfVolumeForPath(path);
    }

    std::vector<QByteArray> attempts() const {
        std::lock_guard lock(m_mutex);
        return m_attempts;
    }
    int attemptsAt(const QByteArray& path) const {
        const auto all = attempts();
        return int(std::count(all.begin(), all.end(), path));
    }

private:
    void record(const QByteArray& path) const {
        std::lock_guard lock(m_mutex);
        m_attempts.push_back(path);
    }
    mutable std::mutex m_mutex;
    mutable std::vector<QByteArray> m_attempts;
};

// Records the listener calls: the batches (as paths), the processed count at each, and
// whether any came off the main thread or after the end.
class RecordingListener final : public DuplicatesRemoverListener {
public:
    std::vector<std::vector<QByteArray>> batches;
    std::vector<std::uint64_t> processedAtCall;
    bool finished = false;
    bool batchAfterFinish = false;
    bool offMainThread = false;
    std::shared_ptr<DuplicatesRemover> remover;

    void
    onDidRemovedDuplicateItems(const std::vector<std::shared_ptr<DuplicateItem>>& items) override {
        offMainThread = offMainThread || !Dispatch::isMainThread();
        batchAfterFinish = batchAfterFinish || finished;
        std::vector<QByteArray> paths;
        for (const auto& item : items)
            paths.push_back(item->getFileItemPath());
        batches.push_back(paths);
        if (remover)
            processedAtCall.push_back(remover->getCountOfProcessedItems());
    }
    void onRemoveFinished() override {
        offMainThread = offMainThread || !Dispatch::isMainThread();
        finished = true;
    }
    std::size_t removedCount() const {
        std::size_t n = 0;
        for (const auto& b : batches)
            n += b.size();
        return n;
    }
};

// What a copy holds, whatever its name: the bytes of a file, or for a folder every file
// below it by relative path and bytes (links and other kinds by their kind only; the names
// a scan never takes, such as ".DS_Store", left out as the scan leaves them). Never
// follows a link. Empty when nothing readable is at the path.
inline QByteArray contentSignature(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return {};
    if (S_ISREG(st.st_mode)) {
        QFile file(QFile::decodeName(path));
        return file.open(QIODevice::ReadOnly) ? "file:" + file.readAll() : QByteArray();
    }
    if (!S_ISDIR(st.st_mode))
        return S_ISLNK(st.st_mode) ? "link" : "other";
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        return {};
    QList<QByteArray> names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != ".." && name != ".DS_Store" && name != "Thumbs.db" &&
            name != ".localized")
            names.append(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    QByteArray signature = "folder:";
    for (const QByteArray& name : names) {
        const QByteArray inner = contentSignature(path + "/" + name);
        signature += QByteArray::number(name.size()) + ':' + name +
                     QByteArray::number(inner.size()) + ':' + inner;
    }
    return signature;
}

// The signatures of everything at or below `root`, links never followed.
inline void collectSignatures(const QByteArray& root, QSet<QByteArray>* out) {
    out->insert(contentSignature(root));
    struct stat st {};
    if (::lstat(root.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return;
    DIR* dir = ::opendir(root.constData());
    if (!dir)
        return;
    QList<QByteArray> names;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.append(entry->d_name);
    }
    ::closedir(dir);
    for (const QByteArray& name : names)
        collectSignatures(root + "/" + name, out);
}

// Which of `groups` (a name for each group -> what its copies held) has no real copy left
// anywhere at or below `root`, found by content and not by path. `root` must not hold the
// Trash, so a trashed copy never counts.
inline QStringList groupsWithoutARealCopy(const QByteArray& root,
                                          const QMap<QString, QByteArray>& groups) {
    QSet<QByteArray> present;
    collectSignatures(root, &present);
    QStringList missing;
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        if (!present.contains(it.value()))
            missing.append(it.key());
    }
    return missing;
}

// Real files in a temporary folder next to the temporary Trash, scanned into a tree, with
// groups made over them as a scan would. Every run through run() is followed by the check
// that each group of the run still has a real copy on disk (by content), unless the test
// let a group go whole (allowAllCopiesToGo).
class RemoverFixture : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        // The home Trash takes files on the home folder's volume: make the temporary
        // per-user folders the home, so that the test files go to their Trash.
        qputenv("HOME", QFile::encodeName(tempHome()));
    }
    static QString tempHome() {
        return QDir(qEnvironmentVariable("XDG_DATA_HOME") + "/..").absolutePath();
    }
    static QString trashFolder() { return qEnvironmentVariable("XDG_DATA_HOME") + "/Trash"; }
    // The .trashinfo record of a trashed item; empty when there is none.
    static QByteArray trashInfo(const QString& name) {
        QFile file(trashFolder() + "/info/" + name + ".trashinfo");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_root = QFile::encodeName(QDir(m_dir.path()).canonicalPath());
        ASSERT_TRUE(TestSupport::emptyUserTrash());
    }

    QByteArray path(const QByteArray& relative) const { return m_root + "/" + relative; }
    void write(const QByteArray& relative, const QByteArray& contents) {
        ASSERT_TRUE(TestSupport::writeFile(path(relative), contents));
    }
    bool exists(const QByteArray& relative) const {
        struct stat st {};
        return ::lstat(path(relative).constData(), &st) == 0;
    }

    // Builds the tree of everything under the temporary folder (as the walker would: no
    // nodes for links, devices or ".DS_Store"-like names) and a container over it.
    void scan() {
        waitPastTheFileClockTick();
        m_tree = ScanTree::create();
        m_nodes.clear();
        VolumeSystemItem* root = VolumeSystemItem::initWithPath(*m_tree, m_root, 0, 0);
        scanFolder(root, m_root, QByteArray());
        m_container = DuplicatesContainer::create(false);
        m_container->saveRoots({root});
    }
    FileSystemItem* node(const QByteArray& relative) const { return m_nodes.value(relative); }

    // Folder copies count an entry changed in the file clock's tick of their grouping as
    // changed (it cannot be told from a change just after): a scan waits until the files
    // just written are older than that, as they are after any real scan.
    static void waitPastTheFileClockTick() { TestSupport::spinFor(20); }

    // Makes a group of the given copies; answers its items in the order given.
    std::vector<std::shared_ptr<DuplicateItem>> group(const QList<QByteArray>& relatives) {
        QList<FileSystemItem*> nodes;
        for (const QByteArray& r : relatives)
            nodes.append(node(r));
        const auto made = m_container->addGroupWithItems(nodes);
        EXPECT_TRUE(made) << relatives.front().constData();
        rememberGroupContents(relatives.join(", "), path(relatives.front()));
        std::vector<std::shared_ptr<DuplicateItem>> items;
        if (!made)
            return items;
        for (FileSystemItem* n : nodes) {
            for (const auto& item : made->getItems()) {
                if (item->getFileSystemItem() == n)
                    items.push_back(item);
            }
        }
        return items;
    }
    static void select(const std::shared_ptr<DuplicateItem>& item) {
        ASSERT_TRUE(item->selectItemForced(true));
    }

    // Runs a remover to its end.
    // Starts a run of `items` in the fixture's result, told to `listener`.
    void start(const std::shared_ptr<DuplicatesRemover>& remover,
               const std::vector<std::shared_ptr<DuplicateItem>>& items,
               const std::shared_ptr<RecordingListener>& listener, bool toTrash,
               bool removeEmptyFolders) {
        listener->remover = remover;
        remover->removeDuplicateItemsFromContainerWithListenerToTrashAndRemoveEmptyFolders(
            items, m_container, listener, toTrash, removeEmptyFolders);
    }

    void run(const std::shared_ptr<DuplicatesRemover>& remover,
             const std::vector<std::shared_ptr<DuplicateItem>>& items,
             const std::shared_ptr<RecordingListener>& listener, bool toTrash,
             bool removeEmptyFolders) {
        // Groups a test did not make through group() (a real scan) are taken as they are now.
        for (const auto& item : items) {
            const auto itemGroup = item ? item->getGroup() : nullptr;
            if (!itemGroup)
                continue;
            const QString name = QString::number(itemGroup->getGroupID());
            if (!m_groupContents.contains(name) && !itemGroup->getItems().empty())
                rememberGroupContents(name, itemGroup->getItems().front()->getFileItemPath());
        }
        start(remover, items, listener, toTrash, removeEmptyFolders);
        ASSERT_TRUE(TestSupport::waitFor([&] { return listener->finished; }, 20000));
        EXPECT_TRUE(remover->isRemoveFinished());
        EXPECT_FALSE(listener->offMainThread);
        EXPECT_FALSE(listener->batchAfterFinish);
        expectEveryGroupKeepsARealCopy();
    }

    // Remembers what a group's copies hold, for the check after each run.
    void rememberGroupContents(const QString& name, const QByteArray& copyPath) {
        const QByteArray signature = contentSignature(copyPath);
        if (!signature.isEmpty())
            m_groupContents.insert(name, signature);
    }
    void expectEveryGroupKeepsARealCopy() {
        if (m_allowAllCopiesToGo)
            return;
        EXPECT_EQ(groupsWithoutARealCopy(m_root, m_groupContents), QStringList())
            << "a group lost its last real copy";
    }
    // For a test that lets every copy of a group go.
    void allowAllCopiesToGo() { m_allowAllCopiesToGo = true; }

    QTemporaryDir m_dir{tempHome() + "/remove-XXXXXX"};
    QByteArray m_root;
    std::shared_ptr<ScanTree> m_tree;
    std::shared_ptr<DuplicatesContainer> m_container;
    QHash<QByteArray, FileSystemItem*> m_nodes;
    QMap<QString, QByteArray> m_groupContents;
    bool m_allowAllCopiesToGo = false;

private:
    void scanFolder(FolderSystemItem* folder, const QByteArray& folderPath,
                    const QByteArray& relative) {
        DIR* dir = ::opendir(folderPath.constData());
        if (!dir)
            return;
        while (const dirent* entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name == "." || name == ".." || name == ".DS_Store" || name == "Thumbs.db" ||
                name == ".localized")
                continue;
            const QByteArray full = folderPath + "/" + name;
            const QByteArray rel = relative.isEmpty() ? name : relative + "/" + name;
            struct stat st {};
            if (::lstat(full.constData(), &st) != 0)
                continue;
            const bool hidden = name.startsWith('.');
            if (S_ISDIR(st.st_mode)) {
                FolderSystemItem* sub = FolderSystemItem::initWithPathSize(*m_tree, name, folder, 0,
                                                                           false, 0, hidden, 0);
                m_nodes.insert(rel, sub);
                scanFolder(sub, full, rel);
            } else if (S_ISREG(st.st_mode)) {
                m_nodes.insert(rel, FileSystemItem::initWithPathSize(*m_tree, name, folder,
                                                                     st.st_blocks * 512, 0, hidden,
                                                                     st.st_size));
            }
        }
        ::closedir(dir);
    }
};
