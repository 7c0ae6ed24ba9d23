#include "Platform/TypeIdentifier.h"

#include <gtest/gtest.h>

namespace {

using C = TypeIdentifier::Conformance;

TEST(TypeIdentifierTest, PreferredIdentifierMatchesTheExtensionOnly) {
    EXPECT_EQ(TypeIdentifier::preferredIdentifierForExtension(""), "");
    EXPECT_EQ(TypeIdentifier::preferredIdentifierForExtension("jpg"), "image/jpeg");
    // Glob patterns of the database ignore case.
    EXPECT_EQ(TypeIdentifier::preferredIdentifierForExtension("JPG"), "image/jpeg");
    // Whole-name patterns ("Makefile") never match an extension.
    EXPECT_TRUE(
        TypeIdentifier::isDynamic(TypeIdentifier::preferredIdentifierForExtension("makefile")));
    EXPECT_TRUE(
        TypeIdentifier::isDynamic(TypeIdentifier::preferredIdentifierForExtension("zzqqx")));
    EXPECT_FALSE(TypeIdentifier::isDynamic("text/plain"));
}

TEST(TypeIdentifierTest, ConformanceFollowsInheritance) {
    struct Case {
        const char* extension;
        C conformance;
        bool expected;
    };
    const Case cases[] = {
        {"jpg", C::Image, true},
        {"jpg", C::Data, true},
        {"jpg", C::Content, false},
        {"svg", C::Image, true},
        {"mov", C::Movie, true},
        {"mov", C::Audio, false},
        {"mka", C::Audio, true},
        {"mka", C::Movie, false},
        {"flac", C::Audio, true},
        {"cpp", C::Content, true},
        {"cpp", C::Archive, false},
        {"pdf", C::Content, true},
        {"pdf", C::CompositeContent, true},
        {"pdf", C::Image, false},
        {"docx", C::OpenXml, true},
        {"docx", C::Content, true},
        // Office documents are zip files underneath, hence the order of the tests.
        {"docx", C::Archive, true},
        {"odt", C::Content, true},
        {"odt", C::OpenXml, false},
        {"zip", C::Archive, true},
        {"zip", C::Content, false},
        {"tgz", C::Archive, true},
        {"iso", C::Archive, true},
        {"so", C::Data, true},
        {"so", C::Content, false},
        {"so", C::Archive, false},
    };
    for (const Case& c : cases) {
        const QString identifier = TypeIdentifier::preferredIdentifierForExtension(c.extension);
        EXPECT_EQ(TypeIdentifier::conformsTo(identifier, c.conformance), c.expected)
            << c.extension << " (" << identifier.toStdString() << ") conformance "
            << static_cast<int>(c.conformance);
    }
}

TEST(TypeIdentifierTest, DynamicEmptyAndNonDataIdentifiers) {
    const QString dynamic = TypeIdentifier::preferredIdentifierForExtension("zzqqx");
    for (C c :
         {C::Image, C::Movie, C::Audio, C::Content, C::CompositeContent, C::OpenXml, C::Archive}) {
        EXPECT_FALSE(TypeIdentifier::conformsTo(dynamic, c));
        EXPECT_FALSE(TypeIdentifier::conformsTo("", c));
    }
    EXPECT_TRUE(TypeIdentifier::conformsTo(dynamic, C::Data));
    EXPECT_FALSE(TypeIdentifier::conformsTo("", C::Data));
    EXPECT_FALSE(TypeIdentifier::conformsTo("no/such-type", C::Data));
    // Folders are not byte data.
    EXPECT_FALSE(TypeIdentifier::conformsTo("inode/directory", C::Data));
}

} // namespace
