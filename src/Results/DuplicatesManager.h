#pragma once

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class AutoSelectManager;
class DuplicatesContainer;
class DuplicatesHeap;
class DuplicatesManagerDelegate;
class OperationsManager;

// One hint of the help overlay: the picture to draw, where it stands beside the rectangles
// of the controls it explains, and those rectangles. The results views fill `frames` (in
// window coordinates) when they lay out; the overlay only reads it.
struct OverlayHint {
    QList<QRectF> frames;    // "Frames"
    QString imageLink;       // "ImageLink"
    int position = 0;        // "Position": the OverlayHintPosition code, 0 to 12
    QString photoLink;       // "PhotoLink", empty when the hint has none
    QString bottomImageLink; // "BottomImageLink", empty when the hint has none
};

// Screen number (0 to 10) to its hints in drawing order.
using OverlayScreensTable = QMap<int, QList<OverlayHint>>;

// The process-wide result manager: holds the current scan result for every view, the
// summary of the last scan, the help-overlay table and the flag that an overlay is shown.
//
// It owns no scanner; the main window hands it each finished result. It owns the
// automatic-selection manager and the selection-operations manager of the current result,
// and starts the overview calculations that run on the global queue.
//
// Every property read or write is atomic on its own (any thread may read a whole value);
// nothing orders one property against another. The overlay table itself is touched only on
// the main thread.
class DuplicatesManager final {
public:
    // The single instance, made on first use (thread-safe) and never destroyed.
    static DuplicatesManager& sharedManager();

    // The "Frames" list of hint `hint` of screen `screen` of the shared table, for the views
    // to clear and refill. The caller passes an existing screen and hint index.
    static QList<QRectF>& getFramesArrayForScreenAndHint(int screen, int hint);

    // Builds a new help-overlay table and stores it.
    void createOverlayHintsArray();

    // Ends the summary of the last scan: dates, folders, found and removed sizes become
    // absent and the settings-changed flag NO. The container stays.
    void clearScanBasicInformation();

    std::shared_ptr<DuplicatesContainer> duplicateContainer() const;
    void setDuplicateContainer(std::shared_ptr<DuplicatesContainer> container);

    bool overlayOnScreen() const;
    void setOverlayOnScreen(bool onScreen);

    bool scanSettingsChanged() const;
    void setScanSettingsChanged(bool changed);

    OverlayScreensTable& overlayScreensDictionary();
    void setOverlayScreensDictionary(OverlayScreensTable table);

    // Null when absent.
    QDateTime scanStartDate() const;
    void setScanStartDate(const QDateTime& date);
    QDateTime scanFinishDate() const;
    void setScanFinishDate(const QDateTime& date);

    // The folders the user chose for the last scan; empty when absent.
    QStringList scannedFolders() const;
    void setScannedFolders(const QStringList& folders);

    // Bytes; empty when absent.
    std::optional<int64_t> foundSize() const;
    void setFoundSize(std::optional<int64_t> size);
    std::optional<int64_t> removedSize() const;
    void setRemovedSize(std::optional<int64_t> size);

    // The automatic-selection manager and the selection-operations manager of the current
    // result, made with the manager. Main thread.
    AutoSelectManager& getAutoSelectManager() { return *m_pAutoSelectManager; }
    OperationsManager& getOperationsManager() { return *m_pOperationsManager; }

    // The overview calculations (see OverviewCalculations): started on the main thread, they
    // compute on the global queue from a snapshot of the current container and answer the
    // delegate on the main thread, unless the result changed meanwhile.
    void calculateTenBiggestHeapsWithDelegate(std::shared_ptr<DuplicatesManagerDelegate> delegate);
    void calculateBiggestEasyForRemoveHeapsWithDelegate(
        std::shared_ptr<DuplicatesManagerDelegate> delegate);
    void calculateBiggestGroupsWithDelegate(std::shared_ptr<DuplicatesManagerDelegate> delegate);
    void calculateDuplicatesForAutoselectWithDelegate(
        std::shared_ptr<DuplicatesManagerDelegate> delegate);
    // The biggest heaps of the current container; more than `maxResultCount` only when heaps
    // tie with the last place. Main thread.
    std::vector<std::shared_ptr<DuplicatesHeap>>
    pleaseCalculateBiggestHeapsWithMaxResultCount(std::size_t maxResultCount);

    DuplicatesManager(const DuplicatesManager&) = delete;
    DuplicatesManager& operator=(const DuplicatesManager&) = delete;

private:
    DuplicatesManager();

    // Made first, before the rest of the manager.
    std::unique_ptr<AutoSelectManager> m_pAutoSelectManager;
    std::unique_ptr<OperationsManager> m_pOperationsManager;
    mutable std::mutex m_mutex;
    bool _overlayOnScreen = false;
    bool _scanSettingsChanged = false;
    std::shared_ptr<DuplicatesContainer> _duplicateContainer;
    OverlayScreensTable _overlayScreensDictionary;
    QDateTime _scanStartDate;
    QDateTime _scanFinishDate;
    QStringList _scannedFolders;
    std::optional<int64_t> _foundSize;
    std::optional<int64_t> _removedSize;
};
