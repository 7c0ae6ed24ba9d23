#pragma once

#include <QString>

class QAction;

// The main window's Share menu, the support mail and the mail link they use. The menu
// items are the window's; these functions prepare and serve them. Main thread only.
namespace WindowSharing {

// Prepares the Share menu: an item whose social-network service is missing is hidden; the
// e-mail item always stays (the mail goes through a "mailto:" link either way).
void setSharingMenuButtons(QAction* twitterMenuItem, QAction* facebookMenuItem,
                           QAction* emailMenuItem);

// The social-network shares open the network's web share page with the recommendation and
// the product page, in the browser.
void twitterButtonPressed();
void facebookButtonPressed();
// A recommendation of the application by mail, with no address.
void emailButtonPressed();
// A mail to the maker's support address.
void contactSupportButtonPressed();

// Opens the "mailto:" link of |address|, |subject| and |body| in the user's mail
// application; |mail| is not used. Nothing is reported when no application takes it.
void sendEmailWithMailAddressSubjectBody(const QString& mail, const QString& address,
                                         const QString& subject, const QString& body);

} // namespace WindowSharing
