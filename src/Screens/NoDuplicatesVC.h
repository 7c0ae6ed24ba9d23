#pragma once

#include "Toolkit/Backgrounds.h"
#include <QPointer>
#include <QStringList>

#include <QWidget>

class AttributedLabel;
class ButtonWithTrackingArea;
class NoDupsUnderlineButton;
class PreferencesWC;
class QLabel;

// The view the scan screen lays over itself when a scan found no duplicate: which folders
// were scanned and how many files were met, a note on a manual minimal file size, and a
// new scan, a rescan of the same folders and the preferences.
//
// The scan screen makes it, frames it to its own bounds, adds it on top and then calls
// showViewAnimatiedWithFoldersArrayAndScannedFiles() with the finished scan's figures.
// Main thread only.
class NoDuplicatesVC : public ViewWithCommonBackground {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NoDuplicatesVC)

public:
    static constexpr const char* kInterfaceName = "NoDuplicatesVC_DARK";
    static constexpr int kShowAnimationMs = 1000;

    explicit NoDuplicatesVC(QWidget* parent = nullptr);

    // Slides the view down into place from just above it, then fills the labels.
    // |scanStopped|: the user stopped the scan before it had compared every file, so the view
    // claims no uniqueness.
    void showViewAnimatiedWithFoldersArrayAndScannedFiles(const QStringList& folders,
                                                          quint64 filesCount,
                                                          bool scanStopped = false);
    void updateAllLabels();

    // Posts "NoDuplicatesMore" then "BackToWelcomeScreen", once.
    void newScanButtonPressed();
    // Posts "RestartScan".
    void rescanButtonPressed();
    // Opens a new preferences window as a sheet with no parent window.
    void changeButtonPressed();
    PreferencesWC* preferencesController() const;

    QStringList foldersArray() const { return m_foldersArray; }
    quint64 filesCount() const { return m_filesCount; }
    bool scanStopped() const { return m_scanStopped; }
    AttributedLabel* label1() const { return m_label1; }
    AttributedLabel* label2() const { return m_label2; }
    AttributedLabel* label3() const { return m_label3; }
    AttributedLabel* label4() const { return m_label4; }
    AttributedLabel* label5() const { return m_label5; }
    AttributedLabel* label6_1() const { return m_label6_1; }
    QWidget* minimalDupsSizeView() const { return m_minimalDupsSizeView; }
    ButtonWithTrackingArea* newScanButton() const { return m_newScanButton; }
    NoDupsUnderlineButton* rescanButton() const { return m_rescanButton; }
    NoDupsUnderlineButton* changeButton() const { return m_changeButton; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void awakeFromNib();
    void layoutFixedViews();
    // Places |view| by its frame in this view's y-up coordinates.
    void placeFromBottom(QWidget* view, int x, int y, int width, int height);
    int originYFromBottom(const QWidget* view) const;

    AttributedLabel* m_label1 = nullptr;
    AttributedLabel* m_label2 = nullptr;
    AttributedLabel* m_label3 = nullptr;
    AttributedLabel* m_label4 = nullptr;
    AttributedLabel* m_label5 = nullptr;
    AttributedLabel* m_label6_1 = nullptr;
    AttributedLabel* m_label6_2 = nullptr;
    QWidget* m_minimalDupsSizeView = nullptr;
    ButtonWithTrackingArea* m_newScanButton = nullptr;
    NoDupsUnderlineButton* m_rescanButton = nullptr;
    NoDupsUnderlineButton* m_changeButton = nullptr;
    QStringList m_foldersArray;
    quint64 m_filesCount = 0;
    bool m_scanStopped = false;
    bool m_newScanSent = false;
    QPointer<PreferencesWC> m_preferencesController;
};
