#pragma once

#include <QtGlobal>

namespace Utf8Check {

// True when the `length` bytes at `bytes` are well-formed UTF-8: no stray continuation
// bytes, no truncated sequences, no overlong forms, no surrogates, nothing above U+10FFFF.
// Reads exactly `length` bytes and no further.
bool isValidUtf8(const char* bytes, qsizetype length);

} // namespace Utf8Check
