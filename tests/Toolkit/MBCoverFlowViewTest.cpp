#include "Toolkit/MBCoverFlowView.h"
#include "Categories/AppNotification.h"
#include "Platform/NotificationCenter.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/CoverFlowAccessoryController.h"
#include "Toolkit/CoverFlowGeometry.h"
#include "Toolkit/DockAnimationVC.h"
#include "Toolkit/FolderEntry.h"
#include "Toolkit/MBCoverFlowScroller.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

QImage icon() {
    QImage image(128, 128, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::yellow);
    return image;
}

MBCoverFlowView::Content folders(int count, const QString& prefix = QStringLiteral("F")) {
    MBCoverFlowView::Content content;
    const QImage picture = icon();
    for (int i = 0; i < count; ++i) {
        const QString name = prefix + QString::number(i);
        content.append(FolderEntry::make(picture, name, QStringLiteral("/data/") + name));
    }
    return content;
}

// Every notification the view may post, as received.
struct Recorder {
    Recorder() {
        auto& center = NotificationCenter::defaultCenter();
        for (const QString& name :
             {QStringLiteral("FileRemoved"), AppNotification::AddFolderNotificationName(),
              AppNotification::StartScanNotificationName()})
            center.addObserver(this, name, [this](const Notification& n) { posted.push_back(n); });
    }
    ~Recorder() { NotificationCenter::defaultCenter().removeObserver(this); }
    std::vector<Notification> posted;
};

class CoverFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
        view = std::make_unique<MBCoverFlowView>();
        view->resize(464, 246);
        label = new FolderNameAccessoryController(true);
        view->setAccessoryController(label);
        view->setImageKeyPath(FolderEntry::kImage);
        view->setShowsScrollbar(true);
        view->show();
        settle();
    }
    void TearDown() override {
        view.reset();
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }

    // Lets every move, pulse and delayed step finish.
    void settle() { AnimationClock::instance().advance(2000); }

    QPointF toQt(QPointF yUp) const { return {yUp.x(), view->height() - yUp.y()}; }
    QPointF centreOf(long index) const { return view->rectForItemAtIndex(index).center(); }

    void mouse(QEvent::Type type, QPointF qtPoint, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
        QMouseEvent event(type, qtPoint, view->mapToGlobal(qtPoint), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view.get(), &event);
    }
    void press(QPointF qt) { mouse(QEvent::MouseButtonPress, qt, Qt::LeftButton, Qt::LeftButton); }
    void drag(QPointF qt) { mouse(QEvent::MouseMove, qt, Qt::NoButton, Qt::LeftButton); }
    void release(QPointF qt) {
        mouse(QEvent::MouseButtonRelease, qt, Qt::LeftButton, Qt::NoButton);
    }
    void rightClick(QPointF qt) {
        mouse(QEvent::MouseButtonPress, qt, Qt::RightButton, Qt::RightButton);
        mouse(QEvent::MouseButtonRelease, qt, Qt::RightButton, Qt::NoButton);
    }
    void key(Qt::Key k) { QTest::keyClick(view.get(), k); }
    void wheel(QPoint angle) {
        const QPointF at(232, 100);
        QWheelEvent event(at, view->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.get(), &event);
    }
    QAction* menuAction(const QString& text) const {
        if (!view->contextMenu())
            return nullptr;
        for (QAction* action : view->contextMenu()->actions())
            if (action->text() == text)
                return action;
        return nullptr;
    }
    static std::optional<int> indexOf(const Notification& n) {
        if (!n.hasUserInfo)
            return std::nullopt;
        return n.userInfo.value(QStringLiteral("index")).toInt();
    }

    std::unique_ptr<MBCoverFlowView> view;
    FolderNameAccessoryController* label = nullptr;
};

TEST_F(CoverFlowTest, SelectionMovesOverSevenTenthsOfASecond) {
    view->setContent(folders(7));
    settle();
    const QRectF before = view->rectForItemAtIndex(3);
    view->setSelectionIndex(3);
    EXPECT_TRUE(view->isMoving());
    AnimationClock::instance().advance(350);
    const QRectF halfway = view->rectForItemAtIndex(3);
    EXPECT_TRUE(view->isMoving());
    AnimationClock::instance().advance(350);
    EXPECT_FALSE(view->isMoving());
    const QRectF after = view->rectForItemAtIndex(3);
    // Centred, and 420/320 larger than a card (about 106 for this view and label).
    EXPECT_NEAR(after.center().x(), 232, 0.5);
    EXPECT_NEAR(view->itemSize().height(), 106, 2);
    EXPECT_NEAR(after.width(), view->itemSize().width() * 1.3125, 0.01);
    EXPECT_GT(halfway.width(), before.width());
    EXPECT_LT(halfway.width(), after.width());
    EXPECT_EQ(label->text(), QStringLiteral("F3"));
    EXPECT_EQ(view->scroller()->integerValue(), 3);
}

TEST_F(CoverFlowTest, EqualContentPulsesTheSelectedCardUnlessMoving) {
    const auto content = folders(3);
    view->setContent(content);
    view->selectFolderByIndex(1);
    // Still moving: the same list changes nothing.
    view->setContent(content);
    AnimationClock::instance().advance(300);
    EXPECT_DOUBLE_EQ(view->pulseScaleOfItem(1), 1.0);
    settle();
    view->setContent(content);
    AnimationClock::instance().advance(300);
    EXPECT_NEAR(view->pulseScaleOfItem(1), 1.4, 1e-6);
    AnimationClock::instance().advance(150);
    EXPECT_GT(view->pulseScaleOfItem(1), 1.0);
    EXPECT_LT(view->pulseScaleOfItem(1), 1.4);
    AnimationClock::instance().advance(150);
    EXPECT_DOUBLE_EQ(view->pulseScaleOfItem(1), 1.0);
    EXPECT_EQ(view->itemCount(), 3);
}

TEST_F(CoverFlowTest, ContentChangesKeepTheSelectionInRange) {
    auto content = folders(3);
    view->setContent(content);
    settle();
    // A folder added at the front while 0 is selected: 0 stays selected, now the new one.
    const auto added = FolderEntry::make(icon(), QStringLiteral("New"), QStringLiteral("/new"));
    content.prepend(added);
    view->setContent(content);
    EXPECT_EQ(view->selectionIndex(), 0);
    EXPECT_EQ(view->selectedObject(), added);
    EXPECT_EQ(view->itemCount(), 4);
    EXPECT_EQ(label->text(), QStringLiteral("New"));
    // Removing the selected last folder selects the one before it.
    view->setSelectionIndex(3);
    content.removeLast();
    view->setContent(content);
    EXPECT_EQ(view->selectionIndex(), 2);
    EXPECT_EQ(view->scroller()->numberOfIncrements(), 2u);
    // Removing every folder but one, then that one: the index stays, no card is left.
    view->setContent({content.first()});
    EXPECT_EQ(view->selectionIndex(), 0);
    view->setSelectionIndex(5); // outside: ignored
    EXPECT_EQ(view->selectionIndex(), 0);
    view->setContent({});
    EXPECT_EQ(view->itemCount(), 0);
    EXPECT_EQ(view->selectionIndex(), 0);
    EXPECT_TRUE(view->selectedObject().isEmpty());
    EXPECT_EQ(view->rectForItemAtIndex(0), QRectF());
}

TEST_F(CoverFlowTest, EmptyListShowsTheDropAreaAndItsArrow) {
    view->setContent({});
    ASSERT_TRUE(view->dropFolderHereView());
    ASSERT_TRUE(view->dockAnimationVC());
    EXPECT_TRUE(view->dockAnimationVC()->shouldAnimate());
    EXPECT_EQ(view->scroller()->numberOfIncrements(), 0u);
    EXPECT_FALSE(view->removeFolderButton()->isVisible());
    QPointer<QWidget> area = view->dropFolderHereView();
    view->setContent({});
    EXPECT_EQ(view->dropFolderHereView(), area.data()); // harmless twice
    view->setContent(folders(2));
    EXPECT_FALSE(view->dropFolderHereView());
    EXPECT_FALSE(view->dockAnimationVC());
    EXPECT_TRUE(area.isNull());
}

TEST_F(CoverFlowTest, CardsWithoutAPictureShowThePlaceholder) {
    MBCoverFlowView::Content content = folders(1);
    content.append({{FolderEntry::kImage, QByteArray("not a picture")},
                    {FolderEntry::kName, QStringLiteral("Bytes")},
                    {FolderEntry::kPath, QStringLiteral("/bytes")}});
    content.append({{FolderEntry::kName, QStringLiteral("None")},
                    {FolderEntry::kPath, QStringLiteral("/none")}});
    view->setContent(content);
    EXPECT_TRUE(view->itemHasImage(0));
    EXPECT_FALSE(view->itemHasImage(1));
    EXPECT_FALSE(view->itemHasImage(2));
    // The placeholder is as wide as a card of this shape and 600 high.
    EXPECT_EQ(view->placeholder().size(), QSize(600, 600));
    view->setImageKeyPath(QString());
    EXPECT_FALSE(view->itemHasImage(0));
}

TEST_F(CoverFlowTest, PlaceholderTintFillsAWideIconBox) {
    // A wide icon: its whole box is tinted, not only a square of it.
    QImage wide(256, 64, QImage::Format_ARGB32_Premultiplied);
    wide.fill(Qt::black);
    view->setPlaceholderIcon(wide);
    const QImage placeholder = view->placeholder();
    // Box 300 x 75 centred in 600 x 600: x 150..450, y 262.5..337.5 (top-down).
    const QColor right = placeholder.pixelColor(440, 300);
    const QColor left = placeholder.pixelColor(160, 300);
    const QColor outside = placeholder.pixelColor(470, 300);
    EXPECT_GT(right.red(), outside.red() + 30);
    EXPECT_EQ(right, left);
}

TEST_F(CoverFlowTest, KeysStopAtTheEndsAndReturnSendsTheAction) {
    view->setContent(folders(3));
    key(Qt::Key_Left);
    EXPECT_EQ(view->selectionIndex(), 0);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(view->selectionIndex(), 2);
    int actions = 0;
    view->setAction([&](MBCoverFlowView*) { ++actions; });
    key(Qt::Key_Return);
    EXPECT_EQ(actions, 0); // no target
    QObject target;
    view->setTarget(&target);
    key(Qt::Key_Return);
    EXPECT_EQ(actions, 1);
}

TEST_F(CoverFlowTest, WheelStepsOnlyPastFourTenthsOfALine) {
    view->setContent(folders(3));
    view->setSelectionIndex(1);
    wheel(QPoint(36, 36)); // 0.3 each way
    EXPECT_EQ(view->selectionIndex(), 1);
    wheel(QPoint(0, 120));
    EXPECT_EQ(view->selectionIndex(), 0);
    wheel(QPoint(0, -120));
    wheel(QPoint(-120, 0));
    EXPECT_EQ(view->selectionIndex(), 2);
}

TEST_F(CoverFlowTest, HitTestingFindsFrontCardsFirst) {
    view->setContent(folders(5));
    view->setSelectionIndex(3);
    settle();
    EXPECT_EQ(view->indexOfItemAtPoint(centreOf(3)), 3);
    // Side cards overlap; where two do, the one nearer the selection answers.
    const QRectF near = view->rectForItemAtIndex(1);
    const QRectF far = view->rectForItemAtIndex(0);
    const QPointF shared(near.left() + 1, near.center().y());
    ASSERT_TRUE(far.contains(shared));
    EXPECT_EQ(view->indexOfItemAtPoint(shared), 1);
    EXPECT_EQ(view->indexOfItemAtPoint(QPointF(far.left() + 1, far.center().y())), 0);
    EXPECT_EQ(view->indexOfItemAtPoint(centreOf(4)), 4);
    EXPECT_EQ(view->indexOfItemAtPoint(QPointF(3, 3)), MBCoverFlowView::kNotFound);
}

TEST_F(CoverFlowTest, GesturesAskTheScreenToRemoveFolders) {
    Recorder recorder;
    view->setContent(folders(4));
    view->setSelectionIndex(1);
    settle();
    const QPointF card = toQt(centreOf(1));

    // Dragged out and released outside: the selected folder.
    press(card);
    EXPECT_TRUE(view->isMouseDown());
    drag(QPointF(-40, 10));
    EXPECT_TRUE(view->removeFolderAfterDrop());
    release(QPointF(-40, 10));
    ASSERT_EQ(recorder.posted.size(), 1u);
    EXPECT_EQ(indexOf(recorder.posted[0]), 1);

    // Out and back in before the release: nothing.
    press(card);
    drag(QPointF(-40, 10));
    drag(card);
    release(card);
    EXPECT_EQ(recorder.posted.size(), 1u);

    // The remove button: the selected folder.
    settle();
    view->removeFolderButton()->click();
    ASSERT_EQ(recorder.posted.size(), 2u);
    EXPECT_EQ(indexOf(recorder.posted[1]), 1);

    // The menu: remove the right-clicked folder, clear the list.
    rightClick(toQt(centreOf(1)));
    ASSERT_TRUE(menuAction(QStringLiteral("Remove Folder from List")));
    menuAction(QStringLiteral("Remove Folder from List"))->trigger();
    ASSERT_EQ(recorder.posted.size(), 3u);
    EXPECT_EQ(indexOf(recorder.posted[2]), 1);
    menuAction(QStringLiteral("Clear List"))->trigger();
    ASSERT_EQ(recorder.posted.size(), 4u);
    EXPECT_FALSE(recorder.posted[3].hasUserInfo);
    menuAction(QStringLiteral("Add Folder to Scan..."))->trigger();
    menuAction(QStringLiteral("Find Duplicates"))->trigger();
    ASSERT_EQ(recorder.posted.size(), 6u);
    EXPECT_EQ(recorder.posted[4].name, AppNotification::AddFolderNotificationName());
    EXPECT_EQ(recorder.posted[5].name, AppNotification::StartScanNotificationName());
    for (const auto& n : recorder.posted) {
        if (n.name == QStringLiteral("FileRemoved") && n.hasUserInfo) {
            EXPECT_EQ(n.userInfo.value(QStringLiteral("index")).typeId(), QMetaType::Int);
        }
    }
}

TEST_F(CoverFlowTest, MenuCommandsActOnlyOnTheClickedFolder) {
    Recorder recorder;
    auto content = folders(4);
    view->setContent(content);
    view->setSelectionIndex(2);
    settle();
    // Beside the cards: the folder commands are offered disabled.
    rightClick(QPointF(20, 20));
    ASSERT_TRUE(menuAction(QStringLiteral("Remove Folder from List")));
    EXPECT_FALSE(menuAction(QStringLiteral("Remove Folder from List"))->isEnabled());
    EXPECT_FALSE(menuAction(QStringLiteral("Show in File Manager"))->isEnabled());
    EXPECT_TRUE(menuAction(QStringLiteral("Clear List"))->isEnabled());

    // On card 2 ("F2"); the list then loses its first folder before the command is chosen.
    QStringList revealed;
    view->setRevealHandler([&](const QString& path) { revealed << path; });
    rightClick(toQt(centreOf(2)));
    EXPECT_EQ(view->rightButtonClickedIndex(), 2);
    QPointer<QMenu> menu = view->contextMenu();
    content.removeFirst();
    view->setContent(content);
    ASSERT_TRUE(menu);
    menuAction(QStringLiteral("Show in File Manager"))->trigger();
    EXPECT_EQ(revealed, QStringList{QStringLiteral("/data/F2")});
    menuAction(QStringLiteral("Remove Folder from List"))->trigger();
    ASSERT_EQ(recorder.posted.size(), 1u);
    EXPECT_EQ(indexOf(recorder.posted[0]), 1); // F2's place now
    // Once the folder is gone the command does nothing.
    content.removeAt(1);
    view->setContent(content);
    menuAction(QStringLiteral("Remove Folder from List"))->trigger();
    EXPECT_EQ(recorder.posted.size(), 1u);

    // With an empty list the menu offers only the add command.
    view->setContent({});
    rightClick(QPointF(100, 100));
    ASSERT_TRUE(view->contextMenu());
    EXPECT_EQ(view->contextMenu()->actions().size(), 1);
}

TEST_F(CoverFlowTest, NoFolderGoesWithoutItsRemoveGesture) {
    Recorder recorder;
    view->setContent(folders(4));
    view->setSelectionIndex(1);
    settle();
    const QPointF emptySpace(8, 8);
    ASSERT_EQ(view->indexOfItemAtPoint(toQt(emptySpace)), MBCoverFlowView::kNotFound);
    auto leave = [&] {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(view.get(), &event);
    };
    auto enter = [&] {
        const QPointF at(200, 100);
        QEnterEvent event(at, at, view->mapToGlobal(at));
        QApplication::sendEvent(view.get(), &event);
    };
    auto dismissMenu = [&] {
        if (view->contextMenu())
            view->contextMenu()->close();
    };

    // Right-click on a card, dismiss the menu, leave and come back, click on empty space.
    rightClick(toQt(centreOf(2)));
    EXPECT_EQ(view->selectionIndex(), 2);
    dismissMenu();
    leave();
    enter();
    press(emptySpace);
    release(emptySpace);
    // The same without coming back, and with the click's release outside the view.
    rightClick(toQt(centreOf(2)));
    dismissMenu();
    leave();
    press(emptySpace);
    release(QPointF(-30, -30));
    // Dismiss, leave, re-enter and a click on a card.
    rightClick(toQt(centreOf(1)));
    dismissMenu();
    leave();
    enter();
    press(toQt(centreOf(1)));
    release(toQt(centreOf(1)));
    // A press on a card released over empty space inside the view.
    press(toQt(centreOf(1)));
    drag(emptySpace);
    release(emptySpace);
    settle();
    EXPECT_TRUE(recorder.posted.empty());
    EXPECT_FALSE(view->isMouseDown());
    EXPECT_FALSE(view->removeFolderAfterDrop());

    // The gestures that do remove still do: dragged out, and the button on the card.
    press(toQt(centreOf(1)));
    drag(QPointF(-40, 10));
    release(QPointF(-40, 10));
    ASSERT_EQ(recorder.posted.size(), 1u);
    EXPECT_EQ(indexOf(recorder.posted[0]), 1);
}

TEST_F(CoverFlowTest, RemoveButtonShowsOverTheWholeSelectedCardOnly) {
    // At the screens' size and wider, where a fixed rectangle would miss the card.
    for (const QSize size : {QSize(464, 246), QSize(700, 246), QSize(900, 320)}) {
        SCOPED_TRACE(size.width());
        view->resize(size);
        view->setContent(folders(5));
        view->setSelectionIndex(2);
        settle();
        const QRectF card = view->rectForItemAtIndex(2);
        ASSERT_FALSE(card.isEmpty());
        EXPECT_EQ(view->removeButtonArea(), card);
        auto shownAt = [&](QPointF yUp) {
            mouse(QEvent::MouseMove, toQt(yUp), Qt::NoButton, Qt::NoButton);
            return view->removeFolderButton()->isVisible();
        };
        // Every part of the card: corners (just inside), edges' middles, centre.
        const double in = 1.0;
        for (const QPointF p : {QPointF(card.left() + in, card.top() + in),
                                QPointF(card.right() - in, card.top() + in),
                                QPointF(card.left() + in, card.bottom() - in),
                                QPointF(card.right() - in, card.bottom() - in), card.center(),
                                QPointF(card.left() + card.width() * 0.8, card.center().y())})
            EXPECT_TRUE(shownAt(p)) << p.x() << "," << p.y();
        // Nothing beside it: left, right, above, below.
        for (const QPointF p : {QPointF(card.left() - 4, card.center().y()),
                                QPointF(card.right() + 4, card.center().y()),
                                QPointF(card.center().x(), card.bottom() + 4),
                                QPointF(card.center().x(), card.top() - 4)})
            EXPECT_FALSE(shownAt(p)) << p.x() << "," << p.y();
        // The button stands on the card, and removes that card.
        EXPECT_TRUE(shownAt(card.center()));
        const QRectF button = CoverFlowGeometry::flipped(
            QRectF(view->removeFolderButton()->geometry()), size.height());
        EXPECT_TRUE(card.contains(button)) << button.x() << "," << button.y();
        Recorder recorder;
        view->removeFolderButton()->click();
        ASSERT_EQ(recorder.posted.size(), 1u);
        EXPECT_EQ(indexOf(recorder.posted[0]), 2);
    }
}

TEST_F(CoverFlowTest, InterimModeKeepsOnlyDraggingOut) {
    Recorder recorder;
    view->setContent(folders(3));
    settle();
    view->setOnInterimScreen(true);
    EXPECT_FALSE(view->removeFolderButton());
    rightClick(toQt(centreOf(0)));
    EXPECT_FALSE(view->contextMenu());
    press(toQt(centreOf(0)));
    EXPECT_FALSE(QApplication::overrideCursor());
    drag(QPointF(500, 10));
    EXPECT_FALSE(QApplication::overrideCursor());
    release(QPointF(500, 10));
    ASSERT_EQ(recorder.posted.size(), 1u);
    EXPECT_EQ(indexOf(recorder.posted[0]), 0);
}

TEST_F(CoverFlowTest, RemoveButtonComesBackWhereThePointerRests) {
    view->setContent(folders(3));
    settle();
    // The pointer rests over the selected card.
    QCursor::setPos(view->mapToGlobal(toQt(QPointF(232, 150)).toPoint()));
    view->setSelectionIndex(1);
    EXPECT_FALSE(view->removeFolderButton()->isVisible());
    EXPECT_FALSE(view->canShowRemoveButton());
    AnimationClock::instance().advance(699);
    EXPECT_FALSE(view->removeFolderButton()->isVisible());
    AnimationClock::instance().advance(1);
    EXPECT_TRUE(view->canShowRemoveButton());
    EXPECT_TRUE(view->removeFolderButton()->isVisible());
    // A content change holds it back for half a second.
    view->setContent(folders(4));
    EXPECT_FALSE(view->canShowRemoveButton());
}

TEST_F(CoverFlowTest, ScrollerKnobSelectsItsStep) {
    view->setContent(folders(5));
    MBCoverFlowScroller* scroller = view->scroller();
    EXPECT_DOUBLE_EQ(scroller->knobProportion(), 0.2);
    scroller->setIntegerValue(2);
    EXPECT_DOUBLE_EQ(scroller->doubleValue(), 0.5);
    // Dragging the knob to 62 % of its way reads as step 2.
    const QRectF knob = scroller->knobRectForDisplay();
    const double room = scroller->width() - knob.width();
    QTest::mousePress(scroller, Qt::LeftButton, {}, knob.center().toPoint());
    QMouseEvent move(QEvent::MouseMove, QPointF(knob.center().x() + (0.62 - 0.5) * room, 3),
                     scroller->mapToGlobal(QPointF(0, 0)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(scroller, &move);
    EXPECT_EQ(scroller->hitPart(), MBCoverFlowScroller::KnobPart);
    EXPECT_EQ(view->selectionIndex(), 2);
    view->setContent({});
    scroller->setIntegerValue(3);
    EXPECT_DOUBLE_EQ(scroller->doubleValue(), 0.0);
}

class DockAnimationTest : public ::testing::Test {
protected:
    void SetUp() override { AnimationClock::instance().setMode(AnimationClock::Mode::Manual); }
    void TearDown() override { AnimationClock::instance().setMode(AnimationClock::Mode::Real); }
    // Moves time in small ticks, so each move's successor starts when it ends.
    static void tick(int ms) {
        for (int t = 0; t < ms; t += 5)
            AnimationClock::instance().advance(5);
    }
};

TEST_F(DockAnimationTest, ArrowDropsBouncesAndRises) {
    DockAnimationVC dock;
    const double x = dock.arrowOrigin().x();
    dock.startAnimation();
    AnimationClock::instance().advance(300);
    EXPECT_EQ(dock.arrowOrigin(), QPointF(x, 15));
    AnimationClock::instance().advance(150);
    EXPECT_EQ(dock.arrowOrigin(), QPointF(x, 35));
    AnimationClock::instance().advance(200);
    EXPECT_EQ(dock.arrowOrigin(), QPointF(x, 15));
    AnimationClock::instance().advance(300);
    EXPECT_EQ(dock.arrowOrigin(), QPointF(x, 70));
    EXPECT_FALSE(dock.isMoving());
    AnimationClock::instance().advance(500); // the pause, then the next cycle
    EXPECT_TRUE(dock.isMoving());
}

TEST_F(DockAnimationTest, StopLetsTheCycleFinishAndAStopInThePauseStays) {
    DockAnimationVC dock;
    const double x = dock.arrowOrigin().x();
    dock.startAnimation();
    tick(350); // in step 2
    dock.stopAnimation();
    tick(700);
    EXPECT_EQ(dock.arrowOrigin(), QPointF(x, 70));
    EXPECT_FALSE(dock.isMoving());
    tick(2000);
    EXPECT_FALSE(dock.isMoving());

    DockAnimationVC second;
    second.startAnimation();
    tick(1100); // cycle done, in the pause
    EXPECT_FALSE(second.isMoving());
    second.stopAnimation();
    tick(3000);
    EXPECT_FALSE(second.isMoving());
    EXPECT_EQ(second.arrowOrigin().y(), 70);
}

} // namespace
