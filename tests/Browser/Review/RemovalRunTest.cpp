// Removal runs started from the review panel over real folders scanned for real, with the
// Trash of a temporary home and every question answered by the test.
#include "../../Removal/RemoverFixture.h"
#include "ScanResultListener.h"

#include "Browser/Copies/DuplicateSelectionVC.h"
#include "Browser/Frame/DuplicateBottombarVC.h"
#include "Browser/Frame/DuplicateToolbarVC.h"
#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/GroupList/FileListVC.h"
#include "Browser/Review/RemovalSession.h"
#include "Browser/Review/SelectedFilesTexts.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "Categories/FileSize.h"
#include "Categories/Settings.h"
#include "Platform/NotificationCenter.h"
#include "Results/DuplicatesManager.h"
#include "Scanner/FoldersScanner.h"
#include "Screens/CongratulationsVC.h"
#include "Screens/ProgressBarRemover.h"
#include "Toolkit/Alert.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/QLPreviewViewMod.h"
#include "Toolkit/QuickLookVC.h"
#include "Toolkit/WhiteTitleButton.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QSet>

#include <condition_variable>

namespace {

// Refuses permanent removals under |silentPrefix| without saying why.
class SilentlyRefusingFiles final : public RecordingFileManager {
public:
    QByteArray silentPrefix;
    bool removeItemAtPath(const QByteArray& path, FileError* error) const override {
        if (!silentPrefix.isEmpty() && path.startsWith(silentPrefix))
            return false;
        return RecordingFileManager::removeItemAtPath(path, error);
    }
};

class RemovalRunTest : public RemoverFixture {
protected:
    void SetUp() override {
        RemoverFixture::SetUp();
        AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
        Settings::setMoveCleanedDuplicatesToTheTrashCan(true);
        Settings::setShowRemovePermanentlyMessage(true);
        Settings::setShowRemovePermanentlyItemsOnRemoteDisksMessage(true);
        Settings::setRemoveEmptyFolders(false);
        Settings::setCleanedFileSize(0);
        Settings::setCleanedFileCount(0);
        DuplicatesManager::sharedManager().setRemovedSize(std::nullopt);
        RemovalSession::setRemoverFactory([this] { return DuplicatesRemover::create(m_files); });
    }
    void TearDown() override {
        release();
        ASSERT_TRUE(TestSupport::waitFor([] { return !RemovalSession::current(); }, 20000));
        m_screen.reset();
        RemovalSession::setRemoverFactory({});
        DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }

    void realScan() {
        waitPastTheFileClockTick();
        auto listener = std::make_shared<ScanResultListener>();
        auto scanner = FoldersScanner::create({m_root}, listener);
        scanner->includeHiddenFiles(true);
        scanner->startScanAndUseMinimalFileSize(1);
        ASSERT_TRUE(TestSupport::waitFor([&] { return listener->told == 1; }, 30000));
        m_container = listener->container;
        ASSERT_TRUE(m_container);
        // Whatever the scan chose, each test selects its own copies.
        for (const auto& group : m_container->getAllFilesGroups())
            for (const auto& copy : group->getItems())
                copy->deselectItem();
        DuplicatesManager::sharedManager().setDuplicateContainer(m_container);
    }
    std::shared_ptr<DuplicateItem> item(const QByteArray& relative) const {
        const auto nodes = m_container->findSystemItemWithPath(path(relative));
        DuplicateItem* copy = nodes.isEmpty() ? nullptr : nodes.front()->getDuplicateItem();
        return copy ? copy->shared_from_this() : nullptr;
    }
    // Writes each group's copies (same contents per group, a size of its own) and scans.
    void makeGroups(const QList<QList<QByteArray>>& groups) {
        m_groups = groups;
        int size = 1000;
        char fill = 'a';
        for (const auto& group : groups) {
            for (const QByteArray& relative : group)
                write(relative, QByteArray(size, fill));
            size += 500;
            ++fill;
        }
        // A file of its own in every folder, so that no two folders are copies of each other.
        QSet<QByteArray> folders;
        for (const auto& group : groups)
            for (const QByteArray& relative : group)
                folders.insert(relative.left(relative.lastIndexOf('/')));
        int own = 1;
        for (const QByteArray& folder : folders)
            write(folder + "/own.dat", QByteArray(own++, 'o'));
        realScan();
    }
    void select(const QList<QByteArray>& relatives) {
        for (const QByteArray& relative : relatives) {
            const auto copy = item(relative);
            ASSERT_TRUE(copy) << relative.constData();
            ASSERT_TRUE(copy->selectItemForced(false)) << relative.constData();
        }
    }
    SelectedFilesVC* openPanel() {
        m_screen = std::make_unique<SelectDuplicatesVC>();
        m_screen->resize(1100, 700);
        m_screen->show();
        QApplication::setActiveWindow(m_screen.get());
        m_screen->openSelectedFilesView();
        QPointer<SelectedFilesVC> panel = m_screen->selectedFilesVC();
        EXPECT_TRUE(TestSupport::waitFor([&] { return panel && !panel->animating(); }));
        return panel;
    }
    QMessageBox* sheet(const QString& name) const {
        for (QMessageBox* box : m_screen->findChildren<QMessageBox*>(name))
            if (box->isVisible())
                return box;
        return nullptr;
    }
    static bool runEnded() { return !RemovalSession::current(); }
    // Every group still has a copy on disk.
    void expectEachGroupKeepsACopy() const {
        for (const auto& group : m_groups)
            EXPECT_TRUE(std::any_of(group.begin(), group.end(), [&](const QByteArray& r) {
                return exists(r);
            })) << group.front().constData();
    }
    bool inTrash(const QByteArray& name) const {
        return QFile::exists(trashFolder() + "/files/" + QString::fromUtf8(name));
    }

    // Holds the remover's file work after its first attempt at a path under |relative|
    // until release().
    void holdAfter(const QByteArray& relative) {
        const QByteArray held = path(relative);
        m_files.afterAttempt = [this, held](const QByteArray& attempted) {
            if (!attempted.startsWith(held))
                return;
            std::unique_lock lock(m_mutex);
            m_reached = true;
            m_released.wait(lock, [this] { return m_open; });
        };
    }
    bool reachedHold() {
        std::lock_guard lock(m_mutex);
        return m_reached;
    }
    void release() {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_released.notify_all();
    }

    void remoteCase(bool ok) {
        makeGroups({{"stick/x.txt", "home/x.txt"}, {"k/k.txt", "l/k.txt"}});
        m_files.noTrashPrefix = path("stick/");
        select({"stick/x.txt"});
        SelectedFilesVC* panel = openPanel();
        panel->removeButton()->click();
        ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));
        QMessageBox* box = sheet(QStringLiteral("removeFromRemoteDisksConfirmation"));
        ASSERT_TRUE(box);
        EXPECT_EQ(box->text(),
                  QStringLiteral("Are you sure you want to delete \"x.txt\" permanently?"));
        EXPECT_EQ(box->informativeText(),
                  QStringLiteral("\"x.txt\" on disk \"Stick\" can't be removed to Trash and will "
                                 "be deleted permanently. You can't undo this action."));
        EXPECT_TRUE(exists("stick/x.txt"));
        box->button(ok ? QMessageBox::Ok : QMessageBox::Cancel)->click();
        if (ok) {
            ASSERT_TRUE(
                TestSupport::waitFor([&] { return runEnded() && !exists("stick/x.txt"); }, 20000));
            EXPECT_FALSE(inTrash("x.txt"));
            EXPECT_EQ(Settings::cleanedFileCount(), 1u)
                << "counted once, by the run that removed it";
        } else {
            EXPECT_FALSE(RemovalSession::current());
            EXPECT_TRUE(exists("stick/x.txt"));
            EXPECT_TRUE(item("stick/x.txt")->isSelected());
            EXPECT_EQ(Settings::cleanedFileCount(), 0u);
        }
        TestSupport::spinFor(20);
        EXPECT_FALSE(sheet(QStringLiteral("notRemovedReport")));
        expectEachGroupKeepsACopy();
    }

    SilentlyRefusingFiles m_files;
    std::unique_ptr<SelectDuplicatesVC> m_screen;
    QList<QList<QByteArray>> m_groups;
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_reached = false;
    bool m_open = false;
};

TEST_F(RemovalRunTest, ToTheTrashBooksTheRunAndTheEmptiedPanelSlidesOut) {
    makeGroups({{"a/one.txt", "b/one.txt"},
                {"a/two.txt", "b/two.txt", "c/two.txt"},
                {"x/keep.txt", "y/keep.txt"}});
    select({"b/one.txt", "b/two.txt", "c/two.txt"});
    const std::uint64_t size = m_container->getRemoveListTotalSize();
    QPointer<SelectedFilesVC> panel = openPanel();
    ASSERT_EQ(panel->removeList().size(), 3u);
    m_screen->duplicatesBottombar()->setDeletedSize(0);

    panel->removeButton()->click();
    EXPECT_TRUE(panel->removeIsOn());
    EXPECT_FALSE(panel->progressBar()->isHidden());
    EXPECT_EQ(panel->removeButton()->title(), QStringLiteral("     Stop"));
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));

    for (const QByteArray gone : {"b/one.txt", "b/two.txt", "c/two.txt"})
        EXPECT_FALSE(exists(gone)) << gone.constData();
    EXPECT_TRUE(inTrash("one.txt"));
    EXPECT_TRUE(inTrash("two.txt"));
    EXPECT_TRUE(trashInfo("one.txt").startsWith("[Trash Info]\nPath=" + path("b/one.txt")));
    EXPECT_EQ(Settings::cleanedFileSize(), size);
    EXPECT_EQ(Settings::cleanedFileCount(), 3u);
    EXPECT_EQ(DuplicatesManager::sharedManager().removedSize().value_or(0), std::int64_t(size));
    EXPECT_EQ(m_screen->duplicatesBottombar()->deletedSize(), size);
    EXPECT_FALSE(sheet(QStringLiteral("notRemovedReport")));
    EXPECT_FALSE(m_screen->congratulationsController()) << "the keep group remains";
    ASSERT_TRUE(TestSupport::waitFor([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return !panel;
    }));
    expectEachGroupKeepsACopy();
}

TEST_F(RemovalRunTest, PermanentRemovalAsksFirstUnlessTurnedOff) {
    makeGroups({{"a/one.txt", "b/one.txt"}, {"a/two.txt", "b/two.txt"}, {"k/k.txt", "l/k.txt"}});
    Settings::setMoveCleanedDuplicatesToTheTrashCan(false);
    select({"b/one.txt"});
    SelectedFilesVC* panel = openPanel();
    EXPECT_EQ(panel->removeButton()->toolTip(),
              QStringLiteral("Remove selected duplicates instantly"));

    panel->removeButton()->click();
    QMessageBox* box = sheet(QStringLiteral("removePermanentlyConfirmation"));
    ASSERT_TRUE(box);
    // A sheet of the window drawn in the palette, not a stock message box.
    EXPECT_TRUE(qobject_cast<Alert*>(box));
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->text(),
              QStringLiteral("Are you sure you want to delete some files permanently?"));
    EXPECT_EQ(box->informativeText(),
              QStringLiteral("1 item will be deleted permanently. You can't undo this action."));
    EXPECT_EQ(box->checkBox()->text(), QStringLiteral("Don't show this message again"));
    box->button(QMessageBox::Cancel)->click();
    EXPECT_FALSE(RemovalSession::current());
    EXPECT_FALSE(panel->removeIsOn());
    EXPECT_TRUE(exists("b/one.txt"));

    panel->removeButton()->click();
    box = sheet(QStringLiteral("removePermanentlyConfirmation"));
    ASSERT_TRUE(box);
    box->checkBox()->setChecked(true);
    box->button(QMessageBox::Ok)->click();
    EXPECT_TRUE(panel->removeIsOn());
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));
    EXPECT_FALSE(exists("b/one.txt"));
    EXPECT_FALSE(inTrash("one.txt")) << "deleted, not trashed";
    EXPECT_FALSE(Settings::showRemovePermanentlyMessage());

    // The next removal goes without a question.
    select({"b/two.txt"});
    QPointer<SelectedFilesVC> second = openPanel();
    ASSERT_TRUE(second);
    second->removeButton()->click();
    EXPECT_FALSE(sheet(QStringLiteral("removePermanentlyConfirmation")));
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));
    EXPECT_FALSE(exists("b/two.txt"));
    EXPECT_EQ(Settings::cleanedFileCount(), 2u);
    expectEachGroupKeepsACopy();
}

TEST_F(RemovalRunTest, StoppingKeepsTheRestAndAsksNothingAboutVolumesWithoutATrash) {
    makeGroups({{"a/n1.txt", "b/n1.txt"},
                {"a/n2.txt", "b/n2.txt"},
                {"a/n3.txt", "b/n3.txt"},
                {"stick/deeper/folder/s.txt", "a/s.txt"}});
    m_files.noTrashPrefix = path("stick/");
    select({"b/n1.txt", "b/n2.txt", "b/n3.txt", "stick/deeper/folder/s.txt"});
    SelectedFilesVC* panel = openPanel();
    // Longest paths first: the copy on the stick is met, then the run is held after the
    // first file in b.
    holdAfter("b/");
    panel->removeButton()->click();
    ASSERT_TRUE(TestSupport::waitFor([&] { return reachedHold(); }, 20000));
    const QString running = panel->informativeLabel()->text();
    EXPECT_TRUE(running.endsWith(QStringLiteral(" removing"))) << running.toStdString();
    EXPECT_FALSE(panel->cellConfigurationForRow(0).checkboxEnabled);

    panel->removeButton()->click(); // "Stop"
    release();
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));

    const int gone = int(!exists("b/n1.txt")) + int(!exists("b/n2.txt")) + int(!exists("b/n3.txt"));
    EXPECT_EQ(gone, 1) << "the copy in hand went, the rest stayed";
    EXPECT_TRUE(exists("stick/deeper/folder/s.txt"));
    EXPECT_FALSE(sheet(QStringLiteral("removeFromRemoteDisksConfirmation")));
    EXPECT_FALSE(sheet(QStringLiteral("notRemovedReport")));
    EXPECT_FALSE(panel->removeIsOn());
    EXPECT_TRUE(panel->progressBar()->isHidden());
    EXPECT_EQ(panel->removeButton()->title(), QStringLiteral("     Remove"));
    const std::uint64_t cleaned = Settings::cleanedFileSize();
    EXPECT_TRUE(cleaned == 1000 || cleaned == 1500 || cleaned == 2000) << cleaned;
    EXPECT_EQ(panel->informativeLabel()->text(),
              QStringLiteral("You have cleaned %1").arg(FileSize::formatMemoryStringDot1(cleaned)));
    EXPECT_EQ(Settings::cleanedFileCount(), 1u);
    EXPECT_EQ(panel->removeList().size(), 3u);
    expectEachGroupKeepsACopy();
}

// One copy on a volume without a Trash: the question names it and its disk; OK deletes it in
// a second, permanent run, Cancel leaves it selected and reports nothing.
TEST_F(RemovalRunTest, ACopyOnAVolumeWithoutATrashIsDeletedOnOK) {
    remoteCase(true);
}

TEST_F(RemovalRunTest, ACopyOnAVolumeWithoutATrashStaysOnCancel) {
    remoteCase(false);
}

TEST_F(RemovalRunTest, ACopyChangedAfterTheScanStaysAndIsReported) {
    makeGroups({{"a/one.txt", "b/one.txt"}, {"k/k.txt", "l/k.txt"}});
    select({"b/one.txt"});
    write("b/one.txt", "grown since the scan, and different");
    SelectedFilesVC* panel = openPanel();
    panel->removeButton()->click();
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));
    QMessageBox* box = sheet(QStringLiteral("notRemovedReport"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("File \"one.txt\" was not removed"));
    EXPECT_FALSE(box->informativeText().isEmpty());
    EXPECT_TRUE(exists("b/one.txt"));
    EXPECT_TRUE(item("b/one.txt")->isSelected());
    ASSERT_EQ(panel->removeList().size(), 1u);
    EXPECT_EQ(panel->selectedDuplicateIndex(), 0) << "the copy's row is highlighted";
    EXPECT_EQ(Settings::cleanedFileCount(), 0u);
    EXPECT_EQ(Settings::cleanedFileSize(), 0u);
    expectEachGroupKeepsACopy();
}

TEST_F(RemovalRunTest, AFailureWithoutAnErrorStillGivesAReason) {
    makeGroups({{"a/one.txt", "b/one.txt"}, {"k/k.txt", "l/k.txt"}});
    Settings::setMoveCleanedDuplicatesToTheTrashCan(false);
    Settings::setShowRemovePermanentlyMessage(false);
    m_files.silentPrefix = path("b/");
    select({"b/one.txt"});
    SelectedFilesVC* panel = openPanel();
    panel->removeButton()->click();
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));
    QMessageBox* box = sheet(QStringLiteral("notRemovedReport"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("File \"one.txt\" was not removed"));
    EXPECT_EQ(box->informativeText(), SelectedFilesTexts::unknownFailureReason());
    EXPECT_TRUE(exists("b/one.txt"));
}

TEST_F(RemovalRunTest, TwoRunsWithOneFailureEachReportBoth) {
    makeGroups(
        {{"stick/deep/a.txt", "home/a.txt"}, {"b/c.txt", "c/c.txt"}, {"k/k.txt", "l/k.txt"}});
    m_files.noTrashPrefix = path("stick/");
    select({"stick/deep/a.txt", "c/c.txt"});
    write("c/c.txt", "changed after the scan: the first run's failure");
    SelectedFilesVC* panel = openPanel();
    panel->removeButton()->click();
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));
    QMessageBox* question = sheet(QStringLiteral("removeFromRemoteDisksConfirmation"));
    ASSERT_TRUE(question);
    EXPECT_FALSE(sheet(QStringLiteral("notRemovedReport")));
    EXPECT_EQ(RemovalSession::carriedOverFailures().size(), 0u);
    // The second run's failure: the copy on the stick changes before the user says OK.
    write("stick/deep/a.txt", "changed before the permanent run");
    question->button(QMessageBox::Ok)->click();
    ASSERT_TRUE(TestSupport::waitFor(
        [&] { return runEnded() && sheet(QStringLiteral("notRemovedReport")); }, 20000));
    QMessageBox* report = sheet(QStringLiteral("notRemovedReport"));
    EXPECT_EQ(report->text(), QStringLiteral("Several duplicates were not removed"));
    // Both were kept because they changed, which the report says rather than blaming
    // permissions.
    EXPECT_EQ(report->informativeText(),
              QStringLiteral("2 items couldn't be removed: they changed after the scan."));
    EXPECT_TRUE(RemovalSession::carriedOverFailures().empty());
    EXPECT_TRUE(exists("stick/deep/a.txt"));
    EXPECT_TRUE(exists("c/c.txt"));
    EXPECT_EQ(Settings::cleanedFileCount(), 0u);
    EXPECT_EQ(panel->removeList().size(), 2u);
    expectEachGroupKeepsACopy();
}

TEST_F(RemovalRunTest, AGroupWhollyChosenWithTheAllowanceIsRemovedAndTheGuardSaysWhy) {
    makeGroups({{"a/one.txt", "b/one.txt"}, {"k/k.txt", "l/k.txt"}, {"x/x.txt", "y/x.txt"}});
    Settings::setAllowRemovingAllDuplicateCopies(true);
    select({"a/one.txt"});
    // The last copy, as a list does once the allowance is on.
    ASSERT_TRUE(item("b/one.txt")->selectItemForced(true));
    // The panel may close and go once its run has ended.
    QPointer<SelectedFilesVC> panel = openPanel();
    panel->removeButton()->click();
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));
    Settings::setAllowRemovingAllDuplicateCopies(false);
    EXPECT_FALSE(sheet(QStringLiteral("notRemovedReport")));
    EXPECT_FALSE(exists("a/one.txt"));
    EXPECT_FALSE(exists("b/one.txt"));
    EXPECT_TRUE(inTrash("one.txt"));
    EXPECT_EQ(Settings::cleanedFileCount(), 2u);
    EXPECT_EQ(Settings::cleanedFileSize(), 2000u);

    // Without the allowance a copy whose other copies went meanwhile stays, and the report
    // gives that reason.
    select({"l/k.txt", "y/x.txt"});
    ASSERT_TRUE(QFile::remove(QFile::decodeName(path("k/k.txt"))));
    ASSERT_TRUE(QFile::remove(QFile::decodeName(path("x/x.txt"))));
    ASSERT_TRUE(TestSupport::waitFor([&] { return !panel || !panel->animating(); }));
    m_screen->openSelectedFilesView();
    panel = m_screen->selectedFilesVC();
    ASSERT_TRUE(TestSupport::waitFor([&] { return panel && !panel->animating(); }));
    panel->removeButton()->click();
    ASSERT_TRUE(TestSupport::waitFor(
        [&] { return runEnded() && sheet(QStringLiteral("notRemovedReport")); }, 20000));
    QMessageBox* report = sheet(QStringLiteral("notRemovedReport"));
    EXPECT_EQ(report->text(), QStringLiteral("Several duplicates were not removed"));
    EXPECT_EQ(
        report->informativeText(),
        QStringLiteral("2 items couldn't be removed: no other copy of them is left on disk."));
    EXPECT_TRUE(exists("l/k.txt"));
    EXPECT_TRUE(exists("y/x.txt"));
}

TEST_F(RemovalRunTest, EmptyingTheResultEndsOnTheCongratulationsScreen) {
    makeGroups({{"a/one.txt", "b/one.txt"}});
    select({"b/one.txt"});
    SelectedFilesVC* panel = openPanel();
    m_screen->duplicatesBottombar()->setDeletedSize(700);
    panel->removeButton()->click();
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));
    EXPECT_EQ(m_container->getAllFilesSize(), 0u);
    CongratulationsVC* congratulations = m_screen->congratulationsController();
    ASSERT_TRUE(congratulations);
    EXPECT_EQ(congratulations->removedSizeInCurrentSession(), 700u + 1000u);
    EXPECT_EQ(Settings::cleanedFileSize(), 1000u);
    EXPECT_FALSE(DuplicatesManager::sharedManager().removedSize().has_value())
        << "the result is over: nothing more is booked on it";
    EXPECT_FALSE(sheet(QStringLiteral("notRemovedReport")));
    expectEachGroupKeepsACopy();
}

TEST_F(RemovalRunTest, TheRunEndsAndBooksAfterThePanelIsGone) {
    makeGroups({{"a/one.txt", "b/one.txt"}, {"k/k.txt", "l/k.txt"}});
    select({"b/one.txt"});
    QPointer<SelectedFilesVC> panel = openPanel();
    holdAfter("b/one.txt");
    panel->removeButton()->click();
    ASSERT_TRUE(TestSupport::waitFor([&] { return reachedHold(); }, 20000));
    m_screen.reset(); // the results screen and its panel go while the run goes on
    EXPECT_FALSE(panel);
    release();
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));
    EXPECT_FALSE(exists("b/one.txt"));
    EXPECT_EQ(Settings::cleanedFileCount(), 1u);
    EXPECT_EQ(Settings::cleanedFileSize(), 1000u);
}

// A copy ticked in the copies table and removed from the review panel leaves the group
// list's badge, the copies table, the preview and the bottom bar in the same refresh; the
// copies left can still be ticked.
TEST_F(RemovalRunTest, ARemovedCopyLeavesEveryViewOfTheCategory) {
    makeGroups(
        {{"p/beach.jpg", "p/beach (1).jpg", "q/beach.jpg", "r/beach.jpg"}, {"k/k.txt", "l/k.txt"}});
    m_screen = std::make_unique<SelectDuplicatesVC>();
    m_screen->resize(1200, 713);
    m_screen->show();
    QApplication::setActiveWindow(m_screen.get());
    m_screen->duplicatesToolbar()->pressButtonForCategoryType(-1);
    ASSERT_TRUE(TestSupport::waitFor([&] { return m_screen->duplicateSelectionVC(); }));
    FileListVC* list = m_screen->fileListVC();
    DuplicateSelectionVC* table = m_screen->duplicateSelectionVC();
    const auto gone = item("p/beach (1).jpg");
    const auto group = gone->getGroup();
    list->selectRowByGroup(group);
    ASSERT_EQ(table->group(), group);
    ASSERT_EQ(table->rows().rowCount(), 4);

    // Focus and tick the copy from the table, as a user would.
    table->selectRowByItem(gone);
    const int row = table->getRowForFileItem(gone->getFileSystemItem());
    table->checkboxPressed(row, true);
    ASSERT_TRUE(gone->isSelected());
    QuickLookVC* preview = m_screen->quickLookVC();
    ASSERT_TRUE(TestSupport::waitFor([&] { return !preview->isLoading(); }));
    ASSERT_EQ(preview->path(), path("p/beach (1).jpg"));

    SelectedFilesVC* panel = nullptr;
    m_screen->openSelectedFilesView();
    panel = m_screen->selectedFilesVC();
    ASSERT_TRUE(TestSupport::waitFor([&] { return panel && !panel->animating(); }));
    panel->removeButton()->click();
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));
    ASSERT_FALSE(exists("p/beach (1).jpg"));
    ASSERT_TRUE(TestSupport::waitFor([&] { return !m_screen->selectedFilesVC(); }));
    TestSupport::spinFor(30);

    ASSERT_EQ(list->selectedGroup(), group);
    const GroupListEntry* entry = list->rows().entryAt(list->selectedRow());
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->count, 3u) << "the badge";
    ASSERT_EQ(table->group(), group);
    EXPECT_EQ(table->rows().rowCount(), 3);
    for (const auto& copy : table->duplicates()) {
        EXPECT_NE(copy, gone);
        EXPECT_TRUE(copy->getFileSystemItem());
    }
    for (int r = 0; r < table->rows().rowCount(); ++r) {
        EXPECT_FALSE(table->cellConfigurationForRow(r).path.isEmpty()) << "no blank row " << r;
        EXPECT_FALSE(table->cellConfigurationForRow(r).state) << r;
    }
    ASSERT_TRUE(table->selectedFile());
    EXPECT_NE(table->selectedFile()->path(), path("p/beach (1).jpg"));
    EXPECT_TRUE(table->selectedItem()) << "the focused row is one of the copies left";
    ASSERT_TRUE(TestSupport::waitFor([&] { return !preview->isLoading(); }));
    const QByteArray previewed = preview->path();
    EXPECT_NE(previewed, path("p/beach (1).jpg"));
    EXPECT_TRUE(QFile::exists(QFile::decodeName(previewed)));
    EXPECT_FALSE(m_screen->duplicatesBottombar()->selectedFilesLabel()->isVisible());

    // Ticking a copy left works, and its row keeps its path.
    table->checkboxPressed(0, true);
    EXPECT_TRUE(table->duplicates().front()->isSelected());
    TestSupport::spinFor(30);
    EXPECT_TRUE(table->cellConfigurationForRow(0).state);
    EXPECT_EQ(table->rows().rowCount(), 3);
    EXPECT_TRUE(m_screen->duplicatesBottombar()->selectedFilesLabel()->isVisible());
    EXPECT_EQ(m_screen->duplicatesBottombar()->selectedFilesLabel()->text(),
              QStringLiteral("1 file %1 selected")
                  .arg(FileSize::formatMemoryStringDot1(m_container->getRemoveListTotalSize())));
}

// A copy removed while the similar-folders view is on screen leaves the two-folder table.
TEST_F(RemovalRunTest, ARemovedCopyLeavesTheTwoFolderTable) {
    makeGroups({{"s/one/x.jpg", "s/two/x.jpg"},
                {"s/one/y.jpg", "s/two/y.jpg"},
                {"s/one/z.jpg", "s/two/z.jpg"}});
    m_screen = std::make_unique<SelectDuplicatesVC>();
    m_screen->resize(1200, 713);
    m_screen->show();
    QApplication::setActiveWindow(m_screen.get());
    m_screen->pressOverviewButton();
    m_screen->duplicatesToolbar()->heapsButtonPressed(m_screen->duplicatesToolbar()->heapsButton());
    HeapFilesSelectorVC* table = nullptr;
    ASSERT_TRUE(TestSupport::waitFor([&] {
        table = m_screen->heapFilesSelectorVC();
        return table && table->shownHeap() && table->rows().pairCount() == 3;
    }));
    const auto gone = item("s/two/x.jpg");
    select({"s/two/x.jpg"});

    m_screen->openSelectedFilesView();
    SelectedFilesVC* panel = m_screen->selectedFilesVC();
    ASSERT_TRUE(TestSupport::waitFor([&] { return panel && !panel->animating(); }));
    panel->removeButton()->click();
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));
    ASSERT_FALSE(exists("s/two/x.jpg"));
    ASSERT_TRUE(TestSupport::waitFor([&] {
        table = m_screen->heapFilesSelectorVC();
        return table && table->progressStartsCount() == 0 && table->shownHeap() &&
               table->rows().pairCount() == 2;
    })) << (table ? table->rows().pairCount() : -1);
    for (const HeapPairRow& row : table->rows().pairs()) {
        EXPECT_NE(row.left, gone);
        EXPECT_NE(row.right, gone);
    }
}

// Nothing else starts while a run goes on: Back and the view buttons wait for its end.
TEST_F(RemovalRunTest, TheToolbarWaitsForTheEndOfTheRun) {
    makeGroups({{"a/one.txt", "b/one.txt"}, {"a/two.txt", "b/two.txt"}});
    select({"b/one.txt", "b/two.txt"});
    SelectedFilesVC* panel = openPanel();
    DuplicateToolbarVC* toolbar = m_screen->duplicatesToolbar();
    ASSERT_TRUE(toolbar);
    toolbar->allFilesButton()->click();
    ASSERT_EQ(toolbar->selectedButton(), toolbar->allFilesButton());
    int backs = 0;
    NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("BackToInterimScreen"),
                                                    [&](const Notification&) { ++backs; });

    holdAfter("b/");
    panel->removeButton()->click();
    ASSERT_TRUE(TestSupport::waitFor([&] { return reachedHold(); }, 20000));
    EXPECT_FALSE(toolbar->backButton()->isEnabled());
    EXPECT_TRUE(toolbar->overviewButton()->disabled());
    for (int type = -1; type <= 6; ++type)
        EXPECT_TRUE(toolbar->categoryButton(type)->disabled()) << type;
    // Pressed anyway (a key, a menu): nothing happens.
    toolbar->backButtonPressed();
    toolbar->overviewButtonPressed(toolbar->overviewButton());
    // A refresh during the run (the container changed) leaves them disabled.
    toolbar->makeSelectedButton(toolbar->selectedButton());
    TestSupport::spinFor(20);
    EXPECT_FALSE(toolbar->backButton()->isEnabled());
    EXPECT_EQ(backs, 0);
    EXPECT_EQ(toolbar->selectedButton(), toolbar->allFilesButton());

    release();
    ASSERT_TRUE(TestSupport::waitFor(&RemovalRunTest::runEnded, 20000));
    EXPECT_TRUE(toolbar->backButton()->isEnabled());
    EXPECT_FALSE(toolbar->overviewButton()->disabled());
    EXPECT_FALSE(toolbar->categoryButton(-1)->disabled());
    toolbar->backButtonPressed();
    EXPECT_EQ(backs, 1);
    NotificationCenter::defaultCenter().removeObserver(this);
    expectEachGroupKeepsACopy();
}

} // namespace
