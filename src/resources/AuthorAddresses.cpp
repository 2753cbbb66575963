#include "resources/AuthorAddresses.h"

#include "resources/Messages.h"

using namespace Qt::StringLiterals;

// The build passes the addresses as string literals; none means unset.
#ifndef ORIBEL_AUTHOR_SITE
#define ORIBEL_AUTHOR_SITE ""
#endif
#ifndef ORIBEL_AUTHOR_SUPPORT_MAIL
#define ORIBEL_AUTHOR_SUPPORT_MAIL ""
#endif
#ifndef ORIBEL_AUTHOR_MAIL
#define ORIBEL_AUTHOR_MAIL ""
#endif

AuthorAddresses::AuthorAddresses(const QString& site, const QString& supportMail, const QString& personalMail)
    : site_(site.trimmed()), supportMail_(supportMail.trimmed()), personalMail_(personalMail.trimmed()) {
    if (!site_.isEmpty() && !site_.endsWith(u'/'))
        site_ += u'/';
}

const AuthorAddresses& AuthorAddresses::builtIn() {
    static const AuthorAddresses addresses(QString::fromUtf8(ORIBEL_AUTHOR_SITE),
                                           QString::fromUtf8(ORIBEL_AUTHOR_SUPPORT_MAIL),
                                           QString::fromUtf8(ORIBEL_AUTHOR_MAIL));
    return addresses;
}

QString AuthorAddresses::page(const QString& relative) const {
    return hasSite() ? site_ + relative : QString();
}

QString AuthorAddresses::manualUrl() const {
    return page(u"manual/"_s);
}

QString AuthorAddresses::downloadUrl() const {
    return page(u"download/"_s);
}

QString AuthorAddresses::diaryUrl() const {
    return page(u"diary/"_s);
}

QString AuthorAddresses::serviceQuery(ServicePage page) {
    switch (page) {
    case ServicePage::VersionCheck:
        return u"332_ver"_s;
    case ServicePage::Top:
        return u"332_top"_s;
    case ServicePage::Message:
        return u"332_msg"_s;
    case ServicePage::UserDiaries:
        return u"332_link"_s;
    }
    return {};
}

QString AuthorAddresses::serviceUrl(ServicePage servicePage) const {
    return page(u"service?"_s + serviceQuery(servicePage));
}

QString AuthorAddresses::supportMailto() const {
    return hasSupportMail() ? msg::MailtoPrefix + supportMail_ : QString();
}

QString AuthorAddresses::shown(const QString& address) {
    return address.isEmpty() ? msg::AuthorAddressNone : address;
}
