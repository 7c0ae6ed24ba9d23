#include "UserDefaults.h"

#include <QSettings>

UserDefaults& UserDefaults::standardUserDefaults() {
    static UserDefaults defaults;
    return defaults;
}

UserDefaults::UserDefaults()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Velquor"),
                                             QStringLiteral("Sorvanta"))) {}

UserDefaults::~UserDefaults() = default;

QVariant UserDefaults::objectForKey(const QString& key) const {
    std::lock_guard lock(m_mutex);
    return m_settings->value(key);
}

bool UserDefaults::contains(const QString& key) const {
    std::lock_guard lock(m_mutex);
    return m_settings->contains(key);
}

std::optional<QVariant> UserDefaults::storedObjectForKey(const QString& key) const {
    std::lock_guard lock(m_mutex);
    if (!m_settings->contains(key))
        return std::nullopt;
    return m_settings->value(key);
}

void UserDefaults::setObject(const QString& key, const QVariant& value) {
    std::lock_guard lock(m_mutex);
    m_settings->setValue(key, value);
    m_settings->sync();
}

void UserDefaults::removeObject(const QString& key) {
    std::lock_guard lock(m_mutex);
    m_settings->remove(key);
    m_settings->sync();
}

void UserDefaults::synchronize() {
    std::lock_guard lock(m_mutex);
    m_settings->sync();
}

QString UserDefaults::fileName() const {
    std::lock_guard lock(m_mutex);
    return m_settings->fileName();
}
