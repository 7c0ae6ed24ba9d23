#include "Selection/AutoSelectManager.h"

#include "Categories/Settings.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "Results/DuplicateItem.h"
#include "Results/DuplicatesGroup.h"
#include "Selection/AutoSelectName.h"

#include <QFile>

#include <algorithm>
#include <unordered_map>

namespace {

// One copy during a computation: its input and the verdict so far. A never verdict is final.
struct AutoSelectItem {
    const AutoSelectInput* input = nullptr;
    AutoSelectChoice choice = kAutoSelectChoiceNone;
    bool inSelection = false;

    void setChoice(AutoSelectChoice newChoice) {
        if (choice != kAutoSelectChoiceNever)
            choice = newChoice;
    }
};

// The computation for one group. Which copy a shared folder name stands for at a depth is
// kept in the computation's own table, never in the shared name records.
class AutoSelectGroupSeparator final {
public:
    AutoSelectGroupSeparator(const std::vector<AutoSelectInput>& inputs,
                             const AutoSelectNameLookup& names)
        : m_inputs(inputs), m_names(names) {}

    void separateItemsUsingManager(const AutoSelectManager& manager,
                                   AutoSelectManager::Items& out) {
        m_items.resize(m_inputs.size());
        std::vector<std::size_t> rest;
        for (std::size_t i = 0; i < m_inputs.size(); ++i) {
            AutoSelectItem& item = m_items[i];
            item.input = &m_inputs[i];
            item.setChoice(manager.getChoiceUsingUserAutoSelectPathsForPath(m_inputs[i].path));
            if (item.choice == kAutoSelectChoiceAlways)
                item.inSelection = true;
            else
                rest.push_back(i);
        }
        // Every copy lies under an always folder: the rules say nothing for this group, so
        // the names decide alone.
        if (rest.empty()) {
            for (std::size_t i = 0; i < m_items.size(); ++i) {
                m_items[i] = AutoSelectItem{&m_inputs[i], kAutoSelectChoiceNone, false};
                rest.push_back(i);
            }
        }
        selectUsingPathItemsWithDeep(rest, 1);
        prepareResult(out);
    }

private:
    // Depth 1 is the copy's own node, depth 2 its folder, and so on; null above the root.
    FileSystemItem* getComponentWithIndex(const AutoSelectItem& item, unsigned depth) const {
        FileSystemItem* node = item.input->node;
        for (unsigned d = 1; node && d < depth; ++d)
            node = node->parent();
        return node;
    }

    struct Bucket {
        // Nodes in the order they were first met; each stands for the copy written last.
        std::vector<FileSystemItem*> nodes;
    };

    void selectUsingPathItemsWithDeep(const std::vector<std::size_t>& items, unsigned depth) {
        // The copy each node stands for at this depth: two copies under one folder share the
        // folder's record, and only the one written last takes part.
        std::unordered_map<FileSystemItem*, std::size_t> writer;
        QHash<QString, Bucket> buckets;
        QList<QString> order;
        for (std::size_t index : items) {
            FileSystemItem* node = getComponentWithIndex(m_items[index], depth);
            if (!node)
                continue;
            const AutoSelectName* name = m_names(node);
            if (!name)
                continue;
            auto [it, inserted] = writer.insert_or_assign(node, index);
            if (!inserted)
                continue; // already bucketed; it now stands for this copy
            auto bucket = buckets.find(name->getCoreName());
            if (bucket == buckets.end()) {
                bucket = buckets.insert(name->getCoreName(), Bucket{});
                order.append(name->getCoreName());
            }
            bucket->nodes.push_back(node);
        }
        for (const QString& core : order)
            selectItemsInBucketWithDeep(buckets.value(core), writer, depth);
    }

    void selectItemsInBucketWithDeep(const Bucket& bucket,
                                     const std::unordered_map<FileSystemItem*, std::size_t>& writer,
                                     unsigned depth) {
        const AutoSelectName* best = nullptr;
        std::vector<std::size_t> tied;
        std::vector<std::size_t> losers;
        for (FileSystemItem* node : bucket.nodes) {
            const AutoSelectName* name = m_names(node);
            const std::size_t item = writer.at(node);
            const int order = best ? best->compareWithSelectName(*name) : 1;
            if (order == 0) {
                tied.push_back(item);
            } else if (order < 0) {
                losers.push_back(item);
            } else {
                losers.insert(losers.end(), tied.begin(), tied.end());
                best = name;
                tied.assign(1, item);
            }
        }
        for (std::size_t index : losers) {
            AutoSelectItem& item = m_items[index];
            if (item.choice == kAutoSelectChoiceNone) {
                item.setChoice(kAutoSelectChoiceAlways);
                item.inSelection = true;
            }
        }
        if (tied.size() >= 2)
            selectUsingPathItemsWithDeep(tied, depth + 1);
    }

    // The proposal: the chosen copies, except those that follow a duplicate folder.
    void prepareResult(AutoSelectManager::Items& out) {
        for (const AutoSelectItem& item : m_items) {
            if (item.inSelection && !item.input->hasAssociatedDuplicateFolder && item.input->item)
                out.push_back(item.input->item);
        }
        m_items.clear();
    }

    const std::vector<AutoSelectInput>& m_inputs;
    const AutoSelectNameLookup& m_names;
    std::vector<AutoSelectItem> m_items;
};

} // namespace

AutoSelectInput AutoSelectInput::fromItem(const std::shared_ptr<DuplicateItem>& item) {
    AutoSelectInput input;
    input.item = item;
    if (item) {
        input.node = item->getFileSystemItem();
        input.path = item->getFileItemPath();
        input.hasAssociatedDuplicateFolder = item->hasAssociatedDuplicateFolder();
    }
    return input;
}

AutoSelectManager::Items AutoSelectManager::getDuplicateItemsForAutoSelectFromGroups(
    const std::vector<std::shared_ptr<DuplicatesGroup>>& groups) {
    prepareForStartByLoadingLatestUserSettings();
    std::vector<std::vector<AutoSelectInput>> prepared;
    prepared.reserve(groups.size());
    for (const auto& group : groups) {
        if (!group)
            continue;
        std::vector<AutoSelectInput> inputs;
        for (const auto& item : group->getItems())
            inputs.push_back(AutoSelectInput::fromItem(item));
        prepared.push_back(std::move(inputs));
    }
    return proposeForPreparedGroups(prepared, &AutoSelectManager::nameOfNode);
}

AutoSelectManager::Items
AutoSelectManager::getDuplicateItemsForAutoSelectFromItems(const Items& items) {
    prepareForStartByLoadingLatestUserSettings();
    std::vector<std::vector<AutoSelectInput>> prepared(1);
    for (const auto& item : items)
        prepared.front().push_back(AutoSelectInput::fromItem(item));
    return proposeForPreparedGroups(prepared, &AutoSelectManager::nameOfNode);
}

AutoSelectManager::Items
AutoSelectManager::proposeForPreparedGroups(const std::vector<std::vector<AutoSelectInput>>& groups,
                                            const AutoSelectNameLookup& names) const {
    Items result;
    for (const auto& inputs : groups) {
        AutoSelectGroupSeparator separator(inputs, names);
        separator.separateItemsUsingManager(*this, result);
    }
    return result;
}

void AutoSelectManager::prepareForStartByLoadingLatestUserSettings() {
    setRules(Settings::autoAlwaysSelectFolders(), Settings::autoNeverSelectFolders());
}

void AutoSelectManager::setRules(const QStringList& alwaysSelectPaths,
                                 const QStringList& neverSelectPaths) {
    m_arrAlwaysSelectPaths = preparePathsArrayToUse(alwaysSelectPaths);
    m_arrNeverSelectPaths = preparePathsArrayToUse(neverSelectPaths);
}

QList<QByteArray> AutoSelectManager::preparePathsArrayToUse(const QStringList& paths) {
    QList<QByteArray> prepared;
    prepared.reserve(paths.size());
    for (const QString& path : paths) {
        // "/" alone and empty entries would match everything.
        if (path.size() < 2)
            continue;
        QByteArray bytes = QFile::encodeName(path);
        if (!bytes.endsWith('/'))
            bytes.append('/');
        prepared.append(bytes);
    }
    std::stable_sort(prepared.begin(), prepared.end(),
                     [](const QByteArray& a, const QByteArray& b) { return a.size() > b.size(); });
    return prepared;
}

std::int64_t AutoSelectManager::getMaxPrefixLenOfPathFromPrefixsArrayWithLenBiggerThan(
    const QByteArray& path, const QList<QByteArray>& prefixes, std::int64_t limit) {
    for (const QByteArray& prefix : prefixes) {
        if (prefix.size() <= limit)
            return -1; // the list is longest first: no longer entry follows
        if (path.startsWith(prefix))
            return prefix.size();
    }
    return -1;
}

AutoSelectChoice
AutoSelectManager::getChoiceUsingUserAutoSelectPathsForPath(const QByteArray& path) const {
    const std::int64_t always =
        getMaxPrefixLenOfPathFromPrefixsArrayWithLenBiggerThan(path, m_arrAlwaysSelectPaths, -1);
    const std::int64_t never =
        getMaxPrefixLenOfPathFromPrefixsArrayWithLenBiggerThan(path, m_arrNeverSelectPaths, always);
    if (always > 0)
        return always > never ? kAutoSelectChoiceAlways : kAutoSelectChoiceNever;
    return never >= 1 ? kAutoSelectChoiceNever : kAutoSelectChoiceNone;
}

const AutoSelectName* AutoSelectManager::nameOfNode(FileSystemItem* node) {
    return node ? node->getAutoSelectData() : nullptr;
}
