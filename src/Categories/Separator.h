#pragma once

#include <QHash>
#include <QSet>

#include <utility>

// The multi-map used to group objects by a key (files by content digest, folders by their
// identifier, items by size): a hash from key to a set of objects. Keys compare by value;
// equal objects collapse into one, as in any set.
namespace Separator {

template <typename Key, typename Object>
using Map = QHash<Key, QSet<Object>>;

// Puts `object` into the set stored under `key`, making the set on first use. Works for
// any map whose mapped type is a set with insert() (QHash/QSet, std::unordered_map/set,
// std::map/set). Not synchronised: the caller's queue owns the map.
template <typename MapType, typename Object, typename Key>
void addObjectWithSeparatorKey(MapType& map, Object&& object, const Key& key) {
    map[key].insert(std::forward<Object>(object));
}

} // namespace Separator
