#include "FileTree/FileType.h"
#include "FileTree/UMUTITypeCache.h"
#include "FileTree/UTIDynamicTypes.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Looks types up with a cache of the test's own, so that every test starts empty, and
// counts how often the type table is asked for.
class FileTypeTest : public ::testing::Test {
protected:
    DuplicatesCategoryType typeOf(const QString& path, const UTIDynamicTypes& table) {
        return FileType::typeOfFileAtPath(path, cache, [&]() -> const UTIDynamicTypes& {
            ++tableRequests;
            return table;
        });
    }
    DuplicatesCategoryType typeOf(const QString& path) {
        return typeOf(path, UTIDynamicTypes::shared());
    }
    UTIDynamicTypes tableWith(const QByteArray& contents) {
        const QString path = dir.filePath("table.txt");
        QFile::remove(path);
        EXPECT_TRUE(TestSupport::writeFile(QFile::encodeName(path), contents));
        return UTIDynamicTypes(path);
    }

    QTemporaryDir dir;
    UMUTITypeCache cache;
    std::atomic<int> tableRequests{0};
};

TEST(FileTypePathExtension, LastComponentAfterItsLastDot) {
    const std::pair<const char*, const char*> cases[] = {
        {"a.txt", "txt"},
        {"/home/u/archive.tar.gz", "gz"},
        {"Photo.JPG", "JPG"},
        {"/home/u/Bundle.app/", "app"},
        {"/home/u/dir.d/name", ""},
        {".bashrc", ""},
        {"/home/u/.config", ""},
        {"/home/u/.hidden.png", "png"},
        {"name.", ""},
        {"..", ""},
        {"noext", ""},
        {"", ""},
        {"/", ""},
    };
    for (const auto& [path, extension] : cases) {
        EXPECT_EQ(FileType::pathExtension(QString::fromUtf8(path)), QString::fromUtf8(extension))
            << path;
        EXPECT_EQ(FileType::pathExtension(QByteArray(path)), QByteArray(extension)) << path;
        EXPECT_EQ(FileType::pathExtensionView(QByteArray(path)), QByteArray(extension)) << path;
    }
}

TEST_F(FileTypeTest, CategoriesFromTheTypeDatabase) {
    const std::pair<const char*, DuplicatesCategoryType> cases[] = {
        {"a.jpg", DuplicatesCategoryTypeImage},
        {"a.PNG", DuplicatesCategoryTypeImage},
        {"a.svg", DuplicatesCategoryTypeImage},
        {"a.cr2", DuplicatesCategoryTypeImage},
        {"a.mov", DuplicatesCategoryTypeVideo},
        {"a.mkv", DuplicatesCategoryTypeVideo},
        {"a.mp3", DuplicatesCategoryTypeMusic},
        {"a.mka", DuplicatesCategoryTypeMusic},
        {"a.wma", DuplicatesCategoryTypeMusic},
        {"a.txt", DuplicatesCategoryTypeDocument},
        {"a.pdf", DuplicatesCategoryTypeDocument},
        {"a.docx", DuplicatesCategoryTypeDocument},
        {"a.xlsx", DuplicatesCategoryTypeDocument},
        {"a.odt", DuplicatesCategoryTypeDocument},
        {"a.epub", DuplicatesCategoryTypeDocument},
        {"a.zip", DuplicatesCategoryTypeArchive},
        {"a.tar.gz", DuplicatesCategoryTypeArchive},
        {"a.7z", DuplicatesCategoryTypeArchive},
        {"a.iso", DuplicatesCategoryTypeArchive},
        {"a.deb", DuplicatesCategoryTypeArchive},
        {"a.jar", DuplicatesCategoryTypeArchive},
        // Known types outside every family above count as data, and data as documents.
        {"a.so", DuplicatesCategoryTypeDocument},
        {"a.ttf", DuplicatesCategoryTypeDocument},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(typeOf(QString::fromUtf8(name)), expected) << name;
    }
    EXPECT_EQ(tableRequests, 0) << "known extensions never need the table";
}

TEST_F(FileTypeTest, UnknownExtensionsComeFromTheShippedTable) {
    EXPECT_EQ(typeOf("/home/u/App.swift"), DuplicatesCategoryTypeDocument);
    EXPECT_EQ(typeOf("/home/u/loop.caf"), DuplicatesCategoryTypeMusic);
    EXPECT_EQ(typeOf("/home/u/clip.braw"), DuplicatesCategoryTypeVideo);
    // Not in the table: others, and cached as such.
    EXPECT_EQ(typeOf("/home/u/file.zzqqx"), DuplicatesCategoryTypeOther);
    EXPECT_EQ(cache.fileTypeIdentifierWithExtension("zzqqx"), DuplicatesCategoryTypeOther);
    EXPECT_EQ(typeOf("/home/u/other.zzqqx"), DuplicatesCategoryTypeOther);
    EXPECT_EQ(tableRequests, 4) << "a cached answer does not ask the table again";
}

TEST_F(FileTypeTest, ShippedTableIsCompiledInAndNamesOnlyCategories) {
    // Read from the program itself, wherever it was started from and whatever is installed.
    const UTIDynamicTypes& table = UTIDynamicTypes::shared();
    ASSERT_FALSE(table.isEmpty());
    EXPECT_EQ(table.filePath(), UTIDynamicTypes::resourcePath());
    EXPECT_TRUE(table.filePath().startsWith(QLatin1String(":/")));
    QFile file(table.filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    int entries = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (line.trimmed().isEmpty() || line.startsWith('#')) {
            continue;
        }
        ASSERT_EQ(words.size(), 2) << line.toStdString();
        ++entries;
        EXPECT_NE(DuplicatesCategoryTypes::typeOfName(QString::fromUtf8(words.at(1))),
                  DuplicatesCategoryTypeUnknown)
            << "no such category: " << line.toStdString();
    }
    EXPECT_EQ(entries, table.count()) << "every entry line is read, none twice";
}

TEST_F(FileTypeTest, AMissingOrDamagedTableMakesUnknownExtensionsOthers) {
    struct Case {
        const char* name;
        UTIDynamicTypes table;
    };
    const Case cases[] = {
        {"no table at all", UTIDynamicTypes()},
        {"a table file that is gone", UTIDynamicTypes(dir.filePath("gone.txt"))},
        {"binary garbage", tableWith(QByteArray("\x00\xff\xfe swift\x01\n\x80\x81", 13))},
        {"lines of the wrong shape",
         tableWith("swift\nswift document extra\n\n# swift document\n")},
    };
    for (const Case& c : cases) {
        UMUTITypeCache fresh;
        const auto type = FileType::typeOfFileAtPath(
            "/home/u/App.swift", fresh, [&]() -> const UTIDynamicTypes& { return c.table; });
        EXPECT_EQ(type, DuplicatesCategoryTypeOther) << c.name;
        // Known types do not need the table.
        EXPECT_EQ(FileType::typeOfFileAtPath("/home/u/a.png", fresh,
                                             [&]() -> const UTIDynamicTypes& { return c.table; }),
                  DuplicatesCategoryTypeImage)
            << c.name;
    }
}

TEST_F(FileTypeTest, NamesWithoutExtensionAreOthersAndNotCached) {
    for (const char* name : {"", "README", "/home/u/.bashrc", "/home/u/name.", "/home/u/a.d/b"}) {
        EXPECT_EQ(typeOf(QString::fromUtf8(name)), DuplicatesCategoryTypeOther) << name;
    }
    EXPECT_FALSE(cache.containsExtension(""));
    EXPECT_FALSE(cache.containsExtension("d"));
    EXPECT_EQ(tableRequests, 0);
}

TEST_F(FileTypeTest, ExtensionsDifferingInCaseAreCachedApart) {
    EXPECT_EQ(typeOf("a.JPG"), DuplicatesCategoryTypeImage);
    EXPECT_TRUE(cache.containsExtension("JPG"));
    EXPECT_FALSE(cache.containsExtension("jpg"));
    EXPECT_EQ(typeOf("b.jpg"), DuplicatesCategoryTypeImage);
    EXPECT_TRUE(cache.containsExtension("jpg"));
}

TEST_F(FileTypeTest, CachedNumberAnswersAndMinusOneCountsAsAbsent) {
    cache.setUTITypeForExtension(DuplicatesCategoryTypeMusic, "txt");
    EXPECT_EQ(typeOf("notes.txt"), DuplicatesCategoryTypeMusic);
    cache.setUTITypeForExtension(DuplicatesCategoryTypeUnknown, "png");
    EXPECT_EQ(typeOf("picture.png"), DuplicatesCategoryTypeImage);
    EXPECT_EQ(cache.fileTypeIdentifierWithExtension("png"), DuplicatesCategoryTypeImage);
    EXPECT_EQ(cache.fileTypeIdentifierWithExtension("never-seen"), DuplicatesCategoryTypeUnknown);
}

TEST_F(FileTypeTest, TableValueNamingNoCategoryIsLookedUpAgain) {
    const UTIDynamicTypes first = tableWith("zzqqa unknown\nzzqqb archive\nZZQQC video\n");
    EXPECT_EQ(typeOf("x.zzqqa", first), DuplicatesCategoryTypeUnknown);
    EXPECT_TRUE(cache.containsExtension("zzqqa"));
    EXPECT_EQ(cache.fileTypeIdentifierWithExtension("zzqqa"), DuplicatesCategoryTypeUnknown);
    // A misspelt name is no category either ("archieve" is the stored spelling).
    EXPECT_EQ(typeOf("x.zzqqb", first), DuplicatesCategoryTypeUnknown);
    // The table is case-sensitive although the type database is not.
    EXPECT_EQ(typeOf("x.zzqqc", first), DuplicatesCategoryTypeOther);
    EXPECT_EQ(typeOf("x.ZZQQC", first), DuplicatesCategoryTypeVideo);

    // The cached -1 is not an answer: the next call asks the table again.
    const UTIDynamicTypes second = tableWith("zzqqa music\n");
    EXPECT_EQ(typeOf("y.zzqqa", second), DuplicatesCategoryTypeMusic);
    EXPECT_EQ(cache.fileTypeIdentifierWithExtension("zzqqa"), DuplicatesCategoryTypeMusic);
}

TEST_F(FileTypeTest, TableFileParsing) {
    const UTIDynamicTypes table = tableWith("# comment\n"
                                            "\n"
                                            "  abc\timage  \n"
                                            "broken line here\n"
                                            "lonely\n"
                                            "def folder\n");
    EXPECT_EQ(table.count(), 2);
    EXPECT_EQ(table.nameForExtension("abc"), "image");
    EXPECT_EQ(table.nameForExtension("def"), "folder");
    EXPECT_FALSE(table.containsExtension("broken"));
    EXPECT_FALSE(table.containsExtension("lonely"));
    EXPECT_TRUE(UTIDynamicTypes(dir.filePath("missing.txt")).isEmpty());
}

TEST_F(FileTypeTest, RawByteNamesUseTheirExtension) {
    EXPECT_EQ(FileType::typeOfFileAtPath(QByteArray("/tmp/\xff\xfe bad.jpg")),
              DuplicatesCategoryTypeImage);
    EXPECT_EQ(FileType::typeOfFileAtPath(QByteArray("/tmp/\xff\xfe")), DuplicatesCategoryTypeOther);
    EXPECT_EQ(FileType::typeOfFileAtPath(QString("/tmp/song.flac")), DuplicatesCategoryTypeMusic);
}

TEST_F(FileTypeTest, ConcurrentLookupsAgreeWithSerialOnes) {
    const QStringList names = {"a.jpg",   "a.JPG", "a.mov",   "a.mp3", "a.txt", "a.zip", "a.docx",
                               "a.swift", "a.caf", "a.zzqqx", "noext", "a.pdf", "a.iso", "a.so"};
    UMUTITypeCache serialCache;
    std::vector<int> expected;
    for (const QString& name : names) {
        expected.push_back(FileType::typeOfFileAtPath(name, serialCache, UTIDynamicTypes::shared));
    }
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round) {
                for (qsizetype i = 0; i < names.size(); ++i) {
                    const qsizetype k = (i + t + round) % names.size();
                    if (typeOf(names.at(k)) != expected[k]) {
                        ++mismatches;
                    }
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches.load(), 0);
}

} // namespace
