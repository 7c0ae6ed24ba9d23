#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class AutoSelectName;
class DuplicateItem;
class DuplicatesGroup;
class FileSystemItem;

// The verdict of the user's always and never folders for a path.
using AutoSelectChoice = std::int32_t;
inline constexpr AutoSelectChoice kAutoSelectChoiceNone = 0;
inline constexpr AutoSelectChoice kAutoSelectChoiceAlways = 1; // proposed for removal
inline constexpr AutoSelectChoice kAutoSelectChoiceNever = 2;

// One copy as a computation sees it. On the main thread it is read from the live copy just
// before the computation; the overview calculations take it on the main thread and compute
// on a worker, so nothing here is read from the live model while they run.
struct AutoSelectInput {
    std::shared_ptr<DuplicateItem> item;
    FileSystemItem* node = nullptr; // the copy's node; null once the copy left its group
    QByteArray path;                // the copy's full path, for the folder rules
    bool hasAssociatedDuplicateFolder = false;

    static AutoSelectInput fromItem(const std::shared_ptr<DuplicateItem>& item);
};

// The parsed name of a node, or null. Nodes are immutable in name and parent for the life of
// their tree, so a lookup that never builds (a prepared table) is safe off the main thread.
using AutoSelectNameLookup = std::function<const AutoSelectName*(FileSystemItem*)>;

// Automatic selection: proposes, for each duplicate group, the copies that can go. Copies
// below an always folder are proposed, copies below a never folder never are, and among the
// rest a copy is proposed when another copy with the same core name looks less like a copy;
// ties are broken by the names of the containing folders, one level up at a time. A copy
// inside a duplicate folder is never proposed (it follows its folder). The computation only
// proposes; it changes no selection.
//
// Each computation reloads the rule lists into this object and keeps every other piece of
// its state (which copy a shared folder name stands for, the working sets) in locals, so two
// managers may compute at the same time on different threads. One manager computes on one
// thread at a time: the result manager's own one on the main thread, the overview
// calculations each with a manager of their own.
class AutoSelectManager final {
public:
    using Items = std::vector<std::shared_ptr<DuplicateItem>>;

    // Reloads the rules and answers the union of the proposals for each group's copies, in
    // group order and, within a group, in the group's copy order. Main thread.
    Items getDuplicateItemsForAutoSelectFromGroups(
        const std::vector<std::shared_ptr<DuplicatesGroup>>& groups);
    // Reloads the rules and answers the proposal for these copies, all of one group.
    Items getDuplicateItemsForAutoSelectFromItems(const Items& items);

    // The computation on prepared copies (one list per group) with a name lookup. Does not
    // reload the rules: call prepareForStartByLoadingLatestUserSettings (or setRules) first.
    // Runs on the caller's thread and touches nothing but `groups`, the nodes' names and
    // parents (through `names`) and this manager's rules.
    Items proposeForPreparedGroups(const std::vector<std::vector<AutoSelectInput>>& groups,
                                   const AutoSelectNameLookup& names) const;

    // Reloads both rule lists from the settings store and prepares them. Any thread.
    void prepareForStartByLoadingLatestUserSettings();
    // Takes and prepares the given lists (paths as the user typed them).
    void setRules(const QStringList& alwaysSelectPaths, const QStringList& neverSelectPaths);

    // Prepares one list: drops entries shorter than 2 characters, ends every other entry
    // with "/" so that it matches only below its folder, longest first. Paths become the
    // bytes a scanned path is made of (UTF-8).
    static QList<QByteArray> preparePathsArrayToUse(const QStringList& paths);
    // The length of the longest entry that is longer than `limit` and a prefix of `path`,
    // or -1.
    static std::int64_t getMaxPrefixLenOfPathFromPrefixsArrayWithLenBiggerThan(
        const QByteArray& path, const QList<QByteArray>& prefixes, std::int64_t limit);
    // The deepest matching folder decides; a folder in both lists counts as always.
    AutoSelectChoice getChoiceUsingUserAutoSelectPathsForPath(const QByteArray& path) const;

    const QList<QByteArray>& alwaysSelectPaths() const { return m_arrAlwaysSelectPaths; }
    const QList<QByteArray>& neverSelectPaths() const { return m_arrNeverSelectPaths; }

    // The node's parsed name, built on first use and kept by the node. Main thread (or the
    // thread that owns the tree at the moment).
    static const AutoSelectName* nameOfNode(FileSystemItem* node);

private:
    QList<QByteArray> m_arrAlwaysSelectPaths;
    QList<QByteArray> m_arrNeverSelectPaths;
};
