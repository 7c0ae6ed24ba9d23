#include "DuplicatesGroup.h"

#include "DuplicateItem.h"
#include "DuplicatesCategory.h"
#include "DuplicatesContainer.h"
#include "DuplicatesHeaps.h"
#include "DuplicatesManager.h"
#include "GroupContent.h"
#include "GroupSelection.h"

#include "Categories/AppNotification.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FileType.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "Platform/Dispatch.h"
#include "Selection/AutoSelectName.h"

#include <optional>
#include <utility>
#include <vector>

std::atomic<uint64_t> DuplicatesGroup::s_nNextGroupID{1};
std::atomic<int> DuplicatesGroup::s_nSelectionBatchDepth{0};
std::atomic<uint64_t> DuplicatesGroup::s_nContentGeneration{0};
std::atomic<uint64_t> DuplicatesGroup::s_nChangeClock{0};

std::shared_ptr<DuplicatesGroup>
DuplicatesGroup::create(const QList<FileSystemItem*>& items,
                        std::weak_ptr<DuplicatesGroupListener> listener) {
    return std::make_shared<DuplicatesGroup>(items, std::move(listener));
}

DuplicatesGroup::DuplicatesGroup(const QList<FileSystemItem*>& items,
                                 std::weak_ptr<DuplicatesGroupListener> listener)
    : m_nGroupID(s_nNextGroupID.fetch_add(1, std::memory_order_relaxed)),
      m_pListener(std::move(listener)), m_arrFileSystemItems(items),
      m_pSelection(std::make_shared<GroupSelection>(this)) {}

DuplicatesGroup::~DuplicatesGroup() = default;

bool DuplicatesGroup::isHasItem(const DuplicateItem* item) const {
    if (const auto category = getCategory(); category && category->getType() == -1) {
        return true;
    }
    return m_pContent && m_pContent->containsItem(item);
}

bool DuplicatesGroup::selectItemForced(DuplicateItem* item, bool forced) {
    if (!item || item->isSelected() || !isHasItem(item)) {
        return false;
    }
    // Last-copy guard: without force at least one copy always stays unselected. Written so
    // that a group without copies cannot wrap "copies minus one" round.
    const uint64_t selected = m_pSelection->getDirtyItemsCount();
    const uint64_t copies = getTotalCount();
    if (!forced && (copies == 0 || selected + 1 >= copies)) {
        return false;
    }
    const auto keepSelf = shared_from_this();
    if (const auto folder = item->getAssociatedDuplicateFolder()) {
        // A copy inside a duplicate folder goes only together with its folder.
        if (!folder->isSelected()) {
            return false;
        }
        addToSelection(item);
        sendNotificationThatSelectionChangedIfNeeded();
        return true;
    }
    addToSelection(item);
    followFolderSelection(item);
    return true;
}

void DuplicatesGroup::deselectItem(DuplicateItem* item) {
    if (!item || !item->isSelected() || !isHasItem(item)) {
        return;
    }
    const auto keepSelf = shared_from_this();
    if (const auto folder = item->getAssociatedDuplicateFolder()) {
        if (!folder->isSelected()) {
            m_pSelection->removeItem(item);
            sendNotificationThatSelectionChangedIfNeeded();
        }
        return;
    }
    m_pSelection->removeItem(item);
    followFolderSelection(item);
}

void DuplicatesGroup::addToSelection(DuplicateItem* item) {
    m_pSelection->addItem(item);
}

// After a copy without a duplicate folder changed its selection: a folder copy makes every
// copy beneath it follow, all in one batch; any other copy posts its single notification.
void DuplicatesGroup::followFolderSelection(DuplicateItem* item) {
    FileSystemItem* node = item->getFileSystemItem();
    if (node && node->isDir()) {
        BeginSelectionGroup();
        node->updateDuplicateItemSelection();
        EndSelectionGroup();
    } else {
        sendNotificationThatSelectionChangedIfNeeded();
    }
}

void DuplicatesGroup::removeDuplicateItemFromLogicalStructure(DuplicateItem* item) {
    removeDuplicateItemFromLogicalStructureWithSubItems(item, true);
}

void DuplicatesGroup::removeDuplicateItemFromLogicalStructureWithSubItems(DuplicateItem* item,
                                                                          bool subItems) {
    if (!item || !isHasItem(item)) {
        return;
    }
    const auto keepSelf = shared_from_this();
    const auto keepItem = item->shared_from_this();
    FileSystemItem* node = item->getFileSystemItem();
    if (subItems && node && node->isDir()) {
        const auto tree = node->tree();
        for (FileSystemItem* below : node->asFolder()->duplicatesDeepArray()) {
            // Earlier removals may already have taken this copy away.
            DuplicateItem* belowItem = below->getDuplicateItem();
            const auto belowGroup = belowItem ? belowItem->getGroup() : nullptr;
            if (belowGroup) {
                belowGroup->removeDuplicateItemFromLogicalStructureWithSubItems(belowItem, false);
            }
        }
    }
    if (const auto category = getCategory()) {
        if (const auto container = category->getContainer(); container && container->getHeaps()) {
            container->getHeaps()->copyWillLeaveGroup(*item, *this);
        }
    }
    removeDuplicateItem(item);
}

bool DuplicatesGroup::calculateIsFullyInDuplicatesFolders() const {
    if (m_bIsPackageContent || !m_pContent) {
        return true;
    }
    for (const auto& item : m_pContent->getItems()) {
        if (!item->hasAssociatedDuplicateFolder()) {
            return false;
        }
    }
    return true;
}

bool DuplicatesGroup::isAllItemsInPackages() const {
    if (!m_pContent) {
        return true;
    }
    for (const auto& item : m_pContent->getItems()) {
        const FileSystemItem* node = item->getFileSystemItem();
        if (node && !node->isInPackage()) {
            return false;
        }
    }
    return true;
}

void DuplicatesGroup::recalculateIsFullyInDuplicatesFolders() {
    const bool wasFully = m_bIsFullyInDuplicatesFolders;
    m_bIsFullyInDuplicatesFolders = calculateIsFullyInDuplicatesFolders();
    if (wasFully == m_bIsFullyInDuplicatesFolders) {
        return;
    }
    const auto category = getCategory();
    const auto container = category ? category->getContainer() : nullptr;
    if (m_bIsFullyInDuplicatesFolders) {
        // Only the typed categories have a container.
        if (container) {
            moveToCategory(container->getHiddenCategoryOfDuplicates());
        }
        return;
    }
    if (container) {
        return;
    }
    // A hidden group comes back at once only in the result the interface shows; during a scan
    // the manager holds the previous result, and the container's clean-up brings it back.
    // The manager is asked only on the main thread: a scan stage changes its own new result
    // on a worker thread, and a strong hold taken there on the shown result could become the
    // last one if the main thread swaps results meanwhile, tearing the old result down on the
    // worker while the interface may still use it. Off the main thread the group is never in
    // the shown result anyway (only the main thread changes that), so nothing is lost.
    if (!Dispatch::isMainThread()) {
        return;
    }
    const auto current = DuplicatesManager::sharedManager().duplicateContainer();
    if (!current || !category || category != current->getHiddenCategoryOfDuplicates() ||
        getTotalCount() == 0) {
        return;
    }
    const int type = m_pContent->getFirstItem()->getTypeUsingFileSystemItem();
    moveToCategory(current->getCategoryWithType(type));
}

void DuplicatesGroup::moveToCategory(const std::shared_ptr<DuplicatesCategory>& target) {
    if (!target) {
        return;
    }
    const auto keepSelf = shared_from_this();
    const auto keepTarget = target;
    const QList<FileSystemItem*> nodes = getFileSystemItems();
    // The nodes may keep their tree alive only through the copies, which are about to go.
    const auto tree = nodes.isEmpty() ? nullptr : nodes.front()->tree();
    // The new copies stand for the same nodes: they keep the identities (times, device and
    // inode) recorded when the copies were first grouped, or an edit or a replacement made
    // between the scan and this move would pass the remover's check for items changed after
    // the scan.
    std::vector<std::pair<FileSystemItem*, DuplicateItem::ScannedIdentity>> scannedIdentities;
    for (const auto& item : getItems()) {
        if (FileSystemItem* node = item->getFileSystemItem()) {
            scannedIdentities.emplace_back(node, item->getScannedIdentity());
        }
    }
    if (const auto category = getCategory()) {
        category->removeGroup(keepSelf);
    }
    keepTarget->addGroupWithItems(nodes);
    // Whatever group now holds a node (the new one may have moved on at once), its copy is
    // the one the node links to.
    for (const auto& [node, identity] : scannedIdentities) {
        if (DuplicateItem* copy = node->getDuplicateItem()) {
            copy->keepScannedIdentity(identity);
        }
    }
}

void DuplicatesGroup::updateGroupInfoAfterItemMovedToOrFromFolderDuplicates(DuplicateItem* item) {
    const auto keepSelf = shared_from_this();
    notifyListenerThatGroupWillChange();
    s_nContentGeneration.fetch_add(1, std::memory_order_relaxed);
    if (const auto content = m_pContent) {
        content->updateGroupInfoAfterItemMovedToOrFromFolderDuplicates(item);
    }
    m_pSelection->updateAfterItemMovedToOrFromFolderDuplicates(item);
    notifyListenerThatGroupDidChanged();
}

void DuplicatesGroup::onGroupWillChange(DuplicatesGroup* group) {
    if (group == this) {
        notifyListenerThatGroupWillChange();
    }
}

void DuplicatesGroup::onGroupDidChanged(DuplicatesGroup* group) {
    if (group == this) {
        notifyListenerThatGroupDidChanged();
    }
}

void DuplicatesGroup::notifyListenerThatGroupWillChange() {
    // Stamped at both ends: whatever is read in between is never taken as final.
    m_nChangeStamp = s_nChangeClock.fetch_add(1, std::memory_order_relaxed) + 1;
    if (m_nNotificationDeep == 0) {
        if (const auto listener = m_pListener.lock()) {
            listener->onGroupWillChange(this);
        }
    }
    ++m_nNotificationDeep;
}

void DuplicatesGroup::notifyListenerThatGroupDidChanged() {
    m_nChangeStamp = s_nChangeClock.fetch_add(1, std::memory_order_relaxed) + 1;
    if (m_nNotificationDeep <= 0) {
        m_nNotificationDeep = 0;
        return;
    }
    if (--m_nNotificationDeep == 0) {
        if (const auto listener = m_pListener.lock()) {
            listener->onGroupDidChanged(this);
        }
    }
}

QString DuplicatesGroup::calculateGroupName() const {
    if (!m_pContent || m_pContent->getItems().empty()) {
        return QString();
    }
    const DuplicateItem* chosen = m_pContent->getItems().front().get();
    for (const auto& item : m_pContent->getItems()) {
        const FileSystemItem* node = item->getFileSystemItem();
        if (!node) {
            continue;
        }
        QByteArray name = node->name();
        if (!node->isDir()) {
            const QByteArray extension = FileType::pathExtension(name);
            if (!extension.isEmpty()) {
                name.chop(extension.size() + 1);
            }
        }
        const QString lower = QString::fromUtf8(name).toLower();
        if (AutoSelectName::calculateOriginalNameOfName(lower, true) == lower) {
            chosen = item.get();
            break;
        }
    }
    const FileSystemItem* node = chosen->getFileSystemItem();
    return node ? node->displayName() : QString();
}

QString DuplicatesGroup::getGroupName() {
    if (!m_sGroupName) {
        m_sGroupName = calculateGroupName();
    }
    return *m_sGroupName;
}

QList<FileSystemItem*> DuplicatesGroup::getFileSystemItems() const {
    QList<FileSystemItem*> nodes;
    if (m_pContent) {
        for (FileSystemItem* node : m_pContent->createArrayWithFileSystemItems()) {
            nodes.append(node);
        }
    }
    return nodes;
}

void DuplicatesGroup::removeDuplicateItem(DuplicateItem* item) {
    if (!item) {
        return;
    }
    const auto keepSelf = shared_from_this();
    const auto keepItem = item->shared_from_this();
    notifyListenerThatGroupWillChange();
    s_nContentGeneration.fetch_add(1, std::memory_order_relaxed);
    m_sGroupName.reset();
    m_pSelection->removeItem(item);
    if (const auto content = m_pContent) {
        content->removeItem(item);
    }
    notifyListenerThatGroupDidChanged();
    // While the group dissolves nothing can move it; the flag is worked out once at the end.
    if (!m_bDissolving) {
        recalculateIsFullyInDuplicatesFolders();
    }
}

std::vector<std::shared_ptr<DuplicateItem>> DuplicatesGroup::getItems() const {
    return m_pContent ? m_pContent->getItems() : std::vector<std::shared_ptr<DuplicateItem>>();
}

const std::vector<std::shared_ptr<DuplicateItem>>& DuplicatesGroup::itemsView() const {
    static const std::vector<std::shared_ptr<DuplicateItem>> none;
    return m_pContent ? m_pContent->getItems() : none;
}

std::shared_ptr<DuplicateItem> DuplicatesGroup::getFirstItem() const {
    return m_pContent ? m_pContent->getFirstItem() : nullptr;
}

std::vector<std::shared_ptr<DuplicateItem>> DuplicatesGroup::getSelectedItems() const {
    return m_pSelection->getItems();
}

const std::vector<std::shared_ptr<DuplicateItem>>& DuplicatesGroup::selectedItemsView() const {
    return m_pSelection->getItems();
}

bool DuplicatesGroup::isInSelection(const DuplicateItem* item) const {
    return m_pSelection->containsItem(item);
}

uint64_t DuplicatesGroup::getTotalSize() const {
    return m_pContent ? m_pContent->getTotalSize() : 0;
}

uint64_t DuplicatesGroup::getSelectedSize() const {
    return m_pSelection->getTotalSize();
}

uint64_t DuplicatesGroup::getSizeThatCanBeRemoved() const {
    return m_pContent ? m_pContent->getSizeThatCanBeRemoved() : 0;
}

uint64_t DuplicatesGroup::getTotalCount() const {
    return m_pContent ? m_pContent->getItemsCount() : 0;
}

uint64_t DuplicatesGroup::getSelectedCountWithDuplicatesFolderContent() const {
    return m_pSelection->getDirtyItemsCount();
}

uint64_t DuplicatesGroup::getActualSelectedCount() const {
    return m_pSelection->getActualItemsCount();
}

uint64_t DuplicatesGroup::getCountOfDuplicatesThatCanBeRemoved() const {
    return m_pContent ? m_pContent->getItemsCountThatCanBeRemoved() : 0;
}

uint64_t DuplicatesGroup::getNotRemovedSize() const {
    return m_pContent ? m_pContent->getNotRemovedSize() : 0;
}

uint64_t DuplicatesGroup::getGreenSize() const {
    if (getSelectedCountWithDuplicatesFolderContent() == getTotalCount()) {
        return 0;
    }
    return getSelectedSize();
}

uint64_t DuplicatesGroup::getBlueSize() const {
    if (!m_pContent || getSelectedCountWithDuplicatesFolderContent() + 1 != getTotalCount()) {
        return 0;
    }
    return m_pContent->getNotRemovedSize();
}

uint64_t DuplicatesGroup::getRedSize() const {
    if (!m_pContent || getSelectedCountWithDuplicatesFolderContent() != getTotalCount()) {
        return 0;
    }
    return m_pContent->getTotalSize();
}

void DuplicatesGroup::BeginSelectionGroup() {
    s_nSelectionBatchDepth.fetch_add(1);
}

void DuplicatesGroup::EndSelectionGroup() {
    const int taken = s_nSelectionBatchDepth.fetch_sub(1);
    if (taken > 1) {
        return;
    }
    // The outermost end, or an end without a begin: back to 0 and tell the listeners once.
    s_nSelectionBatchDepth.store(0);
    sendNotificationThatSelectionChangedIfNeeded();
}

void DuplicatesGroup::sendNotificationThatSelectionChangedIfNeeded() {
    if (s_nSelectionBatchDepth.load() == 0) {
        AppNotification::CreateDuplicateItemSelectionChangedNotification();
    }
}

int DuplicatesGroup::selectionBatchDepth() {
    return s_nSelectionBatchDepth.load();
}

uint64_t DuplicatesGroup::contentGeneration() {
    return s_nContentGeneration.load(std::memory_order_relaxed);
}

std::shared_ptr<DuplicatesContainer> DuplicatesGroup::getContainer() const {
    const auto category = getCategory();
    return category ? category->getContainer() : nullptr;
}

void DuplicatesGroup::onGroupAddedToCategory(const std::shared_ptr<DuplicatesGroup>& group,
                                             const std::shared_ptr<DuplicatesCategory>& category) {
    if (group.get() != this || m_pContent || getCategory() || !m_bCanBeAddedToCategory) {
        return;
    }
    const auto keepSelf = shared_from_this();
    m_bCanBeAddedToCategory = false;
    m_pCategory = category;
    const auto content = std::make_shared<GroupContent>(this);
    m_pContent = content;
    notifyListenerThatGroupWillChange();
    s_nContentGeneration.fetch_add(1, std::memory_order_relaxed);
    const QList<FileSystemItem*> nodes = std::exchange(m_arrFileSystemItems, {});
    for (FileSystemItem* node : nodes) {
        content->addItem(node);
    }
    m_bIsPackageContent = isAllItemsInPackages();
    recalculateIsFullyInDuplicatesFolders();
    notifyListenerThatGroupDidChanged();
}

void DuplicatesGroup::onGroupWillRemovedFromCategory(const std::shared_ptr<DuplicatesGroup>&,
                                                     const std::shared_ptr<DuplicatesCategory>&) {}

void DuplicatesGroup::onGroupDidRemovedFromCategory(
    const std::shared_ptr<DuplicatesGroup>& group,
    const std::shared_ptr<DuplicatesCategory>& category) {
    if (group.get() != this || !m_pContent || getCategory() != category) {
        return;
    }
    const auto keepSelf = shared_from_this();
    notifyListenerThatGroupWillChange();
    s_nContentGeneration.fetch_add(1, std::memory_order_relaxed);
    m_pCategory.reset();
    const std::vector<std::shared_ptr<DuplicateItem>> items = m_pContent->getItems();
    m_bDissolving = true;
    for (const auto& item : items) {
        removeDuplicateItem(item.get());
    }
    m_bDissolving = false;
    m_pContent.reset();
    recalculateIsFullyInDuplicatesFolders();
    notifyListenerThatGroupDidChanged();
}
