#pragma once

#include <QWidget>

#include <cstdint>

class CommonBlackButton;
class QButtonGroup;
class QLabel;
class QRadioButton;
class QSlider;
class RestorePreferencesButton;

// The General pane: scanning hidden folders, hashing every file in full, and the minimal
// size of a file that takes part in the search, found automatically or chosen on a slider
// whose three equal thirds run over 0 to 1 MB, 1 to 10 MB and 10 to 200 MB (1 MB is
// 1,000,000 bytes). Each user action writes its setting at once; loading the pane writes
// nothing. A change made after a scan was started marks the result's scan settings as
// changed and shows that the change applies to the next scan. Main thread only.
class PreferencesGeneralView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesGeneralView)

public:
    // The slider's thirds, as single-precision floats: all arithmetic is single precision.
    static constexpr float kThird = 33.333332f;
    static constexpr float kTwoThirds = 66.666664f;
    static constexpr float kMaximum = 100.0f;
    // Positions of the slider's tick marks: all files, 1 MB, 10 MB and 200 MB.
    static constexpr float kTickMarks[] = {0.0f, kThird, kTwoThirds, kMaximum};

    explicit PreferencesGeneralView(QWidget* parent = nullptr);

    static std::uint64_t convertFromSliderValueToFileSize(float sliderValue);
    static float convertFromFileSizeToSliderValue(std::uint64_t bytes);
    // The tick mark closest to |value|.
    static float closestTickMarkValueToValue(float value);

    // Loads every control from the settings, storing nothing.
    void loadDefaultInformation();
    void updateData() { loadDefaultInformation(); }

    // The user's actions.
    void onPressRestoreDefaultsButton();
    void onScanInHiddenFoldersButtonPressed();
    void onForceFullHashCalculationPressed();
    void onAutoDefineMinimalSizeChanged();
    void onDuplicatesFileSizeSliderValueChanged();
    // Stores the short-path flag and posts the sorting-type notification; the pane shows no
    // control for it.
    void displayShortPathPressed(bool on);

    // The slider's position, 0 to 100, kept at full precision beside the toolkit slider.
    float sliderValue() const { return m_sliderValue; }
    // Moves the slider as the platform's setFloatValue does: no action is sent.
    void setSliderValue(float value);

    CommonBlackButton* scanInHiddenFoldersButton() const { return m_pScanInHiddenFolders; }
    CommonBlackButton* fullHashCalculationCheckbox() const {
        return m_pFullHashCalculationCheckbox;
    }
    QRadioButton* autoDefineMinimalSize() const { return m_pAutoDefineMinimalSize; }
    QRadioButton* manualDefineMinimalSize() const { return m_pManualDefineMinimalSize; }
    QSlider* duplicatesMinimalSizeSlider() const { return m_pDuplicatesMinimalSizeSlider; }
    QLabel* sliderDescription() const { return m_pSliderDescription; }
    QLabel* labelNextScanOnly() const { return m_labelNextScanOnly; }
    RestorePreferencesButton* restoreDefaultsButton() const { return m_restoreDefaultsButton; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Enables or dims the slider by the radio choice; stores the choice only when |store|.
    void updateSliderInterface(bool store);
    // Snaps the slider to a close tick mark and shows its size; stores it only when |store|.
    void onUpdateDuplicatesFileSizeSlider(bool store);
    void scanSettingsChanged();
    void layoutViews();

    CommonBlackButton* m_pScanInHiddenFolders = nullptr;
    CommonBlackButton* m_pFullHashCalculationCheckbox = nullptr;
    QLabel* m_minimalSizeHeading = nullptr;
    QButtonGroup* m_pDuplicatesMinimalSizeMatrix = nullptr;
    QRadioButton* m_pAutoDefineMinimalSize = nullptr;
    QRadioButton* m_pManualDefineMinimalSize = nullptr;
    QSlider* m_pDuplicatesMinimalSizeSlider = nullptr;
    QLabel* m_pSliderMarkAll = nullptr;
    QLabel* m_pSliderMark1MB = nullptr;
    QLabel* m_pSliderMark10MB = nullptr;
    QLabel* m_pSliderMark200MB = nullptr;
    QLabel* m_pSliderDescription = nullptr;
    QLabel* m_labelNextScanOnly = nullptr;
    RestorePreferencesButton* m_restoreDefaultsButton = nullptr;
    float m_sliderValue = 0;
    bool m_settingSlider = false;
};
