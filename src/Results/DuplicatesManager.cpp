#include "DuplicatesManager.h"

#include "DuplicatesContainer.h"

#include "Selection/AutoSelectManager.h"
#include "Selection/OperationsManager.h"

namespace {

struct HintRow {
    int screen;
    const char* image;
    int position;
    const char* photo;
    const char* bottom;
};

// The help overlay's hints, screen by screen, in drawing order. Screens 0 to 5 explain the
// overview, 6 to 9 the similar-folders view, 10 the category view. Screen 8 is deliberately
// not in numeric picture order.
constexpr HintRow kHints[] = {
    {0, "overview1", 10, nullptr, nullptr},  {1, "overview1_1", 12, nullptr, nullptr},
    {2, "overview2", 5, nullptr, nullptr},   {3, "overview3", 5, nullptr, nullptr},
    {4, "overview4", 3, nullptr, nullptr},   {4, "overview4_1", 8, nullptr, nullptr},
    {5, "overview5_1", 8, nullptr, nullptr}, {5, "overview5_2", 7, nullptr, nullptr},
    {6, "heaps_1", 7, nullptr, nullptr},     {7, "heaps_2_1", 0, "heaps_2_2", "heaps_2_3"},
    {8, "heaps_3_2", 2, nullptr, nullptr},   {8, "heaps_3_3", 0, nullptr, nullptr},
    {8, "heaps_3_1", 0, nullptr, nullptr},   {9, "heaps_4_1", 0, nullptr, nullptr},
    {9, "heaps_4_2", 0, nullptr, nullptr},   {9, "heaps_4_3", 0, nullptr, nullptr},
    {9, "heaps_4_4", 0, nullptr, nullptr},   {9, "heaps_4_5", 6, nullptr, nullptr},
    {10, "Pictures_1", 3, nullptr, nullptr}, {10, "Pictures_2", 8, nullptr, nullptr},
    {10, "Pictures_3", 0, nullptr, nullptr}, {10, "Pictures_4", 4, nullptr, nullptr},
};

constexpr int kScreenCount = 11;

} // namespace

DuplicatesManager& DuplicatesManager::sharedManager() {
    // Never destroyed: views and late queue work may still reach it while the process ends.
    static DuplicatesManager* instance = new DuplicatesManager();
    return *instance;
}

DuplicatesManager::DuplicatesManager()
    : m_pAutoSelectManager(std::make_unique<AutoSelectManager>()),
      m_pOperationsManager(std::make_unique<OperationsManager>()) {
    createOverlayHintsArray();
    _overlayOnScreen = false;
}

QList<QRectF>& DuplicatesManager::getFramesArrayForScreenAndHint(int screen, int hint) {
    return sharedManager().overlayScreensDictionary()[screen][hint].frames;
}

void DuplicatesManager::createOverlayHintsArray() {
    OverlayScreensTable table;
    for (int screen = 0; screen < kScreenCount; ++screen) {
        QList<OverlayHint> hints;
        for (const HintRow& row : kHints) {
            if (row.screen != screen) {
                continue;
            }
            OverlayHint hint;
            hint.imageLink = QString::fromLatin1(row.image);
            hint.position = row.position;
            if (row.photo) {
                hint.photoLink = QString::fromLatin1(row.photo);
            }
            if (row.bottom) {
                hint.bottomImageLink = QString::fromLatin1(row.bottom);
            }
            hints.append(hint);
        }
        table.insert(screen, hints);
    }
    setOverlayScreensDictionary(std::move(table));
}

void DuplicatesManager::clearScanBasicInformation() {
    std::lock_guard lock(m_mutex);
    _scanStartDate = QDateTime();
    _scanFinishDate = QDateTime();
    _scannedFolders.clear();
    _foundSize.reset();
    _removedSize.reset();
    _scanSettingsChanged = false;
}

std::shared_ptr<DuplicatesContainer> DuplicatesManager::duplicateContainer() const {
    std::lock_guard lock(m_mutex);
    return _duplicateContainer;
}

void DuplicatesManager::setDuplicateContainer(std::shared_ptr<DuplicatesContainer> container) {
    std::shared_ptr<DuplicatesContainer> previous;
    {
        std::lock_guard lock(m_mutex);
        previous = std::exchange(_duplicateContainer, std::move(container));
    }
    // The previous result is released here, outside the lock: tearing down a large result
    // may take a while and must not block readers of the other properties.
}

bool DuplicatesManager::overlayOnScreen() const {
    std::lock_guard lock(m_mutex);
    return _overlayOnScreen;
}

void DuplicatesManager::setOverlayOnScreen(bool onScreen) {
    std::lock_guard lock(m_mutex);
    _overlayOnScreen = onScreen;
}

bool DuplicatesManager::scanSettingsChanged() const {
    std::lock_guard lock(m_mutex);
    return _scanSettingsChanged;
}

void DuplicatesManager::setScanSettingsChanged(bool changed) {
    std::lock_guard lock(m_mutex);
    _scanSettingsChanged = changed;
}

OverlayScreensTable& DuplicatesManager::overlayScreensDictionary() {
    return _overlayScreensDictionary;
}

void DuplicatesManager::setOverlayScreensDictionary(OverlayScreensTable table) {
    _overlayScreensDictionary = std::move(table);
}

QDateTime DuplicatesManager::scanStartDate() const {
    std::lock_guard lock(m_mutex);
    return _scanStartDate;
}

void DuplicatesManager::setScanStartDate(const QDateTime& date) {
    std::lock_guard lock(m_mutex);
    _scanStartDate = date;
}

QDateTime DuplicatesManager::scanFinishDate() const {
    std::lock_guard lock(m_mutex);
    return _scanFinishDate;
}

void DuplicatesManager::setScanFinishDate(const QDateTime& date) {
    std::lock_guard lock(m_mutex);
    _scanFinishDate = date;
}

QStringList DuplicatesManager::scannedFolders() const {
    std::lock_guard lock(m_mutex);
    return _scannedFolders;
}

void DuplicatesManager::setScannedFolders(const QStringList& folders) {
    std::lock_guard lock(m_mutex);
    _scannedFolders = folders;
}

std::optional<int64_t> DuplicatesManager::foundSize() const {
    std::lock_guard lock(m_mutex);
    return _foundSize;
}

void DuplicatesManager::setFoundSize(std::optional<int64_t> size) {
    std::lock_guard lock(m_mutex);
    _foundSize = size;
}

std::optional<int64_t> DuplicatesManager::removedSize() const {
    std::lock_guard lock(m_mutex);
    return _removedSize;
}

void DuplicatesManager::setRemovedSize(std::optional<int64_t> size) {
    std::lock_guard lock(m_mutex);
    _removedSize = size;
}
