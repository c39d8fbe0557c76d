// Clips made by ffmpeg (MS Video 1 with PCM sound, raw pictures of an odd size), converted to MP4
// and WebM: codecs, frame size, picture count and length (within 50 ms) as ffprobe reads them;
// damaged clips fail without leaving anything.
#include "ConvertTestSupport.h"

#include "convert/Converter.h"
#include "convert/Formats.h"

#include <QFile>
#include <QTemporaryDir>

using namespace converttest;

namespace {

// ffprobe's answers for one stream kind ("v:0", "a:0") of a file, entries in the order asked.
QStringList probe(const QString &path, const QString &stream, const QString &entries)
{
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-select_streams", stream, "-count_packets", "-show_entries",
                        "stream=" + entries, "-of", "default=nw=1:nk=1", path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed().split('\n');
}

double duration(const QString &path)
{
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "default=nw=1:nk=1", path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return -1;
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed().toDouble();
}

platform::ErrorOr<QString> convertTo(const QString &input, const QString &folder, const QString &format)
{
    return convert::convertFile(convert::Job{input, folder, format}, convert::Options{});
}

class VideoConvert : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        clip = tmp.filePath("clip.avi");
        ASSERT_TRUE(runTool("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=64x48:rate=15", "-f",
                                       "lavfi", "-i", "sine=f=440:sample_rate=22050", "-t", "2.4", "-c:v",
                                       "msvideo1", "-c:a", "pcm_s16le", clip}));
        odd = tmp.filePath("odd.avi");
        ASSERT_TRUE(runTool("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=size=71x47:rate=10", "-t",
                                       "1.7", "-c:v", "rawvideo", "-pix_fmt", "bgr24", odd}));
    }
    QTemporaryDir tmp;
    QString clip, odd;
};

} // namespace

TEST_F(VideoConvert, Mp4AndWebmKeepTheFrameSizeAndTheLength)
{
    struct Case
    {
        QString format, video, audio;
    };
    for (const Case &c : {Case{"mp4", "h264", "aac"}, Case{"webm", "vp9", "opus"}}) {
        SCOPED_TRACE(c.format.toStdString());
        for (const QString &input : {clip, odd}) {
            SCOPED_TRACE(input.toStdString());
            const platform::ErrorOr<QString> out = convertTo(input, tmp.filePath(c.format), c.format);
            ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
            EXPECT_TRUE(out->endsWith("." + c.format));
            const QStringList in = probe(input, "v:0", "width,height,nb_read_packets");
            const QStringList made = probe(*out, "v:0", "codec_name,width,height,nb_read_packets");
            ASSERT_EQ(made.size(), 4);
            EXPECT_EQ(made[0], c.video);
            EXPECT_EQ(made.mid(1, 2), in.mid(0, 2));
            EXPECT_EQ(made[3], in[2]) << "pictures lost or added";
            EXPECT_NEAR(duration(*out), duration(input), 0.050);
            EXPECT_EQ(probe(*out, "a:0", "codec_name"),
                      input == clip ? QStringList{c.audio} : QStringList{""});
        }
    }
}

TEST_F(VideoConvert, DamagedClipsFailAndLeaveNothing)
{
    QFile good(clip);
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    auto write = [&](const QString &name, const QByteArray &data) {
        QFile f(tmp.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return f.fileName();
    };
    for (const QString &input : {write("garbage.avi", QByteArray(5000, 'x')),
                                 write("header.avi", bytes.left(200)), write("empty.avi", {})}) {
        SCOPED_TRACE(input.toStdString());
        const platform::ErrorOr<QString> out = convertTo(input, tmp.filePath("out"), "mp4");
        ASSERT_FALSE(out.ok());
        EXPECT_TRUE(out.error().message.contains(input)) << out.error().message.toStdString();
        EXPECT_NE(out.error().kind, platform::Error::Kind::Io);
    }
    EXPECT_TRUE(filesBelow(tmp.filePath("out")).isEmpty())
        << filesBelow(tmp.filePath("out")).join(' ').toStdString();
}

// The later types' clips convert from their own containers, whatever the extension's case.
TEST_F(VideoConvert, LaterClipsConvertFromTheirOwnContainers)
{
    const QString mp4 = tmp.filePath("film.MP4"), webm = tmp.filePath("film.webm"),
                  mov = tmp.filePath("film.mov");
    ASSERT_TRUE(
        runTool("ffmpeg", {"-v", "error", "-i", clip, "-c:v", "mpeg4", "-c:a", "aac", "-f", "mp4", mp4}));
    ASSERT_TRUE(
        runTool("ffmpeg", {"-v", "error", "-i", clip, "-c:v", "libvpx-vp9", "-c:a", "libopus", webm}));
    ASSERT_TRUE(runTool("ffmpeg", {"-v", "error", "-i", clip, "-c:v", "mpeg4", "-an", mov}));
    for (const auto &[input, format] :
         {std::pair{mp4, "webm"}, std::pair{webm, "mp4"}, std::pair{mov, "webm"}}) {
        SCOPED_TRACE(input.toStdString());
        EXPECT_EQ(convert::sourceOf(input), convert::Source::Video);
        const platform::ErrorOr<QString> out = convertTo(input, tmp.filePath("out"), format);
        ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
        const QStringList made = probe(*out, "v:0", "width,height");
        EXPECT_EQ(made, (QStringList{"64", "48"}));
        EXPECT_NEAR(duration(*out), duration(input), 0.050);
    }
}
