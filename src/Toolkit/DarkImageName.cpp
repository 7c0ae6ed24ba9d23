#include "Toolkit/DarkImageName.h"

namespace DarkImageName {

QString prependDarkPrefixIfNeeded(const QString& name) {
    return QStringLiteral("dark_") + name;
}

} // namespace DarkImageName
