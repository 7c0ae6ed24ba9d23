#pragma once

#include <QString>

#include <cstdint>

// Size texts shown throughout the interface: decimal units (step 1000) "B", "KB", "MB",
// "GB", "TB", "PB", a no-break space (U+00A0) between number and unit, and "." as the
// decimal separator whatever the locale. Stateless; safe from any thread.
namespace FileSize {

// At most one fraction digit, and only below 10 units ("1.5 KB", "10 KB"); 0 answers
// "Zero Bytes". Rounded like printf.
QString formatMemoryStringDot0(std::uint64_t bytes);
// The size text of the whole interface: up to two fraction digits below 10 units, one from
// 10 on, trailing zeros dropped ("1.23 MB", "12.3 MB", "1 KB"); 0 answers "0 B". Ties round
// half to even on the number's shortest decimal form.
QString formatMemoryStringDot1(std::uint64_t bytes);
// Three significant digits: two fraction digits below 10, one below 100, none from 100 on
// ("1.23 MB", "45.6 KB", "123 MB"). Same rounding as formatMemoryStringDot1.
QString formatMemoryStringDot1With3DigitsExactly(std::uint64_t bytes);

} // namespace FileSize
