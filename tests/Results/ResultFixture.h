#pragma once

#include "Categories/AppNotification.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/Dispatch.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesCategory.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>

#include <sys/stat.h>

// A scanned tree of real files in a temporary folder, a container over it, and counters of
// the two result notifications.
struct ResultFixture : ::testing::Test {
    QTemporaryDir dir;
    std::shared_ptr<ScanTree> tree = ScanTree::create();
    VolumeSystemItem* root = nullptr;
    std::shared_ptr<DuplicatesContainer> container = DuplicatesContainer::create(false);
    std::atomic<int> selectionPosts{0};
    std::atomic<int> dataChangedPosts{0};
    std::atomic<bool> dataChangedOnMainThread{true};

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = VolumeSystemItem::initWithPath(*tree, QFile::encodeName(dir.path()), 0, 0);
        DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
        auto& center = NotificationCenter::defaultCenter();
        center.addObserver(static_cast<const void*>(this),
                           AppNotification::DuplicateItemSelectionChangedNotificationName(),
                           [this](const Notification&) { ++selectionPosts; });
        center.addObserver(static_cast<const void*>(this),
                           AppNotification::DuplicatesContainerDataChangedNotificationName(),
                           [this](const Notification&) {
                               if (!Dispatch::isMainThread()) {
                                   dataChangedOnMainThread = false;
                               }
                               ++dataChangedPosts;
                           });
    }

    void TearDown() override {
        // Queued notifications of this test must not reach the next one.
        TestSupport::spinFor(20);
        NotificationCenter::defaultCenter().removeObserver(static_cast<const void*>(this));
        DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
    }

    FolderSystemItem* folder(FolderSystemItem* parent, QByteArrayView name) {
        FolderSystemItem* node =
            FolderSystemItem::initWithPathSize(*tree, name, parent, 0, false, 0, false, 0);
        ::mkdir(node->path().constData(), 0755);
        return node;
    }

    // A real file of `size` bytes of `fill`, and its node.
    FileSystemItem* file(FolderSystemItem* parent, QByteArrayView name, int size, char fill = 'x') {
        FileSystemItem* node =
            FileSystemItem::initWithPathSize(*tree, name, parent, size, 0, false, size);
        EXPECT_TRUE(TestSupport::writeFile(node->path(), QByteArray(size, fill)));
        return node;
    }

    static DuplicateItem* copyOf(const FileSystemItem* node) { return node->getDuplicateItem(); }
};
