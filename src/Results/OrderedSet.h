#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

// A set of shared objects that remembers the order in which they were added, with
// constant-time add, membership test and removal. Removal leaves a hole that the next
// read of the whole list closes, so removing many members one by one (a clean-up over
// hundreds of thousands of groups) stays linear. Not thread-safe; not even const reads
// are, since they may close holes.
template <typename T>
class OrderedSet final {
public:
    using Pointer = std::shared_ptr<T>;

    // Adds `object` at the end; answers false when it was already a member or is null.
    bool add(Pointer object) {
        if (!object || m_index.contains(object.get())) {
            return false;
        }
        m_index.emplace(object.get(), m_items.size());
        m_items.push_back(std::move(object));
        return true;
    }

    // Answers false when `object` was not a member.
    bool remove(const T* object) {
        const auto found = m_index.find(object);
        if (found == m_index.end()) {
            return false;
        }
        m_items[found->second].reset();
        m_index.erase(found);
        ++m_holes;
        return true;
    }

    bool contains(const T* object) const { return object && m_index.contains(object); }
    // The place of `object` in items(), or size() when it is no member.
    std::size_t indexOf(const T* object) const {
        compact();
        const auto found = m_index.find(object);
        return found == m_index.end() ? m_items.size() : found->second;
    }
    std::size_t size() const { return m_index.size(); }
    bool empty() const { return m_index.empty(); }

    // The members in the order they were added.
    const std::vector<Pointer>& items() const {
        compact();
        return m_items;
    }

    // The earliest member still present. Amortised constant time even while members are
    // removed from the front one by one (a group letting all its copies go).
    Pointer first() const {
        while (m_firstLive < m_items.size() && !m_items[m_firstLive]) {
            ++m_firstLive;
        }
        return m_firstLive < m_items.size() ? m_items[m_firstLive] : Pointer();
    }

    void clear() {
        m_items.clear();
        m_index.clear();
        m_holes = 0;
        m_firstLive = 0;
    }

private:
    void compact() const {
        if (m_holes == 0) {
            return;
        }
        std::size_t next = 0;
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (!m_items[i]) {
                continue;
            }
            if (next != i) {
                m_items[next] = std::move(m_items[i]);
            }
            m_index[m_items[next].get()] = next;
            ++next;
        }
        m_items.resize(next);
        m_holes = 0;
        m_firstLive = 0;
    }

    mutable std::vector<Pointer> m_items;
    mutable std::unordered_map<const T*, std::size_t> m_index;
    mutable std::size_t m_holes = 0;
    // Every entry before it is a hole.
    mutable std::size_t m_firstLive = 0;
};
