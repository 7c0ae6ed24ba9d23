// The review-and-remove panel over the results screen: with a selection (a highlighted row,
// a group's last copy, a copy gone from disk), during a run, and after it.
#include "Shots.h"

#include "Browser/Frame/SelectDuplicatesVC.h"
#include "Browser/Review/RemovalSession.h"
#include "Browser/Review/SelectedFilesVC.h"
#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesManager.h"
#include "Screens/ProgressBarRemover.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTableView>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/time.h>

namespace {

// Real files in a temporary folder: a few groups of pictures, documents and a folder pair.
struct ReviewFixture {
    QTemporaryDir dir;
    std::shared_ptr<ScanTree> tree = ScanTree::create();
    std::shared_ptr<DuplicatesContainer> container = DuplicatesContainer::create(false);
    VolumeSystemItem* root = nullptr;
    std::vector<std::vector<FileSystemItem*>> groups;

    ReviewFixture() {
        root = VolumeSystemItem::initWithPath(*tree, QFile::encodeName(dir.path()), 0, 0);
        const char* folders[] = {"Pictures", "Backup 2019", "Desktop old"};
        const struct {
            const char* name;
            int size;
            int copies;
        } files[] = {{"Photo 10.jpg", 2480000, 3},   {"Photo 2.jpg", 1830000, 2},
                     {"album cover.png", 640000, 2}, {"Tax return 2021.pdf", 312000, 3},
                     {"notes.txt", 2500, 2},         {"holiday.mov", 48200000, 2}};
        char fill = 'a';
        long date = 1700000000;
        for (const auto& f : files) {
            std::vector<FileSystemItem*> copies;
            for (int i = 0; i < f.copies; ++i)
                copies.push_back(file(folder(folders[i]), f.name, f.size, fill, date + i * 86400));
            groups.push_back(copies);
            ++fill;
        }
        root->calctotalsize();
        for (const auto& copies : groups)
            container->addGroupWithItems(QList<FileSystemItem*>(copies.begin(), copies.end()));
        container->saveRoots({root});
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
        // All but the first copy of each group selected; the three-copy groups keep one.
        for (const auto& copies : groups)
            for (std::size_t i = 1; i < copies.size(); ++i)
                copies[i]->getDuplicateItem()->selectItemForced(false);
    }
    ~ReviewFixture() { DuplicatesManager::sharedManager().setDuplicateContainer(nullptr); }

    FolderSystemItem* folder(const char* name) {
        if (FileSystemItem* existing = root->childWithName(QByteArrayView(name)))
            return static_cast<FolderSystemItem*>(existing);
        FolderSystemItem* node =
            FolderSystemItem::initWithPathSize(*tree, name, root, 0, false, 0, false, 0);
        ::mkdir(node->path().constData(), 0755);
        return node;
    }
    FileSystemItem* file(FolderSystemItem* parent, const char* name, int size, char fill,
                         long date) {
        FileSystemItem* node =
            FileSystemItem::initWithPathSize(*tree, name, parent, size, 0, false, size);
        QFile out(QFile::decodeName(node->path()));
        if (out.open(QIODevice::WriteOnly))
            out.write(QByteArray(size, fill));
        out.close();
        const timeval times[2] = {{date, 0}, {date, 0}};
        ::utimes(node->path().constData(), times);
        return node;
    }
};

} // namespace

SORVANTA_SHOT_AREA(review) {
    const auto sortType = Settings::sortType();
    const auto sortDirection = Settings::sortDirection();
    Settings::setSortType(Settings::SortTypeSize);
    Settings::setSortDirection(Settings::SortDirectionDescending);
    AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
    ReviewFixture fixture;
    const QSize size(1100, 700);
    {
        SelectDuplicatesVC screen;
        screen.resize(size);
        screen.show();
        QApplication::setActiveWindow(&screen);
        screen.openSelectedFilesView();
        AnimationClock::instance().flush();
        QApplication::processEvents();
        SelectedFilesVC* panel = screen.selectedFilesVC();
        session.save(QStringLiteral("selection"), &screen, size);

        // A highlighted row, an unchecked copy that is now its group's last one, a copy that
        // left the disk.
        panel->setSelectedDuplicateIndex(1);
        fixture.groups[3][1]->getDuplicateItem()->deselectItem();
        fixture.groups[3][0]->getDuplicateItem()->selectItemForced(false);
        QFile::remove(QFile::decodeName(fixture.groups[5][1]->path()));
        panel->reloadTable();
        // The pointer over the third row shows its button to the file manager.
        QTableView* table = panel->tableViewSelectedFiles();
        const QRect third = table->visualRect(table->model()->index(2, 0));
        QMouseEvent move(QEvent::MouseMove, QPointF(third.center()),
                         table->viewport()->mapToGlobal(QPointF(third.center())), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCursor::setPos(table->viewport()->mapToGlobal(third.center()));
        QApplication::sendEvent(table->viewport(), &move);
        session.save(QStringLiteral("highlight-last-copy-gone"), &screen, size);

        // During a run: the panel as the run shows it, two copies done of the list.
        // The toolbar waits for the run's end, as the run's session has it.
        screen.duplicatesToolbar()->setRemoveIsOn(true);
        panel->removalDidStart();
        const auto& list = panel->removeList();
        panel->removalDidRemoveItems({list.front()}, 0.4f);
        // The bar glides there one tick per turn of the event loop.
        for (int tick = 0; tick < 2 * ProgressBarRemover::kSteps; ++tick)
            QApplication::processEvents();
        session.save(QStringLiteral("running"), &screen, size);

        panel->removalDidFinish(48200000);
        screen.duplicatesToolbar()->setRemoveIsOn(false);
        session.save(QStringLiteral("cleaned"), &screen, size);
    }
    {
        // The report of a real run that kept two copies for the last-copy guard: their only
        // other copies left the disk after the scan, so nothing is moved anywhere.
        ReviewFixture guarded;
        SelectDuplicatesVC screen;
        screen.resize(size);
        screen.show();
        QApplication::setActiveWindow(&screen);
        RemovalSession::Items items;
        for (const std::size_t group : {std::size_t(1), std::size_t(2)}) {
            QFile::remove(QFile::decodeName(guarded.groups[group][0]->path()));
            items.push_back(guarded.groups[group][1]->getDuplicateItem()->shared_from_this());
        }
        RemovalSession::start(items, true, nullptr, &screen, &screen);
        QMessageBox* report = nullptr;
        QElapsedTimer waited;
        waited.start();
        while (!report && waited.elapsed() < 10000) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            if (!RemovalSession::current())
                report = screen.findChild<QMessageBox*>(QStringLiteral("notRemovedReport"));
        }
        if (report)
            session.save(QStringLiteral("report-no-other-copy"), report);
    }
    AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    Settings::setSortType(sortType);
    Settings::setSortDirection(sortDirection);
}
