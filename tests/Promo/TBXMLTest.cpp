#include "Promo/TBXML.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

struct Parsed {
    std::unique_ptr<TBXML> reader;
    int error = -1;
    const TBXMLElement* root() const { return reader->rootXMLElement(); }
};

Parsed parse(const QByteArray& bytes) {
    Parsed parsed;
    parsed.reader = TBXML::newTBXMLWithXMLData(bytes, &parsed.error);
    return parsed;
}

QString text(const TBXMLElement* element) {
    return TBXML::textForElement(element).value_or(QStringLiteral("<no string>"));
}

// One lookup path from the root ("a/b" is the child b of the child a) and its expected text.
struct TextCase {
    const char* name;
    QByteArray xml;
    QString path;
    QString expected;
};

const TBXMLElement* walk(const TBXMLElement* root, const QString& path) {
    const TBXMLElement* element = root;
    for (const QString& step : path.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        element = TBXML::childElementNamed(step, element);
    return element;
}

} // namespace

TEST(TBXMLTest, TextsFollowTheCuttingRules) {
    const TextCase cases[] = {
        {"padded text is trimmed", "<r><a>  one \n</a><a>two</a></r>", "a", "one"},
        {"the root loses its text to a closed child", "<r>lead<a>x</a></r>", "", ""},
        {"text before a self-closing child stays", "<r><a>kept<b/></a></r>", "a", "kept"},
        {"CDATA with a less-than sign", "<r><a><![CDATA[x < y & z]]></a></r>", "a", "x < y & z"},
        {"two CDATA sections in a row", "<r><a><![CDATA[1<]]><![CDATA[2>]]></a></r>", "a", "1<2>"},
        {"a comment stays in the text", "<r><a>x<!-- c -->y</a></r>", "a", "x<!-- c -->y"},
        {"entities are not decoded", "<r><a>a&amp;b&#38;</a></r>", "a", "a&amp;b&#38;"},
        {"closing names are not compared", "<r><a>t</b><c>u</c></r>", "c", "u"},
        {"declaration, doctype and instruction ignored",
         "<?xml version=\"1.0\"?><!DOCTYPE r><r><?pi x?><a>v</a></r>", "a", "v"},
        {"attributes change nothing", "<r><a k=\"1\" j='2'>v</a></r>", "a", "v"},
        {"a greater-than sign in a quoted value ends the tag", "<r><a k=\"x>y\">v</a></r>", "a",
         "y\">v"},
        {"an unclosed element keeps its untrimmed text", "<r><a> open ", "a", " open "},
        {"UTF-8 text",
         "<r><a>Gr\xc3\xbc\xc3\x9f"
         "e</a></r>",
         "a", QStringLiteral("Grüße")},
        {"a zero byte ends the document",
         QByteArray("<r><a>x</a><b>y</b></r>", 11) + '\0' + "<b>y</b></r>", "b", "<missing>"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Parsed parsed = parse(c.xml);
        ASSERT_NE(parsed.root(), nullptr);
        const TBXMLElement* element = walk(parsed.root(), c.path);
        if (c.expected == QLatin1String("<missing>")) {
            EXPECT_EQ(element, nullptr);
            continue;
        }
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(text(element), c.expected);
    }
}

TEST(TBXMLTest, LookupsFindFirstChildAndFollowingSibling) {
    const Parsed parsed = parse("<r><a> first </a><b/><a>second</a></r>");
    ASSERT_NE(parsed.root(), nullptr);
    EXPECT_EQ(TBXML::elementName(parsed.root()), "r");
    EXPECT_EQ(text(parsed.root()), "");
    const TBXMLElement* first = TBXML::childElementNamed(QStringLiteral("a"), parsed.root());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(text(first), "first");
    const TBXMLElement* second = TBXML::nextSiblingNamed(QStringLiteral("a"), first);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(text(second), "second");
    EXPECT_EQ(TBXML::nextSiblingNamed(QStringLiteral("a"), second), nullptr);
    EXPECT_EQ(TBXML::childElementNamed(QStringLiteral("a"), nullptr), nullptr);
    EXPECT_EQ(TBXML::nextSiblingNamed(QStringLiteral("a"), nullptr), nullptr);
    EXPECT_EQ(text(nullptr), "");
    // A self-closing element has no text and does not become the parent of what follows.
    const TBXMLElement* b = TBXML::childElementNamed(QStringLiteral("b"), parsed.root());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->firstChild, nullptr);
    EXPECT_EQ(b->text, nullptr);
}

TEST(TBXMLTest, NameEndsAtSpaceSlashOrLineFeedOnly) {
    const Parsed parsed = parse("<r><a\r\n>x</a><b\tc=\"1\">y</b></r>");
    ASSERT_NE(parsed.root(), nullptr);
    EXPECT_EQ(TBXML::childElementNamed(QStringLiteral("a"), parsed.root()), nullptr);
    EXPECT_NE(TBXML::childElementNamed(QStringLiteral("a\r"), parsed.root()), nullptr);
    // A tab is not a name end either, so the attribute stays part of the name.
    EXPECT_EQ(TBXML::childElementNamed(QStringLiteral("b"), parsed.root()), nullptr);
}

TEST(TBXMLTest, AttributesAreRecordedWithoutCDataMarkers) {
    const Parsed parsed = parse("<r><a k=\"1\" j='<![CDATA[two]]>'>v</a></r>");
    const TBXMLElement* a = TBXML::childElementNamed(QStringLiteral("a"), parsed.root());
    ASSERT_NE(a, nullptr);
    const auto attributes = TBXML::attributesOf(a);
    ASSERT_EQ(attributes.size(), 2u);
    EXPECT_EQ(attributes[0], std::make_pair(QByteArray("k"), QByteArray("1")));
    EXPECT_EQ(attributes[1], std::make_pair(QByteArray("j"), QByteArray("two")));
    EXPECT_EQ(text(a), "v");
}

TEST(TBXMLTest, ErrorsOfParsing) {
    struct Case {
        QByteArray xml;
        int error;
        bool hasRoot;
    } const cases[] = {
        {QByteArray(), TBXML::DataIsNil, false},
        {"no markup at all", TBXML::DecodeFailure, false},
        {"<?xml version=\"1.0\"?>\n<!-- only a comment -->\n", TBXML::DecodeFailure, false},
        {"<root", TBXML::DecodeFailure, false},
        {"<!-- unterminated <a>", TBXML::DecodeFailure, false},
        {"<a>", TBXML::NoError, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml.toStdString());
        const Parsed parsed = parse(c.xml);
        EXPECT_EQ(parsed.error, c.error);
        EXPECT_EQ(parsed.root() != nullptr, c.hasRoot);
    }
    EXPECT_EQ(TBXML::errorDescription(1), "Data is nil");
    EXPECT_EQ(TBXML::errorDescription(12), "Parameter name is nil");
    EXPECT_EQ(TBXML::errorDescription(13), "No Error Description!");
}

TEST(TBXMLTest, InvalidUtf8GivesNoString) {
    const QByteArray invalid[] = {"\xff", "\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80"};
    for (const QByteArray& bytes : invalid) {
        const Parsed parsed = parse("<r><a>" + bytes + "</a></r>");
        const TBXMLElement* a = TBXML::childElementNamed(QStringLiteral("a"), parsed.root());
        ASSERT_NE(a, nullptr);
        EXPECT_FALSE(TBXML::textForElement(a).has_value()) << bytes.toHex().toStdString();
    }
}

TEST(TBXMLTest, ManyElementsSpanSeveralRecordBlocks) {
    QByteArray xml = "<r>";
    for (int i = 0; i < 250; ++i)
        xml += "<e>" + QByteArray::number(i) + "</e>";
    xml += "</r>";
    const Parsed parsed = parse(xml);
    int count = 0;
    for (const TBXMLElement* e = TBXML::childElementNamed(QStringLiteral("e"), parsed.root()); e;
         e = TBXML::nextSiblingNamed(QStringLiteral("e"), e)) {
        EXPECT_EQ(text(e), QString::number(count));
        ++count;
    }
    EXPECT_EQ(count, 250);
}
