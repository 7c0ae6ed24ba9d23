#pragma once

#include <QWidget>

class CommonBlackButton;
class RestorePreferencesButton;

// The Remove pane: delete permanently instead of moving to the Trash, allow selecting every
// copy of a group, and remove folders left empty. Every load posts the selection-changed and
// the remove-to-trash-setting-changed notifications, so the results views refresh whenever
// the pane is shown; loading stores nothing. Turning the allowance off deselects, in one
// selection batch, every group of the current result whose copies are all selected.
// Main thread only.
class PreferencesRemoveView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesRemoveView)

public:
    explicit PreferencesRemoveView(QWidget* parent = nullptr);

    void loadDefaultInformation();
    void updateData() { loadDefaultInformation(); }

    // The user's actions; each reads its check box's state.
    void restoreDefaultsButtonPressed();
    void onRemoveDuplicatesPermanentlyButtonPressed();
    void onAllowRemovingAllCopiesButtonPressed();
    void onRemoveEmptyFoldersButtonPressed();

    CommonBlackButton* removeDuplicatesPermanentlyButton() const {
        return m_removeDuplicatesPermanentlyButton;
    }
    CommonBlackButton* allowRemoveAllCopiesButton() const { return m_allowRemoveAllCopiesButton; }
    CommonBlackButton* removeEmptyFoldersButton() const { return m_removeEmptyFoldersButton; }
    RestorePreferencesButton* restoreDefaultsButton() const { return m_restoreDefaultsButton; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CommonBlackButton* m_removeDuplicatesPermanentlyButton = nullptr;
    CommonBlackButton* m_allowRemoveAllCopiesButton = nullptr;
    CommonBlackButton* m_removeEmptyFoldersButton = nullptr;
    RestorePreferencesButton* m_restoreDefaultsButton = nullptr;
};
