#include "DuplicateBottombarVC.h"
#include "ApplicationFacts.h"
#include "Browser/Common/CountNoun.h"

#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Categories/AppNotification.h"
#include "Categories/FileSize.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Shell/ScreenAnimation.h"
#include "Shell/ShareTexts.h"
#include "Shell/SharingService.h"
#include "Shell/WindowSharing.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QLabel>
#include <QMetaObject>

namespace {

constexpr int kShareButtonSize = 30;
constexpr int kShareStep = 36;
constexpr int kSharingFadeMs = 3000;

TitleButton* shareButton(QWidget* parent, const QString& image, const QString& tip) {
    auto* button = new TitleButton(parent);
    button->setImagePosition(TitleButton::ImagePosition::ImageOnly);
    button->setImage(QStringLiteral("dark_") + image);
    button->setToolTip(tip);
    button->resize(kShareButtonSize, kShareButtonSize);
    return button;
}

QLabel* label(QWidget* parent) {
    auto* made = new QLabel(parent);
    made->setFont(Fonts::font(13, Fonts::Weight::Medium));
    QPalette palette = made->palette();
    palette.setColor(QPalette::WindowText, Palette::toolbarButtonsTextColor());
    made->setPalette(palette);
    return made;
}

} // namespace

DuplicateBottombarVC::DuplicateBottombarVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    m_sharingView = new QWidget(this);
    m_youHaveCleanedLabel = label(m_sharingView);
    m_youHaveCleanedLabel->setText(
        QStringLiteral("You have cleaned %1!").arg(FileSize::formatMemoryStringDot1(0)));
    m_twitterButton =
        shareButton(m_sharingView, QStringLiteral("btn_share_twitter"), QStringLiteral("Twitter"));
    m_facebookButton = shareButton(m_sharingView, QStringLiteral("btn_share_facebook"),
                                   QStringLiteral("Facebook"));
    m_emailButton =
        shareButton(m_sharingView, QStringLiteral("btn_share_email"), QStringLiteral("E-mail"));
    connect(m_twitterButton, &QAbstractButton::clicked, this, [this] { twitterButtonPressed(); });
    connect(m_facebookButton, &QAbstractButton::clicked, this, [this] { facebookButtonPressed(); });
    connect(m_emailButton, &QAbstractButton::clicked, this, [this] { emailButtonPressed(); });
    // Nothing was cleaned yet: the sharing view comes with the first removal.
    m_sharingView->hide();

    m_selectedFilesLabel = label(this);
    m_selectedFilesLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_removeButton = new WhiteTitleButton(this);
    m_removeButton->setTitle(QStringLiteral("Review and Remove"));
    m_removeButton->setPointSize(14);
    m_removeButton->sizeToFit();
    connect(m_removeButton, &QAbstractButton::clicked, this,
            [this] { removeSelectedButtonPressed(); });

    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, AppNotification::DuplicateItemSelectionChangedNotificationName(),
                       [this](const Notification&) { scheduleRefresh(); });
    center.addObserver(this, AppNotification::DuplicatesContainerDataChangedNotificationName(),
                       [this](const Notification&) { scheduleRefresh(); });
    updatesButtonsTitles();
    updateSharingButtons();
}

DuplicateBottombarVC::~DuplicateBottombarVC() {
    AnimationClock::instance().cancel(m_sizeTimer);
    NotificationCenter::defaultCenter().removeObserver(this);
}

void DuplicateBottombarVC::setController(SelectDuplicatesVC* controller) {
    m_controller = controller;
}

SelectDuplicatesVC* DuplicateBottombarVC::controller() const {
    return qobject_cast<SelectDuplicatesVC*>(m_controller.data());
}

QString DuplicateBottombarVC::nounForCount(std::uint64_t count, std::uint64_t folders) {
    return CountNoun::nounForCount(count, folders);
}

QString DuplicateBottombarVC::selectionSummary(std::uint64_t count, std::uint64_t folders,
                                               std::uint64_t size) {
    return QStringLiteral("%1 %2 %3 selected")
        .arg(count)
        .arg(nounForCount(count, folders), FileSize::formatMemoryStringDot1(size));
}

void DuplicateBottombarVC::scheduleRefresh() {
    // Selection and content changes that arrive in one turn are answered once.
    m_refresh.request();
}

void DuplicateBottombarVC::updatesButtonsTitles() {
    ++m_refreshCount;
    auto container = DuplicatesManager::sharedManager().duplicateContainer();
    const std::uint64_t n = container ? container->getItemsCountInRemoveList() : 0;
    m_removeButton->setColor(Palette::bottombarRemoveButtonTextColor());
    if (n == 0) {
        m_removeButton->setDisabled(true);
        ScreenAnimation::setAlphaValue(m_removeButton, 0.5);
        m_selectedFilesLabel->hide();
        return;
    }
    m_removeButton->setDisabled(false);
    ScreenAnimation::setAlphaValue(m_removeButton, 1.0);
    auto folders = container->getCategoryWithType(6);
    m_selectedFilesLabel->setText(
        selectionSummary(n, folders ? folders->getCountOfActualSelectedItems() : 0,
                         container->getRemoveListTotalSize()));
    m_selectedFilesLabel->show();
}

void DuplicateBottombarVC::removeSelectedButtonPressed() {
    auto container = DuplicatesManager::sharedManager().duplicateContainer();
    if (!container || container->getItemsCountInRemoveList() == 0)
        return;
    if (SelectDuplicatesVC* screen = controller())
        screen->openSelectedFilesView();
}

void DuplicateBottombarVC::updateSharingButtons() {
    using Name = SharingService::Name;
    m_twitterSharingService = SharingService::sharingServiceNamed(Name::PostOnTwitter);
    m_facebookSharingService = SharingService::sharingServiceNamed(Name::PostOnFacebook);
    m_emailSharingService = SharingService::sharingServiceNamed(Name::ComposeEmail);
    int x = m_youHaveCleanedLabel->x() + m_youHaveCleanedLabel->width() + 5;
    const struct {
        TitleButton* button;
        bool exists;
        bool grows;
    } rows[] = {{m_twitterButton, m_twitterSharingService, true},
                {m_facebookButton, m_facebookSharingService, true},
                {m_emailButton, m_emailSharingService, false}};
    for (const auto& row : rows) {
        row.button->setVisible(row.exists);
        if (!row.exists)
            continue;
        row.button->move(x, row.button->y());
        if (row.grows)
            x += kShareStep;
    }
    m_sharingView->resize(x + kShareStep, m_sharingView->height());
}

QString DuplicateBottombarVC::sharedSizeText() const {
    return FileSize::formatMemoryStringDot1(m_deletedSizeCurrent);
}

void DuplicateBottombarVC::twitterButtonPressed() {
    updateSharingButtons();
    SharingService::openURL(ShareTexts::twitterIntentLink(ShareTexts::bottombarTwitterText(
        sharedSizeText(), QString::fromUtf8(ApplicationFacts::kName),
        QString::fromUtf8(ApplicationFacts::kPromoSiteURL))));
}

void DuplicateBottombarVC::facebookButtonPressed() {
    updateSharingButtons();
    SharingService::openURL(ShareTexts::facebookShareLink(ShareTexts::bottombarFacebookItems(
        sharedSizeText(), QString::fromUtf8(ApplicationFacts::kName),
        QString::fromUtf8(ApplicationFacts::kPromoSiteURL))));
}

void DuplicateBottombarVC::emailButtonPressed() {
    updateSharingButtons();
    WindowSharing::sendEmailWithMailAddressSubjectBody(
        QString(), QString(), ShareTexts::congratulationsEmailSubject(),
        ShareTexts::congratulationsEmailBody(QString::fromUtf8(ApplicationFacts::kName),
                                             QString::fromUtf8(ApplicationFacts::kPromoSiteURL),
                                             sharedSizeText()));
}

void DuplicateBottombarVC::addDeletedSize(std::uint64_t size) {
    if (m_deletedSize == 0 && size == 0)
        return;
    if (m_deletedSize == 0 || m_sharingView->isHidden()) {
        // The first cleaned size slides the sharing view in from the right while it fades in.
        // It starts left of the selection summary and "Review and Remove", so no moment of
        // the slide covers them.
        int right = m_removeButton->x();
        if (m_selectedFilesLabel->isVisibleTo(this) && !m_selectedFilesLabel->text().isEmpty())
            right =
                m_removeButton->x() - 20 -
                m_selectedFilesLabel->fontMetrics().horizontalAdvance(m_selectedFilesLabel->text());
        m_sharingView->move(qMax(0, qMin(width(), right - 8) - m_sharingView->width()),
                            m_sharingView->y());
        ScreenAnimation::setAlphaValue(m_sharingView, 0.0);
        m_sharingView->show();
        ScreenAnimation::animate(m_sharingView, 1.0, QPoint(0, m_sharingView->y()), kSharingFadeMs);
    }
    m_deletedSize += size;
    m_deletedSizeShown = static_cast<double>(m_deletedSizeCurrent);
    m_deletedSizeStep = static_cast<float>(
        static_cast<double>(m_deletedSize - m_deletedSizeCurrent) / kCountUpSteps);
    AnimationClock::instance().cancel(m_sizeTimer);
    m_sizeTimer = AnimationClock::instance().every(kTickMs, this, [this] { tick(); });
}

void DuplicateBottombarVC::tick() {
    m_deletedSizeShown += m_deletedSizeStep;
    if (m_deletedSizeShown >= static_cast<double>(m_deletedSize)) {
        m_deletedSizeShown = static_cast<double>(m_deletedSize);
        AnimationClock::instance().cancel(m_sizeTimer);
        m_sizeTimer = 0;
    }
    m_deletedSizeCurrent = static_cast<std::uint64_t>(m_deletedSizeShown);
    m_youHaveCleanedLabel->setText(
        QStringLiteral("You have cleaned %1!")
            .arg(FileSize::formatMemoryStringDot1(m_deletedSizeCurrent)));
    m_youHaveCleanedLabel->adjustSize();
    updateSharingButtons();
}

void DuplicateBottombarVC::viewFrameDidChangeNotification() {
    if (!window())
        return;
    const QWidget* w = window();
    const QPoint topLeft = m_removeButton->mapTo(w, QPoint(0, 0));
    const QRectF r(topLeft.x(), w->height() - topLeft.y() - m_removeButton->height(),
                   m_removeButton->width(), m_removeButton->height());
    DuplicatesManager::getFramesArrayForScreenAndHint(10, 3) = {
        QRectF(r.x() + 2, r.y() + 1, r.width() - 4, r.height() - 4)};
}

void DuplicateBottombarVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int h = height();
    m_removeButton->move(width() - m_removeButton->width() - 16,
                         (h - m_removeButton->height()) / 2);
    m_selectedFilesLabel->setGeometry(m_removeButton->x() - 420, 0, 400, h);
    m_sharingView->setGeometry(m_sharingView->isHidden() ? 0 : m_sharingView->x(), 0,
                               m_sharingView->width(), h);
    m_youHaveCleanedLabel->adjustSize();
    m_youHaveCleanedLabel->move(16, (h - m_youHaveCleanedLabel->height()) / 2);
    for (TitleButton* b : {m_twitterButton, m_facebookButton, m_emailButton})
        b->move(b->x(), (h - b->height()) / 2);
    updateSharingButtons();
    viewFrameDidChangeNotification();
}
