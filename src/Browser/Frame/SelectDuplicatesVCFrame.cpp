// The results screen as the views inside it see it: the few controls of its toolbar and
// bottom bar that they may use, and the copies table's chosen copy.
#include "Browser/Frame/SelectDuplicatesVC.h"

#include "Browser/Copies/DuplicateSelectionVC.h"
#include "Browser/Frame/DuplicateBottombarVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Toolkit/WhiteTitleButton.h"

void SelectDuplicatesVC::pressButtonForCategoryType(int type) {
    m_duplicatesToolbar->pressButtonForCategoryType(type);
}

void SelectDuplicatesVC::chooseCategory(int type) {
    switch (type) {
    case 0:
        m_duplicatesToolbar->picturesButtonPressed(nullptr);
        break;
    case 1:
        m_duplicatesToolbar->moviesButtonPressed(nullptr);
        break;
    case 2:
        m_duplicatesToolbar->musicButtonPressed(nullptr);
        break;
    case 3:
        m_duplicatesToolbar->documentsButtonPressed(nullptr);
        break;
    case 4:
        m_duplicatesToolbar->archivesButtonPressed(nullptr);
        break;
    case 5:
        m_duplicatesToolbar->othersButtonPressed(nullptr);
        break;
    default:
        m_duplicatesToolbar->foldersButtonPressed(nullptr);
        break;
    }
}

void SelectDuplicatesVC::pressSimilarsButton() {
    m_duplicatesToolbar->heapsButtonPressed(m_duplicatesToolbar->heapsButton());
}

void SelectDuplicatesVC::setRemoveIsOn(bool on) {
    if (m_duplicatesToolbar)
        m_duplicatesToolbar->setRemoveIsOn(on);
}

std::uint64_t SelectDuplicatesVC::deletedSize() const {
    return m_duplicatesBottombar ? m_duplicatesBottombar->deletedSize() : 0;
}

void SelectDuplicatesVC::addDeletedSize(std::uint64_t size) {
    if (m_duplicatesBottombar)
        m_duplicatesBottombar->addDeletedSize(size);
}

void SelectDuplicatesVC::setRemoveButtonToolTip(const QString& tip) {
    if (m_duplicatesBottombar)
        m_duplicatesBottombar->removeButton()->setToolTip(tip);
}

std::optional<QByteArray> SelectDuplicatesVC::selectedCopyPath() const {
    if (!m_duplicateSelectionVC)
        return std::nullopt;
    return m_duplicateSelectionVC->getSelectedFilePath();
}
