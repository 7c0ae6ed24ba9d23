#pragma once

#include "Browser/Common/ResultsFrame.h"
#include "Removal/DuplicatesRemover.h"
#include "Removal/DuplicatesRemoverListener.h"

#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class DuplicateItem;
class DuplicatesContainer;
class QMessageBox;
class QWidget;
class SelectedFilesVC;

// One removal run started from the review panel, from its start until the last question or
// report it puts up has been answered. It is the remover's listener, so the run reaches its
// end and books its outcome whatever happens to the panel meanwhile: the panel, the results
// screen and the window are watched through guarded pointers, and a panel that slid out or
// was destroyed is simply no longer told. The session keeps itself alive while its run goes
// on (the "current" slot) and while one of its sheets is open (the sheet's answer holds it).
//
// At the end it adds the removed size to the life-time counters and the removed count of
// copies really removed (never a failure, nor a copy left for a volume without a Trash),
// shows the congratulations screen when no duplicate is left, and otherwise books the size
// with the result manager and the bottom bar, offers to delete the copies that no Trash took
// (a second, permanent run) or reports what was not removed.
//
// Main thread only.
class RemovalSession final : public DuplicatesRemoverListener,
                             public std::enable_shared_from_this<RemovalSession> {
public:
    using Items = std::vector<std::shared_ptr<DuplicateItem>>;
    using RemoverFactory = std::function<std::shared_ptr<DuplicatesRemover>()>;

    RemovalSession(const RemovalSession&) = delete;
    RemovalSession& operator=(const RemovalSession&) = delete;
    ~RemovalSession() override;

    // Makes the remover of every later run (tests: a remover over a recording file manager);
    // an empty factory restores DuplicatesRemover::create().
    static void setRemoverFactory(RemoverFactory factory);
    // The run under way; null when none is.
    static std::shared_ptr<RemovalSession> current();
    // The failures of a run whose Trash-less copies are being deleted in a second run; the
    // next failure report includes them and clears them.
    static const std::vector<NotRemovedInfo>& carriedOverFailures();

    // Starts a run of |items| in the current result. |panel| (null for none) is told of the
    // start, the progress and the end; questions and reports go on |window|. Ignored (null)
    // without a result, or while another run goes on.
    static std::shared_ptr<RemovalSession> start(const Items& items, bool toTrash,
                                                 SelectedFilesVC* panel, ResultsFrame* screen,
                                                 QWidget* window);

    // Leaves the copies not yet taken; the run still ends through onRemoveFinished.
    void stop();
    // A new panel shows the run under way.
    void attachPanel(SelectedFilesVC* panel);

    const std::shared_ptr<DuplicatesRemover>& remover() const { return m_remover; }
    bool isToTrash() const { return m_toTrash; }
    // Copies the remover reported as removed so far.
    std::uint64_t removedCount() const { return m_removedCount; }

    void
    onDidRemovedDuplicateItems(const std::vector<std::shared_ptr<DuplicateItem>>& items) override;
    void onRemoveFinished() override;

private:
    RemovalSession(std::shared_ptr<DuplicatesRemover> remover, bool toTrash,
                   std::shared_ptr<DuplicatesContainer> container, SelectedFilesVC* panel,
                   ResultsFrame* screen, QWidget* window);

    void continueRemoveItemsPermanentlyFromRemoteDisks();
    void removeItemsPermanently(const Items& items);
    void showAlertWithDescriptionAboutNotRemovedItems();
    // A window-modal question or report on the session's window, deleted when closed; null
    // when the window is gone. |answered| runs with the button and the check box's state.
    QMessageBox* openSheet(const QString& objectName, const QString& message,
                           const QString& informative, bool withCancel,
                           const QString& checkBoxTitle,
                           std::function<void(bool ok, bool checked)> answered);

    std::shared_ptr<DuplicatesRemover> m_remover;
    bool m_toTrash = false;
    std::shared_ptr<DuplicatesContainer> m_container;
    QPointer<SelectedFilesVC> m_panel;
    ResultsFramePointer m_screen;
    QPointer<QWidget> m_window;
    std::uint64_t m_removedCount = 0;
};
