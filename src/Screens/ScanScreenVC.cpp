#include "ScanScreenVC.h"

#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesHeaps.h"
#include "Scanner/FoldersScanner.h"
#include "Screens/NoDuplicatesVC.h"
#include "Screens/ProgressBarScanner.h"
#include "Screens/ScanChartView.h"
#include "Screens/ScreenProtocols.h"
#include "Shell/ScreenAnimation.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/Backgrounds.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QPainter>

#include <cmath>

namespace {

// Layout of the screen, top-down, in a 990 x 590 window.
constexpr QRect kContainerFrame(112, 64, 766, 396);
constexpr QRect kChartFrame(136, 84, 718, 300);
constexpr QRect kDescriptionFrame(136, 398, 718, 24);
constexpr QRect kProgressFrame(136, 436, 718, 5);
constexpr QSize kButtonSize(130, 36);
constexpr int kButtonsTop = 492;
constexpr int kProgressSteps = 45;

QString dark(const char* name) {
    return DarkImageName::prependDarkPrefixIfNeeded(QLatin1String(name));
}

} // namespace

ScanScreenVC::ScanScreenVC(QWidget* parent) : QWidget(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    // The framed grey box the chart, the description and the progress bar sit in.
    m_containerView = new GrayContainerView(this);
    m_containerView->setObjectName(QStringLiteral("containerView"));
    m_scanChartView = new ScanChartView(this);
    m_pDescriptionLabel = new QLabel(this);
    m_pDescriptionLabel->setAlignment(Qt::AlignCenter);
    m_pDescriptionLabel->setFont(Fonts::font(15, Fonts::Weight::Medium));
    m_progressBar = new ProgressBarScanner(this);
    m_progressBar->hide();
    m_backButton = new ButtonWithTrackingArea(this);
    m_backButton->setObjectName(QStringLiteral("backButton"));
    m_pStopButton = new ButtonWithTrackingArea(this);
    m_pStopButton->setObjectName(QStringLiteral("stopButton"));
    connect(m_backButton, &QAbstractButton::clicked, this, [this] { backButtonPressed(); });
    connect(m_pStopButton, &QAbstractButton::clicked, this, [this] { showResultsButtonPressed(); });
    resize(990, 590);
    layoutViews();
}

ScanScreenVC::~ScanScreenVC() {
    auto& clock = AnimationClock::instance();
    for (quint64 handle : {m_pUpdateInformationTimer, m_pUpdateDescriptionLabelTimer,
                           m_progressTimer, m_progressSmoothTimer})
        clock.cancel(handle);
}

NoDuplicatesVC* ScanScreenVC::noDuplicatesController() const {
    return m_noDuplicateVC;
}

void ScanScreenVC::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutViews();
}

void ScanScreenVC::layoutViews() {
    // The layout keeps its size and stays centred in whatever room the window gives.
    const QPoint shift((width() - 990) / 2, (height() - 590) / 2);
    m_containerView->setGeometry(kContainerFrame.translated(shift));
    m_scanChartView->setGeometry(kChartFrame.translated(shift));
    m_pDescriptionLabel->setGeometry(kDescriptionFrame.translated(shift));
    m_progressBar->setGeometry(kProgressFrame.translated(shift));
    m_backButton->setGeometry(
        QRect(QPoint(kContainerFrame.left(), kButtonsTop), kButtonSize).translated(shift));
    m_pStopButton->setGeometry(
        QRect(QPoint(kContainerFrame.right() + 1 - kButtonSize.width(), kButtonsTop), kButtonSize)
            .translated(shift));
}

void ScanScreenVC::awakeFromNib() {
    QPalette text = m_pDescriptionLabel->palette();
    text.setColor(QPalette::WindowText, Palette::chooseFoldersToScanColor());
    m_pDescriptionLabel->setPalette(text);

    // The grey panel fills itself with the layer's background grey (79); the layer adds its
    // 1-point border in grey 60 with corners of radius 3.
    const QColor border =
        Palette::properColorWithRedGreenBlueAlpha(0.23529412f, 0.23529412f, 0.23529412f, 1);
    m_containerView->setLayerBorder(border, 1.0, 3.0);

    disableStopButton();

    m_backButton->setDisabled(true);
    m_backDisabled = true;
    AnimationClock::instance().after(kBackDelayMs, this, [this] {
        m_backButton->setDisabled(false);
        m_backDisabled = false;
    });
    m_backButton->setTrackingEnabled(true);
    m_backButton->setImage(dark("btn_newscan1"));
    m_backButton->setMainImage(dark("btn_newscan1"));
    m_backButton->setHoveredImage(dark("btn_newscan1_hover"));
    m_backButton->setAlternateImage(dark("btn_newscan1_click"));

    m_scanChartView->startPhantomAnimation();

    m_currentFilterProgess = 0;
    m_progressTimer =
        AnimationClock::instance().every(kProgressPeriodMs, this, [this] { checkProgress(); });
}

// ---- Buttons.

bool ScanScreenVC::isStopButtonEnabled() const {
    return !m_stopDisabled;
}

bool ScanScreenVC::isBackButtonEnabled() const {
    return !m_backDisabled && !m_disabled;
}

void ScanScreenVC::disableStopButton() {
    m_pStopButton->setDisabled(true);
    m_stopDisabled = true;
    m_pStopButton->setTrackingEnabled(false);
    m_pStopButton->setImage(QStringLiteral("dark_btn_stop"));
    m_pStopButton->setAlternateImage(QStringLiteral("dark_btn_stop"));
    ScreenAnimation::setAlphaValue(m_pStopButton, 0.5);
}

void ScanScreenVC::enableStopButton() {
    ScreenAnimation::setAlphaValue(m_pStopButton, 1.0);
    if (m_stopDisabled)
        m_pStopButton->setImage(dark("btn_stop"));
    m_pStopButton->setDisabled(false);
    m_stopDisabled = false;
    m_pStopButton->setTrackingEnabled(true);
    m_pStopButton->setMainImage(dark("btn_stop"));
    m_pStopButton->setHoveredImage(dark("btn_stop_hover"));
    m_pStopButton->setAlternateImage(dark("btn_stop_click"));
}

void ScanScreenVC::backButtonPressed() {
    // The button swallows clicks while it is disabled.
    if (m_backDisabled)
        return;
    leaveScan();
}

void ScanScreenVC::leaveScan() {
    if (m_disabled)
        return;
    m_backButton->setDisabled(true);
    m_backDisabled = true;
    if (const auto running = scanner())
        running->stop();
    if (m_delegate) {
        m_delegate->cancelPendingRequests();
        m_delegate->backToWelcomeScreenFromScanScreen();
    }
}

void ScanScreenVC::showResultsButtonPressed() {
    if (m_stopDisabled)
        return;
    if (const auto running = scanner()) {
        const FoldersScannerState state = running->getCurrentState();
        running->stop();
        if (state != FoldersScannerStateWalking) {
            // The scan ends with what it found so far and reports its completion.
            disableStopButton();
            return;
        }
    }
    // A scan stopped during the walk reports nothing: leave as Back does.
    leaveScan();
}

// ---- Scanner.

void ScanScreenVC::setScanner(const std::shared_ptr<FoldersScanner>& newScanner) {
    if (scanner() && !newScanner) {
        // The last refresh while the finished scanner can still be read.
        updateInformation();
        updateDescription();
    }
    m_pScanner = newScanner;
    if (newScanner)
        startUpdateInformation();
}

void ScanScreenVC::startUpdateInformation() {
    if (m_pUpdateInformationTimer != 0)
        stopUpdateInformation();
    m_scanChartView->resetScannedFiles();
    m_scanChartView->resetDuplicates();
    m_nCurrentScannedFiles = 0;
    m_nCurrentFoundDuplicates = 0;
    m_nCurrentCheckedFolders = 0;
    auto& clock = AnimationClock::instance();
    m_pUpdateInformationTimer =
        clock.every(kInformationPeriodMs, this, [this] { updateInformation(); });
    m_pUpdateDescriptionLabelTimer =
        clock.every(kDescriptionPeriodMs, this, [this] { updateDescription(); });
}

void ScanScreenVC::stopUpdateInformation() {
    auto& clock = AnimationClock::instance();
    clock.cancel(m_pUpdateInformationTimer);
    clock.cancel(m_pUpdateDescriptionLabelTimer);
    clock.cancel(m_progressTimer);
    m_pUpdateInformationTimer = 0;
    m_pUpdateDescriptionLabelTimer = 0;
    m_progressTimer = 0;
}

void ScanScreenVC::updateInformation() {
    const auto running = scanner();
    if (!running) {
        stopUpdateInformation();
        return;
    }
    const FoldersScannerState state = running->getCurrentState();
    ScanChartView& chart = *m_scanChartView;
    for (int type = 0; type <= ScanChartView::kFoldersBar; ++type) {
        chart.setSize(type, int64_t(running->getPossibleDuplicatesSizeOfType(type)));
        chart.setDuplicatesSize(type, int64_t(running->getActualDuplicatesSizeOfType(type)));
    }
    chart.setSize(ScanChartView::kSimilarsBar, int64_t(running->getPossibleHeapsSize()));
    chart.setDuplicatesSize(ScanChartView::kSimilarsBar, int64_t(running->getActualHeapsSize()));
    for (int type = 0; type < ScanChartView::kFileCategoryCount; ++type)
        chart.setDuplicatesProcessed(type, running->isFinishSearchDuplicatesOfType(type));
    chart.updateScannedFilesValuesAnimated();
    chart.updateDuplicatesValuesAnimated();

    switch (state) {
    case FoldersScannerStateWalking:
    case FoldersScannerStateComplete:
    case FoldersScannerStateStopped:
        disableStopButton();
        break;
    default:
        enableStopButton();
        break;
    }
}

uint64_t ScanScreenVC::smoothedCount(uint64_t displayed, uint64_t count) {
    // ceil(displayed + (count - displayed) * 0.05), in whole numbers so that every count is
    // exact: up by ceil(gap / 20), down by floor(gap / 20).
    if (count >= displayed) {
        const uint64_t gap = count - displayed;
        return displayed + (gap / 20 + (gap % 20 != 0 ? 1 : 0));
    }
    return displayed - (displayed - count) / 20;
}

QString ScanScreenVC::getStringWithSpacesFromNumber(uint64_t number) {
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return digits;
}

void ScanScreenVC::updateDescription() {
    const auto running = scanner();
    if (!running)
        return;
    auto show = [this](const char* format, uint64_t count) {
        m_pDescriptionLabel->setText(
            QString::fromLatin1(format).arg(getStringWithSpacesFromNumber(count)));
    };
    switch (running->getCurrentState()) {
    case FoldersScannerStateWalking:
        m_nCurrentScannedFiles =
            smoothedCount(m_nCurrentScannedFiles, running->getCountOfScannedFiles());
        show("Files scanned:  %1", m_nCurrentScannedFiles);
        m_scanChartView->setState(1);
        break;
    case FoldersScannerStateFilteringFiles:
        m_nCurrentFoundDuplicates =
            smoothedCount(m_nCurrentFoundDuplicates, running->getCountOfActualDuplicates());
        show("Duplicates found:  %1", m_nCurrentFoundDuplicates);
        m_scanChartView->setState(2);
        if (m_progressBar->isHidden()) {
            m_progressBar->setProgress(0);
            m_progressBar->show();
        }
        break;
    case FoldersScannerStateFilteringFolders:
        m_nCurrentCheckedFolders =
            smoothedCount(m_nCurrentCheckedFolders, running->getCountOfCheckedFolders());
        show("Checked folders:  %1", m_nCurrentCheckedFolders);
        m_scanChartView->setState(3);
        break;
    case FoldersScannerStateValidatingHeaps:
        m_nCurrentCheckedFolders =
            smoothedCount(m_nCurrentCheckedFolders, running->getCountOfCheckedFolders());
        m_nCurrentFoundDuplicates = running->getCountOfActualDuplicates();
        show("Checked folders:  %1", m_nCurrentCheckedFolders);
        m_scanChartView->setState(4);
        break;
    case FoldersScannerStateCheckingSmallItems:
        m_nCurrentFoundDuplicates =
            smoothedCount(m_nCurrentFoundDuplicates, running->getCountOfActualDuplicates());
        show("Duplicates found:  %1", m_nCurrentFoundDuplicates);
        m_scanChartView->setState(4);
        break;
    case FoldersScannerStateComplete:
        m_scanChartView->setState(6);
        if (m_progressBar->isHidden()) {
            m_progressBar->setProgress(m_currentFilterProgess);
            m_progressBar->show();
        }
        // "Done" waits for the bar to reach its end: a bar still short of it says otherwise.
        m_doneWhenFull = true;
        if (m_currentFilterProgess >= 1.0f)
            showDone();
        else if (m_filterProgess < 1.0f || !m_progressSmoothTimer)
            restartProgressGlide(1.0f);
        break;
    case FoldersScannerStateCreated:
    case FoldersScannerStateStopped:
        break;
    }
}

// ---- Progress.

float ScanScreenVC::progressTarget(float files, float folders, float heaps) {
    float target = folders * 0.6f + files * 0.35f;
    target += heaps * 0.05f;
    return target;
}

void ScanScreenVC::checkProgress() {
    const auto running = scanner();
    if (!running)
        return;
    const float files = running->getDuplicatesFilesFilterProgress();
    const float folders = running->getDuplicatesFoldersFilterProgress();
    const float heaps = running->getHeapsFilterProgress();
    const FoldersScannerState state = running->getCurrentState();
    if (state == FoldersScannerStateStopped || state == FoldersScannerStateComplete)
        return;
    restartProgressGlide(progressTarget(files, folders, heaps));
}

void ScanScreenVC::restartProgressGlide(float target) {
    m_filterProgess = target;
    m_filterProgessStep = (target - m_currentFilterProgess) / float(kProgressSteps);
    auto& clock = AnimationClock::instance();
    clock.cancel(m_progressSmoothTimer);
    m_progressSmoothTimer = clock.every(kProgressTickMs, this, [this] { tick(); });
}

void ScanScreenVC::tick() {
    m_currentFilterProgess += m_filterProgessStep;
    if (m_currentFilterProgess > m_filterProgess) {
        m_currentFilterProgess = m_filterProgess;
        AnimationClock::instance().cancel(m_progressSmoothTimer);
        m_progressSmoothTimer = 0;
    }
    m_progressBar->setProgress(m_currentFilterProgess);
    if (m_doneWhenFull && m_currentFilterProgess >= 1.0f)
        showDone();
}

void ScanScreenVC::showDone() {
    m_doneWhenFull = false;
    m_pDescriptionLabel->setText(QStringLiteral("Done"));
}

// ---- Completion.

void ScanScreenVC::updateInformationUsingDuplicatesContainer(const DuplicatesContainer& container) {
    ScanChartView& chart = *m_scanChartView;
    for (int type = 0; type <= ScanChartView::kFoldersBar; ++type) {
        const auto category = container.getCategoryWithType(type);
        const auto size = int64_t(category ? category->getTotalSize() : 0);
        chart.setSize(type, size);
        chart.setDuplicatesSize(type, size);
    }
    const auto& heaps = container.getHeaps();
    const auto heapsSize = int64_t(heaps ? heaps->getTotalHeapsSize() : 0);
    chart.setSize(ScanChartView::kSimilarsBar, heapsSize);
    chart.setDuplicatesSize(ScanChartView::kSimilarsBar, heapsSize);
    chart.updateScannedFilesValuesAnimated();
    chart.updateDuplicatesValuesAnimated();
    for (int type = 0; type < ScanChartView::kFileCategoryCount; ++type)
        chart.setDuplicatesProcessed(type, true);
}

void ScanScreenVC::showNoDuplicatesView() {
    auto* view = new NoDuplicatesVC(this);
    m_noDuplicateVC = view;
    view->setGeometry(rect());
    view->raise();
    QStringList folders;
    uint64_t files = 0;
    bool stopped = false;
    if (const auto running = scanner()) {
        for (const QByteArray& folder : running->getFolderArray())
            folders << QString::fromLocal8Bit(folder);
        files = running->getCountOfScannedFiles();
        // A scan stopped after its walk still reports, with what it had compared by then.
        stopped = running->wasStopped();
    }
    view->showViewAnimatiedWithFoldersArrayAndScannedFiles(folders, files, stopped);
}
