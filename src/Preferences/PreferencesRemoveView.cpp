#include "Preferences/PreferencesRemoveView.h"

#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "Preferences/PreferencesTexts.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Selection/SettingsRestore.h"
#include "Toolkit/CommonBlackButton.h"
#include "Toolkit/RestorePreferencesButton.h"

namespace {

CommonBlackButton* makeCheckBox(QWidget* parent, const QString& title) {
    auto* box = new CommonBlackButton(parent);
    box->setTitle(title);
    box->sizeToFit();
    return box;
}

} // namespace

PreferencesRemoveView::PreferencesRemoveView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PreferencesRemoveView"));
    m_removeDuplicatesPermanentlyButton =
        makeCheckBox(this, PreferencesTexts::removeDuplicatesPermanently());
    m_allowRemoveAllCopiesButton = makeCheckBox(this, PreferencesTexts::allowRemovingAllCopies());
    m_removeEmptyFoldersButton = makeCheckBox(this, PreferencesTexts::removeEmptyFolders());
    m_restoreDefaultsButton = new RestorePreferencesButton(this);
    m_restoreDefaultsButton->setTitle(PreferencesTexts::restoreDefaults());
    m_restoreDefaultsButton->sizeToFit();

    connect(m_removeDuplicatesPermanentlyButton, &QAbstractButton::clicked, this,
            [this] { onRemoveDuplicatesPermanentlyButtonPressed(); });
    connect(m_allowRemoveAllCopiesButton, &QAbstractButton::clicked, this,
            [this] { onAllowRemovingAllCopiesButtonPressed(); });
    connect(m_removeEmptyFoldersButton, &QAbstractButton::clicked, this,
            [this] { onRemoveEmptyFoldersButtonPressed(); });
    connect(m_restoreDefaultsButton, &QAbstractButton::clicked, this,
            [this] { restoreDefaultsButtonPressed(); });
}

void PreferencesRemoveView::loadDefaultInformation() {
    m_removeDuplicatesPermanentlyButton->setState(
        Settings::moveCleanedDuplicatesToTheTrashCan() ? 0 : 1);
    m_allowRemoveAllCopiesButton->setState(Settings::allowRemovingAllDuplicateCopies() ? 1 : 0);
    m_removeEmptyFoldersButton->setState(Settings::removeEmptyFolders() ? 1 : 0);
    AppNotification::CreateDuplicateItemSelectionChangedNotification();
    AppNotification::CreateRemoveToTrashSettingChangedNotification();
}

void PreferencesRemoveView::restoreDefaultsButtonPressed() {
    Settings::restoreDefaultsForAllSettings();
    loadDefaultInformation();
}

void PreferencesRemoveView::onRemoveDuplicatesPermanentlyButtonPressed() {
    Settings::setMoveCleanedDuplicatesToTheTrashCan(m_removeDuplicatesPermanentlyButton->state() !=
                                                    1);
    AppNotification::CreateRemoveToTrashSettingChangedNotification();
}

void PreferencesRemoveView::onAllowRemovingAllCopiesButtonPressed() {
    if (m_allowRemoveAllCopiesButton->state() == 1) {
        Settings::setAllowRemovingAllDuplicateCopies(true);
        AppNotification::CreateDuplicateItemSelectionChangedNotification();
        return;
    }
    Settings::setAllowRemovingAllDuplicateCopies(false);
    AppNotification::CreateDuplicateItemSelectionChangedNotification();
    const auto container = DuplicatesManager::sharedManager().duplicateContainer();
    if (!container)
        return;
    // With the allowance gone no group may stay fully selected. All deselections form one
    // batch, so the views refresh once rather than once per copy.
    DuplicatesGroup::BeginSelectionGroup();
    const auto groups = container->getAllFilesGroups();
    for (const auto& group : groups) {
        if (group->getSelectedCountWithDuplicatesFolderContent() != group->getTotalCount())
            continue;
        for (const auto& item : group->getItems())
            item->deselectItem();
    }
    DuplicatesGroup::EndSelectionGroup();
}

void PreferencesRemoveView::onRemoveEmptyFoldersButtonPressed() {
    Settings::setRemoveEmptyFolders(m_removeEmptyFoldersButton->state() == 1);
}

void PreferencesRemoveView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int left = 40;
    m_removeDuplicatesPermanentlyButton->move(left, 36);
    m_allowRemoveAllCopiesButton->move(left, 70);
    m_removeEmptyFoldersButton->move(left, 104);
    m_restoreDefaultsButton->move(width() - 20 - m_restoreDefaultsButton->width(),
                                  height() - 20 - m_restoreDefaultsButton->height());
}
