#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

class CongratulationsVC;

// The results screen. The main window controller makes it for a finished scan with
// duplicates, hands it the scanned folders, presses its overview button and slides it in;
// it tells the screen when the window has grown (showScanResultsViewAnimationComleted) and
// asks it to detach its views' delegates before tearing it down.
//
// For now this is a screen of the right size that shows nothing yet, with the interface
// the main window relies on.
class SelectDuplicatesVC : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SelectDuplicatesVC)

public:
    static constexpr const char* kInterfaceName = "SelectDuplicatesVC";

    explicit SelectDuplicatesVC(QWidget* parent = nullptr);
    ~SelectDuplicatesVC() override;

    void setScannedFolders(const QStringList& folders) { m_scannedFolders = folders; }
    QStringList scannedFolders() const { return m_scannedFolders; }
    void setAnimating(bool animating) { m_animating = animating; }
    bool animating() const { return m_animating; }

    // The window has grown to the results size after the screen slid in.
    void showScanResultsViewAnimationComleted();
    bool resultsViewShown() const { return m_resultsViewShown; }
    // Detaches the child views' delegates; also run on "BackToWelcomeScreen" and
    // "BackToInterimScreen".
    void resetAllDelegates();
    // Closes the help overlay when one is shown.
    void hideAndDestroyOverlay();
    // The review-and-remove panel's controller while it is open; never open yet.
    QWidget* selectedFilesVC() const { return nullptr; }
    // Shows the overview, as the toolbar's overview button does.
    void pressOverviewButton();
    // Once no duplicate is left: lays the congratulations screen over this screen, framed to
    // its bounds, and shows it with the bytes removed from these results and, when the
    // results ran empty without a removal, the scan's folders.
    void showCongratulationsView(quint64 removedSize, const QStringList& scannedFolders);
    CongratulationsVC* congratulationsController() const;

private:
    QStringList m_scannedFolders;
    bool m_animating = false;
    bool m_resultsViewShown = false;
    QPointer<CongratulationsVC> m_congratulationsVC;
};
