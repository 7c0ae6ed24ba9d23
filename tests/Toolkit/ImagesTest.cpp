#include "Toolkit/BlueRowView.h"
#include "Toolkit/ButtonWithTrackingArea.h"
#include "Toolkit/CellWithCustomSelection.h"
#include "Toolkit/CommonBlackButton.h"
#include "Toolkit/FolderLabelView.h"
#include "Toolkit/ImageStore.h"
#include "Toolkit/Palette.h"
#include "Toolkit/SplitViewWithDivider.h"
#include "Toolkit/TableViewWithArrowHandling.h"

#include <QDirIterator>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QStandardItemModel>

#include <gtest/gtest.h>

namespace {

// Paints |widget| once, as the screen would.
void paint(QWidget& widget) {
    widget.show();
    (void)widget.grab();
}

TEST(ToolkitImagesTest, EveryPictureTheToolkitLooksUpResolves) {
    ImageStore::resetRequestedNames();

    // The check box in both states, and the image button with its hover swap.
    CommonBlackButton box;
    box.setTitle(QStringLiteral("Move to Trash"));
    box.sizeToFit();
    paint(box);
    box.setState(1);
    paint(box);
    ButtonWithTrackingArea button;
    button.setMainImage(QStringLiteral("dark_checkbox0"));
    button.setHoveredImage(QStringLiteral("dark_checkbox1"));
    button.setTrackingEnabled(true);
    button.mouseEntered();
    paint(button);

    FolderLabelView label;
    label.resize(120, 26);
    paint(label);

    // A tall and a short divider.
    SplitViewWithDivider split(Qt::Horizontal);
    auto* right = new SplitViewWithDivider(Qt::Vertical);
    split.addWidget(new QWidget);
    split.addWidget(right);
    right->addWidget(new QWidget);
    right->addWidget(new QWidget);
    split.resize(400, 300);
    paint(split);

    // The selection pattern and the pattern colours.
    QImage canvas(40, 20, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&canvas);
    BlueRowView::drawSelectionInRect(painter, QRectF(0, 0, 40, 20));
    painter.fillRect(canvas.rect(), Palette::lockedFillColor());
    painter.fillRect(canvas.rect(), Palette::toolbarTexturedBackgroundColor());
    painter.fillRect(canvas.rect(), Palette::heapRowFolderBackground());
    painter.end();

    const QStringList requested = ImageStore::requestedNames();
    for (const char* expected : {"dark_checkbox0", "dark_checkbox1", "dark_text_bg_start",
                                 "dark_text_bg_mid", "dark_text_bg_end", "dark_scale1",
                                 "dark_scale2", "bgSelect1", "dark_bg_lock", "dark_bg_menu"})
        EXPECT_TRUE(requested.contains(QString::fromLatin1(expected))) << expected;
    for (const QString& name : requested)
        EXPECT_TRUE(ImageStore::contains(name)) << name.toStdString() << " does not resolve";
}

// Every string literal of the application's sources.
QStringList sourceLiterals() {
    static const QRegularExpression literal(QStringLiteral(R"re("((?:[^"\\\n]|\\.)*)")re"));
    QStringList literals;
    QDirIterator files(QStringLiteral(SORVANTA_RESOURCES_DIR "/../src"),
                       {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& match : literal.globalMatch(text))
            literals << match.captured(1);
    }
    return literals;
}

// Whether a picture called |name| is looked up by code holding |literal|: the name
// itself, the base name that gets the dark prefix, or a pattern with placeholders
// ("checkbox%1", "btn_%1_click") that the name fits.
bool looksUp(const QString& literal, const QString& name) {
    static const QString prefix = QStringLiteral("dark_");
    const QString base = name.startsWith(prefix) ? name.mid(prefix.size()) : QString();
    if (literal == name || (!base.isEmpty() && literal == base))
        return true;
    static const QRegularExpression placeholder(QStringLiteral(R"(%(\d|@|d|s))"));
    if (!literal.contains(placeholder))
        return false;
    QString pattern;
    qsizetype last = 0;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(literal)) {
        pattern += QRegularExpression::escape(literal.mid(last, match.capturedStart() - last));
        pattern += QStringLiteral("[A-Za-z0-9_-]+");
        last = match.capturedEnd();
    }
    pattern += QRegularExpression::escape(literal.mid(last));
    const QRegularExpression fits(QRegularExpression::anchoredPattern(pattern));
    return fits.match(name).hasMatch() || (!base.isEmpty() && fits.match(base).hasMatch());
}

// Pictures are found by the names the code writes. A name built at run time must be
// written as one literal with placeholders (QStringLiteral("checkbox%1").arg(state)), so
// this test, and anyone reading the code, can find where a picture is used.
TEST(ImageFilesTest, EveryPictureFileIsLookedUpBySomeCode) {
    const QStringList literals = sourceLiterals();
    ASSERT_FALSE(literals.isEmpty());
    const QStringList available = ImageStore::availableNames();
    ASSERT_FALSE(available.isEmpty());
    for (const QString& name : available) {
        const bool used =
            std::any_of(literals.cbegin(), literals.cend(),
                        [&](const QString& literal) { return looksUp(literal, name); });
        EXPECT_TRUE(used) << name.toStdString()
                          << " is in resources/images but no code looks it up";
    }
}

TEST(ImageFilesTest, EveryFileOfTheImagesFolderIsCompiledIn) {
    QSet<QString> onDisk;
    QDirIterator files(QStringLiteral(SORVANTA_RESOURCES_DIR "/images"), QDir::Files);
    while (files.hasNext())
        onDisk.insert(QFileInfo(files.next()).completeBaseName());
    const QStringList available = ImageStore::availableNames();
    EXPECT_EQ(onDisk, QSet<QString>(available.cbegin(), available.cend()));
}

TEST(ImageFilesTest, NamesAreMatchedAsTheCodeWritesThem) {
    const struct {
        const char* literal;
        const char* name;
        bool used;
    } cases[] = {
        {"dark_bg_menu", "dark_bg_menu", true},
        {"checkbox0", "dark_checkbox0", true},
        {"checkbox%1", "dark_checkbox1", true},
        {"checkbox%1_red", "dark_checkbox0_red", true},
        {"checkbox%1", "dark_checkbox_LastCopy", true},
        {"btn_%1_click", "dark_btn_Bar_click", true},
        {"checkbox", "dark_checkbox0", false},
        {"scale1", "dark_scale12", false},
        {"Checkbox0", "dark_checkbox0", false},
        {"box%1", "dark_checkbox0", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(looksUp(QString::fromLatin1(c.literal), QString::fromLatin1(c.name)), c.used)
            << c.literal << " / " << c.name;
}

} // namespace
