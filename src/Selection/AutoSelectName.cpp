#include "Selection/AutoSelectName.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <optional>
#include <utility>

namespace {

QList<QString> nfdList(std::initializer_list<const char*> entries) {
    QList<QString> list;
    list.reserve(qsizetype(entries.size()));
    for (const char* entry : entries)
        list.append(QString::fromUtf8(entry).normalized(QString::NormalizationForm_D));
    return list;
}

QString nfd(const char* text) {
    return QString::fromUtf8(text).normalized(QString::NormalizationForm_D);
}

// The word tables, in the order they are tried. They are written here as typed and put into
// NFD once, so the source file's own normalisation does not matter. " kopie" and "kopie"
// appear twice on purpose: the order of the lists is the order of the original tables.
struct Tables {
    QList<QString> suffixTags = nfdList({
        " copy",     " копия",  " (kopie)",   " kopie", " (kópia)", " kópia", " (สำเนา)", " สำเนา",
        " - copie",  " - עותק", " עותק",      " kopie", " copia",   " còpia", "-cópia",   " kopi",
        " kopia",    " kopija", " kopio",     " kopya", " másolat", " salin", " 拷貝",    " копія",
        " のコピー", " 복사본", " αντίγραφο", "-kopia", "副本",     " نسخة",
    });
    QList<QString> prefixTags = nfdList({
        "copy of ",
        "copy ",
        "копия ",
        "bản sao ",
        "cópia de ",
        "salinan ",
        "نسخة ",
    });
    QList<QString> wholeWords = nfdList({
        "copy",  "копия",   "(kopie)", "kopie",    "(kópia)", "kópia",     "(สำเนา)",
        "สำเนา", "- copie", "copie",   "- עותק",   "עותק",    "kopie",     "copia",
        "còpia", "kopi",    "kopia",   "kopija",   "kopio",   "kopya",     "másolat",
        "salin", "拷貝",    "копія",   "のコピー", "복사본",  "αντίγραφο", "-kopia",
        "副本",  "نسخة",    "bản sao", "cópia de", "salinan",
    });
    QString copyOf = QStringLiteral("copy of");
    QString kopieBefore = QStringLiteral(" (kopie ");
    QString kopiaBefore = nfd(" (kópia ");
    QString closeParen = QStringLiteral(")");
    QString copiaBefore = nfd("cópia ");
    QString deAfter = QStringLiteral(" de ");
    QString deAtEnd = QStringLiteral(" de");
};

const Tables& tables() {
    static const Tables instance;
    return instance;
}

bool isAsciiDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

qsizetype digitRunBefore(QStringView text, qsizetype end) {
    qsizetype start = end;
    while (start > 0 && isAsciiDigit(text[start - 1]))
        --start;
    return end - start;
}

qsizetype digitRunFrom(QStringView text, qsizetype start) {
    qsizetype end = start;
    while (end < text.size() && isAsciiDigit(text[end]))
        ++end;
    return end - start;
}

std::optional<qint64> numberIn(QStringView text) {
    qint64 value = 0;
    if (AutoSelectName::parseNumber(value, text))
        return value;
    return std::nullopt;
}

// "<before>[0-9]*<after>" at the very end of `range`. Answers the tag length, 0 for no match;
// a non-empty run of digits that reads as a number goes into `number`. Matching by hand keeps
// the anchor at the end of the range even for names that hold line breaks.
qsizetype findSuffixPattern(QStringView range, const QString& before, const QString& after,
                            std::optional<qint64>& number) {
    if (!range.endsWith(after))
        return 0;
    const qsizetype digitsEnd = range.size() - after.size();
    const qsizetype digits = digitRunBefore(range, digitsEnd);
    const qsizetype beforeEnd = digitsEnd - digits;
    if (beforeEnd < before.size() || !range.first(beforeEnd).endsWith(before))
        return 0;
    if (digits > 0) {
        if (auto found = numberIn(range.sliced(beforeEnd, digits)))
            number = found;
    }
    return before.size() + digits + after.size();
}

// "<before>[0-9]*<after>" at the very start of `range`.
qsizetype findPrefixPattern(QStringView range, const QString& before, const QString& after,
                            std::optional<qint64>& number) {
    if (!range.startsWith(before))
        return 0;
    const qsizetype digits = digitRunFrom(range, before.size());
    const qsizetype afterStart = before.size() + digits;
    if (!range.sliced(afterStart).startsWith(after))
        return 0;
    if (digits > 0) {
        if (auto found = numberIn(range.sliced(before.size(), digits)))
            number = found;
    }
    return afterStart + after.size();
}

qsizetype findCopyTagLenInSuffix(QStringView range, std::optional<qint64>& number) {
    const Tables& t = tables();
    for (const QString& tag : t.suffixTags) {
        if (tag.size() <= range.size() && range.endsWith(tag))
            return tag.size();
    }
    if (!range.endsWith(u')'))
        return 0;
    if (qsizetype len = findSuffixPattern(range, t.kopieBefore, t.closeParen, number))
        return len;
    return findSuffixPattern(range, t.kopiaBefore, t.closeParen, number);
}

qsizetype findCopyTagLenInPrefix(QStringView range, std::optional<qint64>& number) {
    const Tables& t = tables();
    if (range == t.copyOf)
        return range.size();
    for (const QString& tag : t.prefixTags) {
        if (tag.size() <= range.size() && range.startsWith(tag))
            return tag.size();
    }
    if (!range.startsWith(t.copiaBefore))
        return 0;
    return findPrefixPattern(range, t.copiaBefore, t.deAfter, number);
}

// Whole-name copy word: one of the table's words, or "cópia [0-9]* de" in its whole length.
bool isNameIsCopy(QStringView text, std::optional<qint64>& number) {
    const Tables& t = tables();
    for (const QString& word : t.wholeWords) {
        if (text == word)
            return true;
    }
    if (!text.startsWith(t.copiaBefore) || !text.endsWith(t.deAtEnd))
        return false;
    const qsizetype middle = text.size() - t.copiaBefore.size() - t.deAtEnd.size();
    if (middle < 0 || digitRunFrom(text, t.copiaBefore.size()) != middle)
        return false;
    if (middle > 0) {
        if (auto found = numberIn(text.sliced(t.copiaBefore.size(), middle)))
            number = found;
    }
    return true;
}

struct ParseResult {
    QString coreName;
    qint64 power = 0;
    QList<qint64> numbers;
    bool changed = false; // some copy mark or number was taken off the name
};

// The parse of a lower-cased NFD name: suffix pass, then prefix pass, then the rest as a
// whole. Numbers are collected (and counted in the power) only when `collectNumbers`.
ParseResult parse(const QString& name, bool collectNumbers) {
    ParseResult result;
    const QStringView whole(name);
    qsizetype start = 0;
    qsizetype length = whole.size();
    std::optional<qint64> pending;

    for (const bool suffix : {true, false}) {
        bool found = true;
        while (found && length > 0) {
            found = false;
            const QStringView range = whole.sliced(start, length);
            const qsizetype tag = suffix ? findCopyTagLenInSuffix(range, pending)
                                         : findCopyTagLenInPrefix(range, pending);
            if (tag > 0) {
                length -= tag;
                if (!suffix)
                    start += tag;
                ++result.power;
                found = true;
            } else {
                // A number counts only when a space separates it from the rest.
                const qsizetype space = suffix ? range.lastIndexOf(u' ') : range.indexOf(u' ');
                if (space >= 0) {
                    const QStringView candidate =
                        suffix ? range.sliced(space + 1) : range.first(space);
                    if (!candidate.isEmpty()) {
                        if (auto number = numberIn(candidate)) {
                            pending = number;
                            if (suffix) {
                                length = space;
                            } else {
                                start += space + 1;
                                length -= space + 1;
                            }
                            found = true;
                        }
                    }
                }
            }
            if (collectNumbers && pending) {
                result.numbers.append(*pending);
                ++result.power;
                pending.reset();
            }
            if (found)
                result.changed = true;
        }
    }

    const QStringView rest = length > 0 ? whole.sliced(start, length) : QStringView();
    std::optional<qint64> wordNumber;
    if (isNameIsCopy(rest, wordNumber)) {
        result.changed = true;
        if (wordNumber) {
            if (collectNumbers)
                result.numbers.append(*wordNumber);
            result.power += 2;
        } else {
            result.power += 1;
        }
    } else if (auto number = numberIn(rest)) {
        result.changed = true;
        if (collectNumbers)
            result.numbers.append(*number);
        result.power += 1;
    } else {
        result.coreName = rest.toString();
    }
    return result;
}

QString lowerNfd(const QString& name, bool alreadyLower) {
    // Lower-case first: the case mapping of a composed letter may be composed again, and the
    // tables need the decomposed form.
    const QString lower = alreadyLower ? name : name.toLower();
    return lower.normalized(QString::NormalizationForm_D);
}

QString lastPathComponent(const QString& path) {
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == u'/')
        --end;
    const QString trimmed = path.left(end);
    if (trimmed == QStringLiteral("/"))
        return trimmed;
    return trimmed.mid(trimmed.lastIndexOf(u'/') + 1);
}

QString withoutPathExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0 || dot == name.size() - 1)
        return name;
    return name.left(dot);
}

} // namespace

AutoSelectName::AutoSelectName(QString coreName, qint64 powerOfCopy, QList<qint64> copyNumbers)
    : m_sCoreName(std::move(coreName)), m_nCopyPower(powerOfCopy),
      m_arrCopyNumbers(std::move(copyNumbers)) {}

std::unique_ptr<AutoSelectName>
AutoSelectName::buildAutoSelectNameForNodeName(const QByteArray& rawName, bool isRoot,
                                               bool removeExtension) {
    QString name = QString::fromUtf8(rawName);
    if (isRoot)
        name = lastPathComponent(name);
    if (removeExtension)
        name = withoutPathExtension(name);
    return buildAutoSelectNameForName(name);
}

std::unique_ptr<AutoSelectName> AutoSelectName::buildAutoSelectNameForName(const QString& name) {
    ParseResult result = parse(lowerNfd(name, false), true);
    if (result.numbers.size() >= 2)
        std::sort(result.numbers.begin(), result.numbers.end());
    return std::make_unique<AutoSelectName>(std::move(result.coreName), result.power,
                                            std::move(result.numbers));
}

QString AutoSelectName::calculateOriginalNameOfName(const QString& name,
                                                    bool isNameAlreadyInLowerCase) {
    const QString given = isNameAlreadyInLowerCase ? name : name.toLower();
    ParseResult result = parse(lowerNfd(given, true), false);
    if (!result.changed)
        return given;
    return result.coreName;
}

bool AutoSelectName::parseNumber(qint64& number, QStringView text) {
    while (text.size() >= 3 && text.front() == u'(' && text.back() == u')')
        text = text.sliced(1, text.size() - 2);

    bool negative = false;
    if (!text.isEmpty() && text.front() == u'-') {
        negative = true;
        text = text.sliced(1);
    }
    if (text.isEmpty())
        return false;
    // Only what prints back identically counts: no leading zeros, and no "-0".
    if (text.front() == u'0' && (text.size() > 1 || negative))
        return false;

    // Accumulate as a negative value so that the smallest 64-bit number fits too.
    constexpr qint64 minimum = std::numeric_limits<qint64>::min();
    qint64 value = 0;
    for (const QChar c : text) {
        if (!isAsciiDigit(c))
            return false;
        const int digit = c.unicode() - '0';
        if (value < (minimum + digit) / 10)
            return false;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == minimum)
            return false;
        value = -value;
    }
    number = value;
    return true;
}

int AutoSelectName::compareNumber(qint64 first, qint64 second) {
    if (first > second)
        return 1;
    if (first < second)
        return -1;
    return 0;
}

int AutoSelectName::compareWithSelectName(const AutoSelectName& other) const {
    if (m_nCopyPower != other.m_nCopyPower)
        return compareNumber(m_nCopyPower, other.m_nCopyPower);
    const qsizetype common = std::min(m_arrCopyNumbers.size(), other.m_arrCopyNumbers.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (int order = compareNumber(m_arrCopyNumbers[i], other.m_arrCopyNumbers[i]))
            return order;
    }
    return compareNumber(m_arrCopyNumbers.size(), other.m_arrCopyNumbers.size());
}
