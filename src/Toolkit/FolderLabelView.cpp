#include "Toolkit/FolderLabelView.h"

#include "Toolkit/DarkImageName.h"
#include "Toolkit/ImageStore.h"

#include <QPainter>

void FolderLabelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    constexpr qreal kHeight = 26;
    constexpr qreal kCap = 14;
    const qreal w = width();
    // The three pieces stand on the bottom edge, 26 points high.
    const qreal top = height() - kHeight;
    ImageStore::draw(painter,
                     DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("text_bg_start")),
                     QRectF(0, top, kCap, kHeight));
    if (w > 2 * kCap)
        ImageStore::draw(painter,
                         DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("text_bg_mid")),
                         QRectF(kCap, top, w - 2 * kCap, kHeight));
    ImageStore::draw(painter,
                     DarkImageName::prependDarkPrefixIfNeeded(QStringLiteral("text_bg_end")),
                     QRectF(w - kCap, top, kCap, kHeight));
}
