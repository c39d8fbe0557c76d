// The sound pages, WAV and MID alike: the total and played times and the bar during a play, Loop
// pressed or released at the end, Stop, notices of interrupted plays arriving during the next one,
// and loads that fail (damaged, empty, renamed or vanished files, no audio output).
#include "ViewerFixture.h"
#include "ViewerMedia.h"

#include "MediaWriters.h"

#include "app/Libry.h"
#include "components/media/TMediaPlayer.h"
#include "platform/media/AudioOutput.h"
#include "viewers/View_Sound.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

using namespace viewertest;

namespace {

struct SoundKind
{
    MediaType type;
    const char *page;
    const char *ext;
    QByteArray (*bytes)(int ms);
};

// How GoogleTest (and so CTest) names a case.
void PrintTo(const SoundKind &kind, std::ostream *os)
{
    *os << kind.page;
}

// The controls of one sound page.
struct SoundPage
{
    QLabel *total, *played;
    QProgressBar *bar;
    TMediaPlayer *player;
    QTimer *position, *autoRepeat;
    ViewedRecord *record;
    QWidget *panel;
};

// Sets an environment variable for a scope.
class EnvGuard
{
public:
    EnvGuard(const char *name, const QByteArray &value) : m_name(name), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~EnvGuard() { qputenv(m_name, m_old); }

private:
    const char *m_name;
    QByteArray m_old;
};

class SoundPagesTest : public ViewerFixture, public ::testing::WithParamInterface<SoundKind>
{
protected:
    SoundPagesTest()
    {
        const bool wav = QByteArray(GetParam().page) == "WAV";
        if (wav) {
            TViewPageWAV *p = pane->page<TViewPageWAV>(mtWAV);
            s = {p->lblTotalTimeWAV, p->lblPlayedTimeWAV, p->ProgressBarWAV,     p->MediaPlayerWAV,
                 p->timPositionWav,  p->timAutoRepeatWAV, &app.st.Viewed[mtWAV], p->pnlPositionWAV};
        } else {
            TViewPageMID *p = pane->page<TViewPageMID>(mtMID);
            s = {p->lblTotalTimeMID, p->lblPlayedTimeMID, p->ProgressBarMID,     p->MediaPlayerMID,
                 p->timPositionMID,  p->timAutoRepeatMID, &app.st.Viewed[mtMID], p->pnlPositionMID};
        }
        QObject::connect(s.player, &TMediaPlayer::OnNotify, host.get(), [this](TMediaPlayer *p) {
            notices.push_back(p->NotifyValue());
            // What the page made of it, seen right after its own handler.
            armedAfterNotice.push_back(s.autoRepeat->isActive());
        });
    }

    // A sound of the page's kind in C:\Images\; its name.
    QString sound(const QString &stem, int ms)
    {
        const QString name = stem + '.' + GetParam().ext;
        putBytes(name, GetParam().bytes(ms));
        return name;
    }
    TViewPageSound *soundPage() const
    {
        if (GetParam().type == mtWAV)
            return pane->page<TViewPageWAV>(mtWAV);
        return pane->page<TViewPageMID>(mtMID);
    }
    int count(TMPNotifyValues v) const { return int(std::count(notices.begin(), notices.end(), v)); }
    bool playing() const { return s.player->DeviceID() != 0 && s.position->isActive(); }
    void clickLoop()
    {
        ASSERT_TRUE(pane->button(ViewerCommand::Loop)->isEnabled());
        pane->button(ViewerCommand::Loop)->click();
    }

    SoundPage s{};
    std::vector<TMPNotifyValues> notices;
    std::vector<bool> armedAfterNotice;
};

QByteArray wav(int ms)
{
    return wavBytes(ms);
}
QByteArray mid(int ms)
{
    return midiBytes(ms);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Pages, SoundPagesTest,
                         ::testing::Values(SoundKind{mtWAV, "WAV", "wav", wav},
                                           SoundKind{mtMID, "MID", "mid", mid}),
                         [](const auto &p) { return std::string(p.param.page); });

TEST_P(SoundPagesTest, ALoadShowsTheTotalAndTheBarFollowsThePlay)
{
    show(sound("tune", 1500));
    EXPECT_EQ(page(), GetParam().page);
    EXPECT_EQ(s.record->LengthMs, 1500);
    EXPECT_EQ(s.record->Path, drivePath(QStringLiteral("tune.") + GetParam().ext));
    EXPECT_EQ(s.total->text(), FormatDuration(1500));
    EXPECT_EQ(s.bar->minimum(), 0);
    EXPECT_EQ(s.bar->maximum(), 1500);
    EXPECT_TRUE(playing());
    EXPECT_FALSE(busy());
    ASSERT_TRUE(waitFor([&] { return s.bar->value() > 0; }));
    EXPECT_EQ(s.played->text(), FormatDuration(s.bar->value()));
    // At the end: the times stop, the total stays, the device stays open at the end.
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 1; }));
    EXPECT_FALSE(s.position->isActive());
    EXPECT_TRUE(s.played->text().isEmpty());
    EXPECT_EQ(s.bar->value(), 0);
    EXPECT_EQ(s.total->text(), FormatDuration(1500));
    EXPECT_NE(s.player->DeviceID(), 0u);
    EXPECT_EQ(armedAfterNotice, std::vector<bool>{false});
    EXPECT_TRUE(ui.messages.empty());
}

TEST_P(SoundPagesTest, LoopPressedDuringThePlayStartsItAgainAtItsEndUntilStop)
{
    show(sound("tune", 500));
    EXPECT_FALSE(s.record->Repeat);
    clickLoop();
    EXPECT_TRUE(s.record->Repeat);
    const uint32_t first = s.player->DeviceID();
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 1; }));
    EXPECT_TRUE(s.played->text().isEmpty());
    // Loaded again from the disk and played from the start.
    ASSERT_TRUE(waitFor([&] { return playing() && s.player->DeviceID() != first; }));
    EXPECT_EQ(s.total->text(), FormatDuration(500));
    EXPECT_TRUE(s.record->Repeat);
    ASSERT_TRUE(waitFor([&] { return !s.played->text().isEmpty(); })) << "the played time restarts";
    const uint32_t second = s.player->DeviceID();
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 2; }));
    ASSERT_TRUE(waitFor([&] { return playing() && s.player->DeviceID() != second; }));

    // Stop, Loop still pressed: the interrupted play does not start again.
    pane->button(ViewerCommand::Stop)->click();
    EXPECT_FALSE(s.record->Repeat);
    EXPECT_EQ(s.player->DeviceID(), 0u);
    EXPECT_FALSE(s.position->isActive());
    EXPECT_TRUE(s.played->text().isEmpty());
    EXPECT_EQ(s.bar->value(), 0);
    // Loop released and pressed again before the interrupted play's notice arrives: a stopped
    // sound is not started again.
    clickLoop();
    clickLoop();
    EXPECT_TRUE(s.record->Repeat);
    ASSERT_TRUE(waitFor([&] { return count(nvAborted) == 1; }));
    EXPECT_EQ(armedAfterNotice.back(), false);
    EXPECT_EQ(s.player->DeviceID(), 0u);
    EXPECT_TRUE(pane->button(ViewerCommand::Loop)->isChecked());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_P(SoundPagesTest, LoopReleasedDuringThePlayLetsItEnd)
{
    const QString name = sound("tune", 500);
    show(name);
    clickLoop();
    show(name); // loaded with Loop pressed
    EXPECT_TRUE(s.record->Repeat);
    const uint32_t device = s.player->DeviceID();
    clickLoop();
    EXPECT_FALSE(s.record->Repeat);
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 1; }));
    EXPECT_EQ(armedAfterNotice.back(), false);
    EXPECT_EQ(s.player->DeviceID(), device) << "not loaded again";
    EXPECT_FALSE(s.position->isActive());
    EXPECT_TRUE(s.played->text().isEmpty());
    EXPECT_EQ(s.bar->value(), 0);
    EXPECT_EQ(s.total->text(), FormatDuration(500));
}

TEST_P(SoundPagesTest, NoticesOfInterruptedPlaysLeaveTheNextPlayAlone)
{
    const QString a = sound("a", 1500), b = sound("b", 400);
    show(a);
    clickLoop();
    // Play during the play: the first play's notice arrives while the second plays.
    show(a);
    const uint32_t second = s.player->DeviceID();
    ASSERT_TRUE(waitFor([&] { return !notices.empty(); }));
    EXPECT_EQ(notices, std::vector<TMPNotifyValues>{nvAborted});
    EXPECT_TRUE(playing());
    EXPECT_EQ(s.player->DeviceID(), second);
    EXPECT_EQ(armedAfterNotice.back(), false);
    ASSERT_TRUE(waitFor([&] { return !s.played->text().isEmpty(); })) << "the position timer still runs";

    // Stop, then another file: the stopped play's notice comes as the new load starts; Stop
    // cleared Repeat, the new load takes it from Loop again.
    pane->button(ViewerCommand::Stop)->click();
    ASSERT_TRUE(pane->button(ViewerCommand::Loop)->isChecked());
    show(b);
    const uint32_t third = s.player->DeviceID();
    ASSERT_TRUE(waitFor([&] { return notices.size() == 2; }));
    EXPECT_EQ(notices.back(), nvAborted);
    EXPECT_TRUE(playing());
    EXPECT_EQ(s.player->DeviceID(), third);
    EXPECT_EQ(s.total->text(), FormatDuration(400));
    // Its own end is still seen, and with Loop pressed it is loaded again.
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 1; }));
    EXPECT_EQ(armedAfterNotice.back(), true);
    ASSERT_TRUE(waitFor([&] { return playing() && s.player->DeviceID() != third; }));
    EXPECT_EQ(s.record->Path, drivePath(b));
    EXPECT_EQ(count(nvSuperseded), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_P(SoundPagesTest, AFailedLoadGivesTheMessageAndLeavesThePageEmpty)
{
    const QString good = sound("good", 1500);
    const QByteArray whole = GetParam().bytes(1500);
    const QString ext = QString::fromLatin1(GetParam().ext);
    const struct
    {
        const char *kind;
        QByteArray bytes;
        bool exists;
        const char *driver;
    } cases[] = {
        {"truncated", whole.left(30), true, nullptr},
        {"zero-byte", QByteArray(), true, nullptr},
        {"renamed text", "This is a plain text file, not a sound.\n", true, nullptr},
        {"vanished", QByteArray(), false, nullptr},
        {"no audio output", whole, true, "no-such-driver"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.kind);
        show(good);
        ASSERT_TRUE(waitFor([&] { return !s.played->text().isEmpty(); }));
        const QString name = QStringLiteral("bad ") + c.kind + '.' + ext;
        if (c.exists)
            putBytes(name, c.bytes);
        std::unique_ptr<EnvGuard> driver;
        if (c.driver) {
            // An output still open (kept a moment after a Stop) would play on: let it close first.
            pane->button(ViewerCommand::Stop)->click();
            ASSERT_TRUE(waitFor([&] { return !soundPage()->keepsOutput(); }));
            driver = std::make_unique<EnvGuard>("SDL_AUDIODRIVER", c.driver);
        }
        ui.answerMessage(platform::mbOK);
        show(name);
        driver.reset();
        EXPECT_EQ(takeMessages(), std::vector<QString>{accessError()});
        EXPECT_EQ(page(), GetParam().page);
        EXPECT_TRUE(s.total->text().isEmpty());
        EXPECT_TRUE(s.played->text().isEmpty());
        EXPECT_EQ(s.bar->value(), 0);
        EXPECT_LT(s.bar->minimum(), s.bar->maximum()) << "an empty bar, not a busy indicator";
        EXPECT_EQ(s.record->LengthMs, 0);
        EXPECT_EQ(s.player->DeviceID(), 0u);
        EXPECT_FALSE(s.position->isActive());
        EXPECT_FALSE(busy());
    }
    // The page plays again once the file or the output is there.
    show(good);
    EXPECT_TRUE(playing());
    EXPECT_EQ(s.record->LengthMs, 1500);
}

TEST_P(SoundPagesTest, ASoundOfNoLengthShowsAnEmptyBar)
{
    // A wave header over no sample, or a tune with no event but its end.
    const QString name = QStringLiteral("silence.") + GetParam().ext;
    if (GetParam().type == mtWAV) {
        // RIFF, WAVE, a 16-byte PCM format (mono, 22050 Hz, 16 bits) and an empty data chunk.
        putBytes(name, QByteArray::fromHex("524946462400000057415645666d7420100000000100010022560000"
                                           "44ac0000020010006461746100000000"));
    } else {
        mediatest::MidiTrackBuilder t;
        t.tempo(0, 500000);
        t.endOfTrack(0);
        putBytes(name, mediatest::midiFile(0, 480, {t.bytes}));
    }
    show(name);
    ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text.toStdString();
    EXPECT_EQ(s.record->LengthMs, 0);
    EXPECT_EQ(s.total->text(), FormatDuration(0));
    EXPECT_EQ(s.bar->value(), 0);
    EXPECT_LT(s.bar->minimum(), s.bar->maximum()) << "an empty bar, not a busy indicator";
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 1; }));
    EXPECT_LT(s.bar->minimum(), s.bar->maximum());
}

TEST_P(SoundPagesTest, TheBarKeepsFourPixelsOnEachSideOfItsPanel)
{
    show(sound("tune", 300));
    for (int width : {500, 900}) {
        host->resize(width, 480);
        ASSERT_TRUE(waitFor([&] {
            return s.panel->width() > 0 && s.bar->geometry().left() == 4 && s.bar->geometry().top() == 8 &&
                   s.bar->width() == s.panel->width() - 8;
        })) << s.bar->geometry().left()
            << " " << s.bar->width() << " of " << s.panel->width();
    }
}

// The sound card is not closed and opened again between a Stop and the next file: the page keeps
// the output for a moment after closing its device, then lets it go.
TEST_P(SoundPagesTest, StopKeepsTheSoundOutputForTheNextFileAMoment)
{
    using platform::media::AudioOutput;
    TViewPageSound *page = soundPage();
    show(sound("one", 3000));
    ASSERT_TRUE(playing());
    std::weak_ptr<AudioOutput> output;
    {
        auto in = AudioOutput::acquire();
        ASSERT_TRUE(in.ok());
        output = *in;
    }
    pane->button(ViewerCommand::Stop)->click();
    EXPECT_EQ(s.player->DeviceID(), 0u);
    EXPECT_TRUE(page->keepsOutput());
    EXPECT_FALSE(output.expired());
    show(sound("two", 3000));
    ASSERT_TRUE(playing());
    {
        auto in = AudioOutput::acquire();
        ASSERT_TRUE(in.ok());
        EXPECT_EQ(in->get(), output.lock().get()) << "the second file plays through the same output";
    }
    pane->button(ViewerCommand::Stop)->click();
    ASSERT_TRUE(waitFor([&] { return !page->keepsOutput(); }, 4 * TViewPageSound::kKeepOutputMs));
    EXPECT_TRUE(output.expired()) << "closed once nothing uses it";
}
