#pragma once

#include "ScanResultListener.h"
#include "TestSupport.h"

#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Overview/OverviewVC.h"
#include "Categories/Settings.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Toolkit/AnimationClock.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

// Real files in a temporary folder, scanned for real, and the results screen over the
// result; the clock runs instantly.
struct OverviewFixture : ::testing::Test {
    QTemporaryDir dir;
    std::shared_ptr<DuplicatesContainer> container;
    std::unique_ptr<SelectDuplicatesVC> screen;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
        Settings::setShowOverlayOverviewScreen(false);
        DuplicatesManager::sharedManager().createOverlayHintsArray();
        DuplicatesManager::sharedManager().setOverlayOnScreen(false);
    }
    void TearDown() override {
        screen.reset();
        TestSupport::spinFor(20);
        DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }

    // |size| bytes of |fill| under each of |folders| (relative to the temporary folder).
    void copies(const char* name, int size, char fill, std::initializer_list<const char*> folders) {
        for (const char* folder : folders)
            ASSERT_TRUE(TestSupport::writeFile(
                QFile::encodeName(dir.path() + QLatin1Char('/') + QLatin1String(folder) +
                                  QLatin1Char('/') + QLatin1String(name)),
                QByteArray(size, fill)));
    }
    // |count| folders "similar/F<i>" holding the same two pictures and one file of their
    // own: every two of them are a pair of similar folders.
    void similarFolders(int count) {
        for (int i = 0; i < count; ++i) {
            const QByteArray folder =
                QFile::encodeName(dir.path()) + "/similar/F" + QByteArray::number(i) + "/";
            ASSERT_TRUE(TestSupport::writeFile(folder + "x.jpg", QByteArray(8000, 'x')));
            ASSERT_TRUE(TestSupport::writeFile(folder + "y.jpg", QByteArray(6000, 'y')));
            ASSERT_TRUE(TestSupport::writeFile(folder + "own.txt", QByteArray(3000 + i, 'o')));
        }
    }

    // Scans the temporary folder and makes the result current.
    void scan() {
        auto listener = std::make_shared<ScanResultListener>();
        auto scanner = FoldersScanner::create({QFile::encodeName(dir.path())}, listener);
        scanner->enableSearchDuplicatesFoldersAndSimilars(true);
        scanner->startScanAndUseMinimalFileSize(1024);
        ASSERT_TRUE(TestSupport::waitFor([&] { return listener->container != nullptr; }, 20000));
        container = listener->container;
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
    }

    // The results screen in its overview with every background answer in.
    OverviewVC& makeScreen(QSize size = QSize(1200, 713)) {
        screen = std::make_unique<SelectDuplicatesVC>();
        screen->resize(size);
        screen->show();
        screen->pressOverviewButton();
        OverviewVC* overview = screen->overviewVC();
        EXPECT_TRUE(overview);
        EXPECT_TRUE(TestSupport::waitFor([&] {
            return !overview->quickHintsView()->isCalculating() &&
                   overview->heapsChartView()->hasAnswer();
        }));
        screen->showOverviewHints();
        TestSupport::spinFor(5);
        return *overview;
    }

    static void send(QWidget* widget, QEvent::Type type, QPointF pos, Qt::MouseButton button,
                     Qt::MouseButtons buttons) {
        QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    static void press(QWidget* widget, QPointF pos) {
        send(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
    }
    static void release(QWidget* widget, QPointF pos) {
        send(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
    }
    static void drag(QWidget* widget, QPointF pos) {
        send(widget, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
    }
    static void hover(QWidget* widget, QPointF pos) {
        send(widget, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
    }
    static void click(QWidget* widget, QPointF pos) {
        press(widget, pos);
        release(widget, pos);
    }
};
