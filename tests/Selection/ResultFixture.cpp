#include "ResultFixture.h"

#include "TestSupport.h"

#include "Categories/AppNotification.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"

#include <QFile>
#include <QMap>

#include <algorithm>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/time.h>

namespace {

// Reads the folder at `path` into `folder`, children in name order; collects file nodes.
void readFolder(ScanTree& tree, FolderSystemItem* folder, const QByteArray& path,
                std::vector<FileSystemItem*>& files) {
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        return;
    QList<QByteArray> names;
    while (dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    for (const QByteArray& name : names) {
        const QByteArray full = path + '/' + name;
        struct stat st {};
        if (::lstat(full.constData(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            FolderSystemItem* sub =
                FolderSystemItem::initWithPathSize(tree, name, folder, 0, false, 0, false, 0);
            readFolder(tree, sub, full, files);
        } else if (S_ISREG(st.st_mode)) {
            files.push_back(FileSystemItem::initWithPathSize(tree, name, folder, st.st_blocks * 512,
                                                             0, false, st.st_size));
        }
    }
}

QByteArray contentOf(const QByteArray& path) {
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

ResultFixture::ResultFixture() {
    m_root = QFile::encodeName(m_dir.path()) + "/root";
}

ResultFixture::~ResultFixture() {
    if (DuplicatesManager::sharedManager().duplicateContainer() == m_container)
        DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
}

void ResultFixture::write(const std::vector<File>& files) {
    for (const File& file : files)
        TestSupport::writeFile(abs(file.path), file.content);
}

void ResultFixture::touch(const char* relative, const QDateTime& when) {
    const qint64 seconds = when.toSecsSinceEpoch();
    struct timeval times[2] = {{seconds, 0}, {seconds, 0}};
    ::utimes(abs(relative).constData(), times);
}

void ResultFixture::build(const std::vector<std::vector<const char*>>& folderGroups,
                          bool withHeaps) {
    m_tree = ScanTree::create();
    VolumeSystemItem* root = VolumeSystemItem::initWithPath(*m_tree, m_root, 0, 0);
    std::vector<FileSystemItem*> files;
    readFolder(*m_tree, root, m_root, files);
    root->calctotalsizeex();
    root->recalculateCountOfDeepChildren();

    m_container = DuplicatesContainer::create(withHeaps);
    m_container->saveRoots({root});
    // Equal content, in the order files were met (name order), as the digest stage would.
    QMap<QByteArray, QList<FileSystemItem*>> byContent;
    QList<QByteArray> order;
    for (FileSystemItem* file : files) {
        const QByteArray content = contentOf(file->path());
        if (!byContent.contains(content))
            order.append(content);
        byContent[content].append(file);
    }
    for (const QByteArray& content : order) {
        if (byContent[content].size() >= 2)
            m_container->addGroupWithItems(byContent[content]);
    }
    for (const auto& group : folderGroups) {
        QList<FileSystemItem*> nodes;
        for (const char* path : group)
            nodes.append(node(path));
        m_container->addGroupWithItems(nodes);
    }
    m_container->validateEmptyDataAfterRemoveWithListener(nullptr);
    DuplicatesManager::sharedManager().setDuplicateContainer(m_container);
}

FileSystemItem* ResultFixture::node(const char* relative) const {
    const auto nodes = m_container->findSystemItemWithPath(abs(relative));
    return nodes.isEmpty() ? nullptr : nodes.front();
}

std::shared_ptr<DuplicateItem> ResultFixture::item(const char* relative) const {
    FileSystemItem* found = node(relative);
    DuplicateItem* copy = found ? found->getDuplicateItem() : nullptr;
    return copy ? copy->shared_from_this() : nullptr;
}

std::shared_ptr<DuplicatesGroup> ResultFixture::group(const char* relative) const {
    const auto copy = item(relative);
    return copy ? copy->getGroup() : nullptr;
}

QList<QByteArray>
ResultFixture::relative(const std::vector<std::shared_ptr<DuplicateItem>>& items) const {
    QList<QByteArray> paths;
    for (const auto& copy : items)
        paths.append(copy->getFileItemPath().mid(m_root.size() + 1));
    std::sort(paths.begin(), paths.end());
    return paths;
}

QList<QByteArray> ResultFixture::selected() const {
    std::vector<std::shared_ptr<DuplicateItem>> items;
    for (const auto& category : m_container->getCategories()) {
        for (const auto& group : category->getGroups()) {
            for (const auto& copy : group->getItems()) {
                if (copy->isSelected())
                    items.push_back(copy);
            }
        }
    }
    return relative(items);
}

SelectionNotificationCounter::SelectionNotificationCounter() {
    NotificationCenter::defaultCenter().addObserver(
        static_cast<const void*>(this),
        AppNotification::DuplicateItemSelectionChangedNotificationName(),
        [this](const Notification&) { ++m_count; });
}

SelectionNotificationCounter::~SelectionNotificationCounter() {
    NotificationCenter::defaultCenter().removeObserver(static_cast<const void*>(this));
}
