// The group list: All Files in each sort order, a search, the list without the focus, the
// quest mode with its closing row, one category and an empty list.
#include "Shots.h"

#include "Browser/Frame/CategoryStateManager.h"
#include "Browser/GroupList/FileListVC.h"
#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesContainer.h"
#include "Results/DuplicatesGroup.h"
#include "Results/DuplicatesManager.h"
#include "Toolkit/SearchTextField.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

// Groups of several kinds and sizes, none, some or all of their copies selected. The copies
// are nodes only: the list reads nothing from the disk.
struct GroupListShotFixture {
    QTemporaryDir dir;
    std::shared_ptr<ScanTree> tree = ScanTree::create();
    std::shared_ptr<DuplicatesContainer> container = DuplicatesContainer::create(false);
    VolumeSystemItem* root = nullptr;
    std::vector<FolderSystemItem*> folders;

    GroupListShotFixture() {
        root = VolumeSystemItem::initWithPath(*tree, QFile::encodeName(dir.path()), 0, 0);
        for (const char* name : {"Projects", "Backup", "Desktop old", "Mail", "Camera"})
            folders.push_back(
                FolderSystemItem::initWithPathSize(*tree, name, root, 0, false, 0, false, 0));
        add("budget report.xlsx", 54'000, 4, 1);
        add("IMG_2041.JPG", 3'400'000, 3, 0);
        add("beach.jpg", 2'100'000, 2, 2);
        add("holiday video.mov", 1'250'000'000, 2, 0);
        add("song.mp3", 8'600'000, 5, 2);
        add("README", 2'300, 3, 0);
        add("a rather long name of a document that does not fit the list.pdf", 640'000, 2, 0);
        add("archive.zip", 12'500'000'000, 2, 1);
        add("notes.txt", 900, 2, 0);
        // A folder group: two alike folders.
        FolderSystemItem* a = FolderSystemItem::initWithPathSize(*tree, "Photos 2021", folders[0],
                                                                 0, false, 0, false, 0);
        FolderSystemItem* b = FolderSystemItem::initWithPathSize(*tree, "Photos 2021", folders[1],
                                                                 0, false, 0, false, 0);
        for (FolderSystemItem* f : {a, b})
            FileSystemItem::initWithPathSize(*tree, "dune.png", f, 700'000, 0, false, 700'000);
        root->calctotalsize();
        container->addGroupWithItems({a, b});
        container->saveRoots({root});
        DuplicatesManager::sharedManager().setDuplicateContainer(container);
    }
    ~GroupListShotFixture() { DuplicatesManager::sharedManager().setDuplicateContainer(nullptr); }

    void add(QByteArrayView name, qint64 size, int copies, int selected) {
        QList<FileSystemItem*> nodes;
        for (int i = 0; i < copies; ++i)
            nodes << FileSystemItem::initWithPathSize(*tree, name, folders[std::size_t(i)], size, 0,
                                                      false, size);
        auto group = container->addGroupWithItems(nodes);
        if (!group)
            return;
        for (int i = 0; i < selected; ++i)
            group->getItems()[std::size_t(i)]->selectItemForced(true);
    }
};

} // namespace

SORVANTA_SHOT_AREA(grouplist) {
    const auto sortType = Settings::sortType();
    const auto direction = Settings::sortDirection();
    GroupListShotFixture fixture;
    CategoryStateManager::sharedManager().removeGategoryItems();
    const QSize size(365, 620);
    QWidget window;
    window.resize(size);
    auto* list = new FileListVC(&window);
    list->setGeometry(QRect(QPoint(), size));
    auto* elsewhere = new QPushButton(&window);
    elsewhere->setGeometry(0, 0, 1, 1);
    window.show();
    QApplication::setActiveWindow(&window);
    Settings::setSortDirection(Settings::SortDirectionDescending);
    Settings::setSortType(Settings::SortTypeSize);
    list->setDuplicatesGroupArrayType(-1);

    static const char* const kNames[] = {"size",  "total-size", "type", "name",
                                         "count", "selected",   "path"};
    for (int type = 0; type <= 6; ++type) {
        Settings::setSortType(static_cast<Settings::SortType>(type));
        list->updateSorting();
        list->makeTableViewActive();
        session.save(QStringLiteral("sort-%1").arg(QLatin1String(kNames[type])), &window);
    }
    Settings::setSortType(Settings::SortTypeType);
    Settings::setSortDirection(Settings::SortDirectionAscending);
    list->updateSorting();
    session.save(QStringLiteral("sort-type-ascending"), &window);

    Settings::setSortDirection(Settings::SortDirectionDescending);
    Settings::setSortType(Settings::SortTypeSize);
    list->searchTextField()->setText(QStringLiteral("jpg"));
    list->controlTextDidChange();
    list->makeSearchFieldActive();
    session.save(QStringLiteral("search"), &window);
    list->clearSearchTextPressed();
    elsewhere->setFocus();
    session.save(QStringLiteral("inactive"), &window);

    const auto groups = fixture.container->getAllFilesGroups();
    list->setDuplicatesGroupArrayWithType({groups[1], groups[4], groups[7]}, -1);
    list->makeTableViewActive();
    session.save(QStringLiteral("quest"), &window);

    list->setDuplicatesGroupArrayType(0);
    list->searchTextField()->setText(QStringLiteral("nothing like it"));
    list->controlTextDidChange();
    session.save(QStringLiteral("search-empty"), &window);
    list->setDuplicatesGroupArrayType(3);
    session.save(QStringLiteral("documents"), &window);
    // A category without groups shows its label.
    DuplicatesManager::sharedManager().setDuplicateContainer(nullptr);
    list->setDuplicatesGroupArrayType(1);
    session.save(QStringLiteral("empty"), &window);

    Settings::setSortType(sortType);
    Settings::setSortDirection(direction);
}
