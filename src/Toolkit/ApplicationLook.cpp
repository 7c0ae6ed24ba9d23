#include "Toolkit/ApplicationLook.h"

#include "Toolkit/FocusRing.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Palette.h"

#include <QApplication>
#include <QStyleFactory>

namespace ApplicationLook {

QPalette darkPalette() {
    const QColor window = Palette::commonBackgroundColor();
    const QColor base = Palette::commonPanelBackgroundColor();
    const QColor alternate = Palette::commonPrefRowColor();
    const QColor text = Palette::commonTextColor();
    const QColor dimText = Palette::sizeLabelColor();
    const QColor highlight = Palette::selectedRowColor();
    const QColor line = Palette::separatorColor();

    QPalette palette;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::Base, base);
        palette.setColor(group, QPalette::AlternateBase, alternate);
        palette.setColor(group, QPalette::Button, alternate);
        palette.setColor(group, QPalette::ToolTipBase, base);
        palette.setColor(group, QPalette::WindowText, disabled ? dimText : text);
        palette.setColor(group, QPalette::Text, disabled ? dimText : text);
        palette.setColor(group, QPalette::ButtonText, disabled ? dimText : text);
        palette.setColor(group, QPalette::ToolTipText, text);
        palette.setColor(group, QPalette::PlaceholderText, dimText);
        palette.setColor(group, QPalette::BrightText, text);
        palette.setColor(group, QPalette::Highlight, highlight);
        palette.setColor(group, QPalette::HighlightedText, text);
        palette.setColor(group, QPalette::Link, Palette::quickHintUnderlineButtonColor());
        palette.setColor(group, QPalette::Light, alternate);
        palette.setColor(group, QPalette::Midlight, base);
        palette.setColor(group, QPalette::Mid, line);
        palette.setColor(group, QPalette::Dark, line);
        palette.setColor(group, QPalette::Shadow, Qt::black);
    }
    return palette;
}

void install() {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QApplication::setPalette(darkPalette());
    QApplication::setFont(Fonts::systemFont(13));
    FocusRing::install();
}

} // namespace ApplicationLook
