#include "Browser/Common/OpenWithMenu.h"

#include "Browser/Common/ApplicationChooser.h"
#include "Browser/Common/SharedTexts.h"
#include "Platform/ui/OpenWithApplications.h"

#include <QIcon>
#include <QMenu>

namespace OpenWithMenu {

QMenu* add(QMenu* menu, const QByteArray& path, QObject* context,
           std::function<void(const QString& appId)> openWith, std::function<void()> other) {
    QMenu* submenu = menu->addMenu(SharedTexts::openWith);
    QString defaultId;
    const auto apps = OpenWithApplications::applicationsForContentType(
        OpenWithApplications::contentTypeOfFile(path), &defaultId);
    for (std::size_t i = 0; i < apps.size(); ++i) {
        const auto& app = apps[i];
        // Only the desktop's own default carries the mark; without one, none does.
        const bool isDefault = i == 0 && !defaultId.isEmpty() && app.id == defaultId;
        QAction* item = submenu->addAction(isDefault ? SharedTexts::defaultApplication.arg(app.name)
                                                     : app.name);
        item->setData(app.id);
        if (!app.iconName.isEmpty())
            item->setIcon(QIcon::fromTheme(app.iconName));
        const QString id = app.id;
        QObject::connect(item, &QAction::triggered, context, [openWith, id] { openWith(id); });
        if (i == 0)
            submenu->addSeparator();
    }
    if (apps.size() > 1)
        submenu->addSeparator();
    submenu->addAction(SharedTexts::other, context, std::move(other));
    submenu->menuAction()->setEnabled(true);
    return submenu;
}

void chooseOther(QWidget* owner, std::function<void(const QString& appId)> openWith) {
    auto* chooser = new ApplicationChooser(owner->window());
    QObject::connect(chooser, &ApplicationChooser::applicationsChosen, owner,
                     [openWith = std::move(openWith)](const QStringList& ids) {
                         for (const QString& id : ids)
                             openWith(id);
                     });
    chooser->open();
}

} // namespace OpenWithMenu
