#pragma once

#include <QDir>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class QWidget;

// One run of the shots tool: where pictures go and which areas were asked for.
class ShotSession final {
public:
    ShotSession(QDir out, QStringList filters, qreal scale);

    // Lays out and shows |widget| off screen at |size| (its current size when empty),
    // lets pending events and clock steps run, then writes "<area>-<name>.png".
    void save(const QString& name, QWidget* widget, QSize size = {});
    void save(const QString& name, const QImage& image);

    bool wants(const QString& area) const;
    void setArea(const QString& area) { m_area = area; }
    int written() const { return m_written; }
    qreal scale() const { return m_scale; }

private:
    QDir m_out;
    QStringList m_filters;
    QString m_area;
    qreal m_scale = 1.0;
    int m_written = 0;
};

using ShotArea = std::function<void(ShotSession&)>;

// Registers an area; used through SORVANTA_SHOT_AREA at namespace scope of one file.
struct ShotRegistrar final {
    ShotRegistrar(const char* area, ShotArea render);
};

#define SORVANTA_SHOT_AREA(area)                                                                   \
    static void shotArea_##area(ShotSession& session);                                             \
    static const ShotRegistrar shotRegistrar_##area(#area, shotArea_##area);                       \
    static void shotArea_##area(ShotSession& session)
