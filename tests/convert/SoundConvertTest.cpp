// Sounds made by sox, converted through FFmpeg: FLAC decodes back to the very samples of the WAV
// (16 and 24 bits), Opus and Vorbis keep the length within 50 ms (ffprobe), damaged files fail
// without leaving anything.
#include "ConvertTestSupport.h"

#include "convert/Converter.h"
#include "convert/Formats.h"

#include <QFile>
#include <QTemporaryDir>

using namespace converttest;

namespace {

// What ffmpeg decodes a file to, as raw samples of the given format ("s16le", "s32le").
QByteArray decodedSamples(const QString &path, const QString &rawFormat)
{
    QProcess p;
    p.start("ffmpeg", {"-v", "error", "-i", path, "-f", rawFormat, "-"});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return p.readAllStandardOutput();
}

QString probe(const QString &path, const QString &entry)
{
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-show_entries", entry, "-of", "default=nw=1:nk=1", path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).split('\n').first().trimmed();
}

platform::ErrorOr<QString> convertTo(const QString &input, const QString &folder, const QString &format)
{
    return convert::convertFile(convert::Job{input, folder, format}, convert::Options{});
}

class SoundConvert : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tmp.isValid()); }
    // A sound of sox's synthesiser: a chord that changes, so that any lost or moved sample shows.
    QString makeWav(const QString &name, const QStringList &shape, double seconds)
    {
        const QString path = tmp.filePath(name);
        QStringList args{"-n"};
        args << shape << path << "synth" << QString::number(seconds) << "sine"
             << "300-900"
             << "sine"
             << "440"
             << "vol"
             << "0.7";
        EXPECT_TRUE(runTool("sox", args)) << name.toStdString();
        return path;
    }
    QTemporaryDir tmp;
};

} // namespace

TEST_F(SoundConvert, FlacDecodesToTheWavsOwnSamples)
{
    struct Case
    {
        QString name;
        QStringList shape;
        QString raw;
        QString sampleFmt; // what the FLAC stream says
    };
    const QList<Case> cases{{"cd.wav", {"-r", "44100", "-b", "16", "-c", "2"}, "s16le", "s16"},
                            {"studio.wav", {"-r", "48000", "-b", "24", "-c", "1"}, "s32le", "s32"},
                            {"old.wav", {"-r", "11025", "-b", "8", "-c", "1"}, "s16le", "s16"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString wav = makeWav(c.name, c.shape, 1.3);
        const platform::ErrorOr<QString> out = convertTo(wav, tmp.filePath("flac"), "flac");
        ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
        EXPECT_TRUE(out->endsWith(".flac"));
        EXPECT_EQ(probe(*out, "stream=codec_name"), "flac");
        EXPECT_EQ(probe(*out, "stream=sample_fmt"), c.sampleFmt);
        EXPECT_EQ(probe(*out, "stream=sample_rate"), probe(wav, "stream=sample_rate"));
        EXPECT_EQ(probe(*out, "stream=channels"), probe(wav, "stream=channels"));
        const QByteArray expected = decodedSamples(wav, c.raw);
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_TRUE(decodedSamples(*out, c.raw) == expected) << "the samples differ";
    }
}

TEST_F(SoundConvert, OpusAndVorbisKeepTheLength)
{
    const QString wav = makeWav("voix.wav", {"-r", "22050", "-b", "16", "-c", "2"}, 2.345);
    const double length = probe(wav, "format=duration").toDouble();
    ASSERT_GT(length, 2.3);
    for (const auto &[format, codec] : {std::pair{"opus", "opus"}, std::pair{"ogg", "vorbis"}}) {
        SCOPED_TRACE(format);
        const platform::ErrorOr<QString> out = convertTo(wav, tmp.filePath(format), format);
        ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
        EXPECT_TRUE(out->endsWith(QStringLiteral(".") + format));
        EXPECT_EQ(probe(*out, "stream=codec_name"), codec);
        EXPECT_EQ(probe(*out, "stream=channels"), "2");
        EXPECT_NEAR(probe(*out, "format=duration").toDouble(), length, 0.050);
    }
}

TEST_F(SoundConvert, DamagedSoundsFailAndLeaveNothing)
{
    const QString wav = makeWav("good.wav", {"-r", "8000", "-b", "16", "-c", "1"}, 0.5);
    QFile good(wav);
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    auto write = [&](const QString &name, const QByteArray &data) {
        QFile f(tmp.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return f.fileName();
    };
    QByteArray noFormat = bytes;
    noFormat.replace("fmt ", "xxxx");
    const QStringList damaged{write("garbage.wav", QByteArray(3000, 'x')),
                              write("header-only.wav", bytes.left(30)), write("no-format.wav", noFormat),
                              write("empty.wav", {})};
    for (const QString &input : damaged) {
        SCOPED_TRACE(input.toStdString());
        const platform::ErrorOr<QString> out = convertTo(input, tmp.filePath("out"), "flac");
        ASSERT_FALSE(out.ok());
        EXPECT_TRUE(out.error().message.contains(input)) << out.error().message.toStdString();
        EXPECT_NE(out.error().kind, platform::Error::Kind::Io);
    }
    EXPECT_TRUE(filesBelow(tmp.filePath("out")).isEmpty())
        << filesBelow(tmp.filePath("out")).join(' ').toStdString();
}

// The later types' sounds, in containers FFmpeg probes; a list of other files under a sound's
// name is no sound (nothing of what it names is read).
TEST_F(SoundConvert, LaterSoundsConvertFromTheirOwnContainers)
{
    const QString wav = makeWav("source.wav", {"-r", "44100", "-b", "16", "-c", "2"}, 1.5);
    struct Case
    {
        QString name;
        QStringList encoder;
        QString format, codec;
    };
    const QList<Case> cases{{"chanson.mp3", {"-c:a", "libmp3lame"}, "flac", "flac"},
                            {"voix.opus", {"-c:a", "libopus"}, "ogg", "vorbis"},
                            {"Morceau.FLAC", {"-c:a", "flac"}, "opus", "opus"},
                            {"vorbis.oga", {"-c:a", "libvorbis"}, "flac", "flac"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString input = tmp.filePath(c.name);
        QStringList args{"-v", "error", "-i", wav};
        args << c.encoder << "-f"
             << (c.name.endsWith(".mp3")    ? "mp3"
                 : c.name.endsWith(".FLAC") ? "flac"
                                            : "ogg")
             << input;
        ASSERT_TRUE(runTool("ffmpeg", args));
        EXPECT_EQ(convert::sourceOf(input), convert::Source::Wave);
        const platform::ErrorOr<QString> out = convertTo(input, tmp.filePath("out"), c.format);
        ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
        EXPECT_EQ(probe(*out, "stream=codec_name"), c.codec);
        EXPECT_EQ(probe(*out, "stream=channels"), "2");
        EXPECT_NEAR(probe(*out, "format=duration").toDouble(), probe(input, "format=duration").toDouble(),
                    0.050);
    }
    QFile list(tmp.filePath("liste.mp3"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("ffconcat version 1.0\nfile '" + QFile::encodeName(wav) + "'\n");
    list.close();
    const platform::ErrorOr<QString> refused = convertTo(list.fileName(), tmp.filePath("lists"), "flac");
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(filesBelow(tmp.filePath("lists")).isEmpty());
}
