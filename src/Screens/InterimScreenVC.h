#pragma once

#include <QList>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

class AttributedLabel;
class ButtonWithTrackingArea;
class InterimScreenProtocolDelegate;
class MBCoverFlowView;
class QLabel;

// The screen shown when the user goes back from the results: the last scan's folders,
// when it finished, how much was found and how much has been cleaned since, with a
// new-scan and a show-results button. Its folder list is read-only.
//
// The main window controller makes it, sets the delegate, fits it to the window, adds it,
// then calls loadFolderFromArray() with the last scan's folders; it sets the animation flag
// while its show animation runs (the buttons do nothing meanwhile) and releases the screen
// when it hides it. Main thread only.
class InterimScreenVC : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InterimScreenVC)

public:
    static constexpr const char* kInterfaceName = "InterimScreenVC_DARK";

    explicit InterimScreenVC(QWidget* parent = nullptr);

    void setDelegate(InterimScreenProtocolDelegate* delegate) { m_delegate = delegate; }
    InterimScreenProtocolDelegate* delegate() const { return m_delegate; }
    // Lists the folders of |paths| that still exist, in order; writes nothing anywhere.
    void loadFolderFromArray(const QStringList& paths);
    QStringList folderArray() const { return m_paths; }
    void setAnimationExecution(bool running) { m_animationExecution = running; }
    bool animationExecution() const { return m_animationExecution; }

    // Rebuilds both summary lines from the result manager.
    void updateInformation();
    void newScanButtonPressed();
    void showResultsButtonPressed();

    // The folder entries {"image", "name", "path"} shown.
    const QList<QVariantMap>& folderEntries() const { return m_folderEntries; }
    AttributedLabel* label1() const { return m_label1; }
    AttributedLabel* label2() const { return m_label2; }
    ButtonWithTrackingArea* newScanButton() const { return m_newScanButton; }
    ButtonWithTrackingArea* showResultsButton() const { return m_showResultsButton; }
    MBCoverFlowView* coverFlowView() const { return m_coverFlowView; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void awakeFromNib();
    void layoutViews();

    MBCoverFlowView* m_coverFlowView = nullptr;
    ButtonWithTrackingArea* m_newScanButton = nullptr;
    QLabel* m_newScanLabel = nullptr;
    ButtonWithTrackingArea* m_showResultsButton = nullptr;
    QLabel* m_showResultsLabel = nullptr;
    AttributedLabel* m_label1 = nullptr;
    AttributedLabel* m_label2 = nullptr;
    bool m_animationExecution = false;
    InterimScreenProtocolDelegate* m_delegate = nullptr;
    QStringList m_paths;
    QList<QVariantMap> m_folderEntries;
};
