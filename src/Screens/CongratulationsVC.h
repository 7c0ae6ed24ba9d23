#pragma once

#include "Toolkit/Backgrounds.h"
#include <QStringList>

#include <QWidget>

#include <cstdint>

class AttributedLabel;
class ButtonWithTrackingArea;
class TitleButton;

// The screen that closes the cleaning of a scan's results, laid over the results screen
// once no duplicate is left. After a removal it tells how much was cleaned from these
// results and in total, and offers a new scan, more clean-up tools and sharing; when the
// results ran empty without a removal it names the processed folders and offers only a new
// scan.
//
// Its owner frames it to the results screen's bounds, adds it on top and calls
// showViewAnimatiedWithRemovedSizeAndScannedFolders(). Main thread only.
class CongratulationsVC : public ViewWithCommonBackground {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CongratulationsVC)

public:
    static constexpr const char* kInterfaceName = "CongratulationsVC_DARK";
    static constexpr int kShowAnimationMs = 1000;
    // The folder sentence is measured within this box.
    static constexpr int kSentenceWidth = 594;
    static constexpr int kSentenceHeight = 100;

    explicit CongratulationsVC(QWidget* parent = nullptr);

    // |removedSize| bytes cleaned from these results; |scannedFolders| the scan's folders
    // when the results ran empty some other way (with a size of 0 that gives the plain
    // variant).
    void showViewAnimatiedWithRemovedSizeAndScannedFolders(std::uint64_t removedSize,
                                                           const QStringList& scannedFolders);
    // Hides every button whose service is missing and places the rest.
    void updateSharingButtons();

    void newScanButtonPressed();
    void cleanUpMoreButtonPressed();
    void rateButtonPressed();
    void twitterButtonPressed();
    void facebookButtonPressed();
    void emailButtonPressed();

    std::uint64_t removedSizeInCurrentSession() const { return m_removedSizeInCurrentSession; }
    bool isPlainVariant() const { return m_plainVariant; }
    AttributedLabel* label1() const { return m_label1; }
    AttributedLabel* label2() const { return m_label2; }
    AttributedLabel* label3() const { return m_label3; }
    AttributedLabel* label4() const { return m_label4; }
    ButtonWithTrackingArea* newScanButton() const { return m_newScanButton; }
    ButtonWithTrackingArea* rateButton() const { return m_rateButton; }
    ButtonWithTrackingArea* cleanUpMoreButton() const { return m_cleanUpMoreButton; }
    ButtonWithTrackingArea* twitterButton() const { return m_twitterButton; }
    ButtonWithTrackingArea* facebookButton() const { return m_facebookButton; }
    ButtonWithTrackingArea* emailButton() const { return m_emailButton; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void awakeFromNib();
    void layoutViews();
    void setNoDeletedDuplicatesView();
    void sendEmailWithMailAddressSubjectBody(const QString& mail, const QString& address,
                                             const QString& subject, const QString& body);

    AttributedLabel* m_label1 = nullptr;
    AttributedLabel* m_label2 = nullptr;
    AttributedLabel* m_label3 = nullptr;
    AttributedLabel* m_label4 = nullptr;
    ButtonWithTrackingArea* m_newScanButton = nullptr;
    ButtonWithTrackingArea* m_rateButton = nullptr;
    ButtonWithTrackingArea* m_cleanUpMoreButton = nullptr;
    ButtonWithTrackingArea* m_twitterButton = nullptr;
    ButtonWithTrackingArea* m_facebookButton = nullptr;
    ButtonWithTrackingArea* m_emailButton = nullptr;
    bool m_twitterSharingService = false;
    bool m_facebookSharingService = false;
    bool m_emailSharingService = false;
    QStringList m_scannedFolders;
    bool m_hasScannedFolders = false;
    std::uint64_t m_removedSizeInCurrentSession = 0;
    bool m_plainVariant = false;
    bool m_newScanSent = false;
};
