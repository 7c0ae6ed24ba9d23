#pragma once

#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

class AddFolderView;
class MBCoverFlowView;
class ButtonWithTrackingArea;
class QAction;
class QFileDialog;
class WelcomeScreenProtocolDelegate;
class WelcomeScreenView;

// The first screen of the main window: the user builds the list of folders to scan (folder
// chooser, drops, recent folders, the folders of the last scan) and starts the scan. The
// list is newest first and shown by the cover flow; two entries are the same folder when
// their paths are equal character for character.
//
// Made by the main window controller for each showing: it sets the delegate and the paths
// to pre-fill, then calls awakeFromNib(). Main thread only.
class WelcomeScreenVC final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WelcomeScreenVC)

public:
    static constexpr const char* kInterfaceName = "WelcomeScreenVC_DARK";
    static constexpr int kIconSize = 128;
    static constexpr int kRecentFoldersCount = 10;

    explicit WelcomeScreenVC(QWidget* parent = nullptr);
    ~WelcomeScreenVC() override;

    void setDelegate(WelcomeScreenProtocolDelegate* delegate) { m_delegate = delegate; }
    void setPathsArray(const QStringList& paths) { m_pathsArray = paths; }
    QStringList pathsArray() const { return m_pathsArray; }
    void awakeFromNib();

    // Adds one folder (or selects it when listed); a null path empties the cover flow.
    void loadFilesByPath(const QString& path);
    void restoreFoldersInFlowViewAfterStopScanButtonPressed(const QStringList& paths);
    void addFolderButtonPressed();
    // |sender| is the menu item that asked, or none. The all-out choice (Option held, or the
    // "All-out Scan" item) goes to this one scan only; the stored preference is left alone.
    void startScanButtonPressed(QAction* sender = nullptr);
    // Refreshes the counter, the help line and the scan button from the list; YES when a
    // folder is listed. Once a scan has started from this screen the button stays off.
    bool checkFoldersCount();
    // Whether a start request would start a scan now: a folder is listed, no scan started
    // from this screen yet and no folder chooser open. Reads only (the menu asks it).
    bool canStartScan() const;
    // Closes the scan gate for the life of this screen: a scan of its folders is under way
    // (a rescan starts it without a start request).
    void closeScanGate();
    void startScanButtonPulse();
    void flagsChanged(quint32 modifierFlags);
    void zembrookButtonPressed();

    // The recent list rule: |path| moves to the front, at most 10 entries are kept.
    static QStringList addPathToRecentList(QStringList recent, const QString& path);
    // A folder entry {"image", "name", "path"}; empty when the path has no icon.
    static QVariantMap folderEntryForPath(const QString& path);

    // ---- Read back, for the menu, tests and the shots.
    const QList<QVariantMap>& foldersArray() const { return m_foldersArray; }
    QStringList folderPaths() const;
    // The selected entry of the cover flow; -1 with an empty list.
    int selectedIndex() const;
    QString foldersCountText() const { return m_foldersCountLabel->text(); }
    QString helpText() const;
    bool isScanButtonEnabled() const;
    bool isScanStarted() const { return m_scanStarted; }
    bool isOptionPressed() const { return m_bOptionPressed; }
    bool isOpenDialogOnScreen() const { return m_openDialogOnScreen; }
    ButtonWithTrackingArea* scanButton() const { return m_scanButton; }
    ButtonWithTrackingArea* addButton() const { return m_addButton; }
    ButtonWithTrackingArea* zembrookButton() const { return m_zembrookButton; }
    QWidget* folderCountView() const { return m_folderCountView; }
    MBCoverFlowView* flowView() const { return m_flowView; }
    QFileDialog* openPanel() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setScanButtonNormalState();
    void setScanButtonScanAllState();
    void customizeStatusLabelForNoFolders(bool noFolders);
    void fileRemoved(const QVariantMap* userInfo);
    void keyPressed(quint16 keyCode);
    void layoutViews();
    // Hands the whole list to the cover flow and keeps its selection.
    void reloadFlowView();
    void selectFolderByIndex(int index);

    WelcomeScreenView* m_view = nullptr;
    QLabel* m_foldersCountLabel = nullptr;
    ButtonWithTrackingArea* m_addButton = nullptr;
    ButtonWithTrackingArea* m_scanButton = nullptr;
    ButtonWithTrackingArea* m_zembrookButton = nullptr;
    QLabel* m_statusLabelPart1 = nullptr;
    QLabel* m_statusLabelPart2 = nullptr;
    QLabel* m_statusLabelPart3 = nullptr;
    AddFolderView* m_statusLabelImageView = nullptr;
    QLabel* m_logoImageView = nullptr;
    QWidget* m_folderCountView = nullptr;
    MBCoverFlowView* m_flowView = nullptr;
    QPointer<QFileDialog> m_openPanel;
    bool m_openDialogOnScreen = false;
    bool m_bOptionPressed = false;
    // Set by the first start; a screen starts one scan at most.
    bool m_scanStarted = false;
    QList<QVariantMap> m_foldersArray;
    WelcomeScreenProtocolDelegate* m_delegate = nullptr;
    QStringList m_pathsArray;
};
