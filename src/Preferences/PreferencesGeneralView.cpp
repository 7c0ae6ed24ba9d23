#include "Preferences/PreferencesGeneralView.h"

#include "Categories/AppNotification.h"
#include "Categories/FileSize.h"
#include "Categories/Settings.h"
#include "Preferences/PreferencesTexts.h"
#include "Results/DuplicatesManager.h"
#include "Selection/SettingsRestore.h"
#include "Toolkit/CommonBlackButton.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"
#include "Toolkit/RestorePreferencesButton.h"

#include <QButtonGroup>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>

#include <cmath>

namespace {

// The toolkit slider moves in hundredths of a position.
constexpr int kSliderSteps = 10000;
constexpr float kStepsPerPosition = kSliderSteps / PreferencesGeneralView::kMaximum;

QLabel* makeLabel(QWidget* parent, const QString& text, qreal size,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* label = new QLabel(text, parent);
    label->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), size));
    label->setAlignment(alignment);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Palette::commonTextColor());
    label->setPalette(colours);
    return label;
}

QRadioButton* makeRadio(QWidget* parent, const QString& text) {
    auto* radio = new QRadioButton(text, parent);
    radio->setFont(Fonts::fontWithName(QStringLiteral("HelveticaNeue"), 13));
    // Tab reaches it (with the ring around it); a click leaves the focus where it was.
    radio->setFocusPolicy(Qt::TabFocus);
    QPalette colours = radio->palette();
    colours.setColor(QPalette::WindowText, Palette::commonTextColor());
    radio->setPalette(colours);
    return radio;
}

void setAlpha(QWidget* widget, qreal alpha) {
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(widget->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(widget);
        widget->setGraphicsEffect(effect);
    }
    effect->setOpacity(alpha);
}

} // namespace

PreferencesGeneralView::PreferencesGeneralView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PreferencesGeneralView"));
    m_pScanInHiddenFolders = new CommonBlackButton(this);
    m_pScanInHiddenFolders->setTitle(PreferencesTexts::scanInHiddenFolders());
    m_pScanInHiddenFolders->sizeToFit();
    m_pFullHashCalculationCheckbox = new CommonBlackButton(this);
    m_pFullHashCalculationCheckbox->setTitle(PreferencesTexts::fullHashCalculation());
    m_pFullHashCalculationCheckbox->sizeToFit();

    m_minimalSizeHeading = makeLabel(this, PreferencesTexts::minimalSizeHeading(), 13);
    m_pAutoDefineMinimalSize = makeRadio(this, PreferencesTexts::autoDefineMinimalSize());
    m_pManualDefineMinimalSize = makeRadio(this, PreferencesTexts::manualDefineMinimalSize());
    m_pDuplicatesMinimalSizeMatrix = new QButtonGroup(this);
    m_pDuplicatesMinimalSizeMatrix->addButton(m_pAutoDefineMinimalSize);
    m_pDuplicatesMinimalSizeMatrix->addButton(m_pManualDefineMinimalSize);

    m_pDuplicatesMinimalSizeSlider = new QSlider(Qt::Horizontal, this);
    m_pDuplicatesMinimalSizeSlider->setRange(0, kSliderSteps);
    m_pDuplicatesMinimalSizeSlider->setTickPosition(QSlider::TicksBelow);
    m_pDuplicatesMinimalSizeSlider->setTickInterval(kSliderSteps / 3);
    // The arrow keys move it one position, Page Up and Page Down ten.
    m_pDuplicatesMinimalSizeSlider->setFocusPolicy(Qt::StrongFocus);
    m_pDuplicatesMinimalSizeSlider->setSingleStep(int(kStepsPerPosition));
    m_pDuplicatesMinimalSizeSlider->setPageStep(int(10 * kStepsPerPosition));
    QPalette sliderColours = m_pDuplicatesMinimalSizeSlider->palette();
    sliderColours.setColor(QPalette::Highlight, Palette::selectedRowColor());
    m_pDuplicatesMinimalSizeSlider->setPalette(sliderColours);
    m_pSliderMarkAll = makeLabel(this, PreferencesTexts::sliderMarkAll(), 11, Qt::AlignCenter);
    m_pSliderMark1MB = makeLabel(this, PreferencesTexts::sliderMark1MB(), 11, Qt::AlignCenter);
    m_pSliderMark10MB = makeLabel(this, PreferencesTexts::sliderMark10MB(), 11, Qt::AlignCenter);
    m_pSliderMark200MB = makeLabel(this, PreferencesTexts::sliderMark200MB(), 11, Qt::AlignCenter);
    m_pSliderDescription = makeLabel(this, QString(), 13, Qt::AlignCenter);
    m_labelNextScanOnly = makeLabel(this, PreferencesTexts::nextScanOnly(), 12);
    QPalette note = m_labelNextScanOnly->palette();
    note.setColor(QPalette::WindowText, Palette::toolbarSizeTextColor());
    m_labelNextScanOnly->setPalette(note);
    m_labelNextScanOnly->hide();
    m_restoreDefaultsButton = new RestorePreferencesButton(this);
    m_restoreDefaultsButton->setTitle(PreferencesTexts::restoreDefaults());
    m_restoreDefaultsButton->sizeToFit();

    connect(m_pScanInHiddenFolders, &QAbstractButton::clicked, this,
            [this] { onScanInHiddenFoldersButtonPressed(); });
    connect(m_pFullHashCalculationCheckbox, &QAbstractButton::clicked, this,
            [this] { onForceFullHashCalculationPressed(); });
    connect(m_pDuplicatesMinimalSizeMatrix, &QButtonGroup::buttonClicked, this,
            [this] { onAutoDefineMinimalSizeChanged(); });
    connect(m_pDuplicatesMinimalSizeSlider, &QSlider::valueChanged, this, [this](int value) {
        if (m_settingSlider)
            return;
        m_sliderValue = float(value) / kStepsPerPosition;
        onDuplicatesFileSizeSliderValueChanged();
    });
    connect(m_restoreDefaultsButton, &QAbstractButton::clicked, this,
            [this] { onPressRestoreDefaultsButton(); });
    layoutViews();
}

std::uint64_t PreferencesGeneralView::convertFromSliderValueToFileSize(float sliderValue) {
    const float s = std::clamp(sliderValue, 0.0f, kMaximum);
    const float T = kThird;
    float megabytes = 0;
    if (s <= T)
        megabytes = s / T;
    else if (s <= 2 * T)
        megabytes = (s - T) * 9.0f / T + 1.0f;
    else
        megabytes = (s - 2 * T) * 190.0f / T + 10.0f;
    const float bytes = megabytes * 1000000.0f;
    return static_cast<std::uint64_t>(bytes);
}

float PreferencesGeneralView::convertFromFileSizeToSliderValue(std::uint64_t bytes) {
    const float megabytes = static_cast<float>(bytes) / 1000000.0f;
    const float T = kThird;
    float s = 0;
    if (megabytes <= 1.0f)
        s = megabytes * T;
    else if (megabytes <= 10.0f)
        s = (megabytes - 1.0f) * T / 9.0f + T;
    else
        s = (megabytes - 10.0f) * T / 190.0f + 2 * T;
    return std::clamp(s, 0.0f, kMaximum);
}

float PreferencesGeneralView::closestTickMarkValueToValue(float value) {
    float closest = kTickMarks[0];
    for (float tick : kTickMarks) {
        if (std::fabs(tick - value) < std::fabs(closest - value))
            closest = tick;
    }
    return closest;
}

void PreferencesGeneralView::setSliderValue(float value) {
    m_sliderValue = std::clamp(value, 0.0f, kMaximum);
    m_settingSlider = true;
    m_pDuplicatesMinimalSizeSlider->setValue(int(std::lround(m_sliderValue * kStepsPerPosition)));
    m_settingSlider = false;
}

void PreferencesGeneralView::loadDefaultInformation() {
    m_pScanInHiddenFolders->setState(Settings::scanInHiddenFolders() ? 1 : 0);
    m_pFullHashCalculationCheckbox->setState(Settings::forceFullHashCalculation() ? 1 : 0);
    if (Settings::defineMinimalDuplicatesFileSizeAutomatically())
        m_pAutoDefineMinimalSize->setChecked(true);
    else
        m_pManualDefineMinimalSize->setChecked(true);
    setSliderValue(convertFromFileSizeToSliderValue(Settings::minDuplicatesFileSize()));
    // Showing the pane writes nothing: a stored size between tick marks, or above the
    // slider's 200 MB, stays as stored until the user moves the slider.
    updateSliderInterface(false);
    m_labelNextScanOnly->setVisible(DuplicatesManager::sharedManager().scanSettingsChanged());
}

void PreferencesGeneralView::onPressRestoreDefaultsButton() {
    Settings::restoreDefaultsForAllSettings();
    loadDefaultInformation();
}

void PreferencesGeneralView::onScanInHiddenFoldersButtonPressed() {
    Settings::setScanInHiddenFolders(m_pScanInHiddenFolders->state() == 1);
    scanSettingsChanged();
}

void PreferencesGeneralView::onForceFullHashCalculationPressed() {
    Settings::setForceFullHashCalculation(m_pFullHashCalculationCheckbox->state() == 1);
    scanSettingsChanged();
}

void PreferencesGeneralView::onAutoDefineMinimalSizeChanged() {
    updateSliderInterface(true);
    scanSettingsChanged();
}

void PreferencesGeneralView::onDuplicatesFileSizeSliderValueChanged() {
    scanSettingsChanged();
    onUpdateDuplicatesFileSizeSlider(true);
}

void PreferencesGeneralView::displayShortPathPressed(bool on) {
    Settings::setShowShortFilePath(on);
    AppNotification::CreateSortingTypeChangedNotification();
}

void PreferencesGeneralView::updateSliderInterface(bool store) {
    const bool automatic = m_pAutoDefineMinimalSize->isChecked();
    if (store)
        Settings::setDefineMinimalDuplicatesFileSizeAutomatically(automatic);
    m_pDuplicatesMinimalSizeSlider->setEnabled(!automatic);
    const qreal alpha = automatic ? 0.5 : 1.0;
    for (QWidget* widget :
         {static_cast<QWidget*>(m_pDuplicatesMinimalSizeSlider),
          static_cast<QWidget*>(m_pSliderMarkAll), static_cast<QWidget*>(m_pSliderMark1MB),
          static_cast<QWidget*>(m_pSliderMark10MB), static_cast<QWidget*>(m_pSliderMark200MB),
          static_cast<QWidget*>(m_pSliderDescription)})
        setAlpha(widget, alpha);
    // Choosing between automatic and manual stores the choice only; the size itself is
    // written when the slider moves.
    onUpdateDuplicatesFileSizeSlider(false);
}

void PreferencesGeneralView::onUpdateDuplicatesFileSizeSlider(bool store) {
    std::uint64_t size = Settings::minDuplicatesFileSize();
    if (store) {
        const float tick = closestTickMarkValueToValue(m_sliderValue);
        if (std::fabs(tick - m_sliderValue) < 1.0f)
            setSliderValue(tick);
        size = convertFromSliderValueToFileSize(m_sliderValue);
        Settings::setMinDuplicatesFileSize(size);
    }
    m_pSliderDescription->setText(size == 0 ? PreferencesTexts::allFiles()
                                            : FileSize::formatMemoryStringDot1(size));
}

void PreferencesGeneralView::scanSettingsChanged() {
    DuplicatesManager& manager = DuplicatesManager::sharedManager();
    if (manager.scanStartDate().isNull())
        return;
    manager.setScanSettingsChanged(true);
    m_labelNextScanOnly->show();
}

void PreferencesGeneralView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutViews();
}

void PreferencesGeneralView::layoutViews() {
    const int left = 40;
    m_pScanInHiddenFolders->move(left, 28);
    m_pFullHashCalculationCheckbox->move(left, 58);
    m_minimalSizeHeading->setGeometry(left, 104, width() - 2 * left, 20);
    m_pAutoDefineMinimalSize->setGeometry(left + 20, 132, 300, 22);
    m_pManualDefineMinimalSize->setGeometry(left + 20, 162, 90, 22);
    const int sliderLeft = left + 120;
    const int sliderWidth = std::max(100, width() - sliderLeft - left - 20);
    m_pDuplicatesMinimalSizeSlider->setGeometry(sliderLeft, 160, sliderWidth, 26);
    // The marks stand under their tick marks; the handle leaves a few points at each end.
    const int inset = 8;
    const int track = sliderWidth - 2 * inset;
    const QList<QLabel*> marks{m_pSliderMarkAll, m_pSliderMark1MB, m_pSliderMark10MB,
                               m_pSliderMark200MB};
    for (int i = 0; i < marks.size(); ++i) {
        const int centre = sliderLeft + inset + int(std::lround(track * kTickMarks[i] / kMaximum));
        marks[i]->setGeometry(centre - 30, 188, 60, 16);
    }
    m_pSliderDescription->setGeometry(sliderLeft, 210, sliderWidth, 20);
    m_labelNextScanOnly->setGeometry(left, 252, width() - 2 * left, 20);
    m_restoreDefaultsButton->move(width() - 20 - m_restoreDefaultsButton->width(),
                                  height() - 20 - m_restoreDefaultsButton->height());
}
