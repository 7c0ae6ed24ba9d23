#include "AboutWC.h"

#include "Promo/PromoManager.h"
#include "Shell/SharingService.h"
#include "Shell/WindowBackgroundView.h"
#include "Toolkit/DarkBlueUnderlineTitleButton.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"
#include "Toolkit/WindowPlacement.h"

#include <QLabel>

namespace {

constexpr int kLogoSize = 128;
constexpr int kVersionHeight = 20;
// The version line's bottom edge, counted from the window's bottom.
constexpr int kVersionOriginY = 217;

QLabel* makeLabel(QWidget* parent, qreal size) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), size));
    return label;
}

void setTextColor(QLabel* label, const QColor& color) {
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, color);
    label->setPalette(colours);
}

} // namespace

AboutWC::AboutWC(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setObjectName(QLatin1String(kInterfaceName));
    setWindowTitle(QStringLiteral("About %1").arg(PromoManager::getAppName()));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWindowSize);
    WindowPlacement::attachToMainWindow(this, true);
    m_backgroundView = new WindowBackgroundView(this);
    m_backgroundView->setGeometry(rect());
    m_logoImageView = new QLabel(m_backgroundView);
    m_captionLabel = makeLabel(m_backgroundView, 16);
    m_captionLabel->setText(PromoManager::getAppName());
    m_versionLabel = makeLabel(m_backgroundView, 13);
    m_copyrightLabel = makeLabel(m_backgroundView, 11);
    m_copyrightLabel->setText(QStringLiteral("\u00A9 2026 Velquor. All rights reserved."));
    m_productTourButton = new DarkBlueUnderlineTitleButton(m_backgroundView);
    m_productTourButton->setTitle(QStringLiteral("Product Tour"));
    m_moreAppsButton = new DarkBlueUnderlineTitleButton(m_backgroundView);
    m_moreAppsButton->setTitle(QStringLiteral("More Apps"));
    m_velquorLogoButton = new DarkBlueUnderlineTitleButton(m_backgroundView);
    m_velquorLogoButton->setToolTip(velquorURL().toString());
    connect(m_productTourButton, &QAbstractButton::clicked, this,
            [this] { productTourButtonPressed(); });
    connect(m_moreAppsButton, &QAbstractButton::clicked, this, [this] { moreAppsButtonPressed(); });
    connect(m_velquorLogoButton, &QAbstractButton::clicked, this,
            [this] { velquorLinkButtonPressed(); });
    awakeFromNib();
    // A screen smaller than the window scrolls what it cannot show.
    WindowPlacement::holdContentInScrollArea(this, m_backgroundView);
}

void AboutWC::awakeFromNib() {
    using DarkImageName::prependDarkPrefixIfNeeded;
    m_backgroundView->setType(0);
    const QString logo = prependDarkPrefixIfNeeded(QStringLiteral("dark_QV"));
    m_logoImageView->setPixmap(
        ImageStore::pixmap(logo, QSizeF(kLogoSize, kLogoSize), devicePixelRatioF()));
    m_logoImageView->setGeometry((width() - kLogoSize) / 2, 28, kLogoSize, kLogoSize);
    m_velquorLogoButton->setImage(prependDarkPrefixIfNeeded(QStringLiteral("www")));
    m_velquorLogoButton->setImagePosition(TitleButton::ImagePosition::ImageOnly);
    m_velquorLogoButton->sizeToFit();

    for (QLabel* label : {m_captionLabel, m_versionLabel, m_copyrightLabel})
        setTextColor(label, Palette::toolbarButtonsTextColor());
    m_versionLabel->setText(versionText(PromoManager::getAppVersion()));
    m_captionLabel->hide();
    m_versionLabel->setGeometry(0, height() - kVersionOriginY - kVersionHeight, width(),
                                kVersionHeight);
    m_copyrightLabel->setGeometry(0, m_versionLabel->geometry().bottom() + 8, width(), 18);

    m_productTourButton->sizeToFit();
    m_moreAppsButton->sizeToFit();
    const int gap = 28;
    const int row = m_productTourButton->width() + gap + m_moreAppsButton->width();
    m_productTourButton->move((width() - row) / 2, 256);
    m_moreAppsButton->move(m_productTourButton->geometry().right() + 1 + gap, 256);
    m_velquorLogoButton->move((width() - m_velquorLogoButton->width()) / 2,
                              height() - 40 - m_velquorLogoButton->height());
}

QString AboutWC::versionText(const QString& shortVersion) {
    return QStringLiteral("Version %1").arg(shortVersion);
}

QUrl AboutWC::productTourURL() {
    return QUrl(PromoManager::getMakerSiteURL() + QStringLiteral("/halvenor/product-tour/"));
}

QUrl AboutWC::moreAppsURL() {
    return QUrl(PromoManager::getMakerSiteURL() + QStringLiteral("/products/"));
}

QUrl AboutWC::velquorURL() {
    return QUrl(PromoManager::getMakerSiteURL() + QStringLiteral("/"));
}

void AboutWC::productTourButtonPressed() {
    SharingService::openURL(productTourURL());
}

void AboutWC::moreAppsButtonPressed() {
    SharingService::openURL(moreAppsURL());
}

void AboutWC::velquorLinkButtonPressed() {
    SharingService::openURL(velquorURL());
}
