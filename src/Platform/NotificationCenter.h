#pragma once

#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QObject;

// One in-process notification: a name and optional user info. There is never a sender.
struct Notification {
    QString name;
    QVariantMap userInfo;
    bool hasUserInfo = false;
};

// The process's default notification centre. Observers are (owner, name, callback);
// post() calls every observer of the name synchronously on the posting thread, in the
// order they were added. An owner that is a QObject is removed when it is destroyed;
// any other owner removes itself (removeObserver) before it goes away.
class NotificationCenter final {
public:
    using Callback = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    void addObserver(const QObject* owner, const QString& name, Callback callback);
    void addObserver(const void* owner, const QString& name, Callback callback);
    // Removes every observation of `owner`, or only those of `name`. After it returns the
    // owner's callbacks are not running on another thread and are never called again.
    void removeObserver(const void* owner);
    void removeObserver(const void* owner, const QString& name);

    void post(const QString& name);
    void post(const QString& name, const QVariantMap& userInfo);
    void post(const Notification& notification);

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

private:
    struct Entry;
    void add(const void* owner, const QString& name, Callback callback);
    void remove(const void* owner, const QString* name);

    std::mutex m_mutex;
    std::vector<std::shared_ptr<Entry>> m_entries;
};
