// The two-folder table with shared copies, the folder band and unique files, and the
// two-circle picture of the same pair of folders.
#include "Shots.h"

#include "Browser/Similars/HeapFilesSelectorVC.h"
#include "Browser/Similars/HeapView.h"
#include "Categories/Settings.h"
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
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

// "Photos 2021" and "Photos backup" share three pictures (the backup holds one of them
// twice); each has files of its own, the main folder a subfolder too.
struct TwoFolderFixture {
    QTemporaryDir dir;
    std::shared_ptr<ScanTree> tree = ScanTree::create();
    std::shared_ptr<DuplicatesContainer> container = DuplicatesContainer::create(false);
    VolumeSystemItem* root = nullptr;
    FolderSystemItem *main = nullptr, *second = nullptr;
    FileSystemItem *mainBeach = nullptr, *mainNotes = nullptr;
    std::shared_ptr<DuplicatesHeap> heap;

    TwoFolderFixture() {
        root = VolumeSystemItem::initWithPath(*tree, QFile::encodeName(dir.path()), 0, 0);
        main = folder(root, "Photos 2021");
        second = folder(root, "Photos backup");
        mainBeach = file(main, "beach.jpg", 4'200'000, 'b');
        FileSystemItem* secondBeach = file(second, "beach.jpg", 4'200'000, 'b');
        FileSystemItem* secondBeach2 = file(second, "beach (1).jpg", 4'200'000, 'b');
        FileSystemItem* mainDunes = file(main, "Dunes at dusk.jpg", 2'600'000, 'd');
        FileSystemItem* secondDunes = file(second, "Dunes at dusk.jpg", 2'600'000, 'd');
        FileSystemItem* mainSunset = file(main, "sunset.jpg", 3'100'000, 's');
        FileSystemItem* secondSunset = file(second, "sunset.jpg", 3'100'000, 's');
        mainNotes = file(main, "notes.txt", 12'000, 'n');
        FolderSystemItem* raw = folder(main, "raw");
        file(raw, "IMG_0001.CR2", 24'000'000, 'r');
        file(second, "cover.png", 880'000, 'c');
        file(second, "album.pdf", 1'500'000, 'a');
        root->calctotalsize();
        container->addGroupWithItems({mainBeach, secondBeach, secondBeach2});
        container->addGroupWithItems({mainDunes, secondDunes});
        container->addGroupWithItems({mainSunset, secondSunset});
        container->saveRoots({root});
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
        heap = std::make_shared<DuplicatesHeap>(std::make_shared<HeapsFolderData>(main),
                                                std::make_shared<HeapsFolderData>(second));
    }
    ~TwoFolderFixture() { DuplicatesManager::sharedManager().setDuplicateContainer(nullptr); }

    FolderSystemItem* folder(FolderSystemItem* parent, QByteArrayView name) {
        FolderSystemItem* node =
            FolderSystemItem::initWithPathSize(*tree, name, parent, 0, false, 0, false, 0);
        ::mkdir(node->path().constData(), 0755);
        return node;
    }
    FileSystemItem* file(FolderSystemItem* parent, QByteArrayView name, int size, char fill) {
        FileSystemItem* node =
            FileSystemItem::initWithPathSize(*tree, name, parent, size, 0, false, size);
        QFile out(QFile::decodeName(node->path()));
        if (out.open(QIODevice::WriteOnly))
            out.write(QByteArray(std::min(size, 4096), fill));
        node->setIsCheckedForDuplicates(true);
        return node;
    }
};

} // namespace

SORVANTA_SHOT_AREA(twofolder) {
    const bool allowed = Settings::allowRemovingAllDuplicateCopies();
    Settings::setAllowRemovingAllDuplicateCopies(false);
    TwoFolderFixture fixture;
    {
        const QSize size(820, 420);
        HeapFilesSelectorVC vc;
        vc.resize(size);
        vc.show();
        QApplication::setActiveWindow(&vc);
        vc.setHeap(fixture.heap);
        Dispatch::waitUntilIdle(5000);
        session.save(QStringLiteral("table"), &vc, size);
        vc.tableviewHeaps()->setFocus();
        vc.downKeyPressed(false);
        fixture.mainBeach->getDuplicateItem()->selectItemForced(false);
        QCoreApplication::processEvents();
        vc.reloadData();
        session.save(QStringLiteral("table-group-selected"), &vc, size);
        vc.scrollToUniqueFilesAndSelectLeftItem(true);
        session.save(QStringLiteral("table-unique-selected"), &vc, size);
        fixture.mainBeach->getDuplicateItem()->deselectItem();
        QCoreApplication::processEvents();
    }
    {
        HeapView view;
        view.setDuplicatesHeap(fixture.heap);
        view.show();
        session.save(QStringLiteral("circles"), &view, QSize(820, 240));
        session.save(QStringLiteral("circles-narrow"), &view, QSize(500, 200));
        // The pane of a small window: the circles give up room before a label is cut.
        session.save(QStringLiteral("circles-tight"), &view, QSize(380, 200));
    }
    Settings::setAllowRemovingAllDuplicateCopies(allowed);
}
