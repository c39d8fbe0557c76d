// The file window's detail page: what the viewer page recorded of this very file, else what the
// file itself says (with the loop and tile marks off).
#include "PropertiesFixture.h"
#include "TestMedia.h"
#include "app/MediaTypes.h"
#include "properties/Property_File.h"

class Details : public PropertiesFixture
{
protected:
    const ShownWindow &show(const QString &drivePath)
    {
        shown.clear();
        ShowFileProperties(app, drivePath, TypeOfFile(drivePath));
        return onlyWindow();
    }
    // A fixture of tests/data/pictures in C:\P\; its drive path.
    QString picture(const char *name)
    {
        copyData(QStringLiteral("pictures/") + name, QStringLiteral("c/P/") + name);
        return QStringLiteral("C:\\P\\") + name;
    }
    QString media(const char *name)
    {
        copyData(QStringLiteral("media/") + name, QStringLiteral("c/M/") + name);
        return QStringLiteral("C:\\M\\") + name;
    }
    QString made(const QString &name, const QByteArray &bytes)
    {
        writeFile("c/M/" + name, bytes);
        return "C:\\M\\" + name;
    }
};

TEST_F(Details, RecordsOfThisFileAreShownAsRecorded)
{
    // The files hold nothing valid: every value must come from the records.
    const QString bmp = made("a.bmp", "x"), pcx = made("a.pcx", "x"), ico = made("a.ico", "x"),
                  ani = made("a.ani", "x"), jpg = made("a.jpg", "x"), gif = made("a.gif", "x"),
                  wav = made("a.wav", "x"), mid = made("a.mid", "x"), avi = made("a.avi", "x"),
                  video = made("v.avi", "x");
    AppState &st = app.st;
    st.Viewed[mtBMP] = {.FileName = "a.bmp", .Path = bmp, .Width = 640, .Height = 480, .Monochrome = true};
    st.Viewed[mtPCX] = {.FileName = "a.pcx", .Path = pcx, .Width = 320, .Height = 200};
    st.Viewed[mtICO] = {.Path = ico, .Width = 48, .Height = 48};
    st.Viewed[mtANI] = {.Path = ani, .Width = 24, .Height = 32};
    st.Viewed[mtJPG] = {.FileName = "a.jpg", .Path = jpg, .Width = 1024, .Height = 768};
    st.Viewed[mtGIF] = {.FileName = "a.gif",
                        .Path = gif,
                        .Width = 300,
                        .Height = 100,
                        .Animated = true,
                        .Interlaced = true,
                        .Transparent = true,
                        .FrameCount = 12,
                        .Speed = 150,
                        .Tile = true};
    st.Viewed[mtWAV] = {.Path = wav, .Repeat = true, .LengthMs = 61000};
    st.Viewed[mtMID] = {.Path = mid, .LengthMs = 3725000};

    const ShownWindow &b = show(bmp);
    EXPECT_EQ(b.text("Type3_ImageWidth"), "640");
    EXPECT_EQ(b.text("Type3_ImageHeight"), "480");
    EXPECT_TRUE(b.isChecked("Type3_picRadioBlackAndWhite"));
    EXPECT_FALSE(b.isChecked("Type3_picRadioColor"));

    const ShownWindow &p = show(pcx);
    EXPECT_EQ(p.text("Type8_ImageWidth"), "320");
    EXPECT_TRUE(p.isChecked("Type8_picRadioColor"));
    EXPECT_FALSE(p.isChecked("Type8_picRadioBlackAndWhite"));

    EXPECT_EQ(show(ico).text("Type12_ImageWidth"), "48");
    const ShownWindow &a = show(ani);
    EXPECT_EQ(a.text("Type1_ImageWidth"), "24");
    EXPECT_EQ(a.text("Type1_ImageHeight"), "32");
    EXPECT_EQ(show(jpg).text("Type4_ImageHeight"), "768");

    const ShownWindow &g = show(gif);
    EXPECT_EQ(g.text("Type7_ImageWidth"), "300");
    EXPECT_EQ(g.text("Type7_lblNumberOfFrames"), "12");
    EXPECT_EQ(g.text("Type7_lblSpeed"), "150 %");
    for (const char *mark : {"Type7_picCheckIsAnimated", "Type7_picCheckIsInterlaced",
                             "Type7_picCheckIsTransparent", "Type7_picCheckTile"})
        EXPECT_TRUE(g.isChecked(mark)) << mark;

    const ShownWindow &w = show(wav);
    EXPECT_EQ(w.text("Type6_lblTuneLength"), "1 min 1 sec");
    EXPECT_TRUE(w.isChecked("Type6_picLoop"));
    const ShownWindow &m = show(mid);
    EXPECT_EQ(m.text("Type5_lblTuneLength"), "1 h 2 min 5 sec");
    EXPECT_FALSE(m.isChecked("Type5_picLoop"));

    // A clip the animation control played has no length to tell.
    st.Viewed[mtAVI] = {.FileName = "a.avi", .Path = avi, .Repeat = true, .LengthMs = 5000, .InWindow = true};
    const ShownWindow &c = show(avi);
    EXPECT_TRUE(c.isChecked("Type2_picRadioWindows"));
    EXPECT_FALSE(c.isChecked("Type2_picRadioVideo"));
    EXPECT_EQ(c.text("Type2_lblLength"), "Unknown");
    EXPECT_TRUE(c.isChecked("Type2_picLoop"));
    st.Viewed[mtAVI] = {.FileName = "v.avi", .Path = video, .LengthMs = 125000};
    const ShownWindow &v = show(video);
    EXPECT_FALSE(v.isChecked("Type2_picRadioWindows"));
    EXPECT_TRUE(v.isChecked("Type2_picRadioVideo"));
    EXPECT_EQ(v.text("Type2_lblLength"), "2 min 5 sec");
    EXPECT_FALSE(v.isChecked("Type2_picLoop"));
}

// Records of another file (the viewer did not open this one) are not shown: the file is read.
class FromTheFile : public Details
{
protected:
    FromTheFile()
    {
        AppState &st = app.st;
        const QString other = "C:\\other.x";
        st.Viewed[mtBMP] = st.Viewed[mtPCX] = st.Viewed[mtTIF] = {
            .FileName = "other", .Path = other, .Width = 999, .Height = 999, .Monochrome = true};
        st.Viewed[mtICO] = st.Viewed[mtANI] = {.Path = other, .Width = 999, .Height = 999};
        st.Viewed[mtJPG] = {.FileName = "other", .Path = other, .Width = 999, .Height = 999};
        st.Viewed[mtGIF] = {.FileName = "other",
                            .Path = other,
                            .Width = 999,
                            .Height = 999,
                            .Animated = true,
                            .Interlaced = true,
                            .Transparent = true,
                            .FrameCount = 99,
                            .Speed = 50,
                            .Tile = true};
        st.Viewed[mtWAV] = st.Viewed[mtMID] = {.Path = other, .Repeat = true, .LengthMs = 999000};
        st.Viewed[mtAVI] = {.FileName = "other", .Path = other, .Repeat = true, .LengthMs = 999000};
    }
};

TEST_F(FromTheFile, PictureSizesAndColour)
{
    struct Case
    {
        const char *file;
        int type;
        const char *width, *height;
        bool monochrome;
    };
    const Case cases[] = {
        {"rose.bmp", 3, "70", "46", false},      {"rose-mono.bmp", 3, "70", "46", true},
        {"rose-4bit.bmp", 3, "70", "46", false}, {"rose.pcx", 8, "70", "46", false},
        {"rose-mono.pcx", 8, "70", "46", true},  {"rose.tif", 9, "70", "46", false},
        {"rose-g4.tif", 9, "70", "46", true},    {"rose-gray.tif", 9, "70", "46", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const ShownWindow &w = show(picture(c.file));
        const QByteArray n = "Type" + QByteArray::number(c.type) + '_';
        EXPECT_EQ(w.text(n + "ImageWidth"), c.width);
        EXPECT_EQ(w.text(n + "ImageHeight"), c.height);
        EXPECT_EQ(w.isChecked(n + "picRadioBlackAndWhite"), c.monochrome);
        EXPECT_EQ(w.isChecked(n + "picRadioColor"), !c.monochrome);
    }
}

TEST_F(FromTheFile, TheIconNearestTo32)
{
    // rose.ico holds 48, 32 and 16 pixel images, in that order.
    const ShownWindow &w = show(picture("rose.ico"));
    EXPECT_EQ(w.text("Type12_ImageWidth"), "32");
    EXPECT_EQ(w.text("Type12_ImageHeight"), "32");
}

TEST_F(FromTheFile, AnimatedCursorSize)
{
    const ShownWindow &w = show(picture("cursor.ani"));
    EXPECT_EQ(w.text("Type1_ImageWidth"), "32");
    EXPECT_EQ(w.text("Type1_ImageHeight"), "32");
}

TEST_F(FromTheFile, JpegAtTheScaleOfTheSettings)
{
    const QString path = made("big.jpg", testmedia::jpeg(4000, 3000));
    struct Case
    {
        int scale;
        const char *radio, *width, *height;
    };
    const Case cases[] = {
        {0, "Type4_RadioScale11", "4000", "3000"},
        {1, "Type4_RadioScale12", "2000", "1500"},
        {2, "Type4_RadioScale14", "1000", "750"},
        {3, "Type4_RadioScale18", "500", "375"},
        // Hand-edited settings out of range: the nearest scale, and the program goes on.
        {7, "Type4_RadioScale18", "500", "375"},
        {-2, "Type4_RadioScale11", "4000", "3000"},
    };
    const char *radios[] = {"Type4_RadioScale11", "Type4_RadioScale12", "Type4_RadioScale14",
                            "Type4_RadioScale18"};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.scale);
        app.st.settings.JPEG_Scale = c.scale;
        const ShownWindow &w = show(path);
        EXPECT_EQ(w.text("Type4_ImageWidth"), c.width);
        EXPECT_EQ(w.text("Type4_ImageHeight"), c.height);
        for (const char *radio : radios)
            EXPECT_EQ(w.isChecked(radio), qstrcmp(radio, c.radio) == 0) << radio;
    }
}

TEST_F(FromTheFile, JpegOptionsFollowTheSettings)
{
    const QString path = picture("rose.jpg");
    Settings &s = app.st.settings;
    s.JPEG_Scale = 0;
    s.JPEG_Grayscale = true;
    s.JPEG_Pixel_Format = 1;
    s.JPEG_Performance = 1;
    s.JPEG_Progressive_Display = true;
    s.JPEG_Smoothing = true;
    const ShownWindow &on = show(path);
    EXPECT_EQ(on.text("Type4_ImageWidth"), "70");
    EXPECT_TRUE(on.isChecked("Type4_picRadioBlackAndWhite"));
    EXPECT_FALSE(on.isChecked("Type4_picRadioColor"));
    EXPECT_TRUE(on.isChecked("Type4_picRadio8Bits"));
    EXPECT_FALSE(on.isChecked("Type4_picRadio24BIts"));
    EXPECT_TRUE(on.isChecked("Type4_picRadioBestSpeed"));
    EXPECT_FALSE(on.isChecked("Type4_picRadioBestQuality"));
    EXPECT_TRUE(on.isChecked("Type4_picCheckProgressiveDisplay"));
    EXPECT_TRUE(on.isChecked("Type4_picSmoothing"));

    s.JPEG_Grayscale = false;
    s.JPEG_Pixel_Format = 0;
    s.JPEG_Performance = 0;
    s.JPEG_Progressive_Display = false;
    const ShownWindow &off = show(path);
    EXPECT_TRUE(off.isChecked("Type4_picRadioColor"));
    EXPECT_TRUE(off.isChecked("Type4_picRadio24BIts"));
    EXPECT_TRUE(off.isChecked("Type4_picRadioBestQuality"));
    EXPECT_FALSE(off.isChecked("Type4_picCheckProgressiveDisplay"));
    EXPECT_FALSE(off.isChecked("Type4_picSmoothing"));
}

TEST_F(FromTheFile, GifFrames)
{
    struct Case
    {
        const char *file;
        const char *width, *frames;
        bool animated, interlaced, transparent;
    };
    const Case cases[] = {
        {"anim.gif", "40", "4", true, false, false},
        // One frame: not an animation.
        {"rose.gif", "70", "1", false, false, false},
        {"rose-interlaced.gif", "70", "1", false, true, false},
        {"rose-transparent.gif", "70", "1", false, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const ShownWindow &w = show(picture(c.file));
        EXPECT_EQ(w.text("Type7_ImageWidth"), c.width);
        EXPECT_EQ(w.text("Type7_lblNumberOfFrames"), c.frames);
        EXPECT_EQ(w.text("Type7_lblSpeed"), "100 %");
        EXPECT_EQ(w.isChecked("Type7_picCheckIsAnimated"), c.animated);
        EXPECT_EQ(w.isChecked("Type7_picCheckIsInterlaced"), c.interlaced);
        EXPECT_EQ(w.isChecked("Type7_picCheckIsTransparent"), c.transparent);
        EXPECT_FALSE(w.isChecked("Type7_picCheckTile"));
    }
}

TEST_F(FromTheFile, SoundLengths)
{
    struct Case
    {
        QString path;
        const char *field;
        const char *length;
    };
    const Case cases[] = {
        {made("long.wav", testmedia::wav(1000, 61500)), "Type6_lblTuneLength", "1 min 1 sec"},
        {made("short.wav", testmedia::wav(8000, 2900)), "Type6_lblTuneLength", "2 sec"},
        {media("sine440_250ms_u8.wav"), "Type6_lblTuneLength", "0 sec"},
        {made("long.mid", testmedia::midi(65000)), "Type5_lblTuneLength", "1 min 5 sec"},
        {made("empty.wav", "RIFF"), "Type6_lblTuneLength", "0 sec"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const ShownWindow &w = show(c.path);
        EXPECT_EQ(w.text(c.field), c.length);
        // The loop mark belongs to the record of another file.
        EXPECT_FALSE(w.isChecked(c.field[4] == '5' ? "Type5_picLoop" : "Type6_picLoop"));
    }
}

TEST_F(FromTheFile, ClipsForTheWindowOrAsVideo)
{
    const ShownWindow &animation = show(media("raw8_silent.avi"));
    EXPECT_TRUE(animation.isChecked("Type2_picRadioWindows"));
    EXPECT_FALSE(animation.isChecked("Type2_picRadioVideo"));
    EXPECT_EQ(animation.text("Type2_lblLength"), "Unknown");
    EXPECT_FALSE(animation.isChecked("Type2_picLoop"));

    const ShownWindow &video = show(media("mpeg4_sound.avi"));
    EXPECT_FALSE(video.isChecked("Type2_picRadioWindows"));
    EXPECT_TRUE(video.isChecked("Type2_picRadioVideo"));
    EXPECT_EQ(video.text("Type2_lblLength"), "1 sec");
    EXPECT_FALSE(video.isChecked("Type2_picLoop"));
}
