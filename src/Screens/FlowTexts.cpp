#include "FlowTexts.h"

#include "Categories/DateText.h"
#include "Categories/FileSize.h"

namespace FlowTexts {

using AttributedTextBuilder::boldFirst;
using AttributedTextBuilder::boldMiddle;
using AttributedTextBuilder::boldSecondAndFifth;
using AttributedTextBuilder::boldSecondAndFourth;

namespace {

std::uint64_t bytes(std::optional<std::int64_t> size) {
    return size && *size > 0 ? static_cast<std::uint64_t>(*size) : 0;
}

} // namespace

QString folderName(const QString& path) {
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/')))
        trimmed.chop(1);
    if (trimmed == QLatin1String("/"))
        return trimmed;
    return trimmed.mid(trimmed.lastIndexOf(QLatin1Char('/')) + 1);
}

AttributedText interimFoldersLine(qsizetype folderCount, const QDateTime& finishDate) {
    const QString counted =
        QStringLiteral("%1 %2 scanned on ")
            .arg(QString::number(folderCount),
                 folderCount == 1 ? QStringLiteral("folder was") : QStringLiteral("folders were"));
    return boldMiddle(counted, DateText::shortStringDate(finishDate), QStringLiteral("."));
}

AttributedText interimFoundLine(std::optional<std::int64_t> foundSize,
                                std::optional<std::int64_t> removedSize) {
    const QString found = FileSize::formatMemoryStringDot1(bytes(foundSize));
    if (bytes(removedSize) > 0) {
        return boldSecondAndFifth(QString(), found, QStringLiteral(" of duplicates were found. "),
                                  QString(), FileSize::formatMemoryStringDot1(bytes(removedSize)),
                                  QStringLiteral(" were cleaned."));
    }
    return boldMiddle(QString(), found, QStringLiteral(" of duplicates were found."));
}

QString shortenKeepingEnds(const QString& name, int threshold, int keep) {
    if (name.size() < threshold)
        return name;
    return QStringLiteral("%1...%2").arg(name.left(keep), name.right(keep));
}

QString shortenKeepingStart(const QString& name, int threshold, int keep) {
    if (name.size() < threshold)
        return name;
    return name.left(keep) + QStringLiteral("...");
}

namespace {

// The three sentence forms of both screens; |shorten| gets the name and whether two
// folders share the line.
template <typename Shorten>
AttributedText folderSentence(const QStringList& folders, const QString& verb, Shorten shorten) {
    if (folders.isEmpty())
        return {};
    const QString first = folderName(folders.first());
    if (folders.size() == 1) {
        return boldMiddle(QStringLiteral("The folder "), shorten(first, false),
                          QStringLiteral(" was %1.").arg(verb));
    }
    if (folders.size() == 2) {
        return boldSecondAndFourth(
            QStringLiteral("The folder "), shorten(first, true), QStringLiteral(" and "),
            shorten(folderName(folders.at(1)), true), QStringLiteral(" were %1.").arg(verb));
    }
    return boldMiddle(QStringLiteral("The folders "), shorten(first, false),
                      QStringLiteral(" and others were %1.").arg(verb));
}

} // namespace

AttributedText noDuplicatesFolderSentence(const QStringList& folders) {
    return folderSentence(folders, QStringLiteral("scanned"), [](const QString& name, bool pair) {
        return pair ? shortenKeepingEnds(name, 21, 10) : shortenKeepingEnds(name, 41, 20);
    });
}

QString getStringWithSpacesFromNumber(std::uint64_t number) {
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return digits;
}

QString filesCheckedLine(std::uint64_t filesCount) {
    return QStringLiteral("%1 %2 checked.")
        .arg(getStringWithSpacesFromNumber(filesCount),
             filesCount == 1 ? QStringLiteral("file") : QStringLiteral("files"));
}

QString noDuplicatesOutcomeLine(bool scanStopped, bool allSkipped, int folderCount) {
    if (scanStopped)
        return QStringLiteral("The scan was stopped before every file was compared.");
    if (allSkipped)
        return folderCount == 1
                   ? QStringLiteral("This folder is on the skip list: none of its files was "
                                    "compared.")
                   : QStringLiteral("These folders are on the skip list: none of their files "
                                    "was compared.");
    return QStringLiteral("Every file in these folders is unique.");
}

QString noDuplicatesRescanQuestion(bool scanStopped) {
    return scanStopped ? QStringLiteral("Stopped too early?")
                       : QStringLiteral("Changed your scan settings?");
}

std::optional<QString> minimalSizeNote(bool automatic, std::uint64_t minimalSize) {
    if (automatic || minimalSize == 0)
        return std::nullopt;
    return QStringLiteral("*Minimal duplicates file size is %1.")
        .arg(FileSize::formatMemoryStringDot1(minimalSize));
}

AttributedText congratulationsFolderSentence(const QStringList& folders) {
    return folderSentence(folders, QStringLiteral("processed"), [](const QString& name, bool pair) {
        return pair ? shortenKeepingStart(name, 21, 20) : shortenKeepingStart(name, 41, 40);
    });
}

AttributedText cleanedLine(std::uint64_t removedSize) {
    return boldFirst(FileSize::formatMemoryStringDot1(removedSize), QStringLiteral(" cleaned."));
}

AttributedText cleanedInTotalLine(std::uint64_t cleanedTotal) {
    return boldFirst(FileSize::formatMemoryStringDot1(cleanedTotal),
                     QStringLiteral(" cleaned in total."));
}

AttributedText noDuplicatesLeftLine() {
    return boldMiddle(QString(), QStringLiteral("No duplicates left."), QString());
}

ShareButtonsPlacement shareButtonsPlacement(bool twitterShown, bool facebookShown, int middle) {
    if (twitterShown && facebookShown)
        return {middle - 90, middle - 24, middle + 42};
    if (twitterShown)
        return {middle - 57, std::nullopt, middle + 9};
    if (facebookShown)
        return {std::nullopt, middle - 57, middle + 9};
    return {std::nullopt, std::nullopt, middle - 24};
}

} // namespace FlowTexts
