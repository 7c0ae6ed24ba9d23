#pragma once

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

class ColoredView;
class PrefsListModel;
class PrefsTableCellView;
class QLabel;
class QLineEdit;
class QListView;
class RestorePreferencesButton;
class WhiteTitleButton;

// What the Skip list and the Auto-select panes share: a type table on the left choosing
// which stored list is shown, a list table showing that list followed by one empty row
// (where new entries are typed), a bar with Add and Remove under the tables, Restore
// Defaults, editing a row in place, removing rows with the Delete key while the list has
// the focus, and taking dropped files and folders.
//
// The shown list is always the stored list as last saved or loaded plus exactly one
// trailing empty row; a stored list never holds an empty string. Every user change is
// saved at once; loading and switching the type never write. Main thread only.
class PreferencesListPane : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesListPane)

public:
    // What an open panel is asked to offer.
    struct OpenPanelRequest {
        bool canChooseFiles = false;
        bool canChooseDirectories = false;
        bool showsHiddenFiles = false;
        QString title;
    };
    // Shows an open panel for |window| and calls |done| with the chosen paths, in the
    // panel's order, only when the user confirms. The default shows the toolkit's file
    // dialog, window-modal; tests put their own in its place.
    using OpenPanelRunner = std::function<void(QWidget* window, const OpenPanelRequest& request,
                                               std::function<void(const QStringList&)> done)>;
    static void setOpenPanelRunner(OpenPanelRunner runner);

    // One-time set-up: connects the tables, then chooses the first type, which loads its
    // list (nothing is written).
    void loadDefaultInformation();
    // Reloads the current list from the settings without saving.
    void updateData();

    // The list shown, with its trailing empty row.
    QStringList shownList() const { return m_arrExcludeListData; }
    // -1 before a type is chosen.
    qint64 selectedType() const { return m_nSelectedType; }
    // Chooses a type row as a click on it does: a new type loads its list.
    void selectType(int type);
    // Selects exactly |rows| of the list table.
    void selectListRows(const QList<int>& rows);
    QList<int> selectedListRows() const;

    // The user's actions.
    virtual void onPreessAddButton() = 0;
    virtual void onPressRemoveButton();
    void onPressRestoreDefaultsButton();
    // A double-click on a row of the list (the empty row included) puts it in edit mode.
    void rowWasDoubleClicked(int row);
    // Ends any edit as a click elsewhere does (the edit is committed).
    void endEditing();

    // Drag and drop, as the toolkit's drag events call them; public for the tests.
    // |names| are the local file names the drag carries; |hasFileNames| false when it
    // carries none. Answers whether the drag is accepted.
    virtual bool draggingEntered(const QStringList& names, bool hasFileNames) const = 0;
    // The drag was released over the pane with |names|.
    virtual void draggingEnded(const QStringList& names) = 0;

    // The edit field while a row is in edit mode; null otherwise.
    QLineEdit* editField() const;
    int editedRow() const { return m_editedRow; }
    QListView* typeSelectionTable() const { return m_pTypeSelectionTable; }
    QListView* excludeListTable() const { return m_pExcludeListTable; }
    WhiteTitleButton* addButton() const { return m_addButton; }
    WhiteTitleButton* removeButton() const { return m_removeButton; }
    RestorePreferencesButton* restoreDefaultsButton() const { return m_restoreDefaultsButton; }
    QLabel* descriptionLabel() const { return m_descriptionLabel; }

protected:
    explicit PreferencesListPane(QWidget* parent = nullptr);

    virtual int typeCount() const = 0;
    virtual QString typeTitle(int type) const = 0;
    virtual QString typeImage(int) const { return {}; }
    // The stored list of the current type; empty with no type.
    virtual QStringList getExcludeListContentFromSave() const = 0;
    // Drops empty strings, saves when |save| says so (and the pane agrees), then shows the
    // list with its empty row (showList()).
    virtual void setExcludeListData(const QStringList& list, bool save) = 0;
    // The edit of |row| ended with |text| (Return, a click elsewhere, Add).
    virtual void onTextFieldEndEditing(int row, const QString& text) = 0;
    // Whether Return on |text| must leave the row in edit mode instead of committing.
    virtual bool keepsEditingOnReturn(const QString& text) const = 0;
    // Called after the type changed and its list was loaded.
    virtual void currentTypeChanged() {}

    void loadExcludeListContentFromSave();
    // Shows |list| (without empty strings) followed by the empty row.
    void showList(const QStringList& list);
    // Puts |row| of the list in edit mode, ending an edit under way first.
    void startEditingRow(int row);
    void runOpenPanel(const OpenPanelRequest& request,
                      std::function<void(const QStringList&)> done);
    // Selects the row showing |path| when exactly one path was chosen or dropped.
    void selectRowOfSinglePath(const QStringList& paths);

    static QStringList withoutEmptyStrings(const QStringList& list);
    // Whether a file-system item exists at |path| (an absolute path; a relative one would
    // name a place that depends on where the program happened to start).
    static bool itemExists(const QString& path);
    static bool isDirectory(const QString& path);

    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

    QStringList m_arrExcludeListData;
    qint64 m_nSelectedType = -1;

private:
    void onTypeSelectionChanged();
    void finishEditing(bool commit);
    void layoutViews();

    ColoredView* m_pTableBottomBarView = nullptr;
    QListView* m_pTypeSelectionTable = nullptr;
    QListView* m_pExcludeListTable = nullptr;
    PrefsListModel* m_typeModel = nullptr;
    PrefsListModel* m_listModel = nullptr;
    PrefsTableCellView* m_typeCell = nullptr;
    PrefsTableCellView* m_listCell = nullptr;
    QLabel* m_descriptionLabel = nullptr;
    WhiteTitleButton* m_addButton = nullptr;
    WhiteTitleButton* m_removeButton = nullptr;
    RestorePreferencesButton* m_restoreDefaultsButton = nullptr;
    QPointer<QLineEdit> m_editField;
    int m_editedRow = -1;
    bool m_loaded = false;
};
