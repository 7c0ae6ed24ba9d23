#include "Categories/AppNotification.h"
#include "Platform/NotificationCenter.h"
#include "TestSupport.h"
#include "Toolkit/CellWithCustomSelection.h"
#include "Toolkit/MyScroller.h"
#include "Toolkit/Palette.h"
#include "Toolkit/SearchTextField.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QCursor>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

using Flags = CellWithCustomSelection::CellFlags;

QImage drawCell(const Flags& flags) {
    QImage image(100, 30, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    CellWithCustomSelection::drawBackground(painter, QRectF(0, 0, 100, 30), flags);
    return image;
}

TEST(CellWithCustomSelectionTest, RowBackgroundsByState) {
    const struct {
        const char* name;
        Flags flags;
        QColor middle;
        bool bands;
    } cases[] = {
        {"selected", {.selected = true}, Palette::selectedRowColor(), true},
        {"selected inactive",
         {.selected = true, .inActive = true},
         Palette::selectedRowColorInactive(),
         false},
        {"even", {.even = true}, Palette::evenRowColor(), false},
        {"plain", {}, Palette::commonRowColor(), false},
        {"above the selected row", {.aboveSelected = true}, Palette::commonRowColor(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage cell = drawCell(c.flags);
        EXPECT_EQ(cell.pixelColor(50, 15), c.middle);
        // The bands brighten the rows' outer edges, most at the very edge.
        EXPECT_EQ(cell.pixelColor(50, 0) != c.middle, c.bands);
        EXPECT_EQ(cell.pixelColor(50, 28) != c.middle, c.bands);
        // The 1-point separator along the bottom edge (both separator colours are the same
        // grey, so the choice between them is not visible here).
        EXPECT_EQ(cell.pixelColor(50, 29), Palette::separatorColor());
    }
}

TEST(CellWithCustomSelectionTest, TextsOfRowsThatAreNotSelectedAreAtHalfStrength) {
    EXPECT_EQ(CellWithCustomSelection::textColor(true), Palette::commonTextColor());
    EXPECT_EQ(CellWithCustomSelection::sizeTextColor(true), Palette::sizeLabelColor());
    for (const auto& [dimmed, full] :
         {std::pair{CellWithCustomSelection::textColor(false), Palette::commonTextColor()},
          std::pair{CellWithCustomSelection::sizeTextColor(false), Palette::sizeLabelColor()}}) {
        EXPECT_EQ(dimmed.rgb(), full.rgb());
        EXPECT_NEAR(dimmed.alphaF(), 0.5, 1e-4); // 16-bit components hold 0.5 nearly
    }
}

class TableFixture : public ::testing::Test {
protected:
    void SetUp() override {
        model = new QStandardItemModel(100, 2, &table);
        for (int row = 0; row < 100; ++row)
            model->setItem(row, 0, new QStandardItem(QStringLiteral("row %1").arg(row)));
        table.setModel(model);
        cell = new CellWithCustomSelection(&table);
        table.verticalHeader()->setDefaultSectionSize(20);
        table.horizontalHeader()->hide();
        table.resize(300, 200);
        table.show();
        QApplication::setActiveWindow(&table);
    }

    QPoint globalPointOfRow(int visibleRow) {
        return table.viewport()->mapToGlobal(QPoint(30, visibleRow * 20 + 10));
    }

    TableViewWithArrowHandling table;
    QStandardItemModel* model = nullptr;
    CellWithCustomSelection* cell = nullptr;
};

TEST_F(TableFixture, TheHoveredCellFollowsRowsThatMoveUnderAStillPointer) {
    QCursor::setPos(globalPointOfRow(2));
    ASSERT_EQ(table.viewport()->mapFromGlobal(QCursor::pos()), QPoint(30, 50))
        << "the platform keeps no pointer position";
    cell->updateTrackingAreas();
    EXPECT_EQ(cell->hoveredIndex().row(), 2);

    std::vector<int> entered;
    QObject::connect(cell, &TableCellViewWithTracking::hoveredIndexChanged,
                     [&](const QModelIndex& index) { entered.push_back(index.row()); });
    table.verticalScrollBar()->setValue(table.verticalScrollBar()->value() + 60);
    EXPECT_EQ(cell->hoveredIndex().row(), 5) << "scrolled by three rows";
    EXPECT_EQ(entered, std::vector<int>({5}));

    // Rows inserted above move another row under the pointer once the view has laid out:
    // the hovered row moves down to 7 with the insertion, and the row now under the
    // pointer is 5.
    model->insertRows(0, 2);
    ASSERT_TRUE(TestSupport::waitFor([&] { return cell->hoveredIndex().row() == 5; }));
    EXPECT_EQ(entered, std::vector<int>({5, 5}));

    QCursor::setPos(table.mapToGlobal(QPoint(-50, -50)));
    cell->updateTrackingAreas();
    EXPECT_FALSE(cell->hoveredIndex().isValid());
}

TEST_F(TableFixture, KeysArePostedAndNeverMoveTheSelection) {
    std::vector<KeyEvent> posted;
    QObject owner;
    NotificationCenter::defaultCenter().addObserver(
        &owner, AppNotification::KeyPressedNotificationName(), [&](const Notification& note) {
            if (const auto event = AppNotification::GetEventFromNotification(note))
                posted.push_back(*event);
        });
    table.setFocus();
    table.selectRow(4);
    QTest::keyClick(&table, Qt::Key_Down);
    QTest::keyClick(&table, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(&table, Qt::Key_R);
    ASSERT_EQ(posted.size(), 3u);
    EXPECT_EQ(posted[0].keyCode, 125);
    EXPECT_EQ(posted[1].keyCode, 126);
    EXPECT_TRUE(posted[1].modifierFlags & KeyEvent::ShiftKeyMask);
    EXPECT_EQ(posted[2].keyCode, 15);
    EXPECT_EQ(table.selectionModel()->selectedRows().size(), 1);
    EXPECT_TRUE(table.selectionModel()->isRowSelected(4, {}));
}

TEST_F(TableFixture, CellsTakeTheInactiveLookWhenTheListLosesTheFocus) {
    table.selectRow(3);
    QStyleOptionViewItem option;
    option.state |= QStyle::State_Selected;
    table.setFocus();
    ASSERT_TRUE(table.hasFocus());
    EXPECT_FALSE(cell->cellFlags(option, model->index(3, 0)).inActive);
    EXPECT_TRUE(cell->cellFlags({}, model->index(2, 0)).aboveSelected);
    EXPECT_FALSE(cell->cellFlags({}, model->index(1, 0)).aboveSelected);
    table.clearFocus();
    EXPECT_TRUE(cell->cellFlags(option, model->index(3, 0)).inActive);
}

class SubScroller final : public MyScroller {
public:
    SubScroller() : MyScroller(Qt::Vertical) {}
};

TEST(MyScrollerTest, WidthsAndOverlayCompatibility) {
    MyScroller scroller(Qt::Vertical);
    EXPECT_EQ(MyScroller::scrollerWidth(), 5.0);
    for (int controlSize : {0, 1, 2, 3})
        EXPECT_EQ(MyScroller::scrollerWidthForControlSize(controlSize), 11.0);
    EXPECT_EQ(scroller.sizeHint().width(), 11);
    EXPECT_TRUE(scroller.isCompatibleWithOverlayScrollers());
    EXPECT_FALSE(SubScroller().isCompatibleWithOverlayScrollers());
}

TEST(MyScrollerTest, DraggingTheKnobScrolls) {
    MyScroller scroller(Qt::Vertical);
    scroller.setRange(0, 100);
    scroller.setPageStep(100);
    scroller.resize(11, 200);
    scroller.show();
    const QRectF knob = scroller.knobRect();
    EXPECT_EQ(knob.height(), 100);
    QTest::mousePress(&scroller, Qt::LeftButton, {}, QPoint(5, 50));
    QTest::mouseMove(&scroller, QPoint(5, 100));
    QTest::mouseRelease(&scroller, Qt::LeftButton, {}, QPoint(5, 100));
    EXPECT_EQ(scroller.value(), 50);
    QTest::mouseClick(&scroller, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_EQ(scroller.value(), 0) << "a press above the knob pages up";
}

TEST(SearchTextFieldTest, ARightClickShowsNoMenuAndThePointerStaysAnArrow) {
    SearchTextField search;
    TextFieldWithoutContext plain;
    for (QLineEdit* field : {static_cast<QLineEdit*>(&search), static_cast<QLineEdit*>(&plain)}) {
        field->setText(QStringLiteral("holiday"));
        field->resize(160, 22);
        field->show();
        QTest::mouseClick(field, Qt::RightButton);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    field->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(field, &menuEvent);
        QApplication::processEvents();
        for (QWidget* top : QApplication::topLevelWidgets())
            EXPECT_FALSE(qobject_cast<QMenu*>(top) && top->isVisible());
    }
    EXPECT_EQ(search.cursor().shape(), Qt::ArrowCursor);
}

} // namespace
