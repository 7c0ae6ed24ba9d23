#include "BigResult.h"

#include "UiBench.h"

#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"
#include "Results/DuplicatesContainer.h"

#include <QList>

#include <array>
#include <vector>

namespace {

constexpr int kSubFolders = 50;
// Steps between the folders of one group's copies; with copies per group below
// folders / kFolderStride they never meet.
constexpr int kFolderStride = 7;
constexpr std::array<const char*, 6> kExtensions = {"jpg", "mov", "mp3", "txt", "zip", "bin"};

} // namespace

bool BigResultShape::parse(const QStringList& args) {
    bool ok = true;
    copies = UiBench::numberOption(args, QStringLiteral("--copies"), copies, ok);
    groups = UiBench::numberOption(args, QStringLiteral("--groups"), groups, ok);
    return ok && valid();
}

bool BigResultShape::valid() const {
    return groups > 0 && folders > 0 && copies >= 2 * groups &&
           copies / groups < folders / kFolderStride;
}

std::shared_ptr<DuplicatesContainer> buildBigResult(const BigResultShape& shape,
                                                    const QByteArray& rootPath) {
    auto tree = ScanTree::create();
    VolumeSystemItem* root = VolumeSystemItem::initWithPath(*tree, rootPath, 0, 0);
    const qint64 folderCount = shape.folders;
    std::vector<FolderSystemItem*> folders;
    folders.reserve(static_cast<std::size_t>(folderCount));
    for (int top = 0; qint64(folders.size()) < folderCount; ++top) {
        FolderSystemItem* parent = FolderSystemItem::initWithPathSize(
            *tree, QByteArray("d") + QByteArray::number(top), root, 0, false, 0, false, 0);
        for (int sub = 0; sub < kSubFolders && qint64(folders.size()) < folderCount; ++sub)
            folders.push_back(FolderSystemItem::initWithPathSize(
                *tree, QByteArray("e") + QByteArray::number(sub), parent, 0, false, 0, false, 0));
    }

    const qint64 base = shape.copies / shape.groups;
    const qint64 extra = shape.copies % shape.groups;
    std::vector<QList<FileSystemItem*>> members(static_cast<std::size_t>(shape.groups));
    for (qint64 g = 0; g < shape.groups; ++g) {
        const qint64 count = base + (g < extra ? 1 : 0);
        const QByteArray name = QByteArray("copy") + QByteArray::number(g) + '.' +
                                kExtensions[static_cast<std::size_t>(g) % kExtensions.size()];
        // Sizes from 10 kB to about 5 MB, spread so that sorting has work to do.
        const std::int64_t size = 10000 + (g * 7919) % 5000000;
        const std::int64_t onDisk = (size + 4095) / 4096 * 4096;
        QList<FileSystemItem*>& list = members[static_cast<std::size_t>(g)];
        list.reserve(count);
        for (qint64 c = 0; c < count; ++c) {
            FolderSystemItem* folder =
                folders[static_cast<std::size_t>((g + c * kFolderStride) % folderCount)];
            list.push_back(
                FileSystemItem::initWithPathSize(*tree, name, folder, onDisk, 0, false, size));
        }
    }
    root->calctotalsizeex();

    auto container = DuplicatesContainer::create(true);
    for (const QList<FileSystemItem*>& list : members)
        container->addGroupWithItems(list);
    container->saveRoots({root});
    container->validateEmptyDataAfterRemoveWithListener(nullptr);
    return container;
}
