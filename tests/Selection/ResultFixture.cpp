#include "ResultFixture.h"

#include "ScanResultListener.h"
#include "TestSupport.h"

#include "Categories/AppNotification.h"
#include "FileTree/FileSystemItem.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Scanner/FoldersScannerListener.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>

#include <sys/time.h>

namespace {} // namespace

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

void ResultFixture::build(bool withFolders) {
    auto listener = std::make_shared<ScanResultListener>();
    auto scanner = FoldersScanner::create({m_root}, listener);
    scanner->enableSearchDuplicatesFoldersAndSimilars(withFolders);
    scanner->includeHiddenFiles(true);
    scanner->startScanAndUseMinimalFileSize(1);
    const bool told = TestSupport::waitFor([&] { return listener->told == 1; }, 30000);
    EXPECT_TRUE(told) << "the scan of " << m_root.constData() << " did not complete";
    m_container = listener->container;
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
