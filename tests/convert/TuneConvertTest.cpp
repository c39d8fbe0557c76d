// Tunes made by abc2midi, rendered with the player's soundfont: the sound lasts the tempo map's
// length plus a release tail, is not silent, and damaged files or a missing soundfont fail without
// leaving anything.
#include "ConvertTestSupport.h"

#include "convert/Converter.h"
#include "platform/media/MidiFile.h"

#include <QFile>
#include <QTemporaryDir>

using namespace converttest;

namespace {

QString probe(const QString &path, const QString &entry)
{
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-show_entries", entry, "-of", "default=nw=1:nk=1", path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).split('\n').first().trimmed();
}

// The loudest sample ffmpeg decodes from a file, 0..32768.
int peak(const QString &path)
{
    QProcess p;
    p.start("ffmpeg", {"-v", "error", "-i", path, "-f", "s16le", "-"});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return -1;
    const QByteArray raw = p.readAllStandardOutput();
    int best = 0;
    for (qsizetype i = 0; i + 1 < raw.size(); i += 2)
        best = std::max(best, std::abs(int(qint16(quint8(raw[i]) | (quint8(raw[i + 1]) << 8)))));
    return best;
}

class TuneConvert : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        const QString abc = tmp.filePath("air.abc");
        QFile f(abc);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // Eight crotchets at 100 a minute, then a two-beat rest: 6 seconds of tempo map.
        f.write("X:1\nT:Air\nM:4/4\nL:1/4\nQ:1/4=100\nK:C\nCDEF|GAB2|z2z2|\n");
        f.close();
        midi = tmp.filePath("air.mid");
        ASSERT_TRUE(runTool("abc2midi", {abc, "-o", midi}));
        QFile m(midi);
        ASSERT_TRUE(m.open(QIODevice::ReadOnly));
        const QByteArray data = m.readAll();
        platform::media::MidiFile parsed;
        ASSERT_TRUE(parsed.parse(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size())));
        lengthS = parsed.lengthMs() / 1000.0;
    }
    QTemporaryDir tmp;
    QString midi;
    double lengthS = 0;
};

} // namespace

TEST_F(TuneConvert, TheSoundLastsTheTempoMapPlusTheReleaseTail)
{
    ASSERT_GT(lengthS, 5.0);
    for (const auto &[format, codec] :
         {std::pair{"flac", "flac"}, std::pair{"wav", "pcm_s16le"}, std::pair{"ogg", "vorbis"}}) {
        SCOPED_TRACE(format);
        const platform::ErrorOr<QString> out =
            convert::convertFile(convert::Job{midi, tmp.filePath(format), format}, convert::Options{});
        ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
        EXPECT_TRUE(out->endsWith(QStringLiteral(".") + format));
        EXPECT_EQ(probe(*out, "stream=codec_name"), codec);
        EXPECT_EQ(probe(*out, "stream=sample_rate"), "44100");
        EXPECT_EQ(probe(*out, "stream=channels"), "2");
        const double duration = probe(*out, "format=duration").toDouble();
        EXPECT_GE(duration, lengthS - 0.050);
        EXPECT_LE(duration, lengthS + 3.0 + 0.050);
        EXPECT_GT(peak(*out), 1000) << "the tune is silent";
    }
}

TEST_F(TuneConvert, DamagedTunesAndAMissingSoundfontFailWithNothingLeft)
{
    QFile good(midi);
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    const QString cut = tmp.filePath("cut.mid");
    {
        QFile f(cut);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.left(bytes.size() / 2));
    }
    const platform::ErrorOr<QString> damaged =
        convert::convertFile(convert::Job{cut, tmp.filePath("out"), "flac"}, convert::Options{});
    ASSERT_FALSE(damaged.ok());
    EXPECT_TRUE(damaged.error().message.contains("cut.mid"));
    EXPECT_EQ(damaged.error().kind, platform::Error::Kind::InvalidData);

    const QByteArray saved = qgetenv("LUMAVISTA_SOUNDFONT");
    qputenv("LUMAVISTA_SOUNDFONT", tmp.filePath("none.sf2").toLocal8Bit());
    const platform::ErrorOr<QString> noFont =
        convert::convertFile(convert::Job{midi, tmp.filePath("out"), "flac"}, convert::Options{});
    if (saved.isNull())
        qunsetenv("LUMAVISTA_SOUNDFONT");
    else
        qputenv("LUMAVISTA_SOUNDFONT", saved);
    ASSERT_FALSE(noFont.ok());
    EXPECT_TRUE(noFont.error().message.contains("soundfont"));
    EXPECT_TRUE(filesBelow(tmp.filePath("out")).isEmpty())
        << filesBelow(tmp.filePath("out")).join(' ').toStdString();
}
