// The file window's details of PNG, WebP, sound and video files made by other tools: read from
// the file each time, tags shown as the file's own text, damaged files shown in part with a
// warning.
#include "PropertiesFixture.h"
#include "app/MediaTypes.h"
#include "properties/Property_File.h"
#include "support/ToolMedia.h"

#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QTimer>

using namespace toolmedia;

namespace {

// What the tests read beyond the snapshot: whether a detail control was hidden, and how a label
// shows its text.
struct Extra
{
    std::map<QString, bool> hidden;
    std::map<QString, Qt::TextFormat> formats;
};

} // namespace

class MediaDetails : public PropertiesFixture
{
protected:
    MediaDetails()
    {
        ui.onModal("frmProperty_File", [this](QDialog *d) {
            shown.push_back(snapshotOf(d));
            Extra e;
            for (QWidget *w : d->findChild<QWidget *>("NotebookDetailFiles")->findChildren<QWidget *>())
                e.hidden.emplace(w->objectName(), w->isHidden());
            for (const QLabel *l : d->findChildren<QLabel *>())
                e.formats.emplace(l->objectName(), l->textFormat());
            extras.push_back(e);
            return int(QDialog::Accepted);
        });
    }

    // Opens the window of a file of C:\M\; the window as it was shown.
    const ShownWindow &show(const QString &name)
    {
        shown.clear();
        extras.clear();
        const QString drivePath = "C:\\M\\" + name;
        ShowFileProperties(app, drivePath, TypeOfFile(drivePath));
        return onlyWindow();
    }
    bool hidden(const QByteArray &name) const
    {
        const auto it = extras.back().hidden.find(QString::fromLatin1(name));
        EXPECT_NE(it, extras.back().hidden.end()) << name.constData();
        return it != extras.back().hidden.end() && it->second;
    }
    // The native path of a file to make in C:\M\.
    QString target(const QString &name)
    {
        folder("c/M");
        return tmp.filePath("c/M/" + name);
    }
    QString picture(const QString &format, const QString &name, const QStringList &extra = {})
    {
        const QString out = target(name);
        EXPECT_TRUE(made("convert", QStringList{"-size", "40x30", "gradient:red-blue", "-alpha", "set", "(",
                                                "-size", "16x16", "xc:none", ")", "-geometry", "+5+5",
                                                "-compose", "Copy", "-composite"} +
                                        extra + QStringList{format + ':' + out}));
        return out;
    }
    QString sound(const QString &name, const QStringList &encode)
    {
        const QString out = target(name);
        EXPECT_TRUE(
            ffmpeg(QStringList{"-f", "lavfi", "-i", "sine=frequency=440:duration=3:sample_rate=44100"} +
                   encode + QStringList{out}));
        return out;
    }
    QString video(const QString &name, const QString &size, const QString &rate, const QStringList &encode)
    {
        const QString out = target(name);
        EXPECT_TRUE(
            ffmpeg(QStringList{"-f", "lavfi", "-i", QStringLiteral("testsrc=size=%1:rate=%2").arg(size, rate),
                               "-f", "lavfi", "-i", "sine=duration=2", "-t", "2"} +
                   encode + QStringList{out}));
        return out;
    }
    void cutInHalf(const QString &native)
    {
        QFile f(native);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.resize(f.size() / 2));
    }

    std::vector<Extra> extras;
};

TEST_F(MediaDetails, PngAndWebpPictures)
{
    picture("PNG48", "deep.png", {"-alpha", "off"});
    picture("PNG32", "clear.png");
    ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "testsrc=size=32x24:rate=10", "-frames:v", "6", "-plays", "0",
                        "-f", "apng", target("anim.apng")}));
    ASSERT_TRUE(made("cwebp", {"-quiet", target("clear.png"), "-o", target("clear.webp")}));
    ASSERT_TRUE(made("img2webp", {"-loop", "0", "-lossy", target("deep.png"), target("clear.png"), "-o",
                                  target("anim.webp")}));
    struct Case
    {
        const char *file;
        int type;
        const char *width, *height, *depth;
        bool alpha;
        const char *frames;
    };
    const Case cases[] = {
        {"deep.png", 13, "40", "30", "16 bits", false, "1"},
        {"clear.png", 13, "40", "30", "8 bits", true, "1"},
        {"anim.apng", 13, "32", "24", "8 bits", false, "6"},
        {"clear.webp", 14, "40", "30", "8 bits", true, "1"},
        {"anim.webp", 14, "40", "30", "8 bits", true, "2"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const ShownWindow &w = show(c.file);
        const QByteArray n = "Type" + QByteArray::number(c.type) + '_';
        EXPECT_EQ(w.detailPage, c.type);
        EXPECT_TRUE(w.hasTab("Image"));
        EXPECT_EQ(w.text(n + "ImageWidth"), c.width);
        EXPECT_EQ(w.text(n + "ImageHeight"), c.height);
        EXPECT_EQ(w.text(n + "lblBitDepth"), c.depth);
        EXPECT_EQ(w.isChecked(n + "picCheckAlpha"), c.alpha);
        EXPECT_EQ(w.text(n + "lblNumberOfFrames"), c.frames);
        EXPECT_TRUE(hidden(n + "lblDamaged"));
    }
}

TEST_F(MediaDetails, SoundsWithTheirTags)
{
    sound("tags.mp3",
          {"-ac", "2", "-c:a", "libmp3lame", "-b:a", "128k", "-metadata", "title=<b>& gras</b>", "-metadata",
           "artist=Chœur <i>", "-metadata", "album=L'album", "-metadata", "date=2021"});
    sound("vorbis.ogg", {"-c:a", "libvorbis", "-metadata", "date=1999-05-01"});
    sound("lossless.flac", {"-c:a", "flac", "-metadata", "album=Flac"});
    sound("notags.opus", {"-c:a", "libopus", "-b:a", "32k", "-map_metadata", "-1"});

    const ShownWindow &mp3 = show("tags.mp3");
    EXPECT_EQ(mp3.detailPage, 15);
    EXPECT_TRUE(mp3.hasTab("Son"));
    EXPECT_EQ(mp3.text("Type15_lblCodec"), "mp3");
    EXPECT_EQ(mp3.text("Type15_lblChannels"), QStringLiteral("2 (stéréo)"));
    EXPECT_EQ(mp3.text("Type15_lblSampleRate"), "44100 Hz");
    EXPECT_EQ(mp3.text("Type15_lblBitRate"), "128 kbit/s");
    EXPECT_EQ(mp3.text("Type15_lblTuneLength"), "3 sec");
    // The file's own text, never markup.
    EXPECT_EQ(mp3.text("Type15_lblTitle"), "<b>& gras</b>");
    EXPECT_EQ(mp3.text("Type15_lblArtist"), QStringLiteral("Chœur <i>"));
    EXPECT_EQ(mp3.text("Type15_lblAlbum"), "L'album");
    EXPECT_EQ(mp3.text("Type15_lblYear"), "2021");
    for (const char *tag : {"Type15_lblTitle", "Type15_lblArtist", "Type15_lblAlbum"}) {
        EXPECT_EQ(extras.back().formats.at(tag), Qt::PlainText) << tag;
        EXPECT_FALSE(hidden(tag)) << tag;
    }
    EXPECT_FALSE(hidden("Type15_GroupBoxTags"));
    EXPECT_TRUE(hidden("Type15_lblDamaged"));

    const ShownWindow &ogg = show("vorbis.ogg");
    EXPECT_EQ(ogg.detailPage, 16);
    EXPECT_EQ(ogg.text("Type16_lblCodec"), "vorbis");
    EXPECT_EQ(ogg.text("Type16_lblChannels"), "1 (mono)");
    EXPECT_EQ(ogg.text("Type16_lblYear"), "1999-05-01");
    // A tag the file lacks has no row.
    EXPECT_TRUE(hidden("Type16_lblTitle"));
    EXPECT_TRUE(hidden("Type16_lblTitleCaption"));
    EXPECT_FALSE(hidden("Type16_lblYear"));

    const ShownWindow &flac = show("lossless.flac");
    EXPECT_EQ(flac.detailPage, 17);
    EXPECT_EQ(flac.text("Type17_lblCodec"), "flac");
    EXPECT_EQ(flac.text("Type17_lblAlbum"), "Flac");
    const Probe p = ffprobe(target("lossless.flac"));
    EXPECT_EQ(flac.text("Type17_lblBitRate"),
              QString::number((p.format.value("bit_rate").toString().toLongLong() + 500) / 1000) + " kbit/s");

    const ShownWindow &opus = show("notags.opus");
    EXPECT_EQ(opus.detailPage, 16);
    EXPECT_EQ(opus.text("Type16_lblCodec"), "opus");
    EXPECT_EQ(opus.text("Type16_lblSampleRate"), "48000 Hz"); // Opus always decodes at 48 kHz
    EXPECT_TRUE(hidden("Type16_GroupBoxTags"));
}

TEST_F(MediaDetails, VideosAndTheirSound)
{
    const QString h264 = hasEncoder("libx264") ? "libx264" : "mpeg4";
    video("h264.mp4", "160x120", "25", {"-c:v", h264, "-pix_fmt", "yuv420p", "-c:a", "aac"});
    video("silent.m4v", "64x48", "24", {"-c:v", h264, "-pix_fmt", "yuv420p", "-an", "-f", "mp4"});
    video("vp9.webm", "96x64", "30000/1001", {"-c:v", "libvpx-vp9", "-b:v", "100k", "-c:a", "libopus"});

    const ShownWindow &mp4 = show("h264.mp4");
    EXPECT_EQ(mp4.detailPage, 18);
    EXPECT_TRUE(mp4.hasTab(QStringLiteral("Vidéo")));
    EXPECT_EQ(mp4.text("Type18_lblCodec"), h264 == "libx264" ? "h264" : "mpeg4");
    EXPECT_EQ(mp4.text("Type18_lblFrameSize"), "160 x 120");
    EXPECT_EQ(mp4.text("Type18_lblFrameRate"), "25 img/s");
    EXPECT_EQ(mp4.text("Type18_lblLength"), "2 sec");
    EXPECT_EQ(mp4.text("Type18_lblAudioCodec"), "aac");

    const ShownWindow &m4v = show("silent.m4v");
    EXPECT_EQ(m4v.text("Type18_lblFrameRate"), "24 img/s");
    EXPECT_EQ(m4v.text("Type18_lblAudioCodec"), "Aucun");

    const ShownWindow &webm = show("vp9.webm");
    EXPECT_EQ(webm.detailPage, 19);
    EXPECT_EQ(webm.text("Type19_lblCodec"), "vp9");
    EXPECT_EQ(webm.text("Type19_lblFrameSize"), "96 x 64");
    EXPECT_EQ(webm.text("Type19_lblFrameRate"), "29,97 img/s");
    EXPECT_EQ(webm.text("Type19_lblAudioCodec"), "opus");
    EXPECT_TRUE(hidden("Type19_lblDamaged"));
}

// The viewer's record of this very file gives only its loop mark: the values come from the file.
TEST_F(MediaDetails, TheLoopMarkOfTheRecordOfThisFile)
{
    sound("loop.flac", {"-c:a", "flac"});
    app.st.Viewed[mtFLAC] = {
        .FileName = "loop.flac", .Path = "C:\\M\\loop.flac", .Repeat = true, .LengthMs = 99000};
    const ShownWindow &same = show("loop.flac");
    EXPECT_TRUE(same.isChecked("Type17_picLoop"));
    EXPECT_EQ(same.text("Type17_lblTuneLength"), "3 sec");
    app.st.Viewed[mtFLAC].Path = "C:\\M\\other.flac";
    EXPECT_FALSE(show("loop.flac").isChecked("Type17_picLoop"));
}

TEST_F(MediaDetails, DamagedFilesShowWhatCouldBeRead)
{
    sound("cut.flac", {"-c:a", "flac", "-metadata", "title=Coupé"});
    cutInHalf(target("cut.flac"));
    const ShownWindow &flac = show("cut.flac");
    EXPECT_EQ(flac.text("Type17_lblCodec"), "flac");
    EXPECT_EQ(flac.text("Type17_lblTitle"), QStringLiteral("Coupé"));
    EXPECT_EQ(flac.text("Type17_lblDamaged"),
              QStringLiteral("Fichier endommagé ou incomplet: seules les propriétés lues sont affichées."));
    EXPECT_FALSE(hidden("Type17_lblDamaged"));

    picture("PNG24", "cut.png", {"-alpha", "off"});
    cutInHalf(target("cut.png"));
    const ShownWindow &png = show("cut.png");
    EXPECT_EQ(png.text("Type13_ImageWidth"), "40");
    EXPECT_EQ(png.text("Type13_lblBitDepth"), "8 bits");
    EXPECT_FALSE(png.text("Type13_lblDamaged").isEmpty());

    // Nothing FFmpeg can open: every value unknown, and said so.
    writeFile("c/M/garbage.mkv", QByteArray(4000, '\x33'));
    const ShownWindow &mkv = show("garbage.mkv");
    EXPECT_EQ(mkv.detailPage, 19);
    for (const char *field : {"Type19_lblCodec", "Type19_lblFrameSize", "Type19_lblFrameRate",
                              "Type19_lblLength", "Type19_lblAudioCodec"})
        EXPECT_EQ(mkv.text(field), "Inconnu") << field;
    EXPECT_EQ(mkv.text("Type19_lblDamaged"),
              QStringLiteral("Fichier illisible: ses propriétés n'ont pas pu être lues."));
    writeFile("c/M/empty.webp", {});
    EXPECT_EQ(show("empty.webp").text("Type14_ImageWidth"), "0");
    EXPECT_FALSE(hidden("Type14_lblDamaged"));
}

// As a person reads it: the real window, a click on the details tab, then Escape.
TEST_F(MediaDetails, ClickTheDetailsTabThenEscape)
{
    sound("song.mp3", {"-c:a", "libmp3lame", "-metadata", "title=<b>& co"});
    int result = -1;
    QString seen;
    bool titleVisible = false;
    ui.onModal("frmProperty_File", [&](QDialog *d) {
        QTimer::singleShot(0, d, [&, d] {
            if (!QTest::qWaitForWindowActive(d))
                ADD_FAILURE() << "window not active";
            auto *tabs = d->findChild<QTabWidget *>("PageControlProperties");
            QTabBar *bar = tabs->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
            auto *title = d->findChild<QLabel *>("Type15_lblTitle");
            titleVisible = title->isVisible();
            seen = title->text();
            QTest::keyClick(d->focusWidget() ? d->focusWidget() : d, Qt::Key_Escape);
            if (d->isVisible())
                d->done(-1);
        });
        return result = d->exec();
    });
    ShowFileProperties(app, "C:\\M\\song.mp3", mtMP3);
    EXPECT_TRUE(titleVisible);
    EXPECT_EQ(seen, "<b>& co");
    EXPECT_EQ(result, int(QDialog::Accepted));
}
