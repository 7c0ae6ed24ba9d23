#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>

class ButtonWithTrackingArea;
class DuplicatesContainer;
class FoldersScanner;
class NoDuplicatesVC;
class ProgressBarScanner;
class GrayContainerView;
class ScanChartView;
class ScanScreenProtocolDelegate;

// The screen shown while a scan runs: the scan chart, one description line with a live
// count, a progress bar shown once the file comparison begins, Stop and Back.
//
// The screen never hears from the scanner: it polls the running scanner's counters on
// repeating timers (size poll 1 s, description 50 ms, progress 1 s, progress glide 1/45 s)
// and smooths what it shows. The scanner is held weakly and read anew at every poll; once
// the main window drops it the polls find none. Main thread only; every timer runs on the
// animation clock.
class ScanScreenVC final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScanScreenVC)

public:
    static constexpr const char* kInterfaceName = "ScanScreenVC_DARK";
    static constexpr int kInformationPeriodMs = 1000;
    static constexpr int kDescriptionPeriodMs = 50;
    static constexpr int kProgressPeriodMs = 1000;
    static constexpr int kProgressTickMs = 22; // 1/45 s
    static constexpr int kBackDelayMs = 1500;

    explicit ScanScreenVC(QWidget* parent = nullptr);
    ~ScanScreenVC() override;

    // Set-up once the screen is made and placed: looks, disabled Stop and Back, phantom
    // chart and the progress poll.
    void awakeFromNib();

    void setDelegate(ScanScreenProtocolDelegate* delegate) { m_delegate = delegate; }
    ScanScreenProtocolDelegate* delegate() const { return m_delegate; }
    // Attaches the running scanner, or with none detaches it after one last refresh.
    void setScanner(const std::shared_ptr<FoldersScanner>& scanner);
    void updateInformationUsingDuplicatesContainer(const DuplicatesContainer& container);
    void showNoDuplicatesView();
    void setDisabled(bool disabled) { m_disabled = disabled; }
    bool disabled() const { return m_disabled; }

    void backButtonPressed();
    void showResultsButtonPressed();

    // The count written in groups of three digits separated by one blank (1 234 567).
    static QString getStringWithSpacesFromNumber(uint64_t number);
    // One poll's move of a shown count toward the scanner's count: up by at least 1 and
    // never past it; down only by 5 % steps of at least 1. Exact for every 64-bit count.
    static uint64_t smoothedCount(uint64_t displayed, uint64_t count);
    // The progress the bar heads for: folders 0.6, files 0.35, heaps 0.05.
    static float progressTarget(float files, float folders, float heaps);

    // ---- Read back, for tests and the shots.
    ScanChartView* scanChartView() const { return m_scanChartView; }
    ProgressBarScanner* progressBar() const { return m_progressBar; }
    QString descriptionText() const { return m_pDescriptionLabel->text(); }
    ButtonWithTrackingArea* backButton() const { return m_backButton; }
    ButtonWithTrackingArea* stopButton() const { return m_pStopButton; }
    NoDuplicatesVC* noDuplicatesController() const;
    float currentFilterProgress() const { return m_currentFilterProgess; }
    uint64_t currentScannedFiles() const { return m_nCurrentScannedFiles; }
    uint64_t currentFoundDuplicates() const { return m_nCurrentFoundDuplicates; }
    uint64_t currentCheckedFolders() const { return m_nCurrentCheckedFolders; }
    bool isProgressPollRunning() const { return m_progressTimer != 0; }
    // The scanner polled now; none before the hand-over and after it is dropped.
    std::shared_ptr<FoldersScanner> scanner() const { return m_pScanner.lock(); }
    bool isStopButtonEnabled() const;
    bool isBackButtonEnabled() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void leaveScan();
    void startUpdateInformation();
    void stopUpdateInformation();
    void updateInformation();
    void updateDescription();
    void checkProgress();
    void tick();
    void showDone();
    void restartProgressGlide(float target);
    void disableStopButton();
    void enableStopButton();
    void layoutViews();

    ScanChartView* m_scanChartView = nullptr;
    std::weak_ptr<FoldersScanner> m_pScanner;
    quint64 m_pUpdateInformationTimer = 0;
    quint64 m_pUpdateDescriptionLabelTimer = 0;
    QLabel* m_pDescriptionLabel = nullptr;
    ButtonWithTrackingArea* m_backButton = nullptr;
    ButtonWithTrackingArea* m_pStopButton = nullptr;
    // Shown counts; 64-bit so every count is written exactly.
    uint64_t m_nCurrentScannedFiles = 0;
    uint64_t m_nCurrentFoundDuplicates = 0;
    uint64_t m_nCurrentCheckedFolders = 0;
    ProgressBarScanner* m_progressBar = nullptr;
    float m_currentFilterProgess = 0;
    float m_filterProgess = 0;
    float m_filterProgessStep = 0;
    quint64 m_progressTimer = 0;
    quint64 m_progressSmoothTimer = 0;
    // The scan is complete and "Done" shows once the bar is full.
    bool m_doneWhenFull = false;
    QPointer<NoDuplicatesVC> m_noDuplicateVC;
    GrayContainerView* m_containerView = nullptr;
    bool m_disabled = false;
    bool m_backDisabled = true;
    bool m_stopDisabled = true;
    ScanScreenProtocolDelegate* m_delegate = nullptr;
};
