#pragma once

#include "ScanResultListener.h"
#include "TestSupport.h"

#include "Browser/Common/AllowRemovingAllCopiesWC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Selection/SettingsRestore.h"
#include "Toolkit/AnimationClock.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <random>

// A real scan of files written into a temporary folder, with the similar folders searched
// for, made the current result and shown on a results screen in its similar-folders state.
// Animations run on the manual clock.
class ScanScreenFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        restoreSettings();
        AnimationClock::instance().setMode(AnimationClock::Mode::Manual);
    }
    void TearDown() override {
        if (auto* popup = AllowRemovingAllCopiesWC::existingController())
            popup->close();
        AnimationClock::instance().advance(1000);
        screen.reset();
        QCoreApplication::processEvents();
        DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
        container.reset();
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
        restoreSettings();
        TestSupport::spinFor(20);
    }
    // The settings restore leaves the lists' sort alone.
    static void restoreSettings() {
        Settings::restoreDefaultsForAllSettings();
        Settings::setSortType(Settings::SortTypeSize);
        Settings::setSortDirection(Settings::SortDirectionDescending);
    }

    QByteArray root() const { return QFile::encodeName(m_dir.path()); }
    void write(const QByteArray& relative, const QByteArray& bytes) {
        ASSERT_TRUE(TestSupport::writeFile(root() + '/' + relative, bytes));
    }
    // |size| bytes from |seed|: equal seeds give equal bytes.
    static QByteArray content(int seed, int size) {
        std::mt19937 random(std::uint32_t(seed) * 2654435761u + 17);
        QByteArray bytes(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i)
            bytes[i] = char(random() & 0xff);
        return bytes;
    }

    void scan() {
        auto listener = std::make_shared<ScanResultListener>();
        auto scanner = FoldersScanner::create({root()}, listener);
        scanner->enableSearchDuplicatesFoldersAndSimilars(true);
        scanner->startScanAndUseMinimalFileSize(1);
        ASSERT_TRUE(TestSupport::waitFor([&] { return listener->told == 1; }, 30000));
        container = listener->container;
        ASSERT_TRUE(container);
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
    }
    // Scans, makes the results screen and enters its similar-folders state.
    void scanAndShowSimilars() {
        scan();
        screen = std::make_unique<SelectDuplicatesVC>();
        screen->resize(1200, 713);
        screen->show();
        QApplication::setActiveWindow(screen.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
        screen->pressOverviewButton();
        AnimationClock::instance().advance(1500);
        screen->duplicatesToolbar()->heapsButtonPressed(screen->duplicatesToolbar()->heapsButton());
        AnimationClock::instance().advance(1000);
        ASSERT_TRUE(screen->folderPickerVC() && screen->heapsPickerVC());
    }
    // The copy at |relative| below the root.
    std::shared_ptr<DuplicateItem> copy(const QByteArray& relative) const {
        const auto nodes = container->findSystemItemWithPath(root() + '/' + relative);
        DuplicateItem* found = nodes.isEmpty() ? nullptr : nodes.front()->getDuplicateItem();
        return found ? found->shared_from_this() : nullptr;
    }

    std::shared_ptr<DuplicatesContainer> container;
    std::unique_ptr<SelectDuplicatesVC> screen;

private:
    QTemporaryDir m_dir;
};
