#include "Toolkit/Palette.h"

#include "Toolkit/ImageStore.h"

#include <QGuiApplication>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {

// QColor keeps 16 bits per component; k * 257 / 65535 is exactly k / 255, and the
// palette's alphas (1, 0.6, 0.2, 0) are exact multiples of 1 / 65535 as well.
QColor rgb(int red, int green, int blue, double alpha = 1.0) {
    const auto wide = [](int component) { return quint16(component * 257); };
    return QColor::fromRgba64(wide(red), wide(green), wide(blue),
                              quint16(std::lround(alpha * 65535.0)));
}

// A brush tiling |imageName|, rendered at least at twice the pixel density so it stays
// sharp on high-density screens; the brush honours the pixmap's device pixel ratio.
QBrush patternOf(const QString& imageName) {
    const qreal ratio = qGuiApp ? std::max<qreal>(2.0, qGuiApp->devicePixelRatio()) : 2.0;
    return QBrush(ImageStore::pixmap(imageName, {}, ratio));
}

} // namespace

namespace Palette {

QColor properColorWithRedGreenBlueAlpha(float red, float green, float blue, float alpha) {
    return QColor::fromRgbF(red, green, blue, alpha);
}

QColor commonTextColor() {
    return rgb(255, 255, 255);
}
QColor sizeLabelColor() {
    return rgb(156, 158, 164);
}
QColor pathElementTextColor() {
    return rgb(156, 158, 164);
}
QColor noDuplicatesTextColor() {
    return rgb(215, 216, 221);
}
QColor separatorColor() {
    return rgb(74, 74, 74);
}
QColor separatorInPrefsColor() {
    return rgb(89, 89, 89);
}
QColor separatorSelectedColor() {
    return rgb(74, 74, 74);
}
QColor commonRowColor() {
    return rgb(85, 85, 85);
}
QColor commonPrefRowColor() {
    return rgb(99, 99, 99);
}
QColor evenRowColor() {
    return rgb(85, 85, 85);
}
QColor reviewEvenRowColor() {
    return rgb(85, 85, 85);
}
QColor reviewOddRowColor() {
    return rgb(88, 88, 88);
}
QColor reviewListShadowColor() {
    // Black at half strength over categoryBackgroundColor (70), made opaque.
    return rgb(35, 35, 35);
}
QColor selectedRowColor() {
    return rgb(78, 104, 126);
}
QColor selectedRowColorInactive() {
    return rgb(83, 91, 97);
}
QColor focusRingColor() {
    return rgb(120, 176, 232);
}
QBrush lockedFillColor() {
    return patternOf(QStringLiteral("dark_bg_lock"));
}
QColor lockedLineColor() {
    return rgb(134, 138, 144);
}
QColor lockedTextColor() {
    return rgb(0, 0, 0);
}
QColor sectionHeaderBottomLineColor() {
    return rgb(74, 74, 74);
}
QColor sectionHeaderTopLineColor() {
    return rgb(133, 133, 133);
}
QColor sectionHeaderTitleColor() {
    return rgb(255, 255, 255);
}
QColor allowRemovingPopupColor() {
    return rgb(85, 85, 85);
}
QColor commonBackgroundColor() {
    return rgb(70, 70, 70);
}
QColor categoryBackgroundColor() {
    return rgb(70, 70, 70);
}
QColor quicklookBackgroundColor() {
    return rgb(124, 128, 130);
}
QColor commonPanelBackgroundColor() {
    return rgb(85, 85, 85);
}
QColor commonViewBorderColor() {
    return rgb(70, 70, 70);
}
QColor commonViewBorderColor2() {
    return rgb(70, 70, 70);
}
QColor quickHintUnderlineButtonColor() {
    return rgb(215, 216, 221);
}
QBrush toolbarTexturedBackgroundColor() {
    return patternOf(QStringLiteral("dark_bg_menu"));
}
QColor toolbarButtonsTextColor() {
    return rgb(215, 216, 221);
}
QColor bottombarRemoveButtonTextColor() {
    return rgb(255, 255, 255);
}
QColor toolbarSelectedButtonTextColor() {
    return rgb(85, 85, 85);
}
QColor toolbarButtonsDisabledTextColor() {
    return rgb(215, 216, 221, 0.2);
}
QColor toolbarHeapButtonTextColor() {
    return rgb(255, 220, 144);
}
QColor toolbarSizeTextColor() {
    return rgb(156, 158, 164);
}
QColor coverFlowBackgroundColor() {
    return rgb(89, 89, 89);
}
QColor coverFlowBorderColor() {
    return rgb(156, 158, 164);
}
QColor dropFolderHereColor() {
    return rgb(215, 216, 221);
}
QColor chooseFoldersToScanColor() {
    return rgb(215, 216, 221);
}
QColor welcomeScreenTopGradientColor() {
    return rgb(237, 246, 255);
}
QColor welcomeScreenBottomGradientColor() {
    return rgb(208, 231, 246);
}
QColor dupViewBorderColor() {
    return rgb(113, 113, 113);
}
QColor dupViewBackgroundColor() {
    return rgb(255, 255, 255, 0);
}
QColor dupViewSelectedFilesColor() {
    return rgb(86, 207, 123);
}
QColor dupViewSelectedFilesRedColor() {
    return rgb(238, 113, 96);
}
QColor dupViewAllFilesColor() {
    return rgb(156, 158, 164);
}
QColor badgeSimilarTopColor() {
    return rgb(248, 252, 254);
}
QColor badgeSimilarBottomColor() {
    return rgb(238, 244, 247);
}
QColor badgeColor() {
    return rgb(226, 54, 54);
}
QColor phantomStickColor() {
    return rgb(97, 97, 97);
}
QColor phantomStickBorderColor() {
    return rgb(70, 70, 70);
}
QColor phantomStickInnerBorderColor() {
    return rgb(126, 126, 126);
}
QColor totalTextColor() {
    return rgb(215, 216, 221);
}
QColor totalCircleColor() {
    return rgb(79, 79, 79);
}
QColor hintHeaderColor() {
    return rgb(106, 106, 106);
}
QColor hintBackgroundColor() {
    return rgb(89, 89, 89);
}
QColor hintBorderColor() {
    return rgb(156, 158, 164);
}
QColor hintChartStickColor() {
    return rgb(106, 103, 100);
}
QColor hintChartSelectedStickColor() {
    return rgb(203, 130, 70);
}
QColor hintChartStickBorderColor() {
    return rgb(159, 130, 102);
}
QColor hintChartSelectedStickBorderColor() {
    return rgb(203, 130, 70);
}
QColor chartSwitcherButtonColor() {
    return rgb(78, 161, 209);
}
QColor hintChartFolderNameColor() {
    return rgb(215, 216, 221);
}
QColor hintChartSizeColor() {
    return rgb(215, 216, 221);
}
QColor heapRow() {
    return rgb(88, 88, 88);
}
QColor heapEvenRow() {
    return rgb(85, 85, 85);
}
QColor heapRowBorder() {
    return rgb(145, 182, 211);
}
QBrush heapRowFolderBackground() {
    return patternOf(QStringLiteral("dark_bg_menu"));
}
QColor heapRowFolderSeparator() {
    return rgb(77, 77, 77);
}
QColor heapRowFolderPathColor() {
    return rgb(255, 255, 255);
}
QColor otherRowColor() {
    return rgb(80, 80, 80);
}
QColor otherRowBorderColor() {
    return rgb(74, 74, 74);
}
QColor heapCircleColor() {
    return rgb(97, 104, 107);
}
QColor heapCircleBorderColor() {
    return rgb(131, 168, 197);
}
QColor intersectionPartColor() {
    return rgb(136, 123, 103);
}
QColor intersectionPartBorderColor() {
    return rgb(255, 136, 31);
}
QColor heapCircleTitleColor() {
    return rgb(215, 216, 221);
}
QColor heapCircleSubtitleColor() {
    return rgb(156, 158, 164);
}
QColor heapCircleShowButtonColor() {
    return rgb(215, 216, 221);
}
QColor overlayBackgroundColor() {
    return rgb(28, 31, 37, 0.6);
}
QColor toolbarTopBackgroundColor() {
    return rgb(245, 245, 245);
}
QColor toolbarBottomBackgroundColor() {
    return rgb(222, 222, 228);
}
QColor toolbarShadowSeparatorColor() {
    return rgb(193, 199, 204);
}
QColor rateDialogTitleColor() {
    return rgb(76, 113, 151);
}
QColor picturesStick() {
    return QColor(Qt::transparent);
}
QColor picturesStickBorder() {
    return rgb(120, 89, 98);
}
QColor picturesDuplicatesStick() {
    return rgb(167, 84, 108);
}
QColor picturesBottomStick() {
    return rgb(122, 100, 113);
}
QColor picturesOverview() {
    return rgb(167, 84, 108);
}
QColor picturesOverviewSelected() {
    return rgb(221, 112, 141);
}
QColor moviesStick() {
    return QColor(Qt::transparent);
}
QColor moviesStickBorder() {
    return rgb(127, 124, 96);
}
QColor moviesDuplicatesStick() {
    return rgb(180, 163, 48);
}
QColor moviesBottomStick() {
    return rgb(121, 127, 92);
}
QColor moviesOverview() {
    return rgb(180, 163, 48);
}
QColor moviesOverviewSelected() {
    return rgb(221, 200, 62);
}
QColor musicStick() {
    return QColor(Qt::transparent);
}
QColor musicStickBorder() {
    return rgb(102, 117, 92);
}
QColor musicDuplicatesStick() {
    return rgb(106, 170, 63);
}
QColor musicBottomStick() {
    return rgb(99, 128, 95);
}
QColor musicOverview() {
    return rgb(106, 170, 63);
}
QColor musicOverviewSelected() {
    return rgb(132, 212, 76);
}
QColor documentsStick() {
    return QColor(Qt::transparent);
}
QColor documentsStickBorder() {
    return rgb(88, 121, 108);
}
QColor documentsDuplicatesStick() {
    return rgb(44, 167, 116);
}
QColor documentsBottomStick() {
    return rgb(83, 128, 119);
}
QColor documentsOverview() {
    return rgb(44, 167, 116);
}
QColor documentsOverviewSelected() {
    return rgb(52, 205, 140);
}
QColor archivesStick() {
    return QColor(Qt::transparent);
}
QColor archivesStickBorder() {
    return rgb(97, 119, 136);
}
QColor archivesDuplicatesStick() {
    return rgb(65, 129, 178);
}
QColor archivesBottomStick() {
    return rgb(85, 115, 132);
}
QColor archivesOverview() {
    return rgb(65, 129, 178);
}
QColor archivesOverviewSelected() {
    return rgb(80, 159, 218);
}
QColor othersStick() {
    return QColor(Qt::transparent);
}
QColor othersStickBorder() {
    return rgb(91, 93, 123);
}
QColor othersDuplicatesStick() {
    return rgb(70, 76, 202);
}
QColor othersBottomStick() {
    return rgb(83, 92, 119);
}
QColor othersOverview() {
    return rgb(77, 84, 218);
}
QColor othersOverviewSelected() {
    return rgb(77, 84, 218);
}
QColor foldersStick() {
    return QColor(Qt::transparent);
}
QColor foldersStickBorder() {
    return rgb(115, 94, 126);
}
QColor foldersDuplicatesStick() {
    return rgb(150, 76, 180);
}
QColor foldersBottomStick() {
    return rgb(110, 80, 123);
}
QColor foldersOverview() {
    return rgb(150, 76, 180);
}
QColor foldersOverviewSelected() {
    return rgb(183, 91, 218);
}
QColor heapsStick() {
    return QColor(Qt::transparent);
}
QColor heapsStickBorder() {
    return rgb(131, 113, 98);
}
QColor heapsDuplicatesStick() {
    return rgb(192, 123, 67);
}
QColor heapsBottomStick() {
    return rgb(122, 102, 92);
}

} // namespace Palette
