#include "FileSize.h"

#include <array>
#include <charconv>
#include <string>

namespace FileSize {

namespace {

constexpr char16_t kNoBreakSpace = u'\u00A0';
constexpr std::array<const char*, 6> kUnits{"B", "KB", "MB", "GB", "TB", "PB"};
constexpr double kStep = 1000.0;

struct Scaled {
    double value;
    std::size_t unit;
};

// Divides by 1000 while the number is 1000 or more; past "PB" the number stays in PB.
Scaled scale(std::uint64_t bytes) {
    Scaled scaled{static_cast<double>(bytes), 0};
    while (scaled.value >= kStep && scaled.unit + 1 < kUnits.size()) {
        scaled.value /= kStep;
        ++scaled.unit;
    }
    return scaled;
}

QString withUnit(const std::string& number, std::size_t unit) {
    QString text = QString::fromLatin1(number.data(), qsizetype(number.size()));
    if (text.startsWith(QLatin1Char('.')))
        text.prepend(QLatin1Char('0'));
    text += QChar(kNoBreakSpace);
    text += QLatin1String(kUnits[unit]);
    return text;
}

QString bytesText(std::uint64_t bytes) {
    return QString::number(bytes) + QChar(kNoBreakSpace) + QLatin1String(kUnits[0]);
}

// Adds one unit in the last place of a plain decimal text ("9.99" -> "10.00").
void incrementLastDigit(std::string& text) {
    for (std::size_t i = text.size(); i-- > 0;) {
        if (text[i] == '.')
            continue;
        if (text[i] != '9') {
            ++text[i];
            return;
        }
        text[i] = '0';
    }
    text.insert(text.begin(), '1');
}

// `value` with at most `maxFractionDigits` fraction digits, trailing zeros and a bare point
// dropped, no grouping. Rounds half to even on the shortest decimal form of the double (as
// a number formatter does, so 1.135 counts as a tie although its binary value lies below).
std::string formatDecimal(double value, int maxFractionDigits) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    std::string text(buffer.data(), result.ptr);

    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        const std::size_t keep = point + 1 + std::size_t(maxFractionDigits);
        if (text.size() > keep) {
            const char first = text[keep];
            const bool restNonZero = text.find_first_not_of('0', keep + 1) != std::string::npos;
            std::string kept = text.substr(0, keep);
            if (!kept.empty() && kept.back() == '.')
                kept.pop_back();
            const char lastKept = kept.back();
            const bool roundUp = first > '5' || (first == '5' && restNonZero) ||
                                 (first == '5' && !restNonZero && (lastKept - '0') % 2 == 1);
            if (roundUp)
                incrementLastDigit(kept);
            text = kept;
        }
        if (text.find('.') != std::string::npos) {
            while (text.back() == '0')
                text.pop_back();
            if (text.back() == '.')
                text.pop_back();
        }
    }
    return text;
}

std::string formatFixed(double value, int fractionDigits) {
    // to_chars never looks at the locale, unlike printf.
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, fractionDigits);
    return std::string(buffer.data(), result.ptr);
}

} // namespace

QString formatMemoryStringDot0(std::uint64_t bytes) {
    if (bytes == 0)
        return QStringLiteral("Zero Bytes");
    if (bytes < 1000)
        return bytesText(bytes);
    const Scaled scaled = scale(bytes);
    const double fraction = scaled.value - static_cast<double>(std::uint64_t(scaled.value));
    const bool oneDigit = scaled.value < 10 && fraction >= 0.05 && fraction < 0.95;
    return withUnit(formatFixed(scaled.value, oneDigit ? 1 : 0), scaled.unit);
}

QString formatMemoryStringDot1(std::uint64_t bytes) {
    if (bytes < 1000)
        return bytesText(bytes);
    const Scaled scaled = scale(bytes);
    return withUnit(formatDecimal(scaled.value, scaled.value < 10 ? 2 : 1), scaled.unit);
}

QString formatMemoryStringDot1With3DigitsExactly(std::uint64_t bytes) {
    if (bytes < 1000)
        return bytesText(bytes);
    const Scaled scaled = scale(bytes);
    const int digits = scaled.value < 10 ? 2 : (scaled.value < 100 ? 1 : 0);
    return withUnit(formatDecimal(scaled.value, digits), scaled.unit);
}

} // namespace FileSize
