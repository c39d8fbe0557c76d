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
    EXPECT_EQ(PatternOfType(mediaTypeOf(20)), "*.???");
    EXPECT_EQ(PatternOfType(mtNone), "*.???");
}

// The seven later types: several extensions each, of any length after the dot, in any case.
TEST(MediaTypeLookups, LaterTypesMatchEveryExtensionOfTheirs)
{
    const std::pair<const char *, MediaType> names[] = {
        {"a.png", mtPNG},  {"a.APNG", mtPNG},   {"a.WebP", mtWEBP},
        {"a.mp3", mtMP3},  {"a.ogg", mtOGG},    {"a.oga", mtOGG},
        {"a.Opus", mtOGG}, {"a.FLAC", mtFLAC},  {"a.mp4", mtMP4},
        {"a.m4v", mtMP4},  {"a.MOV", mtMP4},    {"a.mkv", mtMKV},
        {"a.webm", mtMKV}, {"a.b.webm", mtMKV}, {"C:\\x.png\\a.flac", mtFLAC},
    };
    for (const auto &[name, type] : names)
        EXPECT_EQ(TypeOfFile(name), type) << name;
    // Near misses: no extension is a prefix or a suffix of another's.
    for (const char *name : {"a.pn", "a.webpx", "a.opu", "a.fla", "a.mp", "a.apn", "a.png.", "x.png\\a"})
        EXPECT_EQ(TypeOfFile(name), mtNone) << name;
    EXPECT_EQ(PatternOfType(mtOGG), "*.OGG;*.OGA;*.OPUS");
    EXPECT_EQ(PatternOfType(mtFLAC), "*.FLAC");
    EXPECT_EQ(DescriptionOfFile("x.mkv"), "Vidéo Matroska");
    EXPECT_EQ(ListImageOfFile("x.webm"), 25);
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
        EXPECT_EQ(QLatin1String(row.extensions[0]), QLatin1String(row.extension));
        const char *keyPrefix = code(t) <= 12 ? "Scan_File_" : "Scan_";
        EXPECT_EQ(QLatin1String(row.scanFlagKey), keyPrefix + QLatin1String(row.code));
        EXPECT_EQ(row.listPicture, code(t) + 6);
        for (const char *x : row.extensions)
            if (x) {
                EXPECT_EQ(TypeOfFile(QStringLiteral("x") + x), t) << x;
            }
    }
    for (int n : tabs)
        EXPECT_EQ(n, 1);
    // ALL first, then the twelve types alphabetically, then the seven later ones in code order.
    QStringList order;
    for (int i = 1; i <= 12; ++i)
        order << QLatin1String(mediaTypeInfo(typeAtTabOrder(i)).code);
    QStringList sorted = order;
    sorted.sort();
    EXPECT_EQ(order, sorted);
    for (int i = 13; i < kTypeCount; ++i)
        EXPECT_EQ(code(typeAtTabOrder(i)), i);
    EXPECT_EQ(typeAtTabOrder(0), mtALL);
    EXPECT_EQ(typeAtTabOrder(20), mtNone);
    EXPECT_FALSE(isMediaType(mtALL));
    EXPECT_FALSE(isMediaType(mtNone));
    EXPECT_TRUE(isMediaType(mtICO));
}
