#include "Toolkit/QuickLookController.h"

#include "Platform/NotificationCenter.h"
#include "Toolkit/PreviewView.h"
#include "Toolkit/QuickLookSourceType.h"

#include "PreviewFixtures.h"
#include "TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class QuickLookControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        NotificationCenter::defaultCenter().addObserver(
            this, QuickLookController::quickLookKeyPressedNotificationName(),
            [this](const Notification& n) { m_posted.push_back(n); });
    }
    void TearDown() override {
        NotificationCenter::defaultCenter().removeObserver(this);
        if (PreviewPanel::sharedPreviewPanelExists())
            PreviewPanel::sharedPreviewPanel()->orderOut();
        controller().setQuicklookType(QuickLookSourceTypeNone);
    }
    static QuickLookController& controller() {
        return QuickLookController::sharedQuickLookController();
    }
    QByteArray path(const char* name) const {
        return QFile::encodeName(m_dir.filePath(QString::fromLatin1(name)));
    }

    QTemporaryDir m_dir;
    std::vector<Notification> m_posted;
};

TEST_F(QuickLookControllerTest, KeyDownsAndAnySpaceKeyArePostedWithTheSourceType) {
    using Type = PreviewPanelEvent::Type;
    struct Case {
        Type type;
        quint16 code;
        int sourceType;
        bool posted;
    };
    const std::vector<Case> cases = {
        {Type::KeyDown, 125, QuickLookSourceTypeCopiesTable, true},
        {Type::KeyDown, 53, QuickLookSourceTypeGroupList, true},
        // With no list recorded the press is still posted, with "Type" 0.
        {Type::KeyDown, 126, QuickLookSourceTypeNone, true},
        {Type::KeyUp, 49, QuickLookSourceTypeHeapsPicker, true},
        {Type::FlagsChanged, 49, QuickLookSourceTypeTwoFolderTable, true},
        {Type::KeyUp, 125, QuickLookSourceTypeCopiesTable, false},
        {Type::FlagsChanged, 56, QuickLookSourceTypeCopiesTable, false},
        {Type::Other, 49, QuickLookSourceTypeCopiesTable, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.type) << " " << c.code);
        m_posted.clear();
        controller().setQuicklookType(c.sourceType);
        PreviewPanelEvent event;
        event.type = c.type;
        event.key = KeyEvent{c.code, KeyEvent::OptionKeyMask};
        EXPECT_EQ(controller().previewPanelHandleEvent(nullptr, event), c.posted);
        ASSERT_EQ(m_posted.size(), c.posted ? 1u : 0u);
        if (!c.posted)
            continue;
        const QVariantMap& info = m_posted.front().userInfo;
        EXPECT_EQ(info.value(QStringLiteral("Event")).value<KeyEvent>(), event.key);
        const QVariant type = info.value(QStringLiteral("Type"));
        EXPECT_EQ(type.typeId(), QMetaType::UInt);
        EXPECT_EQ(type.toInt(), c.sourceType);
    }
}

TEST_F(QuickLookControllerTest, DataSourceAnswersOnlyThePanelItHolds) {
    controller().setFileItemByPath(path("a.txt"));
    ASSERT_EQ(controller().fileItems().size(), 1);
    EXPECT_EQ(controller().fileItems().front()->mfilePath(), path("a.txt"));
    EXPECT_EQ(controller().fileItems().front()->previewItemTitle(), QStringLiteral("a.txt"));
    EXPECT_EQ(controller().fileItems().front()->mfileURL(),
              QUrl::fromLocalFile(m_dir.filePath("a.txt")));

    PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();
    EXPECT_EQ(controller().numberOfPreviewItemsInPreviewPanel(panel), 0);
    EXPECT_EQ(controller().previewPanelPreviewItemAtIndex(panel, 0), nullptr);

    controller().beginPreviewPanelControl(panel);
    EXPECT_EQ(controller().previewPanel(), panel);
    EXPECT_EQ(panel->dataSource(), &controller());
    EXPECT_EQ(panel->delegate(), &controller());
    EXPECT_EQ(controller().numberOfPreviewItemsInPreviewPanel(panel), 1);
    ASSERT_NE(controller().previewPanelPreviewItemAtIndex(panel, 0), nullptr);
    EXPECT_EQ(controller().previewPanelPreviewItemAtIndex(panel, 0)->previewItemPath(),
              path("a.txt"));
    EXPECT_EQ(controller().previewPanelPreviewItemAtIndex(panel, 1), nullptr);
    EXPECT_EQ(controller().previewPanelPreviewItemAtIndex(panel, -1), nullptr);

    controller().endPreviewPanelControl(panel);
    EXPECT_EQ(controller().previewPanel(), nullptr);
    EXPECT_EQ(panel->dataSource(), nullptr);
    EXPECT_EQ(panel->delegate(), nullptr);
    EXPECT_EQ(controller().numberOfPreviewItemsInPreviewPanel(panel), 0);
}

TEST_F(QuickLookControllerTest, ShowPreviewPanelTogglesAndTheHeldPanelFollowsTheFeed) {
    ASSERT_TRUE(TestSupport::writeFile(path("one.txt"), "one"));
    ASSERT_TRUE(TestSupport::writeFile(path("two.txt"), "two"));
    controller().setFileItemByPath(path("one.txt"));
    QuickLookController::showPreviewPanel();
    PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(controller().previewPanel(), panel);
    EXPECT_EQ(panel->previewView()->path(), path("one.txt"));
    EXPECT_EQ(panel->windowTitle(), QStringLiteral("one.txt"));

    controller().setFileItemByPath(path("two.txt"));
    EXPECT_EQ(panel->previewView()->path(), path("two.txt"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return panel->previewView()->hasContent(); },
                                     PreviewFixtures::kDecodeWaitMs));
    EXPECT_EQ(panel->previewView()->content().text, QStringLiteral("two"));

    QuickLookController::showPreviewPanel();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(controller().previewPanel(), nullptr);
    // Without a held panel a feed only changes the items; the panel takes them when shown.
    controller().setFileItemByPath(path("one.txt"));
    EXPECT_EQ(panel->previewView()->path(), path("two.txt"));
    QuickLookController::showPreviewPanel();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->previewView()->path(), path("one.txt"));
}

TEST_F(QuickLookControllerTest, KeysTypedInThePanelReachTheListsAndEscapeOrSpaceCloseIt) {
    controller().setFileItemByPath(path("one.txt"));
    controller().setQuicklookType(QuickLookSourceTypeCopiesTable);
    QuickLookController::showPreviewPanel();
    PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();

    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(panel, &down);
    QKeyEvent downUp(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(panel, &downUp);
    QKeyEvent spaceUp(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(panel, &spaceUp);
    // Keys other than Escape and Space leave the panel open.
    EXPECT_TRUE(panel->isVisible());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(panel, &escape);

    ASSERT_EQ(m_posted.size(), 3u);
    const auto code = [&](size_t i) {
        return m_posted[i].userInfo.value(QStringLiteral("Event")).value<KeyEvent>().keyCode;
    };
    EXPECT_EQ(code(0), 125);
    EXPECT_EQ(code(1), 49);
    EXPECT_EQ(code(2), 53);
    EXPECT_EQ(m_posted[0].userInfo.value(QStringLiteral("Type")).toInt(),
              QuickLookSourceTypeCopiesTable);
    // The lists saw Escape, and the panel put itself away after them.
    EXPECT_FALSE(panel->isVisible());

    // Space, which opened the panel, closes it too; the lists see it first.
    QuickLookController::showPreviewPanel();
    ASSERT_TRUE(panel->isVisible());
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(panel, &space);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(code(3), 49);

    // A panel nobody controls handles Escape itself.
    panel->show();
    ASSERT_EQ(panel->delegate(), nullptr);
    QApplication::sendEvent(panel, &escape);
    EXPECT_FALSE(panel->isVisible());
}

// Another object that takes the panel, as the application's delegate may.
class OtherController final : public PreviewPanelController {
public:
    bool acceptsPreviewPanelControl(PreviewPanel*) override { return true; }
    void beginPreviewPanelControl(PreviewPanel*) override { ++begun; }
    void endPreviewPanelControl(PreviewPanel*) override { ++ended; }
    int begun = 0;
    int ended = 0;
};

TEST_F(QuickLookControllerTest, PanelTakesTheFirstCandidateAndACandidateGoingAwayEndsItsControl) {
    controller().setFileItemByPath(path("one.txt"));
    OtherController other;
    PreviewPanel::addControllerCandidate(&other);
    QuickLookController::showPreviewPanel();
    PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();
    // The shared controller registered first, so it holds the panel.
    EXPECT_EQ(panel->controller(), &controller());
    EXPECT_EQ(other.begun, 0);
    panel->orderOut();
    EXPECT_EQ(panel->controller(), nullptr);

    PreviewPanel::removeControllerCandidate(&controller());
    panel->makeKeyAndOrderFront();
    EXPECT_EQ(panel->controller(), &other);
    EXPECT_EQ(other.begun, 1);
    PreviewPanel::removeControllerCandidate(&other);
    EXPECT_EQ(other.ended, 1);
    EXPECT_EQ(panel->controller(), nullptr);
    PreviewPanel::addControllerCandidate(&controller());
}

TEST_F(QuickLookControllerTest, TransitionImageIsTheFileTypeIcon) {
    EXPECT_TRUE(controller()
                    .previewPanelTransitionImageForPreviewItemContentRect(nullptr, nullptr, nullptr)
                    .isNull());
    const FileQLItem item(path("a.txt"));
    EXPECT_FALSE(controller()
                     .previewPanelTransitionImageForPreviewItemContentRect(nullptr, &item, nullptr)
                     .isNull());
}

} // namespace
