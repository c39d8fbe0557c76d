// The devices over the newer containers: MP3, Ogg (Vorbis, Opus), FLAC sounds on the wave device,
// MP4, QuickTime, Matroska and WebM clips on the video device. Files are made by ffmpeg; lengths
// are held to ffprobe's. The container is probed, so a file under another sound's or clip's
// extension still plays, and a damaged one fails at open or plays what it can.
#include "FfmpegTool.h"
#include "MediaTestSupport.h"
#include "platform/media/MciDevice.h"
#include "platform/media/MediaLength.h"

#include <QFile>
#include <QImage>
#include <QListView>
#include <gtest/gtest.h>

using namespace mediatest;
using platform::MciDevice;
using platform::MciDeviceType;
using platform::MciNotify;

namespace {

constexpr int kMs = 1500;

class ContainerDevice : public ::testing::TestWithParam<EncodedKind>
{
protected:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
    // The file of the case under its usual extension.
    QString made(const QString &stem = QStringLiteral("a"))
    {
        const QString file = path(stem + '.' + GetParam().ext);
        EXPECT_TRUE(ffmpegMake(file, GetParam().kind, kMs)) << file.toStdString();
        return file;
    }
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Kinds, ContainerDevice, ::testing::ValuesIn(kEncodedKinds),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(ContainerDevices, TheExtensionChoosesTheDeviceInAnyCase)
{
    const std::pair<const char *, MciDeviceType> cases[] = {
        {"a.mp3", MciDeviceType::WaveAudio},  {"A.OGG", MciDeviceType::WaveAudio},
        {"a.Oga", MciDeviceType::WaveAudio},  {"a.OPUS", MciDeviceType::WaveAudio},
        {"a.flac", MciDeviceType::WaveAudio}, {"a.wav", MciDeviceType::WaveAudio},
        {"a.MID", MciDeviceType::Sequencer},  {"a.avi", MciDeviceType::AviVideo},
        {"a.MP4", MciDeviceType::AviVideo},   {"a.m4v", MciDeviceType::AviVideo},
        {"a.MoV", MciDeviceType::AviVideo},   {"a.mkv", MciDeviceType::AviVideo},
        {"a.WEBM", MciDeviceType::AviVideo},  {"a.fla", MciDeviceType::None},
        {"a.mp", MciDeviceType::None},        {"webm", MciDeviceType::None},
        {"a.mp4.txt", MciDeviceType::None},   {"dir.mp3/a", MciDeviceType::None},
    };
    for (const auto &[name, type] : cases)
        EXPECT_EQ(platform::mciDeviceTypeFor(QString::fromLatin1(name)), type) << name;
    // Only RIFF files get a demuxer named; the others are probed.
    EXPECT_STREQ(platform::mciDemuxerFor("x.WAV"), "wav");
    EXPECT_STREQ(platform::mciDemuxerFor("x.avi"), "avi");
    for (const char *name : {"x.mp3", "x.ogg", "x.opus", "x.flac", "x.mp4", "x.mov", "x.webm", "x.MKV"})
        EXPECT_EQ(platform::mciDemuxerFor(QString::fromLatin1(name)), nullptr) << name;
}

TEST_P(ContainerDevice, PlaysToItsEndWithTheLengthFfprobeGives)
{
    const QString file = made();
    const double probed = ffprobeDurationMs(file);
    ASSERT_GT(probed, 0);
    QListView surface;
    surface.resize(200, 150);
    std::vector<MciNotify> notes;
    int pictures = 0;
    QSize pictureSize;
    std::vector<float> heard;
    {
        DiskCapture capture(dir.path());
        MciDevice dev;
        QObject::connect(&dev, &MciDevice::notify, [&](MciNotify k) { notes.push_back(k); });
        QObject::connect(&dev, &MciDevice::framePresented, [&](const QImage &picture, qint64) {
            ++pictures;
            pictureSize = picture.size();
        });
        ASSERT_TRUE(dev.open(file, &surface).ok());
        EXPECT_EQ(dev.type(), GetParam().video ? MciDeviceType::AviVideo : MciDeviceType::WaveAudio);
        EXPECT_NEAR(double(dev.lengthMs()), probed, 50.0);
        EXPECT_NEAR(double(platform::media::probeMediaLengthMs(file)), probed, 50.0);
        ASSERT_TRUE(dev.play(true).ok());
        ASSERT_TRUE(waitUntil([&] { return dev.positionMs() > 200; }));
        EXPECT_LT(dev.positionMs(), dev.lengthMs());
        ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
        EXPECT_EQ(notes, std::vector<MciNotify>{MciNotify::Successful});
        EXPECT_EQ(dev.positionMs(), dev.lengthMs());
        dev.close();
        heard = capture.samples();
    }
    const Sound s = analyse(heard, DiskCapture::kChannels, DiskCapture::kRate, 0.05f);
    EXPECT_NEAR(s.frequency, 440.0, 10.0);
    EXPECT_NEAR(s.durationSec, kMs / 1000.0, 0.1);
    if (GetParam().video) {
        // 25 a second for 1.5 s; a loaded machine may skip a late one.
        EXPECT_GE(pictures, 30);
        EXPECT_EQ(pictureSize, QSize(64, 48));
    } else {
        EXPECT_EQ(pictures, 0);
    }
}

TEST_P(ContainerDevice, StopKeepsThePositionAndPlayGoesOnFromThere)
{
    const QString file = made();
    MciDevice dev;
    std::vector<MciNotify> notes;
    QObject::connect(&dev, &MciDevice::notify, [&](MciNotify k) { notes.push_back(k); });
    ASSERT_TRUE(dev.open(file).ok());
    ASSERT_TRUE(dev.play(true).ok());
    ASSERT_TRUE(waitUntil([&] { return dev.positionMs() > 300; }));
    ASSERT_TRUE(dev.stop().ok());
    const int64_t at = dev.positionMs();
    EXPECT_GT(at, 300);
    EXPECT_LT(at, dev.lengthMs());
    ASSERT_TRUE(waitUntil([&] { return notes.size() == 1; }));
    EXPECT_EQ(notes.back(), MciNotify::Aborted);
    // From the middle: the rest plays and ends.
    ASSERT_TRUE(dev.seek(800).ok());
    EXPECT_EQ(dev.positionMs(), 800);
    ASSERT_TRUE(dev.play(true).ok());
    ASSERT_TRUE(waitUntil([&] { return notes.size() == 2; }));
    EXPECT_EQ(notes.back(), MciNotify::Successful);
    // Play at the end starts again from the beginning.
    ASSERT_TRUE(dev.play(false).ok());
    ASSERT_TRUE(waitUntil([&] { return dev.positionMs() > 0 && dev.positionMs() < 600; }));
    dev.close();
}

TEST(ContainerDevices, OtherExtensionsOfTheSameContainersAndFilesThatLieAboutTheirKind)
{
    QTemporaryDir dir;
    const struct
    {
        const char *name;
        Encoded kind;
    } cases[] = {
        {"vorbis.oga", Encoded::Vorbis},
        {"flac_in.OGA", Encoded::Flac},
        {"opus.ogg", Encoded::Opus},
        {"mp3.flac", Encoded::Mp3},
        {"TONE.MP3", Encoded::Mp3},
        {"clip.m4v", Encoded::H264Mp4},
        {"clip.MOV", Encoded::H264Mp4},
        {"webm.mkv", Encoded::Vp9Webm},
        {"mkv.webm", Encoded::H264Mkv},
        {"mov.mp4", Encoded::Mpeg4Mov},
        {"mp4 as sound.ogg", Encoded::H264Mp4},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(ffmpegMake(file, c.kind, 800));
        const double probed = ffprobeDurationMs(file);
        MciDevice dev;
        std::vector<MciNotify> notes;
        QObject::connect(&dev, &MciDevice::notify, [&](MciNotify k) { notes.push_back(k); });
        ASSERT_TRUE(dev.open(file).ok());
        EXPECT_NEAR(double(dev.lengthMs()), probed, 50.0);
        ASSERT_TRUE(dev.play(true).ok());
        ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
        EXPECT_EQ(notes.back(), MciNotify::Successful);
        dev.close();
    }
}

TEST_P(ContainerDevice, DamagedFilesFailAtOpenOrPlayWhatTheyHold)
{
    const QString good = made("good");
    QFile in(good);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray whole = in.readAll();
    QByteArray scrambled = whole;
    for (qsizetype i = 0; i < scrambled.size(); i += 7)
        scrambled[i] = char(scrambled[i] ^ 0x5a);
    const struct
    {
        const char *kind;
        QByteArray bytes;
    } refused[] = {
        {"empty", QByteArray()},
        {"header only", whole.left(30)},
        {"text", QByteArray("This is a plain text file, renamed.\nIt holds no sound.\n").repeated(20)},
        {"noise", QByteArray(8192, '\x5a')},
        {"scrambled", scrambled},
    };
    const QString ext = QStringLiteral(".") + GetParam().ext;
    for (const auto &c : refused) {
        SCOPED_TRACE(c.kind);
        const QString file = path(QString::fromLatin1(c.kind) + ext);
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(c.bytes);
        out.close();
        MciDevice dev;
        const platform::MciResult r = dev.open(file);
        if (r.ok()) {
            // Something of it could be read: it plays what it can and ends.
            std::vector<MciNotify> notes;
            QObject::connect(&dev, &MciDevice::notify, [&](MciNotify k) { notes.push_back(k); });
            ASSERT_TRUE(dev.play(true).ok());
            ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
            EXPECT_EQ(notes.back(), MciNotify::Successful);
            EXPECT_STREQ(c.kind, "scrambled") << "only damage past the headers may open";
        } else {
            EXPECT_FALSE(dev.isOpen());
            EXPECT_FALSE(r.message.isEmpty());
            EXPECT_EQ(platform::media::probeMediaLengthMs(file), 0);
        }
    }
    // Cut in the middle: what is there plays.
    const QString half = path("half" + ext);
    QFile out(half);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(whole.left(whole.size() / 2));
    out.close();
    MciDevice dev;
    std::vector<MciNotify> notes;
    QObject::connect(&dev, &MciDevice::notify, [&](MciNotify k) { notes.push_back(k); });
    const platform::MciResult r = dev.open(half);
    if (r.ok()) {
        ASSERT_TRUE(dev.play(true).ok());
        ASSERT_TRUE(waitUntil([&] { return !notes.empty(); }));
        EXPECT_EQ(notes.back(), MciNotify::Successful);
    } else {
        // An MP4 keeps its index at its end: without it nothing can be read.
        EXPECT_FALSE(r.message.isEmpty());
    }
}

TEST(ContainerDevices, APictureUnderAClipsOrASoundsNameIsRefused)
{
    // FFmpeg's probe finds pictures in a file of any name; a still picture is no clip.
    QTemporaryDir dir;
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (const char *name : {"still.mp4", "still.MKV", "still.webm", "still.mov", "still.m4v", "still.mp3",
                             "still.ogg", "still.flac"}) {
        SCOPED_TRACE(name);
        for (const char *format : {"PNG", "JPEG", "BMP"}) {
            SCOPED_TRACE(format);
            const QString file = dir.filePath(QString::fromLatin1(name));
            QFile::remove(file);
            ASSERT_TRUE(picture.save(file, format));
            MciDevice dev;
            const platform::MciResult r = dev.open(file);
            EXPECT_FALSE(r.ok());
            EXPECT_EQ(r.code, platform::MCIERR_INVALID_FILE);
            EXPECT_EQ(platform::media::probeMediaLengthMs(file), 0);
        }
    }
}
