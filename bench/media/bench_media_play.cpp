// bench_media_play play FILE SECONDS   plays FILE through TMediaPlayer (video into a 640x480 display)
//                                      until its end or SECONDS, for /usr/bin/time to measure
// bench_media_play latency FILE RUNS   open-to-first-sound: time from Open() until the output has
//                                      taken the first samples, RUNS times; prints first/median/max
// bench_media_play tune FILE SECONDS   writes a four-track MIDI tune of SECONDS seconds
#include "components/media/TMediaPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int play(const QString &file, int seconds)
{
    QWidget display;
    display.resize(640, 480);
    display.show();
    TMediaPlayer player;
    player.setDisplay(&display);
    player.setFileName(file);
    platform::Status status = player.Open();
    if (status) {
        player.setNotify(true);
        status = player.Play();
    }
    if (!status) {
        std::fprintf(stderr, "%s\n", qPrintable(status.message()));
        return 1;
    }
    QObject::connect(&player, &TMediaPlayer::OnNotify, qApp, &QApplication::quit);
    QTimer::singleShot(seconds * 1000, qApp, &QApplication::quit);
    const int rc = qApp->exec();
    std::printf("played %d ms of %d ms\n", player.Position(), player.Length());
    return rc;
}

int latency(const QString &file, int runs)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        TMediaPlayer player;
        player.setFileName(file);
        QElapsedTimer t;
        t.start();
        platform::Status status = player.Open();
        if (status && qEnvironmentVariableIsSet("BENCH_VERBOSE"))
            std::printf("open %.1f ms\n", double(t.nsecsElapsed()) / 1e6);
        if (status)
            status = player.Play();
        if (!status) {
            std::fprintf(stderr, "%s\n", qPrintable(status.message()));
            return 1;
        }
        while (player.Position() == 0 && t.elapsed() < 5000)
            QThread::usleep(200);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        player.Close();
    }
    const double first = ms.front();
    std::sort(ms.begin(), ms.end());
    std::printf("open-to-first-sound over %d runs: first %.1f ms, median %.1f ms, max %.1f ms\n", runs, first,
                ms[ms.size() / 2], ms.back());
    return 0;
}

void be32(QByteArray &b, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8)
        b.append(char((v >> s) & 0xff));
}

QByteArray track(const QByteArray &events)
{
    QByteArray t = events;
    t.append("\x00\xff\x2f\x00", 4);
    QByteArray b("MTrk", 4);
    be32(b, uint32_t(t.size()));
    return b + t;
}

int tune(const QString &file, int seconds)
{
    // 120 bpm, 480 ticks a beat: two beats a second. Piano chords, a bass line, drums.
    const int beats = seconds * 2;
    QByteArray tempo("\x00\xff\x51\x03\x07\xa1\x20", 7);
    QByteArray piano("\x00\xc0\x00", 3), bass("\x00\xc1\x21", 3), drums;
    const int chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    for (int beat = 0; beat < beats; ++beat) {
        const int *c = chords[(beat / 2) % 4];
        for (int k = 0; k < 3; ++k)
            piano.append('\0').append(char(0x90)).append(char(c[k])).append(char(80));
        bass.append('\0').append(char(0x91)).append(char(c[0] - 24)).append(char(90));
        drums.append('\0').append(char(0x99)).append(char(beat % 2 ? 38 : 36)).append(char(100));
        drums.append('\0').append(char(0x99)).append(char(42)).append(char(70));
        // 480 ticks later (0x83 0x60) release everything.
        for (int k = 0; k < 3; ++k)
            piano.append(k == 0 ? QByteArray("\x83\x60", 2) : QByteArray(1, '\0'))
                .append(char(0x80))
                .append(char(c[k]))
                .append(char(0));
        bass.append("\x83\x60", 2).append(char(0x81)).append(char(c[0] - 24)).append(char(0));
        drums.append("\x83\x60", 2).append(char(0x89)).append(char(beat % 2 ? 38 : 36)).append(char(0));
        drums.append('\0').append(char(0x89)).append(char(42)).append(char(0));
    }
    QByteArray b("MThd", 4);
    be32(b, 6);
    b.append("\x00\x01\x00\x04\x01\xe0", 6);
    b += track(tempo) + track(piano) + track(bass) + track(drums);
    QFile f(file);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "play")
        return play(args[2], args[3].toInt());
    if (args.size() == 4 && args[1] == "latency")
        return latency(args[2], args[3].toInt());
    if (args.size() == 4 && args[1] == "tune")
        return tune(args[2], args[3].toInt());
    std::fprintf(stderr,
                 "usage: bench_media_play play FILE SECONDS | latency FILE RUNS | tune FILE SECONDS\n");
    return 2;
}
