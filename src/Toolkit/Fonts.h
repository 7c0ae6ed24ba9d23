#pragma once

#include <QFont>
#include <QString>

// The interface's sans family. The screens name "HelveticaNeue" and its weights
// ("HelveticaNeue-Medium", "HelveticaNeue-Bold", ...) and the system font; all map to
// Inter when it is installed, else to the default sans family. Sizes in points are set
// as pixel sizes, so a text is as large on every screen as the layout expects.
namespace Fonts {

enum class Weight { Light, Regular, Medium, Bold };

// The family every font of the interface uses ("Inter", or the default sans family).
QString family();
QFont font(qreal size, Weight weight = Weight::Regular);
// A font by the screens' name: "HelveticaNeue", "HelveticaNeue-Light",
// "HelveticaNeue-Medium", "HelveticaNeue-Bold" (unknown suffixes read as regular).
QFont fontWithName(const QString& name, qreal size);
QFont systemFont(qreal size);
QFont boldSystemFont(qreal size);

} // namespace Fonts
