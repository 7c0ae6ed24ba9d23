#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

// A set of shared objects that remembers the order in which they were added, with
// constant-time add, membership test and removal. Removal leaves a hole that the next
// read of the whole list closes, so removing many members one by one (a clean-up over
// hundreds of thousands of groups) stays linear. A set that never grew past a few
// entries has no index and is searched in order: most sets (a group's two to four copies,
// a heap's groups) are that small, and a hash index would cost more than its members.
// Not thread-safe; not even const reads are, since they may close holes.
template <typename T>
class OrderedSet final {
public:
    using Pointer = std::shared_ptr<T>;

    OrderedSet() = default;
    OrderedSet(const OrderedSet& other)
        : m_items(other.m_items),
          m_index(other.m_index ? std::make_unique<Index>(*other.m_index) : nullptr),
          m_count(other.m_count), m_holes(other.m_holes), m_firstLive(other.m_firstLive) {}
    OrderedSet(OrderedSet&&) noexcept = default;
    OrderedSet& operator=(const OrderedSet& other) {
        if (this != &other) {
            OrderedSet copy(other);
            *this = std::move(copy);
        }
        return *this;
    }
    OrderedSet& operator=(OrderedSet&&) noexcept = default;

    // Adds `object` at the end; answers false when it was already a member or is null.
    bool add(Pointer object) {
        if (!object || contains(object.get())) {
            return false;
        }
        if (!m_index && m_items.size() >= kLinearLimit) {
            compact();
            if (m_items.size() >= kLinearLimit) {
                buildIndex();
            }
        }
        if (m_index) {
            m_index->emplace(object.get(), m_items.size());
        }
        m_items.push_back(std::move(object));
        ++m_count;
        return true;
    }

    // Answers false when `object` was not a member.
    bool remove(const T* object) {
        const std::size_t at = placeOf(object);
        if (at == kNowhere) {
            return false;
        }
        m_items[at].reset();
        if (m_index) {
            m_index->erase(object);
        }
        ++m_holes;
        --m_count;
        return true;
    }

    bool contains(const T* object) const { return placeOf(object) != kNowhere; }
    // The place of `object` in items(), or size() when it is no member.
    std::size_t indexOf(const T* object) const {
        compact();
        const std::size_t at = placeOf(object);
        return at == kNowhere ? m_items.size() : at;
    }
    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }

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
        m_index.reset();
        m_count = 0;
        m_holes = 0;
        m_firstLive = 0;
    }

private:
    // Past this many entries (holes included) the set keeps a hash index.
    static constexpr std::size_t kLinearLimit = 12;
    static constexpr std::size_t kNowhere = std::size_t(-1);

    // Where `object` stands in m_items now (holes included), or kNowhere.
    std::size_t placeOf(const T* object) const {
        if (!object) {
            return kNowhere;
        }
        if (m_index) {
            const auto found = m_index->find(object);
            return found == m_index->end() ? kNowhere : found->second;
        }
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (m_items[i].get() == object) {
                return i;
            }
        }
        return kNowhere;
    }

    // Called on a set without holes.
    void buildIndex() {
        m_index = std::make_unique<Index>();
        m_index->reserve(m_items.size() + 1);
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            m_index->emplace(m_items[i].get(), i);
        }
    }

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
            if (m_index) {
                (*m_index)[m_items[next].get()] = next;
            }
            ++next;
        }
        m_items.resize(next);
        m_holes = 0;
        m_firstLive = 0;
    }

    mutable std::vector<Pointer> m_items;
    // Only sets that grew past kLinearLimit have one; an empty table would cost more than a
    // small set's members.
    using Index = std::unordered_map<const T*, std::size_t>;
    mutable std::unique_ptr<Index> m_index;
    std::size_t m_count = 0;
    mutable std::size_t m_holes = 0;
    // Every entry before it is a hole.
    mutable std::size_t m_firstLive = 0;
};
