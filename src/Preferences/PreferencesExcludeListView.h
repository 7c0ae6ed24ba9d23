#pragma once

#include "Preferences/PreferencesListPane.h"

// The Skip list pane: the folders (a folder and everything under it), the files (exact
// paths) and the file extensions every scan leaves out. Folders and files are added through
// an open panel, by typing a path or by dropping them; extensions by typing. An entry of
// the wrong kind typed into the Folders or Files list goes to the other list. The scan reads
// the lists when its result is made, so edits apply to the next scan. Main thread only.
class PreferencesExcludeListView final : public PreferencesListPane {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesExcludeListView)

public:
    enum SkipListType : qint64 {
        SkipListNone = -1,
        SkipListFolders = 0,
        SkipListFiles = 1,
        SkipListExtensions = 2,
    };

    explicit PreferencesExcludeListView(QWidget* parent = nullptr);

    // Shows the Folders (|isFolder|) or Files list and adds |path| to it when it is not
    // there yet (saved), then selects its row.
    void addFolderToSkipList(bool isFolder, const QString& path);

    // A typed extension as it is stored: every ".", ":", "/" and " " removed and one "."
    // put in front. Shorter than 2 characters means nothing to add.
    static QString cleanedExtension(const QString& text);

    void onPreessAddButton() override;
    bool draggingEntered(const QStringList& names, bool hasFileNames) const override;
    void draggingEnded(const QStringList& names) override;

protected:
    int typeCount() const override { return 3; }
    QString typeTitle(int type) const override;
    QString typeImage(int type) const override;
    QStringList getExcludeListContentFromSave() const override;
    void setExcludeListData(const QStringList& list, bool save) override;
    void onTextFieldEndEditing(int row, const QString& text) override;
    bool keepsEditingOnReturn(const QString& text) const override;
};
