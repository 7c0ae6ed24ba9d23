#include "Shots.h"

#include "Shell/ApplicationMain.h"
#include "Shell/WindowController.h"
#include "Toolkit/AnimationClock.h"
#include "Toolkit/ImageStore.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QWindow>

// The quit question a window manager's close asks while a scan runs, and the application's
// icon at its installed sizes.
SORVANTA_SHOT_AREA(quit) {
    {
        QTemporaryDir tree;
        // Two large files of one size, all holes: the scan is still busy with them.
        for (const char* name : {"/big1", "/big2"}) {
            QFile file(tree.path() + QLatin1String(name));
            if (file.open(QIODevice::WriteOnly))
                file.resize(qint64(256) << 20);
        }
        AnimationClock::instance().setMode(AnimationClock::Mode::Instant);
        WindowController window;
        window.setTerminateHandler([] {});
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.show();
        window.windowDidLoad();
        window.startScanFolders({tree.path()});
        for (int i = 0; i < 200 && !window.scanner(); ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        window.windowHandle()->close();
        QApplication::processEvents();
        if (auto* box = window.findChild<QMessageBox*>(QStringLiteral("quitConfirmation"))) {
            box->setAttribute(Qt::WA_DontShowOnScreen);
            session.save(QStringLiteral("question-during-scan"), box);
            box->done(QMessageBox::Cancel);
        }
        session.save(QStringLiteral("scan-window-after-close"), &window);
        AnimationClock::instance().setMode(AnimationClock::Mode::Real);
    }
    {
        const QList<int> sizes{16, 24, 32, 48, 64, 128, 256, 512};
        const qreal scale = session.scale();
        QImage image(QSize(1160, 528) * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::white);
        QPainter painter(&image);
        const QIcon icon = ApplicationMain::applicationIcon();
        int x = 8;
        for (int size : sizes) {
            icon.paint(&painter, QRect(x, 8, size, size));
            x += size + 8;
        }
        painter.end();
        session.save(QStringLiteral("application-icon"), image);
    }
}
