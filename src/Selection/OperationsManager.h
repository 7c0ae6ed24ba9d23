#pragma once

#include <QByteArray>

#include <memory>
#include <vector>

class AutoSelectManager;
class DuplicateItem;
class DuplicatesGroup;
class FolderSystemItem;

// The selection commands of the results browser on the current result (the result
// manager's container): automatic selection, selecting any copies (force selection),
// selecting or keeping every copy in a folder, excluding a folder from the result and
// removing a group from the list.
//
// Every selection goes through the last-copy guard (never forced), so no command here ever
// selects the last unselected copy of a group; a copy below a never-select folder is never
// selected by the force rules. Each command that selects or deselects several copies runs
// inside one selection batch, so one "DuplicateItemSelectionChangedNotification" goes out.
//
// Holds no state. Main thread only: the selection batch is process-wide.
class OperationsManager final {
public:
    using Items = std::vector<std::shared_ptr<DuplicateItem>>;
    using Groups = std::vector<std::shared_ptr<DuplicatesGroup>>;

    // Takes the group's copies out of the result (no file is touched), then the container's
    // clean-up, which announces the change.
    void removeGroupFromDuplicatesList(const std::shared_ptr<DuplicatesGroup>& group);
    // Selects the automatic proposal of the groups.
    void performAutoSelectForGroups(const Groups& groups);
    // The folder at `path` (given with or without a final "/"): select every copy lying
    // directly in it, or keep them and select their groups' other copies. Nothing when the
    // path names no folder of the result.
    void selectForRemoveAllDuplicatesInFolderWithPath(const QByteArray& path);
    void keepAllDuplicatesInFolderWithPath(const QByteArray& path);
    // Takes every copy at or below `path` out of the result, then the container's clean-up.
    void excludeItemsInFolderWithPath(const QByteArray& path);
    // "Add to Skip List": `path` joins the skip list of files or of folders (once), and every
    // copy at or below it leaves the result. Whether it is a file is the caller's knowledge of
    // the item, never a guess from its name.
    void addToSkipListAndExclude(const QByteArray& path, bool isFile);

    // Selects the copies lying directly in `folder`; where that would select every copy of a
    // group, the force rules choose which one stays.
    void selectForRemoveAllDuplicatesInFolder(FolderSystemItem* folder);
    // Deselects the copies lying directly in `folder` and selects their groups' other copies.
    void keepAllDuplicatesInFolder(FolderSystemItem* folder);

    // Selects all copies but one in each group, in one batch.
    void performForceSelectForGroups(const Groups& groups);
    // Selects all but one of the copies of one group: by names and folder rules first, then
    // keeping the oldest, then the shallowest, then the first.
    void performForceSelectForItems(const Items& items);

    // The steps of the force selection, each on `items` (copies of one group) with a manager
    // whose rules are loaded. The first answers whether it already did the whole work: when
    // some copy of the group stays unselected anyway, every other copy of the list goes.
    bool trySelectAllPossibleDuplicatesFromItemsUsingPreparedAutoSelectManager(
        const Items& items, const AutoSelectManager& manager);
    void
    selectOldestDuplicatesFromItemsUsingPreparedAutoSelectManager(const Items& items,
                                                                  const AutoSelectManager& manager);
    void selectAllWithNotMinimalLevelInArrayUsingPreparedAutoSelectManager(
        const Items& items, const AutoSelectManager& manager);
    void
    selectAllButNotFirstInArrayUsingPreparedAutoSelectManager(const Items& items,
                                                              const AutoSelectManager& manager);
};
