#include "resources/AuthorAddresses.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using Page = AuthorAddresses::ServicePage;

TEST(AuthorAddresses, EveryPageLiesOnTheOneSite) {
    // The final "/" is added when the site is given without it.
    for (const QString& site :
         {u"https://diary.example.net/oribel"_s, u" https://diary.example.net/oribel/ "_s}) {
        const AuthorAddresses author(site, u"help@example.net"_s, u"me@example.net"_s);
        EXPECT_TRUE(author.hasSite());
        EXPECT_EQ(author.siteUrl(), u"https://diary.example.net/oribel/"_s);
        EXPECT_EQ(author.manualUrl(), u"https://diary.example.net/oribel/manual/"_s);
        EXPECT_EQ(author.downloadUrl(), u"https://diary.example.net/oribel/download/"_s);
        EXPECT_EQ(author.diaryUrl(), u"https://diary.example.net/oribel/diary/"_s);
        EXPECT_EQ(author.serviceUrl(Page::VersionCheck),
                  u"https://diary.example.net/oribel/service?332_ver"_s);
        EXPECT_EQ(author.serviceUrl(Page::Top), u"https://diary.example.net/oribel/service?332_top"_s);
        EXPECT_EQ(author.serviceUrl(Page::Message), u"https://diary.example.net/oribel/service?332_msg"_s);
        EXPECT_EQ(author.serviceUrl(Page::UserDiaries),
                  u"https://diary.example.net/oribel/service?332_link"_s);
        EXPECT_EQ(author.supportMailto(), u"mailto:help@example.net"_s);
        EXPECT_EQ(author.personalMail(), u"me@example.net"_s);
        EXPECT_EQ(AuthorAddresses::shown(author.manualUrl()), author.manualUrl());
    }
}

TEST(AuthorAddresses, UnsetAddressesAreEmptyAndShownAsNoneYet) {
    const AuthorAddresses none(u"  "_s, QString(), QString());
    EXPECT_FALSE(none.hasSite());
    EXPECT_FALSE(none.hasSupportMail());
    EXPECT_FALSE(none.hasPersonalMail());
    for (const QString& address :
         {none.siteUrl(), none.manualUrl(), none.downloadUrl(), none.diaryUrl(),
          none.serviceUrl(Page::VersionCheck), none.serviceUrl(Page::UserDiaries), none.supportMailto()})
        EXPECT_EQ(address, QString());
    EXPECT_EQ(AuthorAddresses::shown(none.manualUrl()), u"（準備中）"_s);

    // A site without mail boxes: the pages exist, the mail does not.
    const AuthorAddresses siteOnly(u"https://diary.example.net/"_s, QString(), QString());
    EXPECT_EQ(siteOnly.manualUrl(), u"https://diary.example.net/manual/"_s);
    EXPECT_EQ(siteOnly.supportMailto(), QString());
}
