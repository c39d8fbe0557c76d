// The facts of PNG, WebP, sound and video files made by other tools, against what identify and
// ffprobe read from the same files; damaged and cut files answer what they can, never a crash.
#include "../support/ToolMedia.h"
#include "components/FileFacts.h"
#include "components/MediaFacts.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace toolmedia;

namespace {

class StreamFactsTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    QByteArray bytes(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString write(const QString &name, const QByteArray &data) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(data) == data.size());
        return path(name);
    }
    // A 40 x 30 picture with a transparent part, as ImageMagick writes it ("PNG32:out.png").
    QString picture(const QString &target, const QString &extra = {}) const
    {
        QStringList args = {"-size",    "40x30", "gradient:red-blue", "-alpha", "set",       "(",
                            "-size",    "16x16", "xc:none",           ")",      "-geometry", "+5+5",
                            "-compose", "Copy",  "-composite"};
        if (!extra.isEmpty())
            args << extra.split(' ');
        EXPECT_TRUE(made("convert", args << target)) << target.toStdString();
        return target.mid(target.indexOf(':') + 1);
    }

    QTemporaryDir dir;
};

void expectAsIdentify(const QString &file, const mediafacts::FileFacts &f)
{
    SCOPED_TRACE(file.toStdString());
    const QStringList id = identify(file);
    ASSERT_EQ(id.size(), 5);
    EXPECT_TRUE(f.ok);
    EXPECT_FALSE(f.damaged);
    EXPECT_EQ(QString::number(f.width), id[0]);
    EXPECT_EQ(QString::number(f.height), id[1]);
    EXPECT_EQ(QString::number(f.bitDepth), id[2]);
    EXPECT_EQ(f.alpha, id[3] != "False" && id[3] != "Undefined") << id[3].toStdString();
    EXPECT_EQ(QString::number(f.frameCount), id[4]);
}

} // namespace

TEST_F(StreamFactsTest, PngDepthsAndAlphaAsIdentifyReadsThem)
{
    const QString files[] = {
        picture("PNG24:" + path("rgb.png"), "-alpha off"),
        picture("PNG32:" + path("rgba.png")),
        picture("PNG48:" + path("deep.png"), "-alpha off"),
        picture("PNG64:" + path("deep-alpha.png")),
        picture("PNG8:" + path("palette-trns.png")),
        picture("PNG8:" + path("palette.png"), "-alpha off"),
        picture("GRAY:" + path("ignored.raw"), "-depth 16"), // not a PNG: refused below
    };
    for (int i = 0; i < 6; ++i)
        expectAsIdentify(files[i], mediafacts::readImageFileFacts(files[i], {}));
    // The four kinds by their own parameters too: depth and alpha as they were asked for.
    EXPECT_EQ(mediafacts::readImageFileFacts(files[2], {}).bitDepth, 16);
    EXPECT_FALSE(mediafacts::readImageFileFacts(files[2], {}).alpha);
    EXPECT_TRUE(mediafacts::readImageFileFacts(files[3], {}).alpha);
    EXPECT_TRUE(mediafacts::readImageFileFacts(files[4], {}).alpha); // by its transparency chunk
    EXPECT_FALSE(mediafacts::readImageFileFacts(files[0], {}).alpha);
    EXPECT_FALSE(mediafacts::readImageFileFacts(files[6], {}).ok);
}

TEST_F(StreamFactsTest, ApngFramesAsFfprobeCountsThem)
{
    const QString apng = path("anim.apng");
    ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "testsrc=size=32x24:rate=10", "-frames:v", "7", "-plays", "0",
                        "-f", "apng", apng}));
    const Probe p = ffprobe(apng, true);
    ASSERT_TRUE(p.ok);
    const mediafacts::FileFacts f = mediafacts::readImageFileFacts(apng, {});
    EXPECT_TRUE(f.ok);
    EXPECT_FALSE(f.damaged);
    EXPECT_EQ(f.width, p.video.value("width").toInt());
    EXPECT_EQ(f.height, p.video.value("height").toInt());
    EXPECT_EQ(QString::number(f.frameCount), p.video.value("nb_read_frames").toString());
    EXPECT_EQ(f.frameCount, 7);
    EXPECT_TRUE(f.animated);
}

TEST_F(StreamFactsTest, WebpStillsAndAnimations)
{
    const QString opaque = picture("PNG24:" + path("opaque.png"), "-alpha off");
    const QString clear = picture("PNG32:" + path("clear.png"));
    const QString lossy = path("lossy.webp"), lossyAlpha = path("lossy-alpha.webp"),
                  lossless = path("lossless.webp"), anim = path("anim.webp");
    ASSERT_TRUE(made("cwebp", {"-quiet", opaque, "-o", lossy}));
    ASSERT_TRUE(made("cwebp", {"-quiet", clear, "-o", lossyAlpha}));
    ASSERT_TRUE(made("cwebp", {"-quiet", "-lossless", clear, "-o", lossless}));
    for (const QString &still : {lossy, lossyAlpha, lossless})
        expectAsIdentify(still, mediafacts::readImageFileFacts(still, {}));
    EXPECT_FALSE(mediafacts::readImageFileFacts(lossy, {}).alpha);
    EXPECT_TRUE(mediafacts::readImageFileFacts(lossless, {}).alpha);

    // Four frames, one of them with transparent parts: the animation has alpha.
    ASSERT_TRUE(made("img2webp", {"-loop", "0", "-lossy", opaque, clear, opaque, clear, "-o", anim}));
    const mediafacts::FileFacts a = mediafacts::readImageFileFacts(anim, {});
    EXPECT_TRUE(a.ok);
    EXPECT_FALSE(a.damaged);
    EXPECT_EQ(a.width, 40);
    EXPECT_EQ(a.height, 30);
    EXPECT_EQ(a.bitDepth, 8);
    EXPECT_TRUE(a.alpha);
    EXPECT_EQ(a.frameCount, 4);
    EXPECT_EQ(QString::number(a.frameCount), identify(anim).value(4));
}

// Cut anywhere, with a flipped byte, or garbage: the header's facts when the header is there, the
// damage told, and a file of no known signature answers nothing.
TEST_F(StreamFactsTest, DamagedPicturesAnswerWhatTheirHeaderSays)
{
    const QString png = picture("PNG64:" + path("whole.png"));
    const QString webp = path("whole.webp");
    ASSERT_TRUE(made("img2webp", {"-loop", "0", "-lossy", png, png, png, "-o", webp}));
    for (const QString &source : {png, webp}) {
        QFile f(source);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray data = f.readAll();
        const bool isPng = source.endsWith(".png");
        const int headerEnd = isPng ? 33 : 30; // signature and IHDR; RIFF, VP8X
        for (qsizetype cut = 0; cut < data.size(); cut += std::max<qsizetype>(1, data.size() / 37)) {
            SCOPED_TRACE(testing::Message() << source.toStdString() << " cut to " << cut);
            const mediafacts::FileFacts facts =
                mediafacts::readImageFileFacts(write(isPng ? "cut.png" : "cut.webp", data.left(cut)), {});
            if (cut < headerEnd) {
                EXPECT_FALSE(facts.ok);
                EXPECT_EQ(facts.width, 0);
                continue;
            }
            EXPECT_TRUE(facts.ok);
            EXPECT_TRUE(facts.damaged);
            EXPECT_EQ(facts.width, 40);
            EXPECT_EQ(facts.height, 30);
            EXPECT_EQ(facts.bitDepth, isPng ? 16 : 8);
        }
    }
    // A byte of the picture data changed: the chunk's CRC tells.
    QByteArray flipped = bytes("whole.png");
    const qsizetype idat = flipped.indexOf("IDAT");
    ASSERT_GT(idat, 0);
    flipped[idat + 10] = char(flipped[idat + 10] ^ 0x40);
    const mediafacts::FileFacts f = mediafacts::readImageFileFacts(write("flipped.png", flipped), {});
    EXPECT_TRUE(f.ok);
    EXPECT_TRUE(f.damaged);
    EXPECT_FALSE(mediafacts::readImageFileFacts(write("garbage.png", QByteArray(500, '\x89')), {}).ok);
    EXPECT_FALSE(mediafacts::readImageFileFacts(path("gone.png"), {}).ok);
}

// Codec, channels, rate, bit rate, length and tags as ffprobe reads them.
TEST_F(StreamFactsTest, SoundsAsFfprobeReadsThem)
{
    struct Case
    {
        const char *name;
        QStringList encode;
    };
    const QStringList tags = {"-metadata", "title=Le <b>& titre", "-metadata", "artist=Artiste é",
                              "-metadata", "album=Album",         "-metadata", "date=2021"};
    const Case cases[] = {
        {"tags.mp3", QStringList{"-ac", "2", "-c:a", "libmp3lame", "-b:a", "128k"} + tags},
        {"vorbis.ogg", {"-c:a", "libvorbis", "-metadata", "title=Vorbis", "-metadata", "date=1999"}},
        {"opus.opus", {"-ac", "2", "-c:a", "libopus", "-b:a", "64k", "-metadata", "artist=Op"}},
        {"voice.oga", {"-ar", "16000", "-c:a", "libopus"}},
        {"lossless.flac", {"-ar", "22050", "-c:a", "flac", "-metadata", "album=Flac"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(c.name);
        ASSERT_TRUE(
            ffmpeg(QStringList{"-f", "lavfi", "-i", "sine=frequency=440:duration=3:sample_rate=48000"} +
                   c.encode + QStringList{file}));
        const Probe p = ffprobe(file);
        ASSERT_TRUE(p.ok);
        const mediafacts::FileFacts f = mediafacts::readSongFileFacts(file, {});
        EXPECT_TRUE(f.ok);
        EXPECT_FALSE(f.damaged);
        EXPECT_EQ(f.codec, p.audio.value("codec_name").toString());
        EXPECT_EQ(f.channels, p.audio.value("channels").toInt());
        EXPECT_EQ(QString::number(f.sampleRate), p.audio.value("sample_rate").toString());
        const QJsonValue rate =
            p.audio.contains("bit_rate") ? p.audio.value("bit_rate") : p.format.value("bit_rate");
        EXPECT_EQ(QString::number(f.bitRate), rate.toString());
        EXPECT_NEAR(double(f.lengthMs), double(Probe::ms(p.format.value("duration"))), 1.0);
        EXPECT_EQ(f.title, p.formatTag("title"));
        EXPECT_EQ(f.artist, p.formatTag("artist"));
        EXPECT_EQ(f.album, p.formatTag("album"));
        EXPECT_EQ(f.year, p.formatTag("date"));
    }
    // The generator's own parameters.
    const mediafacts::FileFacts mp3 = mediafacts::readSongFileFacts(path("tags.mp3"), {});
    EXPECT_EQ(mp3.codec, "mp3");
    EXPECT_EQ(mp3.bitRate, 128000);
    EXPECT_EQ(mp3.title, QStringLiteral("Le <b>& titre"));
    EXPECT_EQ(mp3.artist, QStringLiteral("Artiste é"));
    EXPECT_EQ(mp3.year, "2021");
    const mediafacts::FileFacts ogg = mediafacts::readSongFileFacts(path("vorbis.ogg"), {});
    EXPECT_EQ(ogg.codec, "vorbis");
    EXPECT_EQ(ogg.title, "Vorbis"); // a Vorbis comment: the stream's tag
    EXPECT_TRUE(ogg.artist.isEmpty());
    EXPECT_EQ(mediafacts::readSongFileFacts(path("voice.oga"), {}).codec, "opus");
    EXPECT_EQ(mediafacts::readSongFileFacts(path("lossless.flac"), {}).sampleRate, 22050);
}

TEST_F(StreamFactsTest, VideosAsFfprobeReadsThem)
{
    const QString h264 = hasEncoder("libx264") ? "libx264" : "mpeg4";
    struct Case
    {
        const char *name;
        const char *size, *rate;
        QStringList encode;
    };
    const Case cases[] = {
        {"h264.mp4", "160x120", "25", {"-c:v", h264, "-pix_fmt", "yuv420p", "-c:a", "aac"}},
        {"h264.mov", "64x48", "24", {"-c:v", h264, "-pix_fmt", "yuv420p", "-an"}},
        {"vp9.webm", "96x64", "30000/1001", {"-c:v", "libvpx-vp9", "-b:v", "100k", "-c:a", "libopus"}},
        {"mpeg4.mkv", "64x48", "15", {"-c:v", "mpeg4", "-c:a", "libvorbis"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(c.name);
        ASSERT_TRUE(ffmpeg(QStringList{"-f", "lavfi", "-i",
                                       QStringLiteral("testsrc=size=%1:rate=%2").arg(c.size, c.rate), "-f",
                                       "lavfi", "-i", "sine=duration=2", "-t", "2"} +
                           c.encode + QStringList{file}));
        const Probe p = ffprobe(file);
        ASSERT_TRUE(p.ok);
        const mediafacts::FileFacts f = mediafacts::readMovieFileFacts(file, {});
        EXPECT_TRUE(f.ok);
        EXPECT_FALSE(f.damaged);
        EXPECT_EQ(f.codec, p.video.value("codec_name").toString());
        EXPECT_EQ(QStringLiteral("%1x%2").arg(f.width).arg(f.height), c.size);
        EXPECT_EQ(f.width, p.video.value("width").toInt());
        EXPECT_DOUBLE_EQ(f.frameRate, Probe::ratio(p.video.value("avg_frame_rate")));
        EXPECT_NEAR(double(f.lengthMs), double(Probe::ms(p.format.value("duration"))), 1.0);
        EXPECT_EQ(f.audioCodec, p.audio.value("codec_name").toString());
    }
    EXPECT_EQ(mediafacts::readMovieFileFacts(path("vp9.webm"), {}).codec, "vp9");
    EXPECT_NEAR(mediafacts::readMovieFileFacts(path("vp9.webm"), {}).frameRate, 29.97, 0.001);
    EXPECT_TRUE(mediafacts::readMovieFileFacts(path("h264.mov"), {}).audioCodec.isEmpty());
    EXPECT_EQ(mediafacts::readMovieFileFacts(path("mpeg4.mkv"), {}).audioCodec, "vorbis");
}

// Files cut short: what the header says, with the damage told; what FFmpeg cannot open at all
// answers nothing. Never a crash.
TEST_F(StreamFactsTest, DamagedSoundsAndVideos)
{
    ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "sine=duration=4", "-c:a", "flac", path("whole.flac")}));
    ASSERT_TRUE(ffmpeg(
        {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25", "-t", "4", "-c:v", "mpeg4", path("whole.mkv")}));
    ASSERT_TRUE(ffmpeg(
        {"-f", "lavfi", "-i", "testsrc=size=64x48:rate=25", "-t", "4", "-c:v", "mpeg4", path("whole.mp4")}));
    for (const char *name : {"whole.flac", "whole.mkv"}) {
        SCOPED_TRACE(name);
        const QByteArray data = bytes(name);
        const QString ext = QString::fromLatin1(name).section('.', 1);
        const QString cut = write("cut." + ext, data.left(data.size() / 2));
        const mediafacts::FileFacts f =
            ext == "flac" ? mediafacts::readSongFileFacts(cut, {}) : mediafacts::readMovieFileFacts(cut, {});
        EXPECT_TRUE(f.ok);
        EXPECT_TRUE(f.damaged);
        EXPECT_EQ(f.lengthMs / 1000, 4); // as the header says
        EXPECT_FALSE((ext == "flac" ? mediafacts::readSongFileFacts(path(name), {})
                                    : mediafacts::readMovieFileFacts(path(name), {}))
                         .damaged);
    }
    // The MP4 index comes last: cut, nothing can be read.
    const QByteArray mp4 = bytes("whole.mp4");
    const mediafacts::FileFacts cutMp4 =
        mediafacts::readMovieFileFacts(write("cut.mp4", mp4.left(mp4.size() / 2)), {});
    EXPECT_FALSE(cutMp4.ok);
    EXPECT_TRUE(cutMp4.codec.isEmpty());
    EXPECT_EQ(cutMp4.lengthMs, 0);
    // Garbage, an empty file, a missing one, and a sound file holding only a picture.
    for (const QString &file :
         {write("garbage.mp3", QByteArray(3000, '\x5a')), write("empty.ogg", {}), path("gone.flac")}) {
        SCOPED_TRACE(file.toStdString());
        const mediafacts::FileFacts f = mediafacts::readSongFileFacts(file, {});
        EXPECT_FALSE(f.ok);
        EXPECT_EQ(f.lengthMs, 0);
    }
    ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "testsrc=size=16x16", "-frames:v", "1", "-c:v", "mjpeg", "-f",
                        "matroska", path("picture.mkv")}));
    const mediafacts::FileFacts soundless = mediafacts::readSongFileFacts(path("picture.mkv"), {});
    EXPECT_TRUE(soundless.ok);
    EXPECT_TRUE(soundless.damaged);
    EXPECT_TRUE(soundless.codec.isEmpty());
}
