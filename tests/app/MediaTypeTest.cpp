// The media-type table and the lookups by file name.
#include "app/MediaTypes.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(MediaTypeLookups, ExtensionsMapToTypesPicturesAndDescriptions)
{
    EXPECT_EQ(TypeOfFile("photo.jpg"), mtJPG);
    EXPECT_EQ(TypeOfFile("PHOTO.JPG"), mtJPG);
    EXPECT_EQ(TypeOfFile("C:\\a.b\\song.MiD"), mtMID);
    for (const char *name : {"photo.jpeg", "scan.tiff", "song.midi", "noextension", "C:\\a.bmp\\readme"}) {
        EXPECT_EQ(TypeOfFile(name), mtNone) << name;
        EXPECT_EQ(ListImageOfFile(name), 5) << name;
        EXPECT_EQ(DescriptionOfFile(name), "Fichier multimedia inconnu") << name;
    }
    EXPECT_EQ(ListImageOfFile("x.ani"), 7);
    EXPECT_EQ(ListImageOfFile("x.ico"), 18);
    EXPECT_EQ(DescriptionOfFile("x.wmf"), DescriptionOfFile("x.emf"));
    EXPECT_EQ(DescriptionOfFile("x.tif"), "Image 'Tagged Image Format'");
    EXPECT_EQ(PatternOfType(mtALL), "*.*");
    EXPECT_EQ(PatternOfType(mtTIF), "*.TIF");
    EXPECT_EQ(PatternOfType(mediaTypeOf(13)), "*.???");
    EXPECT_EQ(PatternOfType(mtNone), "*.???");
}

// One table says everything about a type; the facts other units used to keep apart must agree.
TEST(MediaTypeTable, EveryTypeHasOneRowAndOneTab)
{
    std::array<int, kTypeCount> tabs{};
    for (MediaType t : kAllTypes) {
        const MediaTypeInfo &row = mediaTypeInfo(t);
        EXPECT_EQ(row.type, t);
        ASSERT_GE(row.tabOrder, 0);
        ASSERT_LT(row.tabOrder, kTypeCount);
        ++tabs[static_cast<size_t>(row.tabOrder)];
        EXPECT_EQ(typeAtTabOrder(row.tabOrder), t);
        if (t == mtALL)
            continue;
        EXPECT_EQ(QLatin1String(row.extension), '.' + QLatin1String(row.code));
        EXPECT_EQ(QLatin1String(row.scanFlagKey), "Scan_File_" + QLatin1String(row.code));
        EXPECT_EQ(row.listPicture, code(t) + 6);
        EXPECT_EQ(TypeOfFile(QStringLiteral("x") + row.extension), t);
    }
    for (int n : tabs)
        EXPECT_EQ(n, 1);
    // ALL first, then the types alphabetically.
    QStringList order;
    for (int i = 1; i < kTypeCount; ++i)
        order << QLatin1String(mediaTypeInfo(typeAtTabOrder(i)).code);
    QStringList sorted = order;
    sorted.sort();
    EXPECT_EQ(order, sorted);
    EXPECT_EQ(typeAtTabOrder(0), mtALL);
    EXPECT_EQ(typeAtTabOrder(13), mtNone);
    EXPECT_FALSE(isMediaType(mtALL));
    EXPECT_FALSE(isMediaType(mtNone));
    EXPECT_TRUE(isMediaType(mtICO));
}
