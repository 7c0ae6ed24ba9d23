// The copies table: plain copies, the last copy under the guard, copies inside duplicate
// folders, a folder group with its similar folders, and the allow-all-copies popup.
#include "Shots.h"

#include "Browser/Common/AllowRemovingAllCopiesWC.h"
#include "Browser/Copies/DuplicateSelectionVC.h"
#include "Browser/Frame/CategoryStateManager.h"
#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesHeap.h"
#include "Results/DuplicatesManager.h"
#include "Results/HeapsFolderData.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/time.h>

namespace {

// A scanned tree of real files: x.txt four times, folders P and Q alike with R sharing
// two of their files, E holding one more p.txt.
struct CopiesFixture {
    QTemporaryDir dir;
    std::shared_ptr<ScanTree> tree = ScanTree::create();
    std::shared_ptr<DuplicatesContainer> container = DuplicatesContainer::create(false);
    VolumeSystemItem* root = nullptr;
    std::vector<FileSystemItem*> x;
    FolderSystemItem *p = nullptr, *q = nullptr, *r = nullptr;
    FileSystemItem *ep = nullptr, *pq = nullptr;

    CopiesFixture() {
        root = VolumeSystemItem::initWithPath(*tree, QFile::encodeName(dir.path()), 0, 0);
        long date = 1700000000;
        for (const char* name : {"Projects", "Backup.2019", "Desktop old", "Mail"}) {
            x.push_back(file(folder(root, name), "budget report.xlsx", 5400, 'x', date));
            date += 86400 * 3;
        }
        p = folder(root, "Photos 2021");
        q = folder(root, "Photos 2021 copy");
        r = folder(root, "Holiday");
        FolderSystemItem* e = folder(root, "Inbox");
        FileSystemItem* pp = file(p, "beach.jpg", 1500, 'p', date);
        FileSystemItem* qp = file(q, "beach.jpg", 1500, 'p', date);
        FileSystemItem* rp = file(r, "beach.jpg", 1500, 'p', date);
        ep = file(e, "beach.jpg", 1500, 'p', date);
        pq = file(p, "sunset.jpg", 900, 'q', date);
        FileSystemItem* qq = file(q, "sunset.jpg", 900, 'q', date);
        FileSystemItem* pt = file(p, "dunes.jpg", 2500, 't', date);
        FileSystemItem* qt = file(q, "dunes.jpg", 2500, 't', date);
        FileSystemItem* rt = file(r, "dunes.jpg", 2500, 't', date);
        root->calctotalsize();
        container->addGroupWithItems({x.begin(), x.end()});
        container->addGroupWithItems({ep, pp, qp, rp});
        container->addGroupWithItems({pq, qq});
        container->addGroupWithItems({pt, qt, rt});
        container->addGroupWithItems({p, q});
        container->saveRoots({root});
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
    }
    ~CopiesFixture() { DuplicatesManager::sharedManager().setDuplicateContainer(nullptr); }

    FolderSystemItem* folder(FolderSystemItem* parent, QByteArrayView name) {
        FolderSystemItem* node =
            FolderSystemItem::initWithPathSize(*tree, name, parent, 0, false, 0, false, 0);
        ::mkdir(node->path().constData(), 0755);
        return node;
    }
    FileSystemItem* file(FolderSystemItem* parent, QByteArrayView name, int size, char fill,
                         long date) {
        FileSystemItem* node =
            FileSystemItem::initWithPathSize(*tree, name, parent, size, 0, false, size);
        QFile out(QFile::decodeName(node->path()));
        if (out.open(QIODevice::WriteOnly))
            out.write(QByteArray(size, fill));
        out.close();
        const timeval times[2] = {{date, 0}, {date, 0}};
        ::utimes(node->path().constData(), times);
        node->setIsCheckedForDuplicates(true);
        return node;
    }
};

std::unique_ptr<DuplicateSelectionVC> table(const FileSystemItem* member) {
    CategoryStateManager::sharedManager().removeGategoryItems();
    auto vc = std::make_unique<DuplicateSelectionVC>();
    vc->setDuplicateType(-1);
    vc->resize(760, 300);
    vc->show();
    QApplication::setActiveWindow(vc.get());
    vc->loadGroup(member->getDuplicateItem()->getGroup());
    vc->tableviewDuplicates()->setFocus();
    vc->reloadData();
    return vc;
}

} // namespace

SORVANTA_SHOT_AREA(copies) {
    const bool allowed = Settings::allowRemovingAllDuplicateCopies();
    Settings::setAllowRemovingAllDuplicateCopies(false);
    CopiesFixture fixture;
    const QSize size(760, 300);
    {
        fixture.x[1]->getDuplicateItem()->selectItemForced(false);
        auto vc = table(fixture.x[0]);
        session.save(QStringLiteral("plain"), vc.get(), size);
        fixture.x[2]->getDuplicateItem()->selectItemForced(false);
        fixture.x[3]->getDuplicateItem()->selectItemForced(false);
        vc->reloadData();
        session.save(QStringLiteral("last-copy"), vc.get(), size);
        Settings::setAllowRemovingAllDuplicateCopies(true);
        vc->reloadData();
        session.save(QStringLiteral("last-copy-allowed"), vc.get(), size);
        Settings::setAllowRemovingAllDuplicateCopies(false);
        DuplicatesGroup::BeginSelectionGroup();
        for (auto* node : fixture.x)
            node->getDuplicateItem()->deselectItem();
        DuplicatesGroup::EndSelectionGroup();
    }
    {
        auto vc = table(fixture.ep);
        session.save(QStringLiteral("locked"), vc.get(), size);
        fixture.p->getDuplicateItem()->selectItemForced(false);
        vc->reloadData();
        session.save(QStringLiteral("locked-folder-selected"), vc.get(), size);
        fixture.p->getDuplicateItem()->deselectItem();
    }
    {
        auto vc = table(fixture.pq);
        session.save(QStringLiteral("all-locked"), vc.get(), size);
    }
    {
        auto vc = table(fixture.p);
        vc->showFolderHeaps(
            {std::make_shared<DuplicatesHeap>(std::make_shared<HeapsFolderData>(fixture.p),
                                              std::make_shared<HeapsFolderData>(fixture.r))});
        session.save(QStringLiteral("similar-collapsed"), vc.get(), size);
        vc->showSimilarPressed();
        session.save(QStringLiteral("similar-expanded"), vc.get(), size);
    }
    {
        auto vc = table(fixture.x[0]);
        AllowRemovingAllCopiesWC::showControllerAtPosition(QPointF(200, 400), vc.get());
        AllowRemovingAllCopiesWC* popup = AllowRemovingAllCopiesWC::sharedController();
        session.save(QStringLiteral("allow-all-popup"), popup);
        popup->close();
    }
    Settings::setAllowRemovingAllDuplicateCopies(allowed);
}
