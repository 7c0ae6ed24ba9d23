// shots OUT_DIR [AREA...] [--scale N] [--screen WxH]
// Renders every registered area (or only the named ones) into OUT_DIR as PNG files, on the
// offscreen platform, with a temporary home so no real setting is read or written.
#include "Shots.h"

#include "Toolkit/AnimationClock.h"
#include "Toolkit/ApplicationLook.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <map>
#include <string>

namespace {

std::map<std::string, ShotArea>& areas() {
    static std::map<std::string, ShotArea> registered;
    return registered;
}

void settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        AnimationClock::instance().flush();
    }
}

} // namespace

ShotRegistrar::ShotRegistrar(const char* area, ShotArea render) {
    areas().emplace(area, std::move(render));
}

ShotSession::ShotSession(QDir out, QStringList filters, qreal scale)
    : m_out(std::move(out)), m_filters(std::move(filters)), m_scale(scale) {}

bool ShotSession::wants(const QString& area) const {
    return m_filters.isEmpty() || m_filters.contains(area, Qt::CaseInsensitive);
}

void ShotSession::save(const QString& name, QWidget* widget, QSize size) {
    if (!widget)
        return;
    if (size.isValid())
        widget->resize(size);
    widget->setAttribute(Qt::WA_DontShowOnScreen);
    widget->show();
    settle();
    save(name, widget->grab().toImage());
}

void ShotSession::save(const QString& name, const QImage& image) {
    const QString file = m_out.filePath(m_area + QLatin1Char('-') + name + QStringLiteral(".png"));
    if (image.isNull() || !image.save(file)) {
        std::fprintf(stderr, "shots: could not write %s\n", qPrintable(file));
        return;
    }
    ++m_written;
}

int main(int argc, char** argv) {
    QStringList filters;
    QString outDir;
    qreal scale = 2.0;
    QSize screen(1920, 1080);
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--scale") && i + 1 < argc)
            scale = QString::fromLocal8Bit(argv[++i]).toDouble();
        else if (arg == QLatin1String("--screen") && i + 1 < argc) {
            const QStringList size = QString::fromLocal8Bit(argv[++i]).split(QLatin1Char('x'));
            screen = size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize();
        } else if (outDir.isEmpty())
            outDir = arg;
        else
            filters << arg;
    }
    if (outDir.isEmpty() || scale <= 0 || screen.isEmpty()) {
        std::fprintf(stderr, "usage: shots OUT_DIR [AREA...] [--scale N] [--screen WxH]\nareas:");
        for (const auto& entry : areas())
            std::fprintf(stderr, " %s", entry.first.c_str());
        std::fprintf(stderr, "\n");
        return 2;
    }

    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (home.path() + QStringLiteral("/cache")).toLocal8Bit());
    // One screen of |screen| device pixels (1920 x 1080 unless told), so the windows are
    // placed and fitted as on a desktop of that size.
    QFile screens(home.filePath(QStringLiteral("screens.json")));
    if (!screens.open(QIODevice::WriteOnly) ||
        screens.write(QStringLiteral("{\"screens\": [{\"name\": \"Shots\", \"x\": 0, \"y\": 0, "
                                     "\"width\": %1, \"height\": %2, \"logicalDpi\": 96, "
                                     "\"logicalBaseDpi\": 96, \"dpr\": 1}]}")
                          .arg(screen.width())
                          .arg(screen.height())
                          .toUtf8()) < 0) {
        std::fprintf(stderr, "shots: cannot write the screen configuration\n");
        return 1;
    }
    screens.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    // Pictures at twice the size show blurry images and half-pixel lines at once.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Velquor"));
    QApplication::setApplicationName(QStringLiteral("Sorvanta"));
    AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
    ApplicationLook::install();

    QDir out(outDir);
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "shots: cannot create %s\n", qPrintable(outDir));
        return 1;
    }
    ShotSession session(out, filters, scale);
    for (const auto& [name, render] : areas()) {
        const QString area = QString::fromStdString(name);
        if (!session.wants(area))
            continue;
        session.setArea(area);
        render(session);
    }
    std::printf("shots: %d pictures in %s\n", session.written(), qPrintable(out.absolutePath()));
    return session.written() > 0 ? 0 : 1;
}
