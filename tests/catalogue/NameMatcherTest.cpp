// The rules of a search typed in the catalogue, without any window: folding, words, phrases,
// wildcards, and the natural order of the results.
#include "catalogue/search/NameMatcher.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

using search::NameMatcher;

namespace {

bool finds(const char *query, const char *name)
{
    const NameMatcher m(QString::fromUtf8(query));
    const QString text = QString::fromUtf8(name);
    const bool wide = m.matches(text);
    // Both storages of a name must answer alike.
    const QByteArray latin1 = text.toLatin1();
    if (QString::fromLatin1(latin1) == text) {
        EXPECT_EQ(m.matchesLatin1(latin1.constData(), int(latin1.size())), wide) << query << " / " << name;
    }
    return wide;
}

} // namespace

TEST(NameMatcherTest, IgnoresCaseAndAccentsOnBothSides)
{
    EXPECT_TRUE(finds("ete", "Été 2003.bmp"));
    EXPECT_TRUE(finds("ÉTÉ", "ete 2003.bmp"));
    EXPECT_TRUE(finds("ETE", "Été 2003.bmp"));
    EXPECT_TRUE(finds("noel", "Joyeux NOËL.wav"));
    EXPECT_TRUE(finds("garcon", "Garçon.jpg"));
    EXPECT_TRUE(finds("cote", "Côte d'Azur.gif"));
    EXPECT_TRUE(finds("ελλαδα", "ΕΛΛΆΔΑ.jpg")); // beyond Latin-1: Greek with its tonos
    EXPECT_TRUE(finds("oresund", "Øresund.bmp"));
    EXPECT_FALSE(finds("etee", "Été 2003.bmp"));
    EXPECT_EQ(search::fold(u"ÀÉÎÕÜÇ"), QStringLiteral("aeiouc"));
}

TEST(NameMatcherTest, EveryWordMustOccurAnywhereInAnyOrder)
{
    EXPECT_TRUE(finds("2003 ete", "Été 2003.bmp"));
    EXPECT_TRUE(finds("  été   bmp ", "Été 2003.bmp"));
    EXPECT_FALSE(finds("ete 2004", "Été 2003.bmp"));
    EXPECT_TRUE(finds("00", "Été 2003.bmp"));
    // Words may overlap in the name: each is looked for on its own.
    EXPECT_TRUE(finds("photo hot", "photo.bmp"));
}

TEST(NameMatcherTest, QuotedPhrasesKeepTheirBlanksAndOrder)
{
    EXPECT_TRUE(finds("\"de famille\"", "Photos de famille 1.jpg"));
    EXPECT_FALSE(finds("\"famille de\"", "Photos de famille 1.jpg"));
    EXPECT_FALSE(finds("\"de  famille\"", "Photos de famille 1.jpg"));
    // A phrase beside words; a quote left open runs to the end.
    EXPECT_TRUE(finds("jpg \"photos de\"", "Photos de famille 1.jpg"));
    EXPECT_TRUE(finds("\"famille 1", "Photos de famille 1.jpg"));
    EXPECT_FALSE(finds("\"famille 2", "Photos de famille 1.jpg"));
    EXPECT_TRUE(finds("\"ÉTÉ 20\"", "été 2003.bmp"));
}

TEST(NameMatcherTest, WildcardsMatchTheWholeName)
{
    EXPECT_TRUE(finds("*.bmp", "Été 2003.bmp"));
    EXPECT_FALSE(finds("*.bmp", "Été 2003.bmp.bak"));
    EXPECT_TRUE(finds("ete*", "Été 2003.bmp"));
    EXPECT_FALSE(finds("2003*", "Été 2003.bmp"));
    EXPECT_TRUE(finds("*2003*", "Été 2003.bmp"));
    EXPECT_TRUE(finds("ph?to*", "photo 1.jpg"));
    EXPECT_TRUE(finds("ph?to*", "PHOTO 1.jpg"));
    EXPECT_FALSE(finds("ph?to*", "phto 1.jpg"));
    EXPECT_TRUE(finds("*o*o*o*", "ooo"));
    EXPECT_FALSE(finds("*o*o*o*o*", "ooo"));
    EXPECT_TRUE(finds("???", "abc"));
    EXPECT_FALSE(finds("???", "abcd"));
    // With words: every term holds.
    EXPECT_TRUE(finds("*.jpg famille", "Photos de famille 1.jpg"));
    EXPECT_FALSE(finds("*.bmp famille", "Photos de famille 1.jpg"));
}

TEST(NameMatcherTest, AQueryWithoutTermsFindsNothing)
{
    for (const char *q : {"", "   ", "\"\"", "\"  \"", "\""}) {
        EXPECT_TRUE(NameMatcher(QString::fromUtf8(q)).isEmpty()) << q;
        EXPECT_FALSE(finds(q, "a.bmp")) << q;
    }
}

TEST(NameMatcherTest, ALongerQueryIsCoveredByTheOneTypedBeforeIt)
{
    EXPECT_TRUE(NameMatcher(u"pho").covers(NameMatcher(u"phot")));
    EXPECT_TRUE(NameMatcher(u"pho").covers(NameMatcher(u"photo ete")));
    EXPECT_TRUE(NameMatcher(u"ete").covers(NameMatcher(u"\"ete 2003\"")));
    EXPECT_FALSE(NameMatcher(u"phot").covers(NameMatcher(u"pho")));
    EXPECT_FALSE(NameMatcher(u"pho ete").covers(NameMatcher(u"photo")));
    // A pattern says nothing about another one.
    EXPECT_FALSE(NameMatcher(u"ph*").covers(NameMatcher(u"ph*o")));
    EXPECT_FALSE(NameMatcher(u"ph").covers(NameMatcher(u"ph*")));
    EXPECT_TRUE(NameMatcher(u"ph*").covers(NameMatcher(u"ph* x")));
    EXPECT_FALSE(NameMatcher(u"").covers(NameMatcher(u"a")));
}

TEST(NameMatcherTest, NaturalOrderCountsNumbersAndFoldsTheRest)
{
    QStringList names = {
        "photo 10.bmp",  "Photo 2.bmp",   "photo 1.bmp", "photo 002.bmp", "été.bmp", "Ete.bmp", "photo.bmp",
        "photo 9 b.bmp", "photo 9 a.bmp", "abc 100",     "abc 20",        "zz",      "Éa"};
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return search::naturalCompare(a, b) < 0; });
    EXPECT_EQ(names.join('|').toStdString(), "abc 20|abc 100|Éa|Ete.bmp|été.bmp|photo 1.bmp|Photo 2.bmp|"
                                             "photo 002.bmp|photo 9 a.bmp|photo 9 b.bmp|photo 10.bmp|"
                                             "photo.bmp|zz");
}

TEST(NameMatcherTest, NaturalOrderIsTotalAndTheSameForBothStorages)
{
    const QStringList names = {"a1", "a01", "A1", "a1 ", "a", "b", "É", "e", "E", "1", "01", "10", "9"};
    for (const QString &a : names) {
        EXPECT_EQ(search::naturalCompare(a, a), 0);
        for (const QString &b : names) {
            const int ab = search::naturalCompare(a, b), ba = search::naturalCompare(b, a);
            EXPECT_EQ(ab<0, ba> 0) << a.toStdString() << " " << b.toStdString();
            if (a != b) {
                EXPECT_NE(ab, 0) << a.toStdString() << " " << b.toStdString();
            }
            const QByteArray la = a.toLatin1(), lb = b.toLatin1();
            search::StoredName sa{la.constData(), nullptr, int(la.size())};
            search::StoredName wb{nullptr, reinterpret_cast<const char16_t *>(b.utf16()), int(b.size())};
            EXPECT_EQ(search::naturalCompare(sa, wb) < 0, ab < 0);
            EXPECT_EQ(search::naturalCompare(sa, wb) == 0, ab == 0);
        }
    }
}
