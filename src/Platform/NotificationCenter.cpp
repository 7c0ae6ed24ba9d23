#include "NotificationCenter.h"

#include <QObject>

struct NotificationCenter::Entry {
    const void* owner = nullptr;
    QString name;
    Callback callback;
    // Held while the callback runs, so removal waits for a delivery in progress on another
    // thread. Recursive: a callback may post again or remove itself.
    std::recursive_mutex calling;
    bool alive = true;
};

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const QObject* owner, const QString& name, Callback callback) {
    const bool firstForOwner = [&] {
        std::lock_guard lock(m_mutex);
        for (const auto& entry : m_entries)
            if (entry->owner == owner)
                return false;
        return true;
    }();
    add(owner, name, std::move(callback));
    if (owner && firstForOwner) {
        const void* key = owner;
        QObject::connect(owner, &QObject::destroyed, [this, key] { removeObserver(key); });
    }
}

void NotificationCenter::addObserver(const void* owner, const QString& name, Callback callback) {
    add(owner, name, std::move(callback));
}

void NotificationCenter::add(const void* owner, const QString& name, Callback callback) {
    auto entry = std::make_shared<Entry>();
    entry->owner = owner;
    entry->name = name;
    entry->callback = std::move(callback);
    std::lock_guard lock(m_mutex);
    m_entries.push_back(std::move(entry));
}

void NotificationCenter::removeObserver(const void* owner) {
    remove(owner, nullptr);
}

void NotificationCenter::removeObserver(const void* owner, const QString& name) {
    remove(owner, &name);
}

void NotificationCenter::remove(const void* owner, const QString* name) {
    std::vector<std::shared_ptr<Entry>> removed;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_entries.begin();
        while (it != m_entries.end()) {
            if ((*it)->owner == owner && (!name || (*it)->name == *name)) {
                removed.push_back(*it);
                it = m_entries.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const auto& entry : removed) {
        std::lock_guard calling(entry->calling);
        entry->alive = false;
    }
}

void NotificationCenter::post(const QString& name) {
    post(Notification{name, {}, false});
}

void NotificationCenter::post(const QString& name, const QVariantMap& userInfo) {
    post(Notification{name, userInfo, true});
}

void NotificationCenter::post(const Notification& notification) {
    std::vector<std::shared_ptr<Entry>> targets;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& entry : m_entries)
            if (entry->name == notification.name)
                targets.push_back(entry);
    }
    for (const auto& entry : targets) {
        std::lock_guard calling(entry->calling);
        if (entry->alive)
            entry->callback(notification);
    }
}
