#include "Toolkit/BlueDarkTitleButton.h"
#include "Toolkit/BlueTitleButton.h"
#include "Toolkit/BlueUnderlineTitleButton.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/ColoredTitleButton.h"
#include "Toolkit/CommonBlackButton.h"
#include "Toolkit/DarkBlueUnderlineTitleButton.h"
#include "Toolkit/GreenButton.h"
#include "Toolkit/HeaderButton.h"
#include "Toolkit/NoDupsUnderlineButton.h"
#include "Toolkit/Palette.h"
#include "Toolkit/RestorePreferencesButton.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

void sendEnter(QWidget* widget) {
    const QPointF inside(widget->width() / 2.0, widget->height() / 2.0);
    QEnterEvent enter(inside, widget->mapToGlobal(inside), widget->mapToGlobal(inside));
    QApplication::sendEvent(widget, &enter);
}

void sendLeave(QWidget* widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

std::unique_ptr<ButtonWithTrackingArea> imageButton() {
    auto button = std::make_unique<ButtonWithTrackingArea>();
    button->setMainImage(QStringLiteral("dark_checkbox0"));
    button->setHoveredImage(QStringLiteral("dark_checkbox1"));
    button->setImage(QStringLiteral("dark_checkbox0"));
    button->resize(16, 16);
    return button;
}

QColor srgb(int r, int g, int b) {
    return Palette::properColorWithRedGreenBlueAlpha(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
}

TEST(ButtonWithTrackingAreaTest, HoverSwapsTheImageOnlyWhileTrackingIsEnabled) {
    auto button = imageButton();
    sendEnter(button.get());
    EXPECT_EQ(button->image(), "dark_checkbox0");
    EXPECT_FALSE(button->hovered());
    sendLeave(button.get());
    EXPECT_EQ(button->image(), "dark_checkbox0");

    button->setTrackingEnabled(true);
    sendEnter(button.get());
    EXPECT_EQ(button->image(), "dark_checkbox1");
    EXPECT_TRUE(button->hovered());
    sendLeave(button.get());
    EXPECT_EQ(button->image(), "dark_checkbox0");
    EXPECT_FALSE(button->hovered());
}

// Each class whose disabled flag swallows clicks, made with that flag set or not.
struct Blockable {
    const char* name;
    std::function<std::unique_ptr<TitleButton>(bool disabled)> make;
};

const Blockable kBlockable[] = {
    {"ButtonWithTrackingArea",
     [](bool disabled) {
         auto button = std::make_unique<ButtonWithTrackingArea>();
         button->setDisabled(disabled);
         return std::unique_ptr<TitleButton>(std::move(button));
     }},
    {"WhiteTitleButton",
     [](bool disabled) {
         auto button = std::make_unique<WhiteTitleButton>();
         button->setDisabled(disabled);
         return std::unique_ptr<TitleButton>(std::move(button));
     }},
    {"WhiteGrayTitleButton",
     [](bool disabled) {
         auto button = std::make_unique<WhiteGrayTitleButton>();
         button->setDisabled(disabled);
         return std::unique_ptr<TitleButton>(std::move(button));
     }},
};

TEST(TitleButtonTest, ABlockedButtonSendsNoClickButStaysEnabled) {
    for (const Blockable& kind : kBlockable) {
        for (const bool disabled : {false, true}) {
            SCOPED_TRACE(std::string(kind.name) + (disabled ? " blocked" : " free"));
            auto button = kind.make(disabled);
            button->setTitle(QStringLiteral("Remove"));
            button->resize(80, 24);
            QSignalSpy clicks(button.get(), &QAbstractButton::clicked);
            QTest::mouseClick(button.get(), Qt::LeftButton, {}, QPoint(40, 12));
            EXPECT_EQ(clicks.count(), disabled ? 0 : 1);
            EXPECT_TRUE(button->isEnabled());
            // The program's own click still goes through.
            button->performClick();
            EXPECT_EQ(clicks.count(), disabled ? 1 : 2);
        }
    }
}

TEST(TitleButtonTest, EveryMemberKeepsItsColourAndAttributesAcrossATitleChange) {
    const struct {
        const char* name;
        std::function<std::unique_ptr<TitleButton>()> make;
        QColor colour;
        qreal baseline;
        bool underline;
        const char* font;
    } cases[] = {
        {"ButtonWithTrackingArea", [] { return std::make_unique<ButtonWithTrackingArea>(); },
         Palette::toolbarButtonsTextColor(), 0, false, "HelveticaNeue"},
        {"WhiteTitleButton", [] { return std::make_unique<WhiteTitleButton>(); },
         srgb(255, 255, 255), 1, false, "HelveticaNeue"},
        {"WhiteGrayTitleButton", [] { return std::make_unique<WhiteGrayTitleButton>(); },
         srgb(215, 216, 221), 1, false, "HelveticaNeue"},
        {"BlueTitleButton", [] { return std::make_unique<BlueTitleButton>(); },
         Palette::toolbarSizeTextColor(), 0, false, "HelveticaNeue"},
        {"CommonBlackButton", [] { return std::make_unique<CommonBlackButton>(); },
         Palette::commonTextColor(), 1, false, "HelveticaNeue"},
        {"DarkBlueUnderlineTitleButton",
         [] { return std::make_unique<DarkBlueUnderlineTitleButton>(); }, srgb(0, 156, 255), 0,
         true, "HelveticaNeue"},
        {"GreenButton", [] { return std::make_unique<GreenButton>(); }, srgb(35, 136, 46), 0, false,
         "HelveticaNeue"},
        {"BlueDarkTitleButton", [] { return std::make_unique<BlueDarkTitleButton>(); },
         Palette::toolbarButtonsTextColor(), 1, false, "HelveticaNeue"},
        {"HeaderButton", [] { return std::make_unique<HeaderButton>(); }, srgb(78, 115, 145), 0,
         false, "HelveticaNeue"},
        {"RestorePreferencesButton", [] { return std::make_unique<RestorePreferencesButton>(); },
         Palette::toolbarButtonsTextColor(), 2, false, "HelveticaNeue"},
        {"BlueUnderlineTitleButton", [] { return std::make_unique<BlueUnderlineTitleButton>(); },
         srgb(78, 161, 209), 0, true, "HelveticaNeue"},
        {"NoDupsUnderlineButton", [] { return std::make_unique<NoDupsUnderlineButton>(); },
         Palette::noDuplicatesTextColor(), 0, true, "HelveticaNeue"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto button = c.make();
        for (const char* title : {"First", "A longer second title"}) {
            button->setTitle(QString::fromLatin1(title));
            EXPECT_EQ(button->title(), QString::fromLatin1(title));
            ASSERT_TRUE(button->titleColor().has_value());
            EXPECT_EQ(button->titleColor()->rgba64(), c.colour.rgba64());
            EXPECT_EQ(button->baselineOffset(), c.baseline);
            EXPECT_EQ(button->underlined(), c.underline);
            EXPECT_EQ(button->fontName(), QString::fromLatin1(c.font));
        }
    }
}

TEST(TitleButtonTest, StoredColoursOutliveTitleChanges) {
    WhiteTitleButton white;
    white.setColor(Palette::badgeColor());
    white.setTitle(QStringLiteral("Remove"));
    EXPECT_EQ(white.titleColor(), Palette::badgeColor());

    ColoredTitleButton colored;
    colored.setTitle(QStringLiteral("Plain"));
    EXPECT_FALSE(colored.titleColor().has_value()) << "no colour applied until one is set";
    colored.setTitleColor(Palette::toolbarHeapButtonTextColor());
    colored.setTitle(QStringLiteral("Similar Folders"));
    EXPECT_EQ(colored.titleColor(), Palette::toolbarHeapButtonTextColor());
}

TEST(TitleButtonTest, SelectingABlueDarkTitleButtonTurnsItWhiteAndMediumAtOnce) {
    BlueDarkTitleButton button;
    button.setTitle(QStringLiteral("General"));
    button.setSelected(true);
    EXPECT_EQ(button.titleColor(), Palette::commonTextColor());
    EXPECT_EQ(button.fontName(), "HelveticaNeue-Medium");
    button.setTitle(QStringLiteral("Removal"));
    EXPECT_EQ(button.fontName(), "HelveticaNeue-Medium");
    button.setSelected(false);
    EXPECT_EQ(button.titleColor(), Palette::toolbarButtonsTextColor());
    EXPECT_EQ(button.fontName(), "HelveticaNeue");
}

TEST(TitleButtonTest, ACheckBoxShowsItsStateWithTheDarkPictures) {
    CommonBlackButton box;
    box.setTitle(QStringLiteral("Move to Trash"));
    box.resize(box.sizeHint());
    EXPECT_EQ(box.state(), 0);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, box.height() / 2));
    EXPECT_EQ(box.state(), 1);
    EXPECT_EQ(box.image(), "dark_checkbox0");
    EXPECT_EQ(box.alternateImage(), "dark_checkbox1");
}

} // namespace
