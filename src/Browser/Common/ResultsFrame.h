#pragma once

#include <QByteArray>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class CongratulationsVC;
class DuplicateItem;
class DuplicatesGroup;
class FileSystemItem;
class FolderPickerVC;
class HeapFilesSelectorVC;
class HeapsPickerVC;
class QuickLookVC;

// What the views inside the results screen may ask of it: its state, the toolbar's and the
// bottom bar's few shared controls, the jumps between views, the review panel's presence and
// the end of the results. The views hold this, never the screen's controller, so no view
// depends on another's.
class ResultsFrame {
public:
    enum ResultsViewState { StateOverview = 0, StateCategory = 1, StateSimilars = 2 };

    ResultsFrame() = default;
    ResultsFrame(const ResultsFrame&) = delete;
    ResultsFrame& operator=(const ResultsFrame&) = delete;
    virtual ~ResultsFrame() = default;

    // The screen's own widget: it tells whether the screen still lives and what lies in it.
    virtual QWidget* frameWidget() = 0;
    virtual int state() const = 0;
    // The whole screen is sliding in or out.
    virtual bool animating() const = 0;
    virtual QStringList scannedFolders() const = 0;

    // ---- The toolbar.
    virtual void pressOverviewButton() = 0;
    // The category's button as pressed by hand: nothing when it is the chosen one already.
    virtual void pressButtonForCategoryType(int type) = 0;
    // The category's button pressed from elsewhere: the category opens even when chosen.
    virtual void chooseCategory(int type) = 0;
    virtual void pressSimilarsButton() = 0;
    // While a removal runs the toolbar's buttons do nothing.
    virtual void setRemoveIsOn(bool on) = 0;

    // ---- The bottom bar.
    virtual std::uint64_t deletedSize() const = 0;
    virtual void addDeletedSize(std::uint64_t size) = 0;
    virtual void setRemoveButtonToolTip(const QString& tip) = 0;

    // ---- The review panel.
    virtual bool reviewPanelOpen() const = 0;
    virtual void removeSelectedView() = 0;

    // ---- Jumps from one view to another.
    virtual void showDuplicateItemInCategory(const std::shared_ptr<DuplicateItem>& item) = 0;
    virtual void showFolderInDuplicateFolders(const FileSystemItem* folder) = 0;
    virtual void showHeapFromFolderCategoryWithPath(const QByteArray& path) = 0;
    virtual void showGroupArrayWithType(std::vector<std::shared_ptr<DuplicatesGroup>> groups,
                                        int type) = 0;
    virtual void heapGroupSelectedWithFile(FileSystemItem* item) = 0;

    // ---- The overview's charts.
    virtual void setOverviewPiechartVisible(bool visible) = 0;
    virtual void setOverviewHeapsChartVisible(bool visible) = 0;

    // ---- The preview and the copies table's chosen copy.
    virtual QuickLookVC* quickLookVC() const = 0;
    // The path of the copy chosen in the copies table (empty without a chosen copy); none
    // while no copies table is shown.
    virtual std::optional<QByteArray> selectedCopyPath() const = 0;

    // ---- The similar-folders view's lists, for its own pieces to find each other.
    virtual FolderPickerVC* folderPickerVC() const = 0;
    virtual HeapsPickerVC* heapsPickerVC() const = 0;
    virtual HeapFilesSelectorVC* heapFilesSelectorVC() const = 0;

    // ---- The end of the results.
    virtual void hideAndRemoveAllSubviews() = 0;
    virtual void showCongratulationsView(quint64 removedSize,
                                         const QStringList& scannedFolders) = 0;
    virtual CongratulationsVC* congratulationsController() const = 0;
};

// A weak link to the results screen: empty once the screen's widget is gone.
class ResultsFramePointer {
public:
    ResultsFramePointer() = default;
    ResultsFramePointer(ResultsFrame* frame) // NOLINT(google-explicit-constructor)
        : m_frame(frame), m_widget(frame ? frame->frameWidget() : nullptr) {}

    ResultsFrame* data() const { return m_widget ? m_frame : nullptr; }
    // A screen was given, whether or not it still lives.
    bool given() const { return m_frame != nullptr; }
    operator ResultsFrame*() const { return data(); } // NOLINT(google-explicit-constructor)
    ResultsFrame* operator->() const { return data(); }

private:
    ResultsFrame* m_frame = nullptr;
    QPointer<QWidget> m_widget;
};
