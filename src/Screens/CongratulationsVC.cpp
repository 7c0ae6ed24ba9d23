#include "CongratulationsVC.h"

#include "Categories/AppNotification.h"
#include "Categories/FileSize.h"
#include "Categories/Settings.h"
#include "Platform/NotificationCenter.h"
#include "Promo/PromoManager.h"
#include "Screens/AttributedText.h"
#include "Screens/FlowTexts.h"
#include "Screens/ScreenButtonImages.h"
#include "Shell/ScreenAnimation.h"
#include "Shell/ShareTexts.h"
#include "Shell/SharingService.h"
#include "Shell/WindowSharing.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/Palette.h"

#include <QPropertyAnimation>

#include <cmath>

namespace {

constexpr qreal kTextSize = 24;
constexpr qreal kHeadingSize = 30;

// Places |view| by its frame in its parent's y-up coordinates.
void placeFromBottom(QWidget* view, int x, int y, int width, int height) {
    view->setGeometry(x, view->parentWidget()->height() - y - height, width, height);
}

int originYFromBottom(const QWidget* view) {
    return view->parentWidget()->height() - view->y() - view->height();
}

} // namespace

CongratulationsVC::CongratulationsVC(QWidget* parent) : ViewWithCommonBackground(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    const QColor text = Palette::noDuplicatesTextColor();
    m_label1 = new AttributedLabel(kHeadingSize, text, this);
    m_label1->setAttributedText({{QStringLiteral("Congratulations!"), true}});
    m_label2 = new AttributedLabel(kTextSize, text, this);
    m_label2->setPlainString(QStringLiteral("The duplicates you chose are gone."));
    m_label3 = new AttributedLabel(kTextSize, text, this);
    m_label4 = new AttributedLabel(kTextSize, text, this);
    const auto button = [this](const char* name) {
        auto* made = new ButtonWithTrackingArea(this);
        made->setObjectName(QLatin1String(name));
        return made;
    };
    m_newScanButton = button("newScanButton");
    m_rateButton = button("rateButton");
    m_cleanUpMoreButton = button("cleanUpMoreButton");
    m_twitterButton = button("twitterButton");
    m_facebookButton = button("facebookButton");
    m_emailButton = button("emailButton");
    m_twitterButton->setToolTip(QStringLiteral("Twitter"));
    m_facebookButton->setToolTip(QStringLiteral("Facebook"));
    m_emailButton->setToolTip(QStringLiteral("E-mail"));

    connect(m_newScanButton, &QAbstractButton::clicked, this, [this] { newScanButtonPressed(); });
    connect(m_rateButton, &QAbstractButton::clicked, this, [this] { rateButtonPressed(); });
    connect(m_cleanUpMoreButton, &QAbstractButton::clicked, this,
            [this] { cleanUpMoreButtonPressed(); });
    connect(m_twitterButton, &QAbstractButton::clicked, this, [this] { twitterButtonPressed(); });
    connect(m_facebookButton, &QAbstractButton::clicked, this, [this] { facebookButtonPressed(); });
    connect(m_emailButton, &QAbstractButton::clicked, this, [this] { emailButtonPressed(); });
    awakeFromNib();
}

void CongratulationsVC::awakeFromNib() {
    setScreenButtonImages(m_newScanButton, QStringLiteral("btn_newscan"));
    setScreenButtonImages(m_rateButton, QStringLiteral("btn_Rate"));
    // Rating shows nothing in this application; nothing shows the button again.
    m_rateButton->hide();
    setScreenButtonImages(m_cleanUpMoreButton, QStringLiteral("btn_CleanUp1"));
    setScreenButtonImages(m_twitterButton, QStringLiteral("btn_share_twitter"));
    setScreenButtonImages(m_facebookButton, QStringLiteral("btn_share_facebook"));
    setScreenButtonImages(m_emailButton, QStringLiteral("btn_share_email"));
    for (AttributedLabel* label : {m_label1, m_label2, m_label3, m_label4})
        label->setTextColor(Palette::noDuplicatesTextColor());
    layoutViews();
    updateSharingButtons();
}

void CongratulationsVC::updateSharingButtons() {
    using Name = SharingService::Name;
    m_twitterSharingService = SharingService::sharingServiceNamed(Name::PostOnTwitter);
    m_facebookSharingService = SharingService::sharingServiceNamed(Name::PostOnFacebook);
    m_emailSharingService = SharingService::sharingServiceNamed(Name::ComposeEmail);
    // A button is hidden here and never shown again.
    if (!m_twitterSharingService)
        m_twitterButton->hide();
    if (!m_facebookSharingService)
        m_facebookButton->hide();
    if (!m_emailSharingService)
        m_emailButton->hide();
    const FlowTexts::ShareButtonsPlacement place = FlowTexts::shareButtonsPlacement(
        !m_twitterButton->isHidden(), !m_facebookButton->isHidden(), width() / 2);
    if (place.twitterX)
        m_twitterButton->move(*place.twitterX, m_twitterButton->y());
    if (place.facebookX)
        m_facebookButton->move(*place.facebookX, m_facebookButton->y());
    m_emailButton->move(place.emailX, m_emailButton->y());
}

void CongratulationsVC::showViewAnimatiedWithRemovedSizeAndScannedFolders(
    std::uint64_t removedSize, const QStringList& scannedFolders) {
    m_scannedFolders = scannedFolders;
    m_hasScannedFolders = !scannedFolders.isEmpty();
    layoutViews();
    updateSharingButtons();
    show();
    ScreenAnimation::slideDownIntoPlace(this, kShowAnimationMs);

    if (removedSize == 0 && m_hasScannedFolders) {
        setNoDeletedDuplicatesView();
        return;
    }
    m_removedSizeInCurrentSession = removedSize;
    m_label3->setAttributedText(FlowTexts::cleanedLine(removedSize));
    m_label4->setAttributedText(FlowTexts::cleanedInTotalLine(Settings::cleanedFileSize()));
}

void CongratulationsVC::setNoDeletedDuplicatesView() {
    m_plainVariant = true;
    for (QWidget* view :
         std::initializer_list<QWidget*>{m_twitterButton, m_facebookButton, m_emailButton,
                                         m_rateButton, m_cleanUpMoreButton, m_label4})
        view->hide();
    m_newScanButton->move(int((width() - m_newScanButton->width()) * 0.5), m_newScanButton->y());
    if (m_hasScannedFolders) {
        const AttributedText sentence = FlowTexts::congratulationsFolderSentence(m_scannedFolders);
        const QSizeF measured = AttributedTextBuilder::boundingSize(
            sentence, kTextSize, QSizeF(kSentenceWidth, kSentenceHeight));
        const int w = int(measured.width() + 10);
        const int h = int(std::ceil(measured.height()));
        const int x = int(std::floor(width() / 2.0 - w / 2.0));
        const int y = int(std::floor(originYFromBottom(m_label1) - 40.0 - h));
        placeFromBottom(m_label2, x, y, w, h);
        m_label2->setAttributedText(sentence);
    }
    m_label3->setAttributedText(FlowTexts::noDuplicatesLeftLine());
    placeFromBottom(m_label3, m_label3->x(), originYFromBottom(m_label2) - 30, m_label3->width(),
                    30);
}

void CongratulationsVC::newScanButtonPressed() {
    if (m_newScanSent)
        return;
    m_newScanSent = true;
    m_newScanButton->setDisabled(true);
    m_newScanButton->setEnabled(false);
    NotificationCenter::defaultCenter().post(QStringLiteral("NoDuplicatesMore"));
    NotificationCenter::defaultCenter().post(QStringLiteral("BackToWelcomeScreen"));
}

void CongratulationsVC::cleanUpMoreButtonPressed() {
    AppNotification::CreateShowCleanUpToolsNotification();
}

void CongratulationsVC::rateButtonPressed() {
    AppNotification::CreateRateApplicationNotification();
}

void CongratulationsVC::twitterButtonPressed() {
    SharingService::openURL(ShareTexts::twitterIntentLink(ShareTexts::congratulationsTwitterText(
        FileSize::formatMemoryStringDot1(m_removedSizeInCurrentSession), PromoManager::getAppName(),
        PromoManager::getPromoSiteURL())));
}

void CongratulationsVC::facebookButtonPressed() {
    SharingService::openURL(ShareTexts::facebookShareLink(ShareTexts::congratulationsFacebookItems(
        FileSize::formatMemoryStringDot1(m_removedSizeInCurrentSession), PromoManager::getAppName(),
        PromoManager::getPromoSiteURL())));
}

void CongratulationsVC::emailButtonPressed() {
    sendEmailWithMailAddressSubjectBody(
        QString(), QString(), ShareTexts::congratulationsEmailSubject(),
        ShareTexts::congratulationsEmailBody(
            PromoManager::getAppName(), PromoManager::getPromoSiteURL(),
            FileSize::formatMemoryStringDot1(m_removedSizeInCurrentSession)));
}

void CongratulationsVC::sendEmailWithMailAddressSubjectBody(const QString& mail,
                                                            const QString& address,
                                                            const QString& subject,
                                                            const QString& body) {
    WindowSharing::sendEmailWithMailAddressSubjectBody(mail, address, subject, body);
}

void CongratulationsVC::resizeEvent(QResizeEvent* event) {
    ViewWithCommonBackground::resizeEvent(event);
    layoutViews();
    updateSharingButtons();
    if (m_plainVariant)
        setNoDeletedDuplicatesView();
}

void CongratulationsVC::layoutViews() {
    const int W = width();
    const int H = height();
    const int textWidth = std::min(W - 40, 860);
    const int textX = (W - textWidth) / 2;
    placeFromBottom(m_label1, textX, H - 150, textWidth, 40);
    placeFromBottom(m_label2, textX, H - 230, textWidth, 32);
    placeFromBottom(m_label3, textX, H - 290, textWidth, 32);
    placeFromBottom(m_label4, textX, H - 328, textWidth, 32);
    // The share buttons keep their height; placement moves them along the row only.
    for (ButtonWithTrackingArea* share : {m_twitterButton, m_facebookButton, m_emailButton})
        placeFromBottom(share, share->x(), 170, share->width(), share->height());
    const QSize scan = m_newScanButton->size();
    const QSize more = m_cleanUpMoreButton->size();
    const int gap = 20;
    const int row = scan.width() + gap + more.width();
    placeFromBottom(m_newScanButton, (W - row) / 2, 80, scan.width(), scan.height());
    placeFromBottom(m_cleanUpMoreButton, (W - row) / 2 + scan.width() + gap, 80, more.width(),
                    more.height());
    placeFromBottom(m_rateButton, (W - m_rateButton->width()) / 2, 30, m_rateButton->width(),
                    m_rateButton->height());
}
