#pragma once

#include <QBrush>
#include <QColor>

// The one palette of the dark interface. Every colour a custom control, background, chart
// or list draws with comes from here by name; paint code holds no colour literals.
// Each function answers a new value (nothing cached) in sRGB; fixed components are exactly
// k/255 in double precision. The three pattern colours answer a brush tiling a picture of
// the ImageStore. Main thread only (the pattern brushes render pictures).
namespace Palette {

// A colour outside the palette, in the same colour space. Components 0 to 1, single
// precision as the callers pass them, widened to double.
QColor properColorWithRedGreenBlueAlpha(float red, float green, float blue, float alpha);

QColor commonTextColor();
QColor sizeLabelColor();
QColor pathElementTextColor();
QColor noDuplicatesTextColor();
QColor separatorColor();
QColor separatorInPrefsColor();
QColor separatorSelectedColor();
QColor commonRowColor();
QColor commonPrefRowColor();
QColor evenRowColor();
// The review panel's rows: grey 85 on even rows, 88 on odd ones.
QColor reviewEvenRowColor();
QColor reviewOddRowColor();
// The thin shadow around the review panel's list: black at half strength over the panel's
// background.
QColor reviewListShadowColor();
QColor selectedRowColor();
QColor selectedRowColorInactive();
// The ring around the control that has the keyboard focus.
QColor focusRingColor();
QBrush lockedFillColor();
QColor lockedLineColor();
// Titles of the path components drawn over the locked band.
QColor lockedTextColor();
// The copies table's section headers: the darker bottom line and the lighter top line.
QColor sectionHeaderBottomLineColor();
QColor sectionHeaderTopLineColor();
QColor sectionHeaderTitleColor();
// The allow-all-copies popup's background (grey 85 of 255).
QColor allowRemovingPopupColor();
QColor commonBackgroundColor();
QColor categoryBackgroundColor();
QColor quicklookBackgroundColor();
QColor commonPanelBackgroundColor();
QColor commonViewBorderColor();
QColor commonViewBorderColor2();
QColor quickHintUnderlineButtonColor();
QBrush toolbarTexturedBackgroundColor();
QColor toolbarButtonsTextColor();
QColor bottombarRemoveButtonTextColor();
QColor toolbarSelectedButtonTextColor();
QColor toolbarButtonsDisabledTextColor();
QColor toolbarHeapButtonTextColor();
QColor toolbarSizeTextColor();
QColor coverFlowBackgroundColor();
QColor coverFlowBorderColor();
QColor dropFolderHereColor();
QColor chooseFoldersToScanColor();
QColor welcomeScreenTopGradientColor();
QColor welcomeScreenBottomGradientColor();
QColor dupViewBorderColor();
QColor dupViewBackgroundColor();
QColor dupViewSelectedFilesColor();
QColor dupViewSelectedFilesRedColor();
QColor dupViewAllFilesColor();
QColor badgeSimilarTopColor();
QColor badgeSimilarBottomColor();
QColor badgeColor();
QColor phantomStickColor();
QColor phantomStickBorderColor();
QColor phantomStickInnerBorderColor();
QColor totalTextColor();
QColor totalCircleColor();
QColor hintHeaderColor();
QColor hintBackgroundColor();
QColor hintBorderColor();
QColor hintChartStickColor();
QColor hintChartSelectedStickColor();
QColor hintChartStickBorderColor();
QColor hintChartSelectedStickBorderColor();
QColor chartSwitcherButtonColor();
QColor hintChartFolderNameColor();
QColor hintChartSizeColor();
QColor heapRow();
QColor heapEvenRow();
QColor heapRowBorder();
QBrush heapRowFolderBackground();
QColor heapRowFolderSeparator();
QColor heapRowFolderPathColor();
QColor otherRowColor();
QColor otherRowBorderColor();
QColor heapCircleColor();
QColor heapCircleBorderColor();
QColor intersectionPartColor();
QColor intersectionPartBorderColor();
QColor heapCircleTitleColor();
QColor heapCircleSubtitleColor();
QColor heapCircleShowButtonColor();
QColor overlayBackgroundColor();
QColor toolbarTopBackgroundColor();
QColor toolbarBottomBackgroundColor();
QColor toolbarShadowSeparatorColor();
QColor rateDialogTitleColor();
QColor picturesStick();
QColor picturesStickBorder();
QColor picturesDuplicatesStick();
QColor picturesBottomStick();
QColor picturesOverview();
QColor picturesOverviewSelected();
QColor moviesStick();
QColor moviesStickBorder();
QColor moviesDuplicatesStick();
QColor moviesBottomStick();
QColor moviesOverview();
QColor moviesOverviewSelected();
QColor musicStick();
QColor musicStickBorder();
QColor musicDuplicatesStick();
QColor musicBottomStick();
QColor musicOverview();
QColor musicOverviewSelected();
QColor documentsStick();
QColor documentsStickBorder();
QColor documentsDuplicatesStick();
QColor documentsBottomStick();
QColor documentsOverview();
QColor documentsOverviewSelected();
QColor archivesStick();
QColor archivesStickBorder();
QColor archivesDuplicatesStick();
QColor archivesBottomStick();
QColor archivesOverview();
QColor archivesOverviewSelected();
QColor othersStick();
QColor othersStickBorder();
QColor othersDuplicatesStick();
QColor othersBottomStick();
QColor othersOverview();
QColor othersOverviewSelected();
QColor foldersStick();
QColor foldersStickBorder();
QColor foldersDuplicatesStick();
QColor foldersBottomStick();
QColor foldersOverview();
QColor foldersOverviewSelected();
QColor heapsStick();
QColor heapsStickBorder();
QColor heapsDuplicatesStick();
QColor heapsBottomStick();

} // namespace Palette
