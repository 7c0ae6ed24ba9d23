#include "InterimScreenVC.h"

#include "Results/DuplicatesManager.h"
#include "Screens/AttributedText.h"
#include "Screens/FlowTexts.h"
#include "Screens/ScreenButtonImages.h"
#include "Screens/ScreenProtocols.h"
#include "Screens/WelcomeScreenVC.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/CoverFlowAccessoryController.h"
#include "Toolkit/FolderEntry.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/MBCoverFlowView.h"
#include "Toolkit/Palette.h"

#include <QFileInfo>
#include <QGraphicsDropShadowEffect>
#include <QLabel>

namespace {

constexpr qreal kSummarySize = 13;
constexpr qreal kNameSize = 12;
constexpr int kLayoutWidth = 740;
constexpr QRect kFlowFrame(30, 40, 680, 250);
constexpr QRect kLabel1Frame(20, 310, 700, 20);
constexpr QRect kLabel2Frame(20, 334, 700, 20);
constexpr int kButtonsTop = 384;
constexpr int kButtonGap = 40;
constexpr int kButtonLabelGap = 8;

QLabel* makeButtonLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), kNameSize));
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Palette::toolbarSizeTextColor());
    label->setPalette(colours);
    return label;
}

} // namespace

InterimScreenVC::InterimScreenVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    m_coverFlowView = new MBCoverFlowView(this);
    m_coverFlowView->setObjectName(QStringLiteral("coverFlowView"));
    m_newScanButton = new ButtonWithTrackingArea(this);
    m_newScanButton->setObjectName(QStringLiteral("newScanButton"));
    m_newScanLabel = makeButtonLabel(this, QStringLiteral("Start a new scan"));
    m_showResultsButton = new ButtonWithTrackingArea(this);
    m_showResultsButton->setObjectName(QStringLiteral("showResultsButton"));
    m_showResultsLabel = makeButtonLabel(this, QStringLiteral("Return to the results"));
    m_label1 = new AttributedLabel(kSummarySize, Palette::toolbarButtonsTextColor(), this);
    m_label2 = new AttributedLabel(kSummarySize, Palette::toolbarButtonsTextColor(), this);
    connect(m_newScanButton, &QAbstractButton::clicked, this, [this] { newScanButtonPressed(); });
    connect(m_showResultsButton, &QAbstractButton::clicked, this,
            [this] { showResultsButtonPressed(); });
    awakeFromNib();
}

void InterimScreenVC::awakeFromNib() {
    // Read-only here: no removal, no dragging out, only the add-folder command.
    m_coverFlowView->setOnInterimScreen(true);
    // The welcome screen's shadow under the folders.
    auto* shadow = new QGraphicsDropShadowEffect(m_coverFlowView);
    shadow->setColor(QColor(0, 0, 0, 128));
    shadow->setOffset(0, 0);
    shadow->setBlurRadius(1.0);
    m_coverFlowView->setGraphicsEffect(shadow);
    // The selected folder's name under the folders; long names are not shortened here.
    m_coverFlowView->setAccessoryController(
        new FolderNameAccessoryController(false, m_coverFlowView));
    m_coverFlowView->setImageKeyPath(FolderEntry::kImage);
    m_coverFlowView->setShowsScrollbar(true);

    setScreenButtonImages(m_newScanButton, QStringLiteral("btn_newscan1"));
    setScreenButtonImages(m_showResultsButton, QStringLiteral("btn_showresults"));
    layoutViews();
    updateInformation();
}

void InterimScreenVC::loadFolderFromArray(const QStringList& paths) {
    m_paths = paths;
    m_folderEntries.clear();
    for (const QString& path : paths) {
        // A folder deleted since the scan is left out without a word.
        if (!QFileInfo::exists(path))
            continue;
        const QVariantMap entry = WelcomeScreenVC::folderEntryForPath(path);
        if (!entry.isEmpty())
            m_folderEntries.append(entry);
    }
    m_coverFlowView->setContent(m_folderEntries);
}

void InterimScreenVC::updateInformation() {
    const DuplicatesManager& manager = DuplicatesManager::sharedManager();
    m_label1->setAttributedText(
        FlowTexts::interimFoldersLine(manager.scannedFolders().size(), manager.scanFinishDate()));
    m_label2->setAttributedText(
        FlowTexts::interimFoundLine(manager.foundSize(), manager.removedSize()));
}

void InterimScreenVC::newScanButtonPressed() {
    // Presses during the show animation are dropped, not queued.
    if (m_animationExecution || !m_delegate)
        return;
    m_delegate->backToWelcomeScreenFromInterimScreen();
}

void InterimScreenVC::showResultsButtonPressed() {
    if (m_animationExecution || !m_delegate)
        return;
    m_delegate->showResultsFromInterimScreen();
}

void InterimScreenVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutViews();
}

void InterimScreenVC::layoutViews() {
    // The layout is the welcome screen's 740-point width, centred in wider windows.
    const int shift = std::max(0, (width() - kLayoutWidth) / 2);
    m_coverFlowView->setGeometry(kFlowFrame.translated(shift, 0));
    m_label1->setGeometry(kLabel1Frame.translated(shift, 0));
    m_label2->setGeometry(kLabel2Frame.translated(shift, 0));
    const QSize scan = m_newScanButton->size();
    const QSize results = m_showResultsButton->size();
    const int middle = shift + kLayoutWidth / 2;
    m_newScanButton->move(middle - kButtonGap / 2 - scan.width(), kButtonsTop);
    m_showResultsButton->move(middle + kButtonGap / 2, kButtonsTop);
    const int labelTop = kButtonsTop + std::max(scan.height(), results.height()) + kButtonLabelGap;
    m_newScanLabel->setGeometry(m_newScanButton->x() - 30, labelTop, scan.width() + 60, 18);
    m_showResultsLabel->setGeometry(m_showResultsButton->x() - 30, labelTop, results.width() + 60,
                                    18);
}
