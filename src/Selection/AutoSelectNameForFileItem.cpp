#include "FileTree/FileSystemItem.h"
#include "Selection/AutoSelectName.h"

std::unique_ptr<AutoSelectName>
AutoSelectName::buildAutoSelectNameForFileItem(FileSystemItem* item) {
    if (!item)
        return nullptr;
    const bool removeExtension = !item->isDir() || item->isPackage();
    return buildAutoSelectNameForNodeName(item->name(), item->parent() == nullptr, removeExtension);
}
