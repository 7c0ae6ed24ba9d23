// The application's icon: the theme's where a theme carries it, else the drawing the
// application brings along, so the window always has one.
#include "Shell/ApplicationMain.h"

#include <QIcon>

#include <gtest/gtest.h>

namespace {

TEST(ApplicationIconTest, FallsBackToTheBundledDrawingInEverySize) {
    // The test runs with no icon theme that knows the application.
    const QIcon icon = ApplicationMain::applicationIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 48, 512}) {
        const QPixmap pixmap = icon.pixmap(size, size);
        ASSERT_FALSE(pixmap.isNull()) << size;
        EXPECT_EQ(pixmap.width(), size);
        // Drawn, not empty: the middle of the tile is opaque.
        EXPECT_EQ(pixmap.toImage().pixelColor(size / 2, size / 2).alpha(), 255) << size;
    }
}

} // namespace
