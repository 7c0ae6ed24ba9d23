#include "WelcomeScreenVC.h"

#include "Categories/AppNotification.h"
#include "Categories/Settings.h"
#include "Platform/KeyEvent.h"
#include "Platform/NotificationCenter.h"
#include "Platform/UserDefaults.h"
#include "Promo/ZembrookDialogWC.h"
#include "Screens/ScreenProtocols.h"
#include "Screens/WelcomeScreenView.h"
#include "Shell/FolderBookmarks.h"
#include "Shell/ScreenAnimation.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/CoverFlowAccessoryController.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/FolderEntry.h"
#include "Toolkit/FolderLabelView.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/MBCoverFlowView.h"
#include "Toolkit/Palette.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGraphicsDropShadowEffect>
#include <QListView>
#include <QTreeView>

namespace {

constexpr int kScreenWidth = 740;
constexpr int kScreenHeight = 550;
constexpr int kHelpTextSize = 13;
constexpr QRect kLogoFrame(245, 34, 250, 44);
constexpr QRect kFlowFrame(20, 86, 700, 298);
constexpr QRect kFolderCountFrame(280, 392, 180, 26);
constexpr QRect kAddButtonFrame(214, 430, 150, 40);
constexpr QRect kScanButtonFrame(376, 430, 150, 40);
constexpr QRect kZembrookFrame(664, 34, 52, 44);

QString dark(const QString& name) {
    return DarkImageName::prependDarkPrefixIfNeeded(name);
}

QString boldMiddle(const QString& first, const QString& bold, const QString& last) {
    return first.toHtmlEscaped() + QStringLiteral("<b>") + bold.toHtmlEscaped() +
           QStringLiteral("</b>") + last.toHtmlEscaped();
}

QLabel* makeHelpLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::RichText);
    label->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), kHelpTextSize));
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Palette::toolbarButtonsTextColor());
    label->setPalette(colours);
    return label;
}

void setImages(ButtonWithTrackingArea* button, const QString& base) {
    button->setImage(dark(base));
    button->setMainImage(dark(base));
    button->setHoveredImage(dark(base + QStringLiteral("_hover")));
    button->setAlternateImage(dark(base + QStringLiteral("_click")));
}

} // namespace

WelcomeScreenVC::WelcomeScreenVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    m_view = new WelcomeScreenView(this);
    m_logoImageView = new QLabel(m_view);
    m_flowView = new MBCoverFlowView(m_view);
    m_flowView->setObjectName(QStringLiteral("flowView"));
    m_folderCountView = new FolderLabelView(m_view);
    m_foldersCountLabel = new QLabel(m_folderCountView);
    m_foldersCountLabel->setAlignment(Qt::AlignCenter);
    m_foldersCountLabel->setFont(Fonts::font(13, Fonts::Weight::Medium));
    m_addButton = new ButtonWithTrackingArea(m_view);
    m_addButton->setObjectName(QStringLiteral("addButton"));
    m_scanButton = new ButtonWithTrackingArea(m_view);
    m_scanButton->setObjectName(QStringLiteral("scanButton"));
    m_zembrookButton = new ButtonWithTrackingArea(m_view);
    m_zembrookButton->setObjectName(QStringLiteral("zembrookButton"));
    m_statusLabelPart1 = makeHelpLabel(m_view);
    m_statusLabelPart1->setText(QStringLiteral("Use"));
    m_statusLabelPart2 = makeHelpLabel(m_view);
    m_statusLabelPart3 = makeHelpLabel(m_view);
    m_statusLabelImageView = new AddFolderView(m_view);
    connect(m_addButton, &QAbstractButton::clicked, this, [this] { addFolderButtonPressed(); });
    connect(m_scanButton, &QAbstractButton::clicked, this, [this] { startScanButtonPressed(); });
    connect(m_zembrookButton, &QAbstractButton::clicked, this, [this] { zembrookButtonPressed(); });
    resize(kScreenWidth, kScreenHeight);
    layoutViews();
}

WelcomeScreenVC::~WelcomeScreenVC() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

void WelcomeScreenVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutViews();
}

void WelcomeScreenVC::layoutViews() {
    m_view->setGeometry(rect());
    m_logoImageView->setGeometry(kLogoFrame);
    m_flowView->setGeometry(kFlowFrame);
    m_folderCountView->setGeometry(kFolderCountFrame);
    m_foldersCountLabel->setGeometry(m_folderCountView->rect());
    m_addButton->setGeometry(kAddButtonFrame);
    m_scanButton->setGeometry(kScanButtonFrame);
    m_zembrookButton->setGeometry(kZembrookFrame);
}

void WelcomeScreenVC::awakeFromNib() {
    m_addButton->setTrackingEnabled(true);
    setImages(m_addButton, QStringLiteral("btn_add"));
    m_scanButton->setTrackingEnabled(true);
    setImages(m_scanButton, QStringLiteral("btn_scan"));
    m_zembrookButton->setTrackingEnabled(true);
    m_zembrookButton->setImage(dark(QStringLiteral("Cleanup")));
    m_zembrookButton->setMainImage(dark(QStringLiteral("Cleanup")));
    m_zembrookButton->setHoveredImage(dark(QStringLiteral("Cleanup_select")));
    m_zembrookButton->setAlternateImage(dark(QStringLiteral("Cleanup_click")));

    const quint64 appearances = Settings::welcomeScreenAppearanceCount();
    m_zembrookButton->setVisible(appearances >= 2);
    Settings::setWelcomeScreenAppearanceCount(appearances + 1);

    m_logoImageView->setPixmap(ImageStore::pixmap(dark(QStringLiteral("welcome_logo")),
                                                  kLogoFrame.size(), devicePixelRatioF()));
    m_foldersArray.clear();
    m_openDialogOnScreen = false;

    // The selected folder's name under the cards, truncated in the middle when long.
    m_flowView->setAccessoryController(new FolderNameAccessoryController(true, this));
    m_flowView->setImageKeyPath(FolderEntry::kImage);
    m_flowView->setShowsScrollbar(true);

    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, QStringLiteral("FileDropped"), [this](const Notification& note) {
        loadFilesByPath(note.userInfo.value(QStringLiteral("path")).toString());
    });
    center.addObserver(this, QStringLiteral("FileRemoved"), [this](const Notification& note) {
        fileRemoved(note.hasUserInfo ? &note.userInfo : nullptr);
    });
    center.addObserver(this, AppNotification::AddFolderNotificationName(),
                       [this](const Notification&) { addFolderButtonPressed(); });
    center.addObserver(this, AppNotification::KeyPressedNotificationName(),
                       [this](const Notification& note) {
                           keyPressed(AppNotification::GetKeyCodeFromNotification(note));
                       });
    center.addObserver(this, AppNotification::StartScanNotificationName(),
                       [this](const Notification&) { startScanButtonPressed(); });
    center.addObserver(this, QStringLiteral("MainMenuIsActive"),
                       [this](const Notification&) { setScanButtonNormalState(); });

    QPalette colours = m_foldersCountLabel->palette();
    colours.setColor(QPalette::WindowText, Palette::chooseFoldersToScanColor());
    m_foldersCountLabel->setPalette(colours);
    checkFoldersCount();

    auto* shadow = new QGraphicsDropShadowEffect(m_flowView);
    shadow->setColor(QColor(0, 0, 0, 128));
    shadow->setOffset(0, 0);
    shadow->setBlurRadius(1.0);
    m_flowView->setGraphicsEffect(shadow);

    if (!m_pathsArray.isEmpty()) {
        restoreFoldersInFlowViewAfterStopScanButtonPressed(m_pathsArray);
        m_pathsArray.clear();
    } else {
        loadFilesByPath(QString());
    }
}

// ---- The list.

QVariantMap WelcomeScreenVC::folderEntryForPath(const QString& path) {
    const QFileInfo info(path);
    // Cards are drawn at twice their size on sharp screens, so the icon is taken at 2x.
    constexpr qreal kRatio = 2.0;
    QPixmap image = QFileIconProvider().icon(info).pixmap(QSize(kIconSize, kIconSize), kRatio);
    // Without an icon theme the platform has no folder picture; ours stands in.
    if (image.isNull())
        image = ImageStore::pixmap(QStringLiteral("dark_folder_icon"), QSizeF(kIconSize, kIconSize),
                                   kRatio);
    if (image.isNull())
        return {};
    QImage picture = image.toImage();
    const QSize pixels(qRound(kIconSize * kRatio), qRound(kIconSize * kRatio));
    if (picture.size() != pixels)
        picture = picture.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(kRatio);
    QString name = info.fileName();
    if (name.isEmpty())
        name = path == QLatin1String("/") ? QStringLiteral("/") : QDir(path).dirName();
    return FolderEntry::make(picture, name, path);
}

QStringList WelcomeScreenVC::addPathToRecentList(QStringList recent, const QString& path) {
    recent.removeOne(path);
    recent.prepend(path);
    if (recent.size() > kRecentFoldersCount)
        recent = recent.mid(0, kRecentFoldersCount);
    return recent;
}

QFileDialog* WelcomeScreenVC::openPanel() const {
    return m_openPanel;
}

QStringList WelcomeScreenVC::folderPaths() const {
    QStringList paths;
    for (const QVariantMap& entry : m_foldersArray)
        paths << entry.value(QStringLiteral("path")).toString();
    return paths;
}

void WelcomeScreenVC::loadFilesByPath(const QString& path) {
    if (path.isNull()) {
        m_foldersArray.clear();
        reloadFlowView();
        return;
    }
    const qsizetype listed = folderPaths().indexOf(path);
    if (listed >= 0) {
        selectFolderByIndex(int(listed));
    } else {
        const QString extension = QFileInfo(path).suffix();
        const bool refused =
            QFileInfo(path).fileName().contains(QLatin1Char('.')) &&
            (extension == QLatin1String("app") || extension == QLatin1String("cannedSearch"));
        if (!refused) {
            const QVariantMap entry = folderEntryForPath(path);
            if (!entry.isEmpty()) {
                Settings::setLastTenFolders(addPathToRecentList(Settings::lastTenFolders(), path));
                m_foldersArray.prepend(entry);
                selectFolderByIndex(0);
            }
        }
    }
    FolderBookmarks::saveBookmarkForPath(path);
    reloadFlowView();
    checkFoldersCount();
}

void WelcomeScreenVC::restoreFoldersInFlowViewAfterStopScanButtonPressed(const QStringList& paths) {
    for (const QString& path : paths)
        loadFilesByPath(path);
}

void WelcomeScreenVC::fileRemoved(const QVariantMap* userInfo) {
    if (userInfo) {
        const int index = userInfo->value(QStringLiteral("index")).toInt();
        if (index < 0 || index >= m_foldersArray.size())
            return;
        m_foldersArray.removeAt(index);
    } else {
        m_foldersArray.clear();
    }
    reloadFlowView();
    checkFoldersCount();
}

int WelcomeScreenVC::selectedIndex() const {
    if (m_foldersArray.isEmpty())
        return -1;
    return int(m_flowView->selectionIndex());
}

void WelcomeScreenVC::selectFolderByIndex(int index) {
    m_flowView->selectFolderByIndex(index);
}

void WelcomeScreenVC::reloadFlowView() {
    m_flowView->setContent(m_foldersArray);
}

// ---- Folder chooser.

void WelcomeScreenVC::addFolderButtonPressed() {
    if (m_bOptionPressed) {
        m_bOptionPressed = false;
        setScanButtonNormalState();
    }
    if (m_openDialogOnScreen || (m_delegate && m_delegate->isAnyOtherWindowsOpened()))
        return;
    auto* panel = new QFileDialog(window(), QStringLiteral("Select folders to search duplicates"));
    panel->setFileMode(QFileDialog::Directory);
    panel->setOption(QFileDialog::ShowDirsOnly, true);
    // Only the toolkit's own dialog lets several folders be chosen at once.
    panel->setOption(QFileDialog::DontUseNativeDialog, true);
    QDir::Filters filters = QDir::AllDirs | QDir::NoDotAndDotDot;
    if (Settings::scanInHiddenFolders())
        filters |= QDir::Hidden;
    panel->setFilter(filters);
    for (auto* view : panel->findChildren<QListView*>(QStringLiteral("listView")))
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (auto* view : panel->findChildren<QTreeView*>())
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    if (Settings::showUserDirectoryAtFirstTime()) {
        panel->setDirectory(QDir::homePath());
        Settings::setShowUserDirectoryAtFirstTime(false);
    }
    panel->setWindowModality(Qt::WindowModal);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    m_openPanel = panel;
    m_openDialogOnScreen = true;
    QPointer<WelcomeScreenVC> self = this;
    connect(panel, &QFileDialog::finished, panel, [self, panel](int result) {
        if (!self)
            return;
        if (result == QDialog::Accepted) {
            for (const QString& path : panel->selectedFiles())
                self->loadFilesByPath(path);
        }
        self->m_openDialogOnScreen = false;
    });
    panel->open();
}

// ---- Starting.

void WelcomeScreenVC::startScanButtonPressed(QAction* sender) {
    const bool allOut =
        m_bOptionPressed || (sender && sender->text() == QLatin1String("All-out Scan"));
    if (!canStartScan())
        return;
    const QStringList paths = folderPaths();
    closeScanGate();
    if (m_delegate)
        m_delegate->startScanFolders(paths, allOut);
}

bool WelcomeScreenVC::isScanButtonEnabled() const {
    return !m_scanButton->disabled();
}

bool WelcomeScreenVC::canStartScan() const {
    return !m_scanStarted && !m_openDialogOnScreen && !m_foldersArray.isEmpty();
}

void WelcomeScreenVC::closeScanGate() {
    m_scanStarted = true;
    m_scanButton->setDisabled(true);
    m_scanButton->setTrackingEnabled(false);
}

bool WelcomeScreenVC::checkFoldersCount() {
    const auto count = m_foldersArray.size();
    const bool any = count > 0;
    if (any)
        m_foldersCountLabel->setText(count == 1 ? QStringLiteral("%1 folder added").arg(count)
                                                : QStringLiteral("%1 folders added").arg(count));
    else
        m_foldersCountLabel->setText(QStringLiteral("Add folders to scan"));
    m_folderCountView->setVisible(any);
    // After a start the button stays off whatever the list does, until the screen goes.
    if (!m_scanStarted) {
        ScreenAnimation::setAlphaValue(m_scanButton, any ? 1.0 : 0.5);
        m_scanButton->setDisabled(!any);
        m_scanButton->setTrackingEnabled(any);
    }
    customizeStatusLabelForNoFolders(!any);
    return any;
}

void WelcomeScreenVC::customizeStatusLabelForNoFolders(bool noFolders) {
    // Origins are bottom-up in the screen's layout; every piece is one line of the help
    // font high, so rich and plain pieces share their baseline.
    const int lineHeight = QFontMetrics(m_statusLabelPart2->font()).height();
    auto place = [this, lineHeight](QWidget* widget, int x, int y) {
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->adjustSize();
        const int h = qobject_cast<QLabel*>(widget) ? lineHeight : widget->height();
        widget->setGeometry(x, height() - y - h, widget->width(), h);
    };
    if (noFolders) {
        m_statusLabelPart2->setText(
            boldMiddle(QStringLiteral("button, Drag&Drop folders or use "), QStringLiteral("Enter"),
                       QStringLiteral(" shortcut to add folders to search duplicates")));
        place(m_statusLabelPart1, 24, 32);
        m_statusLabelImageView->resize(m_statusLabelImageView->sizeHint());
        place(m_statusLabelImageView, 60, 31);
        place(m_statusLabelPart2, m_statusLabelImageView->geometry().right() + 5, 33);
        m_statusLabelPart3->hide();
    } else {
        m_statusLabelPart2->setText(QStringLiteral("button or Drag&amp;Drop folders to add folders "
                                                   "to search duplicates."));
        m_statusLabelPart3->setText(boldMiddle(QStringLiteral("Press "), QStringLiteral("Enter"),
                                               QStringLiteral(" to start searching")));
        place(m_statusLabelPart1, 79, 32);
        m_statusLabelImageView->resize(m_statusLabelImageView->sizeHint());
        place(m_statusLabelImageView, 115, 31);
        place(m_statusLabelPart2, m_statusLabelImageView->geometry().right() + 5, 32);
        place(m_statusLabelPart3, 79, 12);
        m_statusLabelPart3->show();
    }
}

QString WelcomeScreenVC::helpText() const {
    QStringList parts{m_statusLabelPart1->text(), m_statusLabelPart2->text()};
    if (m_statusLabelPart3->isVisibleTo(this))
        parts << m_statusLabelPart3->text();
    QString text = parts.join(QLatin1Char(' '));
    text.remove(QStringLiteral("<b>"));
    text.remove(QStringLiteral("</b>"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

// ---- Looks.

void WelcomeScreenVC::setScanButtonNormalState() {
    setImages(m_scanButton, QStringLiteral("btn_scan"));
    m_scanButton->setToolTip(QStringLiteral("Find duplicates"));
}

void WelcomeScreenVC::setScanButtonScanAllState() {
    setImages(m_scanButton, QStringLiteral("btn_scan_all"));
    m_scanButton->setToolTip(
        QStringLiteral("Start searching duplicates in all-out mode. It will be slower."));
}

void WelcomeScreenVC::flagsChanged(quint32 modifierFlags) {
    if (modifierFlags & KeyEvent::OptionKeyMask) {
        setScanButtonScanAllState();
        m_bOptionPressed = true;
    } else {
        setScanButtonNormalState();
        m_bOptionPressed = false;
    }
}

void WelcomeScreenVC::startScanButtonPulse() {
    auto& clock = AnimationClock::instance();
    const QString allHover = dark(QStringLiteral("btn_scan_all_hover"));
    const QString normal = dark(QStringLiteral("btn_scan"));
    clock.after(100, this, [this, allHover] { m_scanButton->setImage(allHover); });
    clock.after(200, this, [this, normal] { m_scanButton->setImage(normal); });
    clock.after(300, this, [this, allHover] { m_scanButton->setImage(allHover); });
    clock.after(400, this, [this, normal] { m_scanButton->setImage(normal); });
}

void WelcomeScreenVC::keyPressed(quint16 keyCode) {
    if (keyCode != 36)
        return;
    if (!m_foldersArray.isEmpty())
        startScanButtonPressed();
    else
        addFolderButtonPressed();
}

void WelcomeScreenVC::zembrookButtonPressed() {
    ZembrookDialogWC::pleaseShowWindow();
}
