#include "Promo/ZembrookDialogWC.h"

#include "Promo/PromoManager.h"
#include "Promo/PromoSettings.h"
#include "Promo/PromoWorkspace.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/PromoPanelGate.h"
#include "Toolkit/Palette.h"
#include "Toolkit/WindowPlacement.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QShortcut>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

std::function<bool()>& helpStillToCome() {
    static std::function<bool()> stillToCome;
    return stillToCome;
}

QPointer<ZembrookDialogWC>& openPanel() {
    static QPointer<ZembrookDialogWC> panel;
    return panel;
}

const QString kBrokenPage =
    QStringLiteral("<center><br><br>Oops. Something broken...<br><h1>\u25D5\uFE35\u25D5");

// The folder of the page `url` names, as a path (":/promo" for a resource page).
QString folderOfPage(const QUrl& url) {
    if (url.scheme() == QLatin1String("qrc"))
        return QStringLiteral(":") + QFileInfo(url.path()).path();
    return QFileInfo(url.toLocalFile()).absolutePath();
}

bool isInsideFolder(const QString& path, const QString& folder) {
    if (folder.startsWith(QLatin1Char(':'))) {
        const QString clean = QDir::cleanPath(path);
        return clean.startsWith(QDir::cleanPath(folder) + QLatin1Char('/')) &&
               !clean.contains(QLatin1String("/../"));
    }
    // Resolved through links, so a link in the folder cannot lead out of it.
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    const QString canonicalPath = QFileInfo(path).canonicalFilePath();
    return !canonicalFolder.isEmpty() && !canonicalPath.isEmpty() &&
           canonicalPath.startsWith(canonicalFolder + QLatin1Char('/'));
}

QString pathOfLocalURL(const QUrl& url) {
    if (url.scheme() == QLatin1String("qrc"))
        return QStringLiteral(":") + url.path();
    return url.toLocalFile();
}

bool isLocalURL(const QUrl& url) {
    return url.isLocalFile() || url.scheme() == QLatin1String("qrc");
}

// How often a panel that waits for the help overlay looks whether it has closed.
constexpr int kHelpWatchMs = 300;

int roundHalfAway(double value) {
    return static_cast<int>(std::lround(value));
}

} // namespace

// The page view: loads images and style sheets only from the page's own folder.
class ZembrookDialogWC::PanelBrowser final : public QTextBrowser {
public:
    explicit PanelBrowser(ZembrookDialogWC* owner) : QTextBrowser(owner), m_owner(owner) {}

    QVariant loadResource(int type, const QUrl& name) override {
        const QUrl resolved = source().resolved(name);
        if (!isLocalURL(resolved) ||
            !isInsideFolder(pathOfLocalURL(resolved), m_owner->pageFolder()))
            return {};
        return QTextBrowser::loadResource(type, resolved);
    }

private:
    ZembrookDialogWC* m_owner;
};

void ZembrookDialogWC::pleaseShowWindow() {
    if (ZembrookDialogWC* panel = openPanel()) {
        panel->raise();
        panel->activateWindow();
        return;
    }
    // Transient for the main window and centred on it; the active window stands in only
    // when there is no main window.
    QWidget* owner = WindowPlacement::mainWindow();
    auto* panel = new ZembrookDialogWC(owner ? owner : QApplication::activeWindow());
    openPanel() = panel;
    WindowPlacement::attachToMainWindow(panel, false);
    panel->windowDidLoad();
    panel->show();
    panel->raise();
    panel->activateWindow();
}

void ZembrookDialogWC::pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(
    quint64 duplicatesCount) {
    PromoPanelGate::pleaseShowWindowIfNeedAutomaticallyForDuplicatesCount(duplicatesCount);
}

void ZembrookDialogWC::closeZembrookWC() {
    if (ZembrookDialogWC* panel = openPanel())
        panel->close();
}

ZembrookDialogWC* ZembrookDialogWC::currentPanel() {
    return openPanel();
}

QRect ZembrookDialogWC::frameForPageSize(const QRect& currentFrame, const QSize& pageSize,
                                         int extraHeight) {
    const QSize size(pageSize.width(), pageSize.height() + extraHeight);
    const double centreX = currentFrame.x() + currentFrame.width() / 2.0;
    const double centreY = currentFrame.y() + currentFrame.height() / 2.0;
    return QRect(QPoint(roundHalfAway(centreX - size.width() / 2.0),
                        roundHalfAway(centreY - size.height() / 2.0)),
                 size);
}

ZembrookDialogWC::NavigationPolicy
ZembrookDialogWC::decidePolicyForNavigation(const QUrl& target, const QString& pageFolder) {
    if (isLocalURL(target))
        return isInsideFolder(pathOfLocalURL(target), pageFolder) ? NavigationPolicy::Use
                                                                  : NavigationPolicy::Ignore;
    const QString scheme = target.scheme().toLower();
    if (target.isValid() && !target.host().isEmpty() &&
        (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        return NavigationPolicy::OpenExternally;
    return NavigationPolicy::Ignore;
}

ZembrookDialogWC::ZembrookDialogWC(QWidget* parent) : QDialog(parent) {
    setObjectName(QString::fromLatin1(kInterfaceName));
    setWindowTitle(PromoManager::getAppName());
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pBrowser = new PanelBrowser(this);
    m_pBrowser->setObjectName(QStringLiteral("m_pBrowser"));
    m_pBrowser->setOpenLinks(false);
    m_pBrowser->setOpenExternalLinks(false);
    m_pBrowser->setFrameShape(QFrame::NoFrame);
    QPalette colours = m_pBrowser->palette();
    colours.setColor(QPalette::Base, Palette::commonBackgroundColor());
    colours.setColor(QPalette::Text, Palette::commonTextColor());
    m_pBrowser->setPalette(colours);
    layout->addWidget(m_pBrowser);
    connect(m_pBrowser, &QTextBrowser::anchorClicked, this, &ZembrookDialogWC::onLinkClicked);
    // The window's own close key besides Esc (the panel has no close button of its own).
    auto* closeShortcut = new QShortcut(QKeySequence::Close, this);
    connect(closeShortcut, &QShortcut::activated, this,
            &ZembrookDialogWC::hiddenCloseButtonPressed);
}

ZembrookDialogWC::~ZembrookDialogWC() = default;

void ZembrookDialogWC::windowDidLoad() {
    PromoManager& manager = PromoManager::GetInstance();
    const QSizeF page = manager.getZembrookWindowSize();
    layout()->activate();
    const int extraHeight = height() - m_pBrowser->height();
    QRect current = geometry();
    if (QWidget* owner = parentWidget())
        current.moveCenter(owner->geometry().center());
    else if (QScreen* screen = QApplication::primaryScreen())
        current.moveCenter(screen->availableGeometry().center());
    // A size recorded before (or by hand) may exceed this screen: the window never does.
    QSize pageSize = page.toSize();
    if (const QScreen* screen = this->screen() ? this->screen() : QApplication::primaryScreen()) {
        const QSize available =
            screen->availableGeometry().size() - QSize(0, std::max(extraHeight, 0));
        const QSize clamped = PromoManager::clampedZembrookSize(pageSize.width(), pageSize.height(),
                                                                available.expandedTo(QSize(1, 1)));
        pageSize = clamped.isEmpty() ? QSize(PromoSettings::getZembrookEmbeddedWidth(),
                                             PromoSettings::getZembrookEmbeddedHeight())
                                           .boundedTo(available.expandedTo(QSize(1, 1)))
                                     : clamped;
    }
    const std::optional<QUrl> url = manager.getZembrookURL();
    if (url) {
        m_pageFolder = folderOfPage(*url);
        m_pBrowser->setSource(*url);
    } else {
        m_pageFolder.clear();
        m_pBrowser->setHtml(kBrokenPage);
    }
    // A page shorter than the size it asks for would leave an empty band at the bottom: the
    // window takes the page's own height, laid out at the window's width.
    QTextDocument* document = m_pBrowser->document();
    document->setTextWidth(pageSize.width() - 2 * m_pBrowser->frameWidth());
    const int pageHeight = static_cast<int>(std::ceil(document->size().height()));
    if (pageHeight > 0 && pageHeight < pageSize.height())
        pageSize.setHeight(pageHeight);
    setGeometry(frameForPageSize(current, pageSize, std::max(extraHeight, 0)));
    // A dialog of the page's size: neither resized nor maximised by the window manager.
    setFixedSize(size());
}

void ZembrookDialogWC::setHelpStillToCome(std::function<bool()> stillToCome) {
    helpStillToCome() = std::move(stillToCome);
}

void ZembrookDialogWC::pleaseShowWindowWhenHelpCloses() {
    // The request comes while the scan compares files, before the first results screen has
    // shown its help: the panel waits for that help to come and to close again.
    const bool helpComing = helpStillToCome() && helpStillToCome()();
    if (DuplicatesManager::sharedManager().overlayOnScreen() || helpComing) {
        QTimer::singleShot(kHelpWatchMs, qApp, &ZembrookDialogWC::pleaseShowWindowWhenHelpCloses);
        return;
    }
    pleaseShowWindow();
}

void ZembrookDialogWC::reject() {
    // Esc: the panel closes itself (and, being deleted on close, goes away).
    QDialog::reject();
    close();
}

void ZembrookDialogWC::hiddenCloseButtonPressed() {
    close();
}

void ZembrookDialogWC::onLinkClicked(const QUrl& link) {
    if (link.scheme().isEmpty() && link.path().isEmpty() && link.hasFragment()) {
        m_pBrowser->scrollToAnchor(link.fragment());
        return;
    }
    const QUrl target = m_pBrowser->source().resolved(link);
    switch (decidePolicyForNavigation(target, m_pageFolder)) {
    case NavigationPolicy::Use:
        m_pBrowser->setSource(target);
        break;
    case NavigationPolicy::OpenExternally:
        PromoWorkspace::openURL(target);
        break;
    case NavigationPolicy::Ignore:
        break;
    }
}
