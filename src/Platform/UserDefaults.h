#pragma once

#include <QString>
#include <QVariant>

#include <memory>
#include <mutex>
#include <optional>

class QSettings;

// The application's user defaults: one INI file (organisation "Velquor", application
// "Sorvanta") under $XDG_CONFIG_HOME. Every write is synced to disk at once. Safe to use
// from any thread: every access is serialised.
class UserDefaults final {
public:
    static UserDefaults& standardUserDefaults();

    // The stored value, or an invalid QVariant when the key is absent.
    QVariant objectForKey(const QString& key) const;
    bool contains(const QString& key) const;
    // The stored value under one lock, or nothing when the key is absent. Unlike
    // objectForKey() this tells a present key whose value reads as invalid (the INI format
    // writes an empty list as "@Invalid()") from an absent one.
    std::optional<QVariant> storedObjectForKey(const QString& key) const;
    void setObject(const QString& key, const QVariant& value);
    void removeObject(const QString& key);
    // Writes pending changes and reads changes made by others. Setters already sync.
    void synchronize();
    // The file the defaults live in.
    QString fileName() const;

    UserDefaults();
    ~UserDefaults();
    UserDefaults(const UserDefaults&) = delete;
    UserDefaults& operator=(const UserDefaults&) = delete;

private:
    mutable std::mutex m_mutex;
    std::unique_ptr<QSettings> m_settings;
};
