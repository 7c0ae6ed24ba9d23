#include "ShareTexts.h"

#include <QUrl>

namespace ShareTexts {

QString supportAddress() {
    return QStringLiteral("support@velquor.com");
}

QString socialHandle() {
    return QStringLiteral("@velquor");
}

QString menuTwitterText(const QString& appName, const QString& siteURL) {
    return QStringLiteral("Find duplicate files on Linux and free up space in a matter of minutes "
                          "with %1: %2")
               .arg(appName, siteURL) +
           QLatin1Char(' ') + socialHandle();
}

QStringList menuFacebookItems(const QString& appName, const QString& siteURL) {
    return {QStringLiteral("Find duplicate files on Linux and free up space in a matter of minutes "
                           "with %1:")
                .arg(appName),
            siteURL};
}

QString menuEmailSubject(const QString& appName) {
    return QStringLiteral("Find Duplicates with %1 on Linux").arg(appName);
}

QString menuEmailBody(const QString& appName, const QString& siteURL) {
    return QStringLiteral("Hello!\n\nHere\u2019s a useful app that find duplicate files on Linux, "
                          "thus could free tons of space, - %1. Check it by the following link: "
                          "%2\n\nCheers!")
        .arg(appName, siteURL);
}

QString supportEmailSubject() {
    return QStringLiteral("Sorvanta");
}

QString supportEmailBody() {
    return QStringLiteral(
        "Thank you! Here, in Velquor, we create beautiful and intuitive products, that help our "
        "customers to make complicated things simpler.\n\nIf you have any question or suggest "
        "any idea how our apps could be improved, all our customers\u2019 community and whole "
        "Velquor team would appreciate it.\n\nBest Regards,\nVelquor Team");
}

QString congratulationsTwitterText(const QString& sizeText, const QString& appName,
                                   const QString& siteURL) {
    return QStringLiteral("I've just removed %1 of duplicate files on Linux with %2 by ")
               .arg(sizeText, appName) +
           socialHandle() + QStringLiteral(" - %1").arg(siteURL);
}

QStringList congratulationsFacebookItems(const QString& sizeText, const QString& appName,
                                         const QString& siteURL) {
    return {QStringLiteral("I've just removed %1 of duplicate files on Linux with %2 by Velquor - ")
                .arg(sizeText, appName),
            siteURL};
}

QString bottombarTwitterText(const QString& sizeText, const QString& appName,
                             const QString& siteURL) {
    return QStringLiteral("I\u2019ve just removed %1 of duplicate files on Mac with %2 by ")
               .arg(sizeText, appName) +
           socialHandle() + QStringLiteral(" - %1").arg(siteURL);
}

QStringList bottombarFacebookItems(const QString& sizeText, const QString& appName,
                                   const QString& siteURL) {
    return {QStringLiteral("I\u2019ve just removed %1 of duplicate files on Mac with %2 by "
                           "Velquor - ")
                .arg(sizeText, appName),
            siteURL};
}

QString congratulationsEmailSubject() {
    return QStringLiteral("Remove Linux Duplicates");
}

QString congratulationsEmailBody(const QString& appName, const QString& siteURL,
                                 const QString& sizeText) {
    return QStringLiteral(
               "Hello,\n\nI would like to share with you a link to %1 - %2 - an app to "
               "remove any type of duplicate files on Linux. I\u2019ve just cleaned %3 of "
               "identical files.")
        .arg(appName, siteURL, sizeText);
}

QString mailtoLink(const QString& address, const QString& subject, const QString& body) {
    const auto escape = [](const QString& text, const QByteArray& keep = {}) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
    };
    return QStringLiteral("mailto:%1?%2&%3")
        .arg(escape(address, "@"), QStringLiteral("SUBJECT=") + escape(subject),
             QStringLiteral("BODY=") + escape(body));
}

namespace {

QString queryValue(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

} // namespace

QUrl twitterIntentLink(const QString& text) {
    return QUrl::fromEncoded(
        (QStringLiteral("https://twitter.com/intent/tweet?text=") + queryValue(text)).toLatin1(),
        QUrl::StrictMode);
}

QUrl facebookShareLink(const QStringList& items) {
    const QString page = items.isEmpty() ? QString() : items.last();
    const QString quote = items.mid(0, items.size() - 1).join(QLatin1Char(' ')).trimmed();
    QString link =
        QStringLiteral("https://www.facebook.com/sharer/sharer.php?u=") + queryValue(page);
    if (!quote.isEmpty())
        link += QStringLiteral("&quote=") + queryValue(quote);
    return QUrl::fromEncoded(link.toLatin1(), QUrl::StrictMode);
}

} // namespace ShareTexts
