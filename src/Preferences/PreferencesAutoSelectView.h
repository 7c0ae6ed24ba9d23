#pragma once

#include "Preferences/PreferencesListPane.h"

#include <QPointer>

#include <optional>

class QMessageBox;

// The Auto-select pane: the folders whose copies the automatic selection always selects
// and those it never selects. A folder stands in one of the two lists only: a change that
// would put a folder into both raises a sheet that either moves the folder (OK) or drops
// the whole change (Cancel); until it is answered the table shows the change unsaved.
// Folders only, compared as exact path strings. Main thread only.
class PreferencesAutoSelectView final : public PreferencesListPane {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesAutoSelectView)

public:
    enum AutoSelectListType : qint64 {
        AutoSelectListNone = -1,
        AutoSelectListAlways = 0,
        AutoSelectListNever = 1,
    };

    explicit PreferencesAutoSelectView(QWidget* parent = nullptr);

    // Shows the Always Select (|always|) or Never Select list and adds |path| to it, through
    // the conflict check. No row is selected afterwards.
    void addFolderToAlwaysSelectList(bool always, const QString& path);

    void onPreessAddButton() override;
    // Removal never raises the conflict sheet.
    void onPressRemoveButton() override;
    bool draggingEntered(const QStringList& names, bool hasFileNames) const override;
    void draggingEnded(const QStringList& names) override;

    // The conflict sheet while it is up; null otherwise.
    QMessageBox* conflictAlert() const;
    // Answers the conflict sheet as its buttons do.
    void conflictAnswered(bool ok);

protected:
    int typeCount() const override { return 2; }
    QString typeTitle(int type) const override;
    QStringList getExcludeListContentFromSave() const override;
    void setExcludeListData(const QStringList& list, bool save) override;
    void onTextFieldEndEditing(int row, const QString& text) override;
    bool keepsEditingOnReturn(const QString& text) const override;
    void currentTypeChanged() override;

private:
    // Finds the pending paths that stand in the other list; when there are any, raises the
    // conflict sheet and answers true.
    bool conflictInAlwaysAndNeverSelect();
    void storeList(qint64 type, const QStringList& list) const;
    QStringList storedList(qint64 type) const;

    // The list a change is about to store; empty when no conflict check is wanted.
    std::optional<QStringList> m_arrTempExcludeListData;
    QStringList m_arrConflictListData;
    QPointer<QMessageBox> m_conflictAlert;
};
