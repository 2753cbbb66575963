#pragma once
// Every address of Oribel's author, in one place: the web site with its
// pages (manual, download page, the author's own diary, the service page and
// its queries) and the two mail boxes. They are set when the program is built
// (CMake cache variables ORIBEL_AUTHOR_SITE, ORIBEL_AUTHOR_SUPPORT_MAIL and
// ORIBEL_AUTHOR_MAIL); while one is unset there is no such address, and the
// program says so instead of handing a dead address to the desktop.

#include <QString>

class AuthorAddresses {
public:
    // The pages of the service page, each chosen by its query.
    enum class ServicePage {
        VersionCheck, // "332_ver"
        Top,          // "332_top"
        Message,      // "332_msg"
        UserDiaries,  // "332_link"
    };

    AuthorAddresses() = default;
    // site: the web site's address (a missing final "/" is added); empty for none.
    AuthorAddresses(const QString& site, const QString& supportMail, const QString& personalMail);

    // The addresses this program was built with.
    static const AuthorAddresses& builtIn();

    bool hasSite() const { return !site_.isEmpty(); }
    bool hasSupportMail() const { return !supportMail_.isEmpty(); }
    bool hasPersonalMail() const { return !personalMail_.isEmpty(); }

    // Each address below is empty while the site (or the mail box) is unset.
    QString siteUrl() const { return site_; }
    QString manualUrl() const;
    QString downloadUrl() const;
    QString diaryUrl() const;
    // The service page with its query after a "?".
    QString serviceUrl(ServicePage page) const;
    QString supportMail() const { return supportMail_; }
    QString personalMail() const { return personalMail_; }
    // "mailto:" and the support mail box.
    QString supportMailto() const;

    static QString serviceQuery(ServicePage page);
    // An address as shown to the user: itself, or a note that there is none yet.
    static QString shown(const QString& address);

private:
    QString page(const QString& relative) const;

    QString site_;
    QString supportMail_;
    QString personalMail_;
};
