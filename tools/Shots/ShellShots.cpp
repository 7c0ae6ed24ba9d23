#include "Shots.h"

#include "Screens/WelcomeScreenVC.h"
#include "Shell/WindowBackgroundView.h"
#include "Shell/WindowController.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/ImageStore.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTemporaryDir>

SORVANTA_SHOT_AREA(shell) {
    {
        WindowController window;
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.show();
        window.windowDidLoad();
        session.save(QStringLiteral("window-welcome"), &window);

        // The application and File menus as the welcome screen shows them, with a folder
        // listed: Scan and All-out Scan in place of New Scan, and the cleanup tools.
        QTemporaryDir folder;
        window.welcomeScreenController()->loadFilesByPath(folder.path());
        for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
            const QString title = menu->title();
            if (title != QLatin1String("Sorvanta") && title != QLatin1String("File"))
                continue;
            window.validateMenu(menu);
            menu->adjustSize();
            session.save(QStringLiteral("menu-") + title.toLower() + QStringLiteral("-welcome"),
                         menu, menu->sizeHint());
        }
    }
    {
        // The three window buttons at rest and with the pointer over them, side by side.
        const QStringList rest{QStringLiteral("btn_red"), QStringLiteral("btn_yellow"),
                               QStringLiteral("btn_green")};
        const QStringList hover{
            QStringLiteral("btn_red_select"), QStringLiteral("btn_yellow_select"),
            QStringLiteral("btn_green_select-1"), QStringLiteral("btn_green_select-2"),
            QStringLiteral("btn_green_select")};
        const qreal scale = 4 * session.scale();
        QImage image(QSize(120, 44) * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        WindowBackgroundView background;
        background.resize(120, 44);
        image.fill(Qt::transparent);
        background.render(&image);
        QPainter painter(&image);
        for (int i = 0; i < rest.size(); ++i)
            ImageStore::draw(painter, rest[i], QRectF(8 + 20 * i, 6, 12, 12));
        for (int i = 0; i < hover.size(); ++i)
            ImageStore::draw(painter, hover[i], QRectF(8 + 20 * i, 26, 12, 12));
        painter.end();
        session.save(QStringLiteral("window-buttons"), image);
    }
    for (int type : {0, 3}) {
        WindowBackgroundView background;
        background.setType(type);
        session.save(QStringLiteral("background-type%1").arg(type), &background, QSize(200, 120));
    }
}
