#include "Selection/AutoSelectName.h"
#include "FileTree/FileSystemItem.h"
#include "FileTree/FolderSystemItem.h"
#include "FileTree/ScanTree.h"
#include "FileTree/VolumeSystemItem.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

QString nfc(const char* text) {
    return QString::fromUtf8(text).normalized(QString::NormalizationForm_C);
}

QString nfd(const char* text) {
    return QString::fromUtf8(text).normalized(QString::NormalizationForm_D);
}

struct NodeNameCase {
    const char* name;
    bool isRoot;
    bool removeExtension;
    const char* core;
    qint64 power;
    QList<qint64> numbers;
};

class NodeNames : public ::testing::TestWithParam<NodeNameCase> {};

TEST_P(NodeNames, ParseIntoCoreNamePowerAndNumbers) {
    const NodeNameCase& c = GetParam();
    const auto record = AutoSelectName::buildAutoSelectNameForNodeName(QByteArray(c.name), c.isRoot,
                                                                       c.removeExtension);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->getCoreName(), nfd(c.core)) << c.name;
    EXPECT_EQ(record->getPowerOfCopy(), c.power) << c.name;
    EXPECT_EQ(record->getCopyNumbers(), c.numbers) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    CopyNames, NodeNames,
    ::testing::Values(
        NodeNameCase{"Photo.JPG", false, true, "photo", 0, {}},
        NodeNameCase{"photo copy 2.jpg", false, true, "photo", 2, {2}},
        NodeNameCase{"copy of photo.jpg", false, true, "photo", 1, {}},
        NodeNameCase{"photo (2).jpg", false, true, "photo", 1, {2}},
        NodeNameCase{"photo (kopie 3).jpg", false, true, "photo", 2, {3}},
        NodeNameCase{"photo (kopie 03).jpg", false, true, "photo", 1, {}},
        NodeNameCase{"photo (kopie ).jpg", false, true, "photo", 1, {}},
        NodeNameCase{"2 copy.txt", false, true, "", 2, {2}},
        NodeNameCase{"copy.txt", false, true, "", 1, {}},
        NodeNameCase{"photos.2019", false, false, "photos.2019", 0, {}},
        NodeNameCase{"album.photoslibrary", false, true, "album", 0, {}},
        // Numbers count only when a space separates them, and only in canonical form.
        NodeNameCase{"photo2.jpg", false, true, "photo2", 0, {}},
        NodeNameCase{"01 track.mp3", false, true, "01 track", 0, {}},
        NodeNameCase{"1 track.mp3", false, true, "track", 1, {1}},
        NodeNameCase{"photo ((2)).jpg", false, true, "photo", 1, {2}},
        NodeNameCase{"photo ().jpg", false, true, "photo ()", 0, {}},
        NodeNameCase{"photo +2.jpg", false, true, "photo +2", 0, {}},
        NodeNameCase{"photo 1,000.jpg", false, true, "photo 1,000", 0, {}},
        NodeNameCase{
            "photo 99999999999999999999.jpg", false, true, "photo 99999999999999999999", 0, {}},
        // Several marks: the suffix marks go first, numbers sorted ascending.
        NodeNameCase{"x 5 copy 2.txt", false, true, "x", 3, {2, 5}},
        NodeNameCase{"copy of x copy.txt", false, true, "x", 2, {}},
        NodeNameCase{"copy of", false, false, "", 1, {}},
        NodeNameCase{"foo copy", false, false, "foo", 1, {}},
        NodeNameCase{"Foo Copy.TXT", false, true, "foo", 1, {}},
        // Extensions: a leading dot alone is no extension; a plain folder keeps its ending.
        NodeNameCase{".hidden copy", false, true, ".hidden", 1, {}},
        NodeNameCase{".bashrc", false, true, ".bashrc", 0, {}},
        NodeNameCase{"notes copy.tar.gz", false, true, "notes copy.tar", 0, {}},
        NodeNameCase{"folder copy", false, false, "folder", 1, {}},
        // A root's name is a whole path: only its last component counts.
        NodeNameCase{"/home/u/Photos copy", true, false, "photos", 1, {}},
        NodeNameCase{"/home/u/Photos 2/", true, false, "photos", 1, {2}},
        NodeNameCase{"/", true, false, "/", 0, {}},
        // The other languages, typed here in composed form (the usual form on Linux).
        NodeNameCase{"foto kópia.jpg", false, true, "foto", 1, {}},
        NodeNameCase{"foto (kópia 4).jpg", false, true, "foto", 2, {4}},
        NodeNameCase{"foto-cópia.jpg", false, true, "foto", 1, {}},
        NodeNameCase{"foto còpia.jpg", false, true, "foto", 1, {}},
        NodeNameCase{"kép másolat.png", false, true, "kép", 1, {}},
        NodeNameCase{"фото копия.jpg", false, true, "фото", 1, {}},
        NodeNameCase{"копия фото.jpg", false, true, "фото", 1, {}},
        NodeNameCase{"фото копія.jpg", false, true, "фото", 1, {}},
        NodeNameCase{"รูป สำเนา.jpg", false, true, "รูป", 1, {}},
        NodeNameCase{"תמונה - עותק.jpg", false, true, "תמונה", 1, {}},
        NodeNameCase{"写真 のコピー.jpg", false, true, "写真", 1, {}},
        NodeNameCase{"사진 복사본.jpg", false, true, "사진", 1, {}},
        NodeNameCase{"φωτο αντίγραφο.jpg", false, true, "φωτο", 1, {}},
        NodeNameCase{"照片副本.jpg", false, true, "照片", 1, {}},
        NodeNameCase{"照片 拷貝.jpg", false, true, "照片", 1, {}},
        NodeNameCase{"صورة نسخة.jpg", false, true, "صورة", 1, {}},
        NodeNameCase{"bản sao ảnh.jpg", false, true, "ảnh", 1, {}},
        NodeNameCase{"cópia de foto.jpg", false, true, "foto", 1, {}},
        NodeNameCase{"cópia 3 de foto.jpg", false, true, "foto", 2, {3}},
        NodeNameCase{"cópia 3 de.txt", false, true, "", 2, {3}},
        NodeNameCase{"cópia de.txt", false, true, "", 1, {}},
        NodeNameCase{"salinan foto.jpg", false, true, "foto", 1, {}},
        NodeNameCase{"副本.txt", false, true, "", 1, {}}));

TEST(AutoSelectName, ComposedAndDecomposedSpellingsGiveTheSameRecord) {
    for (const char* name : {"foto kópia 2", "bản sao ảnh", "사진 복사본", "写真 のコピー",
                             "φωτο αντίγραφο", "Été copy"}) {
        const QString composed = nfc(name);
        const QString decomposed = nfd(name);
        ASSERT_NE(composed, decomposed) << name;
        const auto a = AutoSelectName::buildAutoSelectNameForName(composed);
        const auto b =
            AutoSelectName::buildAutoSelectNameForNodeName(decomposed.toUtf8(), false, false);
        EXPECT_EQ(a->getCoreName(), b->getCoreName()) << name;
        EXPECT_EQ(a->getPowerOfCopy(), b->getPowerOfCopy()) << name;
        EXPECT_GE(a->getPowerOfCopy(), 1) << name;
        EXPECT_EQ(a->getCopyNumbers(), b->getCopyNumbers()) << name;
        EXPECT_EQ(a->compareWithSelectName(*b), 0) << name;
    }
}

TEST(AutoSelectName, InvalidUtf8IsParsedWithoutHarm) {
    const auto record = AutoSelectName::buildAutoSelectNameForNodeName(
        QByteArray("\xff\xfe\xc3 copy 3.jpg"), false, true);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->getPowerOfCopy(), 2);
    EXPECT_EQ(record->getCopyNumbers(), QList<qint64>{3});
    EXPECT_FALSE(record->getCoreName().isEmpty());

    const auto empty = AutoSelectName::buildAutoSelectNameForNodeName(QByteArray(), false, true);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->getCoreName(), QString());
    EXPECT_EQ(empty->getPowerOfCopy(), 0);
}

TEST(AutoSelectName, RankingOrder) {
    auto rec = [](const char* name) {
        return AutoSelectName::buildAutoSelectNameForName(QString::fromUtf8(name));
    };
    struct Pair {
        const char* better;
        const char* worse;
    };
    for (const Pair& p :
         {Pair{"photo", "photo 2"}, Pair{"photo 2", "photo 10"}, Pair{"photo", "photo 10"},
          Pair{"x copy 2", "x 2 5"}, Pair{"photo copy", "photo 7"},
          Pair{"photo copy", "photo copy copy"}, Pair{"photo -3", "photo 1"}}) {
        const auto better = rec(p.better);
        const auto worse = rec(p.worse);
        EXPECT_EQ(better->compareWithSelectName(*worse), -1) << p.better << " / " << p.worse;
        EXPECT_EQ(worse->compareWithSelectName(*better), 1) << p.better << " / " << p.worse;
    }
    EXPECT_EQ(rec("photo copy")->compareWithSelectName(*rec("other copy")), 0);
    EXPECT_EQ(rec("photo 2")->compareWithSelectName(*rec("photo (2)")), 0);
}

TEST(AutoSelectName, CoreNameAloneMatchesTheRecordAndKeepsUnmarkedNames) {
    for (const char* name :
         {"photo copy 2", "copy of photo", "2 copy", "foto (kópia 4)", "photo 2"}) {
        const QString text = QString::fromUtf8(name);
        EXPECT_EQ(AutoSelectName::calculateOriginalNameOfName(text, false),
                  AutoSelectName::buildAutoSelectNameForName(text)->getCoreName())
            << name;
    }
    // A name without copy marks comes back exactly as given, composed letters included, so
    // "unchanged" means "not a copy".
    const QString plain = nfc("été à paris");
    EXPECT_EQ(AutoSelectName::calculateOriginalNameOfName(plain, true), plain);
    EXPECT_EQ(AutoSelectName::calculateOriginalNameOfName(nfc("Été"), false), nfc("été"));
    EXPECT_NE(AutoSelectName::calculateOriginalNameOfName(QStringLiteral("photo 2"), true),
              QStringLiteral("photo 2"));
}

TEST(AutoSelectName, NumberSyntax) {
    struct Case {
        const char* text;
        bool isNumber;
        qint64 value;
    };
    for (const Case& c :
         {Case{"2", true, 2}, Case{"(2)", true, 2}, Case{"((2))", true, 2}, Case{"0", true, 0},
          Case{"-3", true, -3}, Case{"()", false, 0}, Case{"007", false, 0}, Case{"+2", false, 0},
          Case{"-0", false, 0}, Case{"1.5", false, 0}, Case{" 2", false, 0}, Case{"", false, 0},
          Case{"9223372036854775807", true, std::numeric_limits<qint64>::max()},
          Case{"-9223372036854775808", true, std::numeric_limits<qint64>::min()},
          Case{"9223372036854775808", false, 0}, Case{"٣", false, 0}}) {
        qint64 value = 12345;
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(AutoSelectName::parseNumber(value, text), c.isNumber) << c.text;
        if (c.isNumber) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

} // namespace

namespace {

TEST(AutoSelectName, RecordOfScannedNodes) {
    auto tree = ScanTree::create();
    VolumeSystemItem* root = VolumeSystemItem::initWithPath(*tree, "/tmp/scan/Photos copy", 0, 0);
    FolderSystemItem* plain =
        FolderSystemItem::initWithPathSize(*tree, "photos.2019", root, 0, false, 0, false, 0);
    FolderSystemItem* package =
        FolderSystemItem::initWithPathSize(*tree, "Album copy.app", root, 0, false, 0, false, 0);
    FileSystemItem* file =
        FileSystemItem::initWithPathSize(*tree, "Photo copy 2.JPG", plain, 10, 0, false, 10);

    struct Case {
        FileSystemItem* node;
        const char* core;
        qint64 power;
    };
    for (const Case& c : {Case{root, "photos", 1}, Case{plain, "photos.2019", 0},
                          Case{package, "album", 1}, Case{file, "photo", 2}}) {
        const auto record = AutoSelectName::buildAutoSelectNameForFileItem(c.node);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->getCoreName(), QString::fromUtf8(c.core)) << c.core;
        EXPECT_EQ(record->getPowerOfCopy(), c.power) << c.core;
    }
    EXPECT_FALSE(AutoSelectName::buildAutoSelectNameForFileItem(nullptr));
}

} // namespace
