#pragma once

#include <QString>

// Picture names of the dark appearance. The interface asks for pictures under a base name
// ("checkbox0", "scrolling0_start") and finds them under the dark name.
namespace DarkImageName {

// "dark_" + |name|, always: a name that already starts with "dark_" gets it a second time,
// so callers pass base names only.
QString prependDarkPrefixIfNeeded(const QString& name);

} // namespace DarkImageName
