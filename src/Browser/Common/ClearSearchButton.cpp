#include "Browser/Common/ClearSearchButton.h"

#include "Toolkit/DarkImageName.h"
#include "Toolkit/ImageStore.h"

#include <QPushButton>

namespace ClearSearchButton {

QPushButton* create(QWidget* field, int iconSize) {
    auto* button = new QPushButton(field);
    button->setObjectName(QStringLiteral("clearSearchTextButton"));
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::ArrowCursor);
    button->setIcon(ImageStore::icon(
        DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("btn_clear_search"))));
    button->setIconSize(QSize(iconSize, iconSize));
    button->setStyleSheet(QStringLiteral("border: none; background: transparent;"));
    button->hide();
    return button;
}

} // namespace ClearSearchButton
