#pragma once

#include <QString>

// Facts about the running application for the share texts, the About window and the
// promotions. They are constants of the build (the project's name and version, the
// configured product page), so they need no instance and no start-up and can be asked from
// any thread.
class PromoManager final {
public:
    PromoManager() = delete;

    // "Sorvanta".
    static QString getAppName();
    // The short version text, "0.1.0".
    static QString getAppVersion();
    // The product's web page quoted in the share texts; empty when the build sets none.
    static QString getPromoSiteURL();
    // The maker's web site (no trailing "/"), the host of the About window's links.
    static QString getMakerSiteURL();
};
