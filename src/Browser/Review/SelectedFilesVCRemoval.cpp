// The review panel's side of a removal run: choosing Trash or permanent removal, the
// question before a permanent removal, starting and stopping the run, and showing its
// progress. The run itself, and what follows its end, lives in RemovalSession.
#include "Browser/Review/SelectedFilesVC.h"

#include "Browser/Review/RemovalSession.h"
#include "Browser/Review/SelectedFilesModel.h"
#include "Browser/Review/SelectedFilesTexts.h"
#include "Categories/Settings.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Screens/ProgressBarRemover.h"
#include "Toolkit/Alert.h"

#include <QCheckBox>
#include <QMessageBox>

void SelectedFilesVC::removeButtonPressed() {
    performRemoveCurrentRemoveListUsingUserSelectedOption();
}

void SelectedFilesVC::performRemoveCurrentRemoveListUsingUserSelectedOption() {
    if (Settings::moveCleanedDuplicatesToTheTrashCan()) {
        removeItemsToTrash(std::nullopt, true);
        return;
    }
    // A press during a run stops it, whichever way it removes.
    if (!Settings::showRemovePermanentlyMessage() || m_removeIsOn) {
        removeItemsToTrash(std::nullopt, false);
        return;
    }
    const auto container = DuplicatesManager::sharedManager().duplicateContainer();
    const std::uint64_t count = container ? container->getItemsCountInRemoveList() : 0;
    auto* box = new Alert(SelectedFilesTexts::permanentMessage(),
                          SelectedFilesTexts::permanentInformative(count),
                          QMessageBox::Ok | QMessageBox::Cancel, window());
    box->setObjectName(QStringLiteral("removePermanentlyConfirmation"));
    box->setCheckBox(new QCheckBox(SelectedFilesTexts::dontShowAgain(), box));
    connect(box, &QMessageBox::finished, this, [this, box](int result) {
        if (result != QMessageBox::Ok)
            return;
        if (box->checkBox()->isChecked())
            Settings::setShowRemovePermanentlyMessage(false);
        removeItemsToTrash(std::nullopt, false);
    });
    box->open();
}

void SelectedFilesVC::removeItemsToTrash(std::optional<Items> items, bool toTrash) {
    if (m_animating)
        return;
    if (m_removeIsOn) {
        if (const auto session = RemovalSession::current())
            session->stop();
        return;
    }
    if (!items) {
        const auto container = DuplicatesManager::sharedManager().duplicateContainer();
        items = container ? container->buildRemoveList() : Items();
    }
    RemovalSession::start(*items, toTrash, this, m_controller, window());
}

void SelectedFilesVC::removalDidStart() {
    m_removeIsOn = true;
    m_progressBar->show();
    updateAllButtonsAndLabels();
    AnimationClock::instance().cancel(m_refreshTimer);
    m_refreshTimer = AnimationClock::instance().every(kRefreshTickMs, this,
                                                      [this] { updateTableViewIfNeeded(); });
}

void SelectedFilesVC::updateTableViewIfNeeded() {
    updateAllButtonsAndLabels();
    if (!m_removeIsOn) {
        AnimationClock::instance().cancel(m_refreshTimer);
        m_refreshTimer = 0;
    }
}

void SelectedFilesVC::removalDidRemoveItems(const Items& items, float progress) {
    bool changed = false;
    for (const auto& item : items)
        changed = m_arrRemoveList.remove(item.get()) || changed;
    if (changed)
        listChanged();
    m_progressBar->setProgress(progress);
}

void SelectedFilesVC::removalDidFinish(std::uint64_t removedSize) {
    m_removeIsOn = false;
    m_progressBar->hide();
    m_progressBar->setProgress(0);
    m_removedSize = removedSize;
    updateAllButtonsAndLabels();
}
