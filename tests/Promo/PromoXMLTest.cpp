#include "Promo/PromoXML.h"

#include <gtest/gtest.h>

namespace {

QByteArray notification(const QByteArray& id, const QByteArray& title,
                        const QByteArray& skip = QByteArray(),
                        const QByteArray& link = "https://example.org/x") {
    QByteArray xml = "<notification>";
    const QList<QPair<QByteArray, QByteArray>> children{{"id", id},
                                                        {"title", title},
                                                        {"subtitle", "Sub"},
                                                        {"text", "Text"},
                                                        {"ok_button_name", "Open"},
                                                        {"ok_button_link", link},
                                                        {"cancel_button_name", "Close"},
                                                        {"bundleid", ""},
                                                        {"open_bundle_button_name", "Launch"}};
    for (const auto& [name, text] : children) {
        if (name != skip)
            xml += "<" + name + ">" + text + "</" + name + ">";
    }
    return xml + "</notification>";
}

QByteArray feed(const QByteArray& notifications) {
    return "<?xml version=\"1.0\"?><promo><notifications_list>" + notifications +
           "</notifications_list></promo>";
}

} // namespace

TEST(PromoXMLTest, TheNewestCompleteNotificationIsChosen) {
    const struct {
        const char* what;
        QByteArray document;
        std::optional<qint32> id;
        QString title;
    } cases[] = {
        {"highest id wins",
         feed(notification("3", "a") + notification("9", "b") + notification("5", "c")), 9, "b"},
        {"ties go to the first", feed(notification("4", "first") + notification("4", "second")), 4,
         "first"},
        {"zero and below never win", feed(notification("0", "z") + notification("-2", "n")),
         std::nullopt, ""},
        {"a missing child drops the notification",
         feed(notification("8", "incomplete", "bundleid") + notification("2", "whole")), 2,
         "whole"},
        {"each of the nine children is required",
         feed(notification("8", "x", "open_bundle_button_name")), std::nullopt, ""},
        {"an empty bundle id is complete", feed(notification("1", "empty bundle")), 1,
         "empty bundle"},
        {"other elements between notifications are skipped",
         feed("<note/>" + notification("6", "kept") + "<x>y</x>"), 6, "kept"},
        {"the id is the number at the start", feed(notification(" +12abc", "num")), 12, "num"},
        {"no list", "<promo><notification><id>1</id></notification></promo>", std::nullopt, ""},
        {"not XML at all", "<html><body>Log in to the hotel Wi-Fi</body></html>", std::nullopt, ""},
        {"empty", QByteArray(), std::nullopt, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto chosen = PromoXML::chooseNotification(c.document);
        ASSERT_EQ(chosen.has_value(), c.id.has_value());
        if (!chosen)
            continue;
        EXPECT_EQ(chosen->notificationID, *c.id);
        EXPECT_EQ(chosen->data.value("title").toString(), c.title);
        EXPECT_EQ(chosen->data.size(), 9);
    }
}

TEST(PromoXMLTest, LinksKeepAmpersandsAsWritten) {
    const struct {
        QByteArray written;
        QString expected;
    } cases[] = {
        {"https://e.org/?a=1&b=2", "https://e.org/?a=1&b=2"},
        {"<![CDATA[https://e.org/?a=1&b=2]]>", "https://e.org/?a=1&b=2"},
        {"https://e.org/?a=1&amp;b=2", "https://e.org/?a=1&amp;b=2"},
    };
    for (const auto& c : cases) {
        const auto chosen =
            PromoXML::chooseNotification(feed(notification("1", "t", {}, c.written)));
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(chosen->data.value("ok_button_link").toString(), c.expected);
    }
}

TEST(PromoXMLTest, TheNotificationsRootIsRecognised) {
    EXPECT_TRUE(PromoXML::isNotificationsDocument(feed(QByteArray())));
    EXPECT_FALSE(PromoXML::isNotificationsDocument("<html><head></head></html>"));
    EXPECT_FALSE(PromoXML::isNotificationsDocument("garbage"));
}

TEST(PromoXMLTest, PanelDescriptors) {
    const struct {
        const char* what;
        QByteArray document;
        bool found;
        qint32 version;
        int width;
        int height;
    } cases[] = {
        {"all given",
         "<t><zembrook><version>3</version><url>https://e.org/p.zip</url>"
         "<width>900</width><height>400</height></zembrook></t>",
         true, 3, 900, 400},
        {"sizes default",
         "<t><zembrook><version>2</version><url>https://e.org/p.zip</url>"
         "</zembrook></t>",
         true, 2, 1120, 502},
        {"no positive number",
         "<t><zembrook><version>2</version><url>u</url><width>0</width>"
         "<height>-5</height></zembrook></t>",
         true, 2, 1120, 502},
        {"a word",
         "<t><zembrook><version>2</version><url>u</url><width>wide</width>"
         "</zembrook></t>",
         true, 2, 1120, 502},
        {"800px",
         "<t><zembrook><version>2</version><url>u</url><width>800px</width>"
         "</zembrook></t>",
         true, 2, 800, 502},
        {"no version", "<t><zembrook><url>u</url></zembrook></t>", false, 0, 0, 0},
        {"no url", "<t><zembrook><version>4</version></zembrook></t>", false, 0, 0, 0},
        {"no zembrook", "<t><version>4</version><url>u</url></t>", false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto descriptor = PromoXML::readZembrookDescriptor(c.document);
        ASSERT_EQ(descriptor.has_value(), c.found);
        if (!descriptor)
            continue;
        EXPECT_EQ(descriptor->version, c.version);
        EXPECT_EQ(descriptor->width, c.width);
        EXPECT_EQ(descriptor->height, c.height);
    }
    const auto good = PromoXML::readZembrookDescriptor(
        "<t><zembrook><version>3</version><url> https://e.org/p.zip?a=1&b=2 </url></zembrook></t>");
    ASSERT_TRUE(good.has_value());
    EXPECT_EQ(good->url, QUrl("https://e.org/p.zip?a=1&b=2"));
}

TEST(PromoXMLTest, NumbersReadLikeIntValue) {
    const struct {
        const char* text;
        qint32 value;
    } cases[] = {{"42", 42},
                 {"  7 ", 7},
                 {"-5", -5},
                 {"+3", 3},
                 {"800px", 800},
                 {"px800", 0},
                 {"", 0},
                 {"99999999999", 2147483647},
                 {"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases)
        EXPECT_EQ(PromoXML::intValue(QString::fromUtf8(c.text)), c.value) << c.text;
}
