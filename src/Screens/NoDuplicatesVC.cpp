#include "NoDuplicatesVC.h"

#include "Categories/Settings.h"
#include "Platform/NotificationCenter.h"
#include "Preferences/PreferencesWC.h"
#include "Screens/AttributedText.h"
#include "Screens/FlowTexts.h"
#include "Screens/ScreenButtonImages.h"
#include "Shell/ScreenAnimation.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/NoDupsUnderlineButton.h"
#include "Toolkit/Palette.h"
#include "Walker/ExcludeChecker.h"

#include <QFile>
#include <QFileInfo>
#include <QPropertyAnimation>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal kTextSize = 24;
constexpr qreal kHeadingSize = 30;
constexpr qreal kLineSize = 18;
constexpr qreal kNoteSize = 14;
// The folder sentence is measured within this box.
constexpr QSizeF kSentenceBounds(576, 100);

AttributedLabel* makeLabel(QWidget* parent, qreal size, const QString& text = {}) {
    auto* label = new AttributedLabel(size, Palette::noDuplicatesTextColor(), parent);
    if (!text.isEmpty())
        label->setPlainString(text);
    return label;
}

} // namespace

NoDuplicatesVC::NoDuplicatesVC(QWidget* parent) : ViewWithCommonBackground(parent) {
    setObjectName(QLatin1String(kInterfaceName));
    m_label1 = makeLabel(this, kHeadingSize);
    m_label1->setAttributedText({{QStringLiteral("No duplicates found"), true}});
    m_label2 = makeLabel(this, kTextSize);
    m_label3 = makeLabel(this, kLineSize);
    m_label4 = makeLabel(this, kLineSize, FlowTexts::noDuplicatesOutcomeLine(false));
    m_minimalDupsSizeView = new QWidget(this);
    m_label5 = makeLabel(m_minimalDupsSizeView, kNoteSize);
    m_changeButton = new NoDupsUnderlineButton(m_minimalDupsSizeView);
    m_changeButton->setPointSize(kNoteSize);
    m_changeButton->setTitle(QStringLiteral("Change"));
    m_label6_1 = makeLabel(this, kNoteSize, FlowTexts::noDuplicatesRescanQuestion(false));
    m_rescanButton = new NoDupsUnderlineButton(this);
    m_rescanButton->setPointSize(kNoteSize);
    m_rescanButton->setTitle(QStringLiteral("Rescan the same folders"));
    m_label6_2 = makeLabel(this, kNoteSize, QStringLiteral("Or choose other folders:"));
    m_newScanButton = new ButtonWithTrackingArea(this);
    m_newScanButton->setObjectName(QStringLiteral("newScanButton"));

    connect(m_newScanButton, &QAbstractButton::clicked, this, [this] { newScanButtonPressed(); });
    connect(m_rescanButton, &QAbstractButton::clicked, this, [this] { rescanButtonPressed(); });
    connect(m_changeButton, &QAbstractButton::clicked, this, [this] { changeButtonPressed(); });
    awakeFromNib();
}

void NoDuplicatesVC::awakeFromNib() {
    setScreenButtonImages(m_newScanButton, QStringLiteral("btn_newscan"));
    for (AttributedLabel* label :
         {m_label1, m_label2, m_label3, m_label4, m_label5, m_label6_1, m_label6_2})
        label->setTextColor(Palette::noDuplicatesTextColor());
    m_minimalDupsSizeView->hide();
    layoutFixedViews();
}

void NoDuplicatesVC::showViewAnimatiedWithFoldersArrayAndScannedFiles(const QStringList& folders,
                                                                      quint64 filesCount,
                                                                      bool scanStopped) {
    m_scanStopped = scanStopped;
    // Folders the skip list keeps out of every comparison are walked and counted, but none
    // of their files is compared: "unique" would say more than the scan found.
    const ExcludeChecker skipList;
    const bool allSkipped =
        !folders.isEmpty() && std::all_of(folders.begin(), folders.end(), [&](const QString& f) {
            const QByteArray path = QFile::encodeName(f);
            const QByteArray name = QFile::encodeName(QFileInfo(f).fileName());
            return skipList.exclusionForPath(path, name) == ExcludeChecker::Exclusion::Path;
        });
    m_label4->setPlainString(
        FlowTexts::noDuplicatesOutcomeLine(scanStopped, allSkipped, int(folders.size())));
    m_label6_1->setPlainString(FlowTexts::noDuplicatesRescanQuestion(scanStopped));
    layoutFixedViews();
    show();
    ScreenAnimation::slideDownIntoPlace(this, kShowAnimationMs);
    m_foldersArray = folders;
    m_filesCount = filesCount;
    updateAllLabels();
}

void NoDuplicatesVC::updateAllLabels() {
    // The folder sentence sits 40 points under the heading, as tall as it needs.
    const AttributedText sentence = FlowTexts::noDuplicatesFolderSentence(m_foldersArray);
    const QSizeF measured =
        AttributedTextBuilder::boundingSize(sentence, kTextSize, kSentenceBounds);
    const int w = int(measured.width() + 10);
    const int h = int(std::ceil(measured.height()));
    const int x = int(std::floor(width() / 2.0 - w / 2.0));
    const int y = int(std::floor(originYFromBottom(m_label1) - 40.0 - h));
    placeFromBottom(m_label2, x, y, w, h);
    m_label2->setAttributedText(sentence);

    m_label3->setPlainString(FlowTexts::filesCheckedLine(m_filesCount));
    placeFromBottom(m_label3, m_label3->x(), y - 30, m_label3->width(), m_label3->height());
    placeFromBottom(m_label4, m_label4->x(), y - 60, m_label4->width(), m_label4->height());

    m_minimalDupsSizeView->hide();
    const auto note =
        FlowTexts::minimalSizeNote(Settings::defineMinimalDuplicatesFileSizeAutomatically(),
                                   Settings::minDuplicatesFileSize());
    if (note) {
        m_label5->setPlainString(*note);
        layoutFixedViews();
        m_minimalDupsSizeView->show();
    }
}

void NoDuplicatesVC::newScanButtonPressed() {
    if (m_newScanSent)
        return;
    m_newScanSent = true;
    m_newScanButton->setDisabled(true);
    NotificationCenter::defaultCenter().post(QStringLiteral("NoDuplicatesMore"));
    NotificationCenter::defaultCenter().post(QStringLiteral("BackToWelcomeScreen"));
}

void NoDuplicatesVC::rescanButtonPressed() {
    NotificationCenter::defaultCenter().post(QStringLiteral("RestartScan"));
}

PreferencesWC* NoDuplicatesVC::preferencesController() const {
    return m_preferencesController;
}

void NoDuplicatesVC::changeButtonPressed() {
    // A new window at every press, modal in front of the application.
    m_preferencesController = PreferencesWC::beginSheet();
}

void NoDuplicatesVC::resizeEvent(QResizeEvent* event) {
    ViewWithCommonBackground::resizeEvent(event);
    layoutFixedViews();
    if (!m_foldersArray.isEmpty())
        updateAllLabels();
}

void NoDuplicatesVC::placeFromBottom(QWidget* view, int x, int y, int width, int height) {
    const int parentHeight = view->parentWidget() ? view->parentWidget()->height() : 0;
    view->setGeometry(x, parentHeight - y - height, width, height);
}

int NoDuplicatesVC::originYFromBottom(const QWidget* view) const {
    return view->parentWidget()->height() - view->y() - view->height();
}

void NoDuplicatesVC::layoutFixedViews() {
    const int W = width();
    const int H = height();
    const int textWidth = std::min(W - 40, 860);
    const int textX = (W - textWidth) / 2;
    placeFromBottom(m_label1, textX, H - 190, textWidth, 40);
    // Until the labels are filled they stand where an unwrapped sentence puts them.
    placeFromBottom(m_label2, textX, H - 260, textWidth, 30);
    placeFromBottom(m_label3, textX, H - 290, textWidth, 26);
    placeFromBottom(m_label4, textX, H - 320, textWidth, 26);

    // The note and its link, centred together as one line.
    const int noteWidth = int(std::ceil(
        AttributedTextBuilder::boundingSize(m_label5->attributedText(), kNoteSize, {2000, 100})
            .width()));
    m_changeButton->sizeToFit();
    const int gap = 6;
    const int rowWidth = noteWidth + gap + m_changeButton->width();
    placeFromBottom(m_minimalDupsSizeView, 0, 190, W, 24);
    placeFromBottom(m_label5, (W - rowWidth) / 2, 0, noteWidth + 2, 24);
    placeFromBottom(m_changeButton, (W - rowWidth) / 2 + noteWidth + gap,
                    (24 - m_changeButton->height()) / 2, m_changeButton->width(),
                    m_changeButton->height());

    // "Changed your scan settings? Rescan the same folders", centred as one line.
    const int askWidth = int(std::ceil(
        AttributedTextBuilder::boundingSize(m_label6_1->attributedText(), kNoteSize, {2000, 100})
            .width()));
    m_rescanButton->sizeToFit();
    const int askRow = askWidth + gap + m_rescanButton->width();
    placeFromBottom(m_label6_1, (W - askRow) / 2, 140, askWidth + 2, 24);
    placeFromBottom(m_rescanButton, (W - askRow) / 2 + askWidth + gap,
                    140 + (24 - m_rescanButton->height()) / 2, m_rescanButton->width(),
                    m_rescanButton->height());

    placeFromBottom(m_label6_2, textX, 104, textWidth, 22);
    const QSize button = m_newScanButton->size();
    placeFromBottom(m_newScanButton, (W - button.width()) / 2, 50, button.width(), button.height());
}
