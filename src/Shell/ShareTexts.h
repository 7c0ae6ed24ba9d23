#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The texts with which the application is recommended and support is asked, and the
// "mailto:" link that carries a mail. Pure functions: the application name, the product
// address and the size text are passed in, so each text can be checked on its own.
namespace ShareTexts {

// The maker's support address and social-media handle.
QString supportAddress();
QString socialHandle();

// ---- The Share menu of the main window.
// Posted text: the recommendation, a blank and the handle.
QString menuTwitterText(const QString& appName, const QString& siteURL);
// Two items: the recommendation and the product address.
QStringList menuFacebookItems(const QString& appName, const QString& siteURL);
QString menuEmailSubject(const QString& appName);
QString menuEmailBody(const QString& appName, const QString& siteURL);
QString supportEmailSubject();
QString supportEmailBody();

// ---- The results screen's bottom bar, with the size text shown there.
QString bottombarTwitterText(const QString& sizeText, const QString& appName,
                             const QString& siteURL);
QStringList bottombarFacebookItems(const QString& sizeText, const QString& appName,
                                   const QString& siteURL);

// ---- The congratulations screen, with the size text of what was cleaned.
QString congratulationsTwitterText(const QString& sizeText, const QString& appName,
                                   const QString& siteURL);
QStringList congratulationsFacebookItems(const QString& sizeText, const QString& appName,
                                         const QString& siteURL);
QString congratulationsEmailSubject();
QString congratulationsEmailBody(const QString& appName, const QString& siteURL,
                                 const QString& sizeText);

// "mailto:<address>?SUBJECT=<subject>&BODY=<body>". Subject and body are encoded as query
// components (UTF-8, everything but letters, digits and "-._~" percent-escaped), so an
// "&", "=", "?" or "#" inside them never ends a part early; the address keeps its "@".
// Empty parts still give "SUBJECT=" and "BODY=".
QString mailtoLink(const QString& address, const QString& subject, const QString& body);

// The social networks' web share pages, opened in the browser: Twitter's tweet intent with
// |text| (which carries the product address itself), and Facebook's sharer for the page that
// is the last of |items|, quoting the items before it. Every value is percent-encoded as a
// query component.
QUrl twitterIntentLink(const QString& text);
QUrl facebookShareLink(const QStringList& items);

} // namespace ShareTexts
