#pragma once

#include "Screens/AttributedText.h"

#include <QDateTime>
#include <QStringList>

#include <cstdint>
#include <optional>

// The texts of the interim, no-duplicates and congratulations screens, as pure functions of
// the figures they show.
namespace FlowTexts {

// The last path component of a folder path ("/" for the root).
QString folderName(const QString& path);

// ---- Interim screen.
// "<n> folder was scanned on " / "<n> folders were scanned on ", the date in bold, ".".
AttributedText interimFoldersLine(qsizetype folderCount, const QDateTime& finishDate);
// The found size in bold and " of duplicates were found."; when something was removed,
// " of duplicates were found. " and the removed size in bold with " were cleaned.".
// A missing size counts as 0.
AttributedText interimFoundLine(std::optional<std::int64_t> foundSize,
                                std::optional<std::int64_t> removedSize);

// ---- No-duplicates view.
// A long name keeps both ends: the first |keep| and the last |keep| characters around "..."
// once it has |threshold| characters or more.
QString shortenKeepingEnds(const QString& name, int threshold, int keep);
// "The folder <a> was scanned.", "The folder <a> and <b> were scanned.", or
// "The folders <a> and others were scanned.".
AttributedText noDuplicatesFolderSentence(const QStringList& folders);
// 1234567 gives "1 234 567".
QString getStringWithSpacesFromNumber(std::uint64_t number);
// "<count> files checked." ("file" for 1).
QString filesCheckedLine(std::uint64_t filesCount);
// The line under the count. Only a scan that ran to its end may say every file is unique; a
// stopped one says it stopped before comparing everything, and one whose |folderCount|
// folders all lie on the skip list (|allSkipped|) says none of their files was compared.
QString noDuplicatesOutcomeLine(bool scanStopped, bool allSkipped = false, int folderCount = 1);
// The question before the rescan link.
QString noDuplicatesRescanQuestion(bool scanStopped);
// The note on a manual minimal size; nothing when the size is chosen automatically or is 0.
std::optional<QString> minimalSizeNote(bool automatic, std::uint64_t minimalSize);

// ---- Congratulations screen.
// A long name keeps its start: the first |keep| characters and "..." once it has
// |threshold| characters or more.
QString shortenKeepingStart(const QString& name, int threshold, int keep);
// "The folder <a> was processed." and its two- and many-folder forms.
AttributedText congratulationsFolderSentence(const QStringList& folders);
// The size in bold, then " cleaned.".
AttributedText cleanedLine(std::uint64_t removedSize);
// The lifetime total in bold, then " cleaned in total.".
AttributedText cleanedInTotalLine(std::uint64_t cleanedTotal);
// "No duplicates left." in bold.
AttributedText noDuplicatesLeftLine();

// Where the share buttons stand: x origins around |middle| (half the width of their
// superview); nothing for a hidden button.
struct ShareButtonsPlacement {
    std::optional<int> twitterX;
    std::optional<int> facebookX;
    int emailX = 0;
    bool operator==(const ShareButtonsPlacement&) const = default;
};
ShareButtonsPlacement shareButtonsPlacement(bool twitterShown, bool facebookShown, int middle);

} // namespace FlowTexts
