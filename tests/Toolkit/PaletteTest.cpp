#include "Toolkit/Palette.h"
#include "Toolkit/DarkImageName.h"
#include "Toolkit/ImageStore.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>
#include <string>

namespace {

constexpr double Clear = -1.0; // marks the clear colours in the table below

struct FixedColour {
    const char* name;
    QColor (*colour)();
    int red, green, blue;
    double alpha; // Clear for the clear colour
};

struct PatternColour {
    const char* name;
    QBrush (*brush)();
    const char* image;
};

// Every named colour of the palette with its components out of 255 and its alpha.
const FixedColour kFixed[] = {
    {"commonTextColor", &Palette::commonTextColor, 255, 255, 255, 1.0},
    {"sizeLabelColor", &Palette::sizeLabelColor, 156, 158, 164, 1.0},
    {"pathElementTextColor", &Palette::pathElementTextColor, 156, 158, 164, 1.0},
    {"noDuplicatesTextColor", &Palette::noDuplicatesTextColor, 215, 216, 221, 1.0},
    {"separatorColor", &Palette::separatorColor, 74, 74, 74, 1.0},
    {"separatorInPrefsColor", &Palette::separatorInPrefsColor, 89, 89, 89, 1.0},
    {"separatorSelectedColor", &Palette::separatorSelectedColor, 74, 74, 74, 1.0},
    {"commonRowColor", &Palette::commonRowColor, 85, 85, 85, 1.0},
    {"commonPrefRowColor", &Palette::commonPrefRowColor, 99, 99, 99, 1.0},
    {"reviewEvenRowColor", &Palette::reviewEvenRowColor, 85, 85, 85, 1.0},
    {"reviewOddRowColor", &Palette::reviewOddRowColor, 88, 88, 88, 1.0},
    {"reviewListShadowColor", &Palette::reviewListShadowColor, 35, 35, 35, 1.0},
    {"evenRowColor", &Palette::evenRowColor, 85, 85, 85, 1.0},
    {"selectedRowColor", &Palette::selectedRowColor, 78, 104, 126, 1.0},
    {"selectedRowColorInactive", &Palette::selectedRowColorInactive, 83, 91, 97, 1.0},
    {"lockedLineColor", &Palette::lockedLineColor, 134, 138, 144, 1.0},
    {"commonBackgroundColor", &Palette::commonBackgroundColor, 70, 70, 70, 1.0},
    {"categoryBackgroundColor", &Palette::categoryBackgroundColor, 70, 70, 70, 1.0},
    {"quicklookBackgroundColor", &Palette::quicklookBackgroundColor, 124, 128, 130, 1.0},
    {"commonPanelBackgroundColor", &Palette::commonPanelBackgroundColor, 85, 85, 85, 1.0},
    {"commonViewBorderColor", &Palette::commonViewBorderColor, 70, 70, 70, 1.0},
    {"commonViewBorderColor2", &Palette::commonViewBorderColor2, 70, 70, 70, 1.0},
    {"quickHintUnderlineButtonColor", &Palette::quickHintUnderlineButtonColor, 215, 216, 221, 1.0},
    {"toolbarButtonsTextColor", &Palette::toolbarButtonsTextColor, 215, 216, 221, 1.0},
    {"bottombarRemoveButtonTextColor", &Palette::bottombarRemoveButtonTextColor, 255, 255, 255,
     1.0},
    {"toolbarSelectedButtonTextColor", &Palette::toolbarSelectedButtonTextColor, 85, 85, 85, 1.0},
    {"toolbarButtonsDisabledTextColor", &Palette::toolbarButtonsDisabledTextColor, 215, 216, 221,
     0.2},
    {"toolbarHeapButtonTextColor", &Palette::toolbarHeapButtonTextColor, 255, 220, 144, 1.0},
    {"toolbarSizeTextColor", &Palette::toolbarSizeTextColor, 156, 158, 164, 1.0},
    {"coverFlowBackgroundColor", &Palette::coverFlowBackgroundColor, 89, 89, 89, 1.0},
    {"coverFlowBorderColor", &Palette::coverFlowBorderColor, 156, 158, 164, 1.0},
    {"dropFolderHereColor", &Palette::dropFolderHereColor, 215, 216, 221, 1.0},
    {"chooseFoldersToScanColor", &Palette::chooseFoldersToScanColor, 215, 216, 221, 1.0},
    {"welcomeScreenTopGradientColor", &Palette::welcomeScreenTopGradientColor, 237, 246, 255, 1.0},
    {"welcomeScreenBottomGradientColor", &Palette::welcomeScreenBottomGradientColor, 208, 231, 246,
     1.0},
    {"dupViewBorderColor", &Palette::dupViewBorderColor, 113, 113, 113, 1.0},
    {"dupViewBackgroundColor", &Palette::dupViewBackgroundColor, 255, 255, 255, 0.0},
    {"dupViewSelectedFilesColor", &Palette::dupViewSelectedFilesColor, 86, 207, 123, 1.0},
    {"dupViewSelectedFilesRedColor", &Palette::dupViewSelectedFilesRedColor, 238, 113, 96, 1.0},
    {"dupViewAllFilesColor", &Palette::dupViewAllFilesColor, 156, 158, 164, 1.0},
    {"badgeSimilarTopColor", &Palette::badgeSimilarTopColor, 248, 252, 254, 1.0},
    {"badgeSimilarBottomColor", &Palette::badgeSimilarBottomColor, 238, 244, 247, 1.0},
    {"badgeColor", &Palette::badgeColor, 226, 54, 54, 1.0},
    {"phantomStickColor", &Palette::phantomStickColor, 97, 97, 97, 1.0},
    {"phantomStickBorderColor", &Palette::phantomStickBorderColor, 70, 70, 70, 1.0},
    {"phantomStickInnerBorderColor", &Palette::phantomStickInnerBorderColor, 126, 126, 126, 1.0},
    {"totalTextColor", &Palette::totalTextColor, 215, 216, 221, 1.0},
    {"totalCircleColor", &Palette::totalCircleColor, 79, 79, 79, 1.0},
    {"hintHeaderColor", &Palette::hintHeaderColor, 106, 106, 106, 1.0},
    {"hintBackgroundColor", &Palette::hintBackgroundColor, 89, 89, 89, 1.0},
    {"hintBorderColor", &Palette::hintBorderColor, 156, 158, 164, 1.0},
    {"hintChartStickColor", &Palette::hintChartStickColor, 106, 103, 100, 1.0},
    {"hintChartSelectedStickColor", &Palette::hintChartSelectedStickColor, 203, 130, 70, 1.0},
    {"hintChartStickBorderColor", &Palette::hintChartStickBorderColor, 159, 130, 102, 1.0},
    {"hintChartSelectedStickBorderColor", &Palette::hintChartSelectedStickBorderColor, 203, 130, 70,
     1.0},
    {"chartSwitcherButtonColor", &Palette::chartSwitcherButtonColor, 78, 161, 209, 1.0},
    {"hintChartFolderNameColor", &Palette::hintChartFolderNameColor, 215, 216, 221, 1.0},
    {"hintChartSizeColor", &Palette::hintChartSizeColor, 215, 216, 221, 1.0},
    {"heapRow", &Palette::heapRow, 88, 88, 88, 1.0},
    {"heapEvenRow", &Palette::heapEvenRow, 85, 85, 85, 1.0},
    {"heapRowBorder", &Palette::heapRowBorder, 145, 182, 211, 1.0},
    {"heapRowFolderSeparator", &Palette::heapRowFolderSeparator, 77, 77, 77, 1.0},
    {"heapRowFolderPathColor", &Palette::heapRowFolderPathColor, 255, 255, 255, 1.0},
    {"otherRowColor", &Palette::otherRowColor, 80, 80, 80, 1.0},
    {"otherRowBorderColor", &Palette::otherRowBorderColor, 74, 74, 74, 1.0},
    {"heapCircleColor", &Palette::heapCircleColor, 97, 104, 107, 1.0},
    {"heapCircleBorderColor", &Palette::heapCircleBorderColor, 131, 168, 197, 1.0},
    {"intersectionPartColor", &Palette::intersectionPartColor, 136, 123, 103, 1.0},
    {"intersectionPartBorderColor", &Palette::intersectionPartBorderColor, 255, 136, 31, 1.0},
    {"heapCircleTitleColor", &Palette::heapCircleTitleColor, 215, 216, 221, 1.0},
    {"heapCircleSubtitleColor", &Palette::heapCircleSubtitleColor, 156, 158, 164, 1.0},
    {"heapCircleShowButtonColor", &Palette::heapCircleShowButtonColor, 215, 216, 221, 1.0},
    {"overlayBackgroundColor", &Palette::overlayBackgroundColor, 28, 31, 37, 0.6},
    {"toolbarTopBackgroundColor", &Palette::toolbarTopBackgroundColor, 245, 245, 245, 1.0},
    {"toolbarBottomBackgroundColor", &Palette::toolbarBottomBackgroundColor, 222, 222, 228, 1.0},
    {"toolbarShadowSeparatorColor", &Palette::toolbarShadowSeparatorColor, 193, 199, 204, 1.0},
    {"rateDialogTitleColor", &Palette::rateDialogTitleColor, 76, 113, 151, 1.0},
    {"picturesStick", &Palette::picturesStick, 0, 0, 0, Clear},
    {"picturesStickBorder", &Palette::picturesStickBorder, 120, 89, 98, 1.0},
    {"picturesDuplicatesStick", &Palette::picturesDuplicatesStick, 167, 84, 108, 1.0},
    {"picturesBottomStick", &Palette::picturesBottomStick, 122, 100, 113, 1.0},
    {"picturesOverview", &Palette::picturesOverview, 167, 84, 108, 1.0},
    {"picturesOverviewSelected", &Palette::picturesOverviewSelected, 221, 112, 141, 1.0},
    {"moviesStick", &Palette::moviesStick, 0, 0, 0, Clear},
    {"moviesStickBorder", &Palette::moviesStickBorder, 127, 124, 96, 1.0},
    {"moviesDuplicatesStick", &Palette::moviesDuplicatesStick, 180, 163, 48, 1.0},
    {"moviesBottomStick", &Palette::moviesBottomStick, 121, 127, 92, 1.0},
    {"moviesOverview", &Palette::moviesOverview, 180, 163, 48, 1.0},
    {"moviesOverviewSelected", &Palette::moviesOverviewSelected, 221, 200, 62, 1.0},
    {"musicStick", &Palette::musicStick, 0, 0, 0, Clear},
    {"musicStickBorder", &Palette::musicStickBorder, 102, 117, 92, 1.0},
    {"musicDuplicatesStick", &Palette::musicDuplicatesStick, 106, 170, 63, 1.0},
    {"musicBottomStick", &Palette::musicBottomStick, 99, 128, 95, 1.0},
    {"musicOverview", &Palette::musicOverview, 106, 170, 63, 1.0},
    {"musicOverviewSelected", &Palette::musicOverviewSelected, 132, 212, 76, 1.0},
    {"documentsStick", &Palette::documentsStick, 0, 0, 0, Clear},
    {"documentsStickBorder", &Palette::documentsStickBorder, 88, 121, 108, 1.0},
    {"documentsDuplicatesStick", &Palette::documentsDuplicatesStick, 44, 167, 116, 1.0},
    {"documentsBottomStick", &Palette::documentsBottomStick, 83, 128, 119, 1.0},
    {"documentsOverview", &Palette::documentsOverview, 44, 167, 116, 1.0},
    {"documentsOverviewSelected", &Palette::documentsOverviewSelected, 52, 205, 140, 1.0},
    {"archivesStick", &Palette::archivesStick, 0, 0, 0, Clear},
    {"archivesStickBorder", &Palette::archivesStickBorder, 97, 119, 136, 1.0},
    {"archivesDuplicatesStick", &Palette::archivesDuplicatesStick, 65, 129, 178, 1.0},
    {"archivesBottomStick", &Palette::archivesBottomStick, 85, 115, 132, 1.0},
    {"archivesOverview", &Palette::archivesOverview, 65, 129, 178, 1.0},
    {"archivesOverviewSelected", &Palette::archivesOverviewSelected, 80, 159, 218, 1.0},
    {"othersStick", &Palette::othersStick, 0, 0, 0, Clear},
    {"othersStickBorder", &Palette::othersStickBorder, 91, 93, 123, 1.0},
    {"othersDuplicatesStick", &Palette::othersDuplicatesStick, 70, 76, 202, 1.0},
    {"othersBottomStick", &Palette::othersBottomStick, 83, 92, 119, 1.0},
    {"othersOverview", &Palette::othersOverview, 77, 84, 218, 1.0},
    {"othersOverviewSelected", &Palette::othersOverviewSelected, 77, 84, 218, 1.0},
    {"foldersStick", &Palette::foldersStick, 0, 0, 0, Clear},
    {"foldersStickBorder", &Palette::foldersStickBorder, 115, 94, 126, 1.0},
    {"foldersDuplicatesStick", &Palette::foldersDuplicatesStick, 150, 76, 180, 1.0},
    {"foldersBottomStick", &Palette::foldersBottomStick, 110, 80, 123, 1.0},
    {"foldersOverview", &Palette::foldersOverview, 150, 76, 180, 1.0},
    {"foldersOverviewSelected", &Palette::foldersOverviewSelected, 183, 91, 218, 1.0},
    {"heapsStick", &Palette::heapsStick, 0, 0, 0, Clear},
    {"heapsStickBorder", &Palette::heapsStickBorder, 131, 113, 98, 1.0},
    {"heapsDuplicatesStick", &Palette::heapsDuplicatesStick, 192, 123, 67, 1.0},
    {"heapsBottomStick", &Palette::heapsBottomStick, 122, 102, 92, 1.0},
};

const PatternColour kPatterns[] = {
    {"lockedFillColor", &Palette::lockedFillColor, "dark_bg_lock"},
    {"toolbarTexturedBackgroundColor", &Palette::toolbarTexturedBackgroundColor, "dark_bg_menu"},
    {"heapRowFolderBackground", &Palette::heapRowFolderBackground, "dark_bg_menu"},
};

// 16-bit fraction of an exact value; the palette's components must land on it exactly.
quint16 exact(double fraction) {
    return quint16(std::lround(fraction * 65535.0));
}

TEST(PaletteTest, EveryNamedColourHasItsExactComponents) {
    std::set<std::string> names;
    int clear = 0;
    for (const FixedColour& row : kFixed) {
        SCOPED_TRACE(row.name);
        names.insert(row.name);
        const QColor colour = row.colour();
        ASSERT_TRUE(colour.isValid());
        EXPECT_EQ(colour.spec(), QColor::Rgb); // sRGB
        if (row.alpha == Clear) {
            ++clear;
            EXPECT_EQ(colour.alpha(), 0);
            continue;
        }
        const QRgba64 wide = colour.rgba64();
        // k * 257 / 65535 == k / 255 exactly, so these are the exact fractions.
        EXPECT_EQ(wide.red(), row.red * 257);
        EXPECT_EQ(wide.green(), row.green * 257);
        EXPECT_EQ(wide.blue(), row.blue * 257);
        EXPECT_EQ(wide.alpha(), exact(row.alpha));
        EXPECT_DOUBLE_EQ(double(wide.red()) / 65535.0, row.red / 255.0);
        EXPECT_FLOAT_EQ(colour.greenF(), float(row.green / 255.0));
        EXPECT_FLOAT_EQ(colour.alphaF(), float(row.alpha));
    }
    for (const PatternColour& row : kPatterns)
        names.insert(row.name);
    EXPECT_EQ(clear, 8);
    EXPECT_EQ(std::size(kFixed) - clear, 115u);
    EXPECT_EQ(names.size(), 126u) << "a name appears twice in the table";
}

TEST(PaletteTest, PatternColoursTileTheirPicture) {
    for (const PatternColour& row : kPatterns) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(ImageStore::contains(QString::fromLatin1(row.image)));
        const QBrush brush = row.brush();
        EXPECT_EQ(brush.style(), Qt::TexturePattern);
        const QImage texture = brush.texture().toImage();
        ASSERT_FALSE(texture.isNull());
        const QPixmap picture = ImageStore::pixmap(QString::fromLatin1(row.image), {},
                                                   brush.texture().devicePixelRatio());
        EXPECT_EQ(texture.convertToFormat(QImage::Format_ARGB32),
                  picture.toImage().convertToFormat(QImage::Format_ARGB32));
    }
}

TEST(PaletteTest, NamedValuesThatLookAlikeOrDifferOnPurpose) {
    EXPECT_EQ(Palette::commonTextColor(), Palette::bottombarRemoveButtonTextColor());
    EXPECT_EQ(Palette::commonTextColor(), Palette::heapRowFolderPathColor());
    EXPECT_EQ(Palette::commonTextColor(), QColor(255, 255, 255));
    EXPECT_NE(Palette::othersDuplicatesStick(), Palette::othersOverview());
    EXPECT_EQ(Palette::othersOverview(), Palette::othersOverviewSelected());
    QColor dimmed = Palette::toolbarButtonsTextColor();
    dimmed.setAlphaF(0.2f);
    EXPECT_EQ(Palette::toolbarButtonsDisabledTextColor().rgba64(), dimmed.rgba64());
    EXPECT_EQ(Palette::dupViewBackgroundColor().rgba64(),
              QRgba64::fromRgba64(65535, 65535, 65535, 0));
}

TEST(PaletteTest, ColoursOutsideThePaletteKeepTheirComponents) {
    const QColor white = Palette::properColorWithRedGreenBlueAlpha(1, 1, 1, 1);
    EXPECT_EQ(white.spec(), QColor::Rgb);
    EXPECT_EQ(white.rgba64(), QRgba64::fromRgba64(65535, 65535, 65535, 65535));
    const QColor some = Palette::properColorWithRedGreenBlueAlpha(0.25f, 0.5f, 0.75f, 0.5f);
    EXPECT_EQ(some.rgba64(), QRgba64::fromRgba64(exact(0.25), exact(0.5), exact(0.75), exact(0.5)));
}

TEST(DarkImageNameTest, AlwaysPrefixes) {
    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        {"checkbox0", "dark_checkbox0"},
        {"scrolling0_start", "dark_scrolling0_start"},
        {"dark_bg_menu", "dark_dark_bg_menu"},
        {"", "dark_"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DarkImageName::prependDarkPrefixIfNeeded(QString::fromLatin1(c.name)),
                  QString::fromLatin1(c.expected));
}

} // namespace
