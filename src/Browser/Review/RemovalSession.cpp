#include "Browser/Review/RemovalSession.h"

#include "Browser/Review/SelectedFilesTexts.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "Platform/FileManager.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"

#include <QCheckBox>
#include <QFile>
#include <QMessageBox>

#include <algorithm>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

RemovalSession::RemoverFactory& removerFactory() {
    static RemovalSession::RemoverFactory factory;
    return factory;
}

// The process-wide slots every panel shares: the run under way and the failures carried
// over into a second, permanent run.
std::shared_ptr<RemovalSession>& currentSlot() {
    static std::shared_ptr<RemovalSession> session;
    return session;
}

std::vector<NotRemovedInfo>& carriedOverSlot() {
    static std::vector<NotRemovedInfo> failures;
    return failures;
}

// The C library's allocator keeps small freed blocks aside, unmerged, and merges them all at
// once when a large block is next asked for or freed. The end of a removal over duplicate and
// similar folders lets go of hundreds of thousands of small result objects on the main thread
// (a slice at a time), and the one merge that follows held the interface for a quarter of a
// second. While a run goes on, small blocks are merged as they are freed instead; the usual
// way comes back when it ends (keeping them aside makes a scan much faster).
void keepSmallFreedBlocksAside(bool keep) {
#ifdef __GLIBC__
    // 64 * sizeof(size_t) / 4 is the library's own default.
    mallopt(M_MXFAST, keep ? int(64 * sizeof(std::size_t) / 4) : 0);
#else
    (void)keep;
#endif
}

QString displayNameOf(const DuplicateItem& item) {
    if (const FileSystemItem* node = item.getFileSystemItem())
        return node->displayName();
    return FileManager::displayNameAtPath(item.getFileItemPath());
}

} // namespace

RemovalSession::RemovalSession(std::shared_ptr<DuplicatesRemover> remover, bool toTrash,
                               std::shared_ptr<DuplicatesContainer> container,
                               SelectedFilesVC* panel, ResultsFrame* screen, QWidget* window)
    : m_remover(std::move(remover)), m_toTrash(toTrash), m_container(std::move(container)),
      m_panel(panel), m_screen(screen), m_window(window) {}

RemovalSession::~RemovalSession() = default;

void RemovalSession::setRemoverFactory(RemoverFactory factory) {
    removerFactory() = std::move(factory);
}

std::shared_ptr<RemovalSession> RemovalSession::current() {
    return currentSlot();
}

const std::vector<NotRemovedInfo>& RemovalSession::carriedOverFailures() {
    return carriedOverSlot();
}

std::shared_ptr<RemovalSession> RemovalSession::start(const Items& items, bool toTrash,
                                                      SelectedFilesVC* panel, ResultsFrame* screen,
                                                      QWidget* window) {
    auto container = DuplicatesManager::sharedManager().duplicateContainer();
    if (!container || currentSlot())
        return nullptr;
    auto remover = removerFactory() ? removerFactory()() : DuplicatesRemover::create();
    std::shared_ptr<RemovalSession> session(
        new RemovalSession(std::move(remover), toTrash, container, panel, screen, window));
    currentSlot() = session;
    keepSmallFreedBlocksAside(false);
    if (screen)
        screen->setRemoveIsOn(true);
    if (panel)
        panel->removalDidStart();
    session->m_remover->removeDuplicateItemsFromContainerWithListenerToTrashAndRemoveEmptyFolders(
        items, container, session, toTrash, Settings::removeEmptyFolders());
    return session;
}

void RemovalSession::stop() {
    m_remover->stop();
}

void RemovalSession::attachPanel(SelectedFilesVC* panel) {
    m_panel = panel;
    if (panel)
        panel->removalDidStart();
}

void RemovalSession::onDidRemovedDuplicateItems(
    const std::vector<std::shared_ptr<DuplicateItem>>& items) {
    if (currentSlot().get() != this)
        return;
    m_removedCount += items.size();
    const std::uint64_t total = m_remover->getCountOfItems();
    const float progress =
        total == 0 ? 0.0f : float(double(m_remover->getCountOfProcessedItems()) / double(total));
    if (m_panel)
        m_panel->removalDidRemoveItems(items, progress);
}

void RemovalSession::onRemoveFinished() {
    // Kept alive to the end of this call, and beyond by any sheet it opens.
    const auto self = shared_from_this();
    const std::uint64_t removed = m_remover->getTotalRemovedSize();

    if (m_panel)
        m_panel->removalDidFinish(removed);
    if (m_screen)
        m_screen->setRemoveIsOn(false);
    Settings::setCleanedFileSize(Settings::cleanedFileSize() + removed);
    if (currentSlot() == self)
        currentSlot().reset();
    keepSmallFreedBlocksAside(true);
    // Only what really went: a copy that failed, or waits for a volume without a Trash, is
    // counted by the run that removes it, if any.
    Settings::setCleanedFileCount(Settings::cleanedFileCount() + m_removedCount);

    if (m_container->getAllFilesSize() == 0) {
        if (m_screen) {
            m_screen->hideAndRemoveAllSubviews();
            m_screen->showCongratulationsView(m_screen->deletedSize() + removed, {});
        }
        return;
    }

    DuplicatesManager& manager = DuplicatesManager::sharedManager();
    // A run that outlived its result (a new scan meanwhile) books nothing on the new one.
    if (manager.duplicateContainer() == m_container)
        manager.setRemovedSize(manager.removedSize().value_or(0) + std::int64_t(removed));
    const auto retry = m_remover->getItemsThatNeedToRetryRemovePermanently();
    if (retry && !retry->empty())
        continueRemoveItemsPermanentlyFromRemoteDisks();
    else
        showAlertWithDescriptionAboutNotRemovedItems();
    if (m_screen)
        m_screen->addDeletedSize(removed);
    if (m_panel) {
        if (m_panel->removeList().empty())
            m_panel->hideAnimation();
        else
            m_panel->reloadTable();
    }
}

void RemovalSession::continueRemoveItemsPermanentlyFromRemoteDisks() {
    const Items retry = m_remover->getItemsThatNeedToRetryRemovePermanently().value_or(Items());
    if (!Settings::showRemovePermanentlyItemsOnRemoteDisksMessage()) {
        removeItemsPermanently(retry);
        return;
    }
    const RemoteDisksInfo disks = m_remover->getRemoteDisksInfo().value_or(RemoteDisksInfo());
    QString message, informative;
    if (retry.size() == 1) {
        const QString name = retry.front()
                                 ? FileManager::displayNameAtPath(retry.front()->getFileItemPath())
                                 : QString();
        const QString disk = disks.isEmpty() ? QString() : disks.last();
        message = SelectedFilesTexts::remoteOneMessage(name);
        informative = SelectedFilesTexts::remoteOneInformative(name, disk);
    } else {
        message = SelectedFilesTexts::remoteSeveralMessage(retry.size());
        informative = SelectedFilesTexts::remoteSeveralInformative(retry.size(), disks.values());
    }
    const auto self = shared_from_this();
    QMessageBox* sheet =
        openSheet(QStringLiteral("removeFromRemoteDisksConfirmation"), message, informative, true,
                  SelectedFilesTexts::dontShowAgain(), [self, retry](bool ok, bool checked) {
                      if (!ok) {
                          // The Trash-less copies stay, selected; only the other failures are told.
                          self->showAlertWithDescriptionAboutNotRemovedItems();
                          return;
                      }
                      if (checked)
                          Settings::setShowRemovePermanentlyItemsOnRemoteDisksMessage(false);
                      self->removeItemsPermanently(retry);
                  });
    // Without a window nobody can say yes: nothing is deleted without the user's OK.
    if (!sheet)
        showAlertWithDescriptionAboutNotRemovedItems();
}

void RemovalSession::removeItemsPermanently(const Items& items) {
    carriedOverSlot() = m_remover->getNotRemovedInfo().value_or(std::vector<NotRemovedInfo>());
    // Through the panel when it can show the run; otherwise the run goes on without it.
    if (m_panel && !m_panel->animating() && m_panel->isVisible() && !current()) {
        m_panel->removeItemsToTrash(items, false);
        if (current())
            return;
    }
    if (!start(items, false, nullptr, m_screen, m_window))
        showAlertWithDescriptionAboutNotRemovedItems();
}

void RemovalSession::showAlertWithDescriptionAboutNotRemovedItems() {
    const std::vector<NotRemovedInfo> own =
        m_remover->getNotRemovedInfo().value_or(std::vector<NotRemovedInfo>());
    std::vector<NotRemovedInfo> carried = std::exchange(carriedOverSlot(), {});
    const NotRemovedInfo* first =
        !own.empty() ? &own.front() : (!carried.empty() ? &carried.front() : nullptr);
    const std::uint64_t count = own.size() + carried.size();
    if (count == 1 && first) {
        QString reason = first->error ? first->error->description : QString();
        if (reason.isEmpty())
            reason = SelectedFilesTexts::unknownFailureReason();
        openSheet(QStringLiteral("notRemovedReport"),
                  SelectedFilesTexts::notRemovedOneMessage(first->item ? displayNameOf(*first->item)
                                                                       : QString()),
                  reason, false, QString(), {});
    } else if (count >= 2) {
        // The reason, when the remover kept every copy for the same one of its own.
        const auto allFor = [&](int code) {
            const auto is = [code](const NotRemovedInfo& info) {
                return info.error && info.error->code == code;
            };
            return std::all_of(own.begin(), own.end(), is) &&
                   std::all_of(carried.begin(), carried.end(), is);
        };
        const QString informative =
            allFor(DuplicatesRemover::NoOtherCopyLeftError)
                ? SelectedFilesTexts::notRemovedSeveralNoOtherCopyInformative(count)
            : allFor(DuplicatesRemover::FileChangedAfterScanError)
                ? SelectedFilesTexts::notRemovedSeveralChangedInformative(count)
                : SelectedFilesTexts::notRemovedSeveralInformative(count);
        openSheet(QStringLiteral("notRemovedReport"),
                  SelectedFilesTexts::notRemovedSeveralMessage(), informative, false, QString(),
                  {});
    }
    if (first && first->item && m_panel) {
        const auto& list = m_panel->removeList();
        const auto found = std::find(list.begin(), list.end(), first->item);
        if (found != list.end()) {
            m_panel->setSelectedDuplicateIndex(qint64(found - list.begin()));
            m_panel->reloadTable();
        }
    }
}

QMessageBox* RemovalSession::openSheet(const QString& objectName, const QString& message,
                                       const QString& informative, bool withCancel,
                                       const QString& checkBoxTitle,
                                       std::function<void(bool ok, bool checked)> answered) {
    if (!m_window)
        return nullptr;
    auto* box = new QMessageBox(
        QMessageBox::NoIcon, QString(), message,
        withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, m_window);
    box->setObjectName(objectName);
    box->setInformativeText(informative);
    if (!checkBoxTitle.isEmpty())
        box->setCheckBox(new QCheckBox(checkBoxTitle, box));
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (answered) {
        QObject::connect(box, &QMessageBox::finished, box,
                         [box, answered = std::move(answered)](int result) {
                             answered(result == QMessageBox::Ok,
                                      box->checkBox() && box->checkBox()->isChecked());
                         });
    }
    box->open();
    return box;
}
