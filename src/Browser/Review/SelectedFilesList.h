#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class DuplicateItem;

// The review panel's copies in display order, kept as a set: adding, finding and removing
// one copy are constant time. A removal leaves a hole that the next read by row closes, so
// taking out a batch of copies costs one pass over the list, whatever the batch's size.
// Main thread only; not even const reads are thread-safe.
class SelectedFilesList final {
public:
    using Item = std::shared_ptr<DuplicateItem>;

    // Replaces the list; null entries and repeated copies are dropped.
    void assign(const std::vector<Item>& items) {
        clear();
        m_items.reserve(items.size());
        for (const Item& item : items)
            add(item);
    }
    // Adds at the end; false when null or already listed.
    bool add(const Item& item) {
        if (!item || m_index.contains(item.get()))
            return false;
        m_index.emplace(item.get(), m_items.size());
        m_items.push_back(item);
        return true;
    }
    // False when not listed.
    bool remove(const DuplicateItem* item) {
        const auto found = m_index.find(item);
        if (found == m_index.end())
            return false;
        m_items[found->second].reset();
        m_index.erase(found);
        ++m_holes;
        return true;
    }
    bool contains(const DuplicateItem* item) const { return item && m_index.contains(item); }
    std::size_t size() const { return m_index.size(); }
    bool empty() const { return m_index.empty(); }
    void clear() {
        m_items.clear();
        m_index.clear();
        m_holes = 0;
    }

    // The copy at |row|; null past the end.
    Item at(std::size_t row) const {
        compact();
        return row < m_items.size() ? m_items[row] : Item();
    }
    // The row of |item|; nothing when it is not listed.
    std::optional<std::size_t> rowOf(const DuplicateItem* item) const {
        compact();
        const auto found = m_index.find(item);
        return found == m_index.end() ? std::nullopt : std::optional(found->second);
    }
    const std::vector<Item>& items() const {
        compact();
        return m_items;
    }
    // Puts the copies in a new order made by |order| from the current one.
    void reorder(const std::function<void(std::vector<Item>&)>& order) {
        compact();
        order(m_items);
        std::erase(m_items, nullptr);
        m_index.clear();
        for (std::size_t i = 0; i < m_items.size(); ++i)
            m_index.emplace(m_items[i].get(), i);
    }

private:
    void compact() const {
        if (m_holes == 0)
            return;
        std::size_t next = 0;
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (!m_items[i])
                continue;
            if (next != i)
                m_items[next] = std::move(m_items[i]);
            m_index[m_items[next].get()] = next;
            ++next;
        }
        m_items.resize(next);
        m_holes = 0;
    }

    mutable std::vector<Item> m_items;
    mutable std::unordered_map<const DuplicateItem*, std::size_t> m_index;
    mutable std::size_t m_holes = 0;
};
