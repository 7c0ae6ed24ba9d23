// Figures of the two-folder table and the two-circle view for `uibench results`, over a pair
// of folders of their own, written to disk as empty files: 20,000 shared pictures (every
// fourth one twice in the second folder) and 20,000 files of each folder's own.
//   two-folder rows         a heap chosen until its rows are grouped, built and painted
//   two-folder selection    one copy selected until every row and the band are redrawn
//   two-circle paint        one frame of the two circles with their labels
#include "UiBench.h"

#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "Browser/Similars/HeapView.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Platform/Dispatch.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesManager.h"
#include "Results/HeapsFolderData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {

constexpr int kShared = 20000;
constexpr int kOwn = 20000;

bool run() {
    QTemporaryDir scanned;
    if (!scanned.isValid())
        return false;
    auto tree = ScanTree::create();
    VolumeSystemItem* root =
        VolumeSystemItem::initWithPath(*tree, QFile::encodeName(scanned.path()), 0, 0);
    // The files exist on disk too, as after a scan: the table looks its copies up there.
    const QByteArray rootPath = QFile::encodeName(scanned.path());
    auto folder = [&](const char* name) {
        ::mkdir((rootPath + '/' + name).constData(), 0755);
        return FolderSystemItem::initWithPathSize(*tree, name, root, 0, false, 0, false, 0);
    };
    auto touch = [&](FolderSystemItem* parent, const QByteArray& fileName) {
        const int fd = ::open((parent->path() + '/' + fileName).constData(),
                              O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
    };
    FolderSystemItem* main = folder("Photos");
    FolderSystemItem* second = folder("Photos backup");
    std::vector<QList<FileSystemItem*>> groups(kShared);
    for (int g = 0; g < kShared; ++g) {
        const QByteArray name = "IMG_" + QByteArray::number(g) + ".jpg";
        const std::int64_t size = 100000 + g;
        auto file = [&](FolderSystemItem* parent, const QByteArray& fileName) {
            touch(parent, fileName);
            return FileSystemItem::initWithPathSize(*tree, fileName, parent, size, 0, false, size);
        };
        groups[std::size_t(g)] << file(main, name) << file(second, name);
        if (g % 4 == 0)
            groups[std::size_t(g)] << file(second, "copy of " + name);
    }
    for (int i = 0; i < kOwn; ++i) {
        const QByteArray name = "own" + QByteArray::number(i) + ".txt";
        touch(main, name);
        touch(second, name);
        FileSystemItem::initWithPathSize(*tree, name, main, 1000, 0, false, 1000);
        FileSystemItem::initWithPathSize(*tree, name, second, 1000, 0, false, 1000);
    }
    root->calctotalsizeex();
    auto container = DuplicatesContainer::create(false);
    for (const auto& list : groups)
        container->addGroupWithItems(list);
    container->saveRoots({root});
    DuplicatesManager::sharedManager().setDuplicateContainer(container);
    auto heap = std::make_shared<DuplicatesHeap>(std::make_shared<HeapsFolderData>(main),
                                                 std::make_shared<HeapsFolderData>(second));
    std::printf("two-folder copies: %zu\n", heap->getDuplicateItems().size());

    HeapFilesSelectorVC table;
    table.resize(900, 600);
    table.show();
    UiBench::settle(&table);
    QElapsedTimer timer;
    timer.start();
    table.setHeap(heap);
    while (table.progressStartsCount() > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    UiBench::settle(&table);
    UiBench::printFigure("two-folder rows", timer.elapsed());
    if (table.rows().pairCount() != kShared + kShared / 4 || table.rows().otherCount() != kOwn) {
        std::printf("two-folder rows: unexpected row counts\n");
        return false;
    }

    timer.restart();
    main->childrenArray()[0]->getDuplicateItem()->selectItemForced(false);
    UiBench::settle(&table);
    UiBench::printFigure("two-folder selection", timer.elapsed());

    HeapView view;
    view.setDuplicatesHeap(heap);
    view.resize(900, 240);
    view.show();
    UiBench::settle(&view);
    constexpr int kFrames = 20;
    timer.restart();
    for (int i = 0; i < kFrames; ++i)
        view.repaint();
    UiBench::printFigure("two-circle paint", timer.elapsed() / kFrames);

    table.setHeap(nullptr);
    Dispatch::waitUntilIdle(10000);
    DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
    return true;
}

const UiBench::ResultsFigure figure("two-folder table", &run);

} // namespace
