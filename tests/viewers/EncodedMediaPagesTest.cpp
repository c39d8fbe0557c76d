// The pages of the sounds and clips FFmpeg probes: MP3, Ogg (Vorbis, Opus) and FLAC on sound pages
// as WAV's, MP4 and Matroska (WebM) on video pages as an AVI played as video. Files are made by
// ffmpeg; the totals shown are held to ffprobe's. Loop, Stop, Preview, the full screen of a clip,
// damaged files and a slide show that goes on past them.
#include "ViewerFixture.h"
#include "ViewerMedia.h"

#include "FfmpegTool.h"

#include "components/media/TMediaPlayer.h"
#include "viewers/View_Sound.h"
#include "viewers/View_Video.h"
#include "viewers/previews/Pw_AVI_V.h"
#include "viewers/zoom/FullScreen.h"
#include "viewers/zoom/Slideshow.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTimer>

using namespace viewertest;
using mediatest::Encoded;

namespace {

struct PageKind
{
    Encoded kind;
    MediaType type;
    const char *page;
    const char *file; // its name in C:\Images\ (the extension chooses the type)
};

void PrintTo(const PageKind &k, std::ostream *os)
{
    *os << k.file;
}

const PageKind kSounds[] = {
    {Encoded::Mp3, mtMP3, "MP3", "tune.mp3"},     {Encoded::Vorbis, mtOGG, "OGG", "tune.ogg"},
    {Encoded::Opus, mtOGG, "OGG", "voice.OPUS"},  {Encoded::Vorbis, mtOGG, "OGG", "tune.oga"},
    {Encoded::Flac, mtFLAC, "FLAC", "tune.flac"},
};
const PageKind kClips[] = {
    {Encoded::H264Mp4, mtMP4, "MP4", "clip.mp4"},  {Encoded::H264Mp4, mtMP4, "MP4", "clip.M4V"},
    {Encoded::Mpeg4Mov, mtMP4, "MP4", "clip.mov"}, {Encoded::Vp9Webm, mtMKV, "MKV", "clip.webm"},
    {Encoded::H264Mkv, mtMKV, "MKV", "clip.mkv"},
};

std::string caseName(const PageKind &k)
{
    std::string s = k.file;
    std::replace(s.begin(), s.end(), '.', '_');
    return s;
}

// Makes the file of a case in C:\Images\ lasting ms; its ffprobe length.
class EncodedFixture : public ViewerFixture
{
protected:
    double make(const PageKind &k, int ms, const QString &as = {})
    {
        const QString file = nativeOf(as.isEmpty() ? QString::fromLatin1(k.file) : as);
        QDir().mkpath(QFileInfo(file).path());
        EXPECT_TRUE(mediatest::ffmpegMake(file, k.kind, ms)) << file.toStdString();
        const double probed = mediatest::ffprobeDurationMs(file);
        EXPECT_GT(probed, 0) << file.toStdString();
        return probed;
    }
    template <class T> T *child(const QString &name) const
    {
        T *w = pane->findChild<T *>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QString buttons() const
    {
        QString s;
        for (ViewerCommand c : {ViewerCommand::Play, ViewerCommand::Stop, ViewerCommand::Preview,
                                ViewerCommand::Loop, ViewerCommand::Stretch, ViewerCommand::Tile})
            s += pane->button(c)->isEnabled() ? '1' : '0';
        return s;
    }
    // Damaged copies of a good file: none can be played.
    static std::vector<std::pair<const char *, QByteArray>> damaged(const QByteArray &whole)
    {
        return {{"empty", QByteArray()},
                {"header only", whole.left(30)},
                {"text", QByteArray("This is a plain text file, renamed.\n").repeated(30)},
                {"noise", QByteArray(8192, '\x5a')}};
    }
    QByteArray bytesOf(const QString &name)
    {
        QFile f(nativeOf(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
};

class SoundPages : public EncodedFixture, public ::testing::WithParamInterface<PageKind>
{
protected:
    void SetUp() override
    {
        const QString p = QString::fromLatin1(GetParam().page);
        page_ = pane->page<TViewPageSound>(GetParam().type);
        total = child<QLabel>("lblTotalTime" + p);
        played = child<QLabel>("lblPlayedTime" + p);
        bar = child<QProgressBar>("ProgressBar" + p);
        player = child<TMediaPlayer>("MediaPlayer" + p);
        position = child<QTimer>("timPosition" + p);
        ASSERT_TRUE(page_ && total && played && bar && player && position);
        QObject::connect(player, &TMediaPlayer::OnNotify, host.get(),
                         [this](TMediaPlayer *sender) { notices.push_back(sender->NotifyValue()); });
    }
    int count(TMPNotifyValues v) const { return int(std::count(notices.begin(), notices.end(), v)); }
    bool playing() const { return player->DeviceID() != 0 && position->isActive(); }

    TViewPageSound *page_ = nullptr;
    QLabel *total = nullptr, *played = nullptr;
    QProgressBar *bar = nullptr;
    TMediaPlayer *player = nullptr;
    QTimer *position = nullptr;
    std::vector<TMPNotifyValues> notices;
};

class ClipPages : public EncodedFixture, public ::testing::WithParamInterface<PageKind>
{
protected:
    void SetUp() override
    {
        page_ = pane->page<TViewPageVideo>(GetParam().type);
        ASSERT_NE(page_, nullptr);
        ASSERT_EQ(page_->objectName(), GetParam().page);
        player = page_->MediaPlayer;
        QObject::connect(player, &TMediaPlayer::OnNotify, host.get(), [this](TMediaPlayer *p) {
            notices.push_back(p->NotifyValue());
            armedAfterNotice.push_back(page_->timRepeat->isActive());
        });
    }
    int count(TMPNotifyValues v) const { return int(std::count(notices.begin(), notices.end(), v)); }
    QWidget *drawn() const { return page_->ListViewPlayer->viewport()->findChild<QWidget *>("videoSurface"); }

    TViewPageVideo *page_ = nullptr;
    TMediaPlayer *player = nullptr;
    std::vector<TMPNotifyValues> notices;
    std::vector<bool> armedAfterNotice;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Kinds, SoundPages, ::testing::ValuesIn(kSounds),
                         [](const auto &p) { return caseName(p.param); });
INSTANTIATE_TEST_SUITE_P(Kinds, ClipPages, ::testing::ValuesIn(kClips),
                         [](const auto &p) { return caseName(p.param); });

TEST_P(SoundPages, ASoundShowsTheLengthFfprobeGivesAndPlaysToItsEnd)
{
    const double probed = make(GetParam(), 1200);
    show(GetParam().file);
    ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text.toStdString();
    EXPECT_EQ(page(), GetParam().page);
    EXPECT_EQ(app.st.OnView.FileType, GetParam().type);
    EXPECT_EQ(buttons(), "110100");
    EXPECT_EQ(pane->playCaption(), "&Jouer le fichier");
    const ViewedRecord &r = app.st.Viewed[GetParam().type];
    EXPECT_EQ(r.Path, drivePath(GetParam().file));
    EXPECT_NEAR(double(r.LengthMs), probed, 50.0);
    EXPECT_EQ(total->text(), FormatDuration(r.LengthMs));
    EXPECT_EQ(bar->maximum(), r.LengthMs);
    EXPECT_TRUE(playing());
    ASSERT_TRUE(waitFor([&] { return bar->value() > 0; }));
    EXPECT_EQ(played->text(), FormatDuration(bar->value()));
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 1; }));
    EXPECT_FALSE(position->isActive());
    EXPECT_TRUE(played->text().isEmpty());
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(total->text(), FormatDuration(r.LengthMs));
    EXPECT_NE(player->DeviceID(), 0u) << "at its end, still open";
}

TEST_P(SoundPages, LoopPlaysItAgainFromTheDiskAndStopEndsIt)
{
    make(GetParam(), 500);
    show(GetParam().file);
    pane->button(ViewerCommand::Loop)->click();
    EXPECT_TRUE(app.st.Viewed[GetParam().type].Repeat);
    const uint32_t first = player->DeviceID();
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 1; }));
    ASSERT_TRUE(waitFor([&] { return playing() && player->DeviceID() != first; }));
    EXPECT_FALSE(total->text().isEmpty());
    pane->button(ViewerCommand::Stop)->click();
    EXPECT_EQ(player->DeviceID(), 0u);
    EXPECT_FALSE(app.st.Viewed[GetParam().type].Repeat);
    ASSERT_TRUE(waitFor([&] { return count(nvAborted) == 1; }));
    EXPECT_EQ(player->DeviceID(), 0u) << "a stopped sound is not started again";
    EXPECT_TRUE(ui.messages.empty());
}

TEST_P(SoundPages, ADamagedSoundGivesTheMessageAndThePageGoesOn)
{
    make(GetParam(), 800, "good." + QFileInfo(GetParam().file).suffix());
    const QString good = "good." + QFileInfo(GetParam().file).suffix();
    const QByteArray whole = bytesOf(good);
    for (const auto &[kind, bytes] : damaged(whole)) {
        SCOPED_TRACE(kind);
        show(good);
        ASSERT_TRUE(playing());
        const QString name = QString::fromLatin1(kind) + '.' + QFileInfo(GetParam().file).suffix();
        putBytes(name, bytes);
        ui.answerMessage(platform::mbOK);
        show(name);
        EXPECT_EQ(takeMessages(), std::vector<QString>{accessError()});
        EXPECT_EQ(page(), GetParam().page);
        EXPECT_TRUE(total->text().isEmpty());
        EXPECT_EQ(app.st.Viewed[GetParam().type].LengthMs, 0);
        EXPECT_EQ(player->DeviceID(), 0u);
        EXPECT_FALSE(position->isActive());
        EXPECT_FALSE(busy());
    }
    show(good);
    EXPECT_TRUE(playing());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_P(ClipPages, AClipPlaysOnItsPageWithTheLengthFfprobeGives)
{
    const double probed = make(GetParam(), 1200);
    show(GetParam().file);
    ASSERT_TRUE(ui.messages.empty()) << ui.messages.front().text.toStdString();
    EXPECT_EQ(page(), GetParam().page);
    EXPECT_EQ(app.st.OnView.FileType, GetParam().type);
    EXPECT_EQ(buttons(), "111100");
    EXPECT_EQ(pane->playCaption(), "&Jouer le fichier");
    const ViewedRecord &r = app.st.Viewed[GetParam().type];
    EXPECT_FALSE(r.InWindow);
    EXPECT_EQ(r.FileName, GetParam().file);
    EXPECT_NEAR(double(r.LengthMs), probed, 50.0);
    EXPECT_NE(player->DeviceID(), 0u);
    EXPECT_FALSE(busy());
    EXPECT_EQ(page_->ListViewPlayer->palette().color(QPalette::Window), QColor(0x00, 0x80, 0x80));
    // Drawn at its natural size into the page's surface, the sound beside it.
    ASSERT_TRUE(waitFor([&] { return drawn() && drawn()->isVisible(); }));
    EXPECT_EQ(drawn()->size(), QSize(64, 48));
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 1; }));
    ASSERT_TRUE(waitFor([&] { return !page_->timRepeat->isActive(); }));
    EXPECT_NE(player->DeviceID(), 0u) << "at its end, still open on its last picture";
    EXPECT_EQ(player->Position(), player->Length());
}

TEST_P(ClipPages, LoopReplaysTheClipStopClosesItAndPlayLoadsItAgain)
{
    make(GetParam(), 500);
    show(GetParam().file);
    pane->button(ViewerCommand::Loop)->click();
    EXPECT_TRUE(app.st.Viewed[GetParam().type].Repeat);
    const uint32_t device = player->DeviceID();
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 1; }));
    EXPECT_EQ(armedAfterNotice.back(), true);
    ASSERT_TRUE(waitFor([&] { return player->device().isPlaying(); })) << "played again";
    EXPECT_EQ(player->DeviceID(), device);
    pane->button(ViewerCommand::Stop)->click();
    EXPECT_EQ(player->DeviceID(), 0u);
    EXPECT_EQ(page(), GetParam().page);
    ASSERT_TRUE(waitFor([&] { return count(nvAborted) == 1; }));
    EXPECT_EQ(armedAfterNotice.back(), false);
    pane->button(ViewerCommand::Play)->click();
    EXPECT_NE(player->DeviceID(), 0u);
    EXPECT_TRUE(player->device().isPlaying());
    // Released: the next end is the last.
    pane->button(ViewerCommand::Loop)->click();
    ASSERT_TRUE(waitFor([&] { return count(nvSuccessful) == 2; }));
    ASSERT_TRUE(waitFor([&] { return !page_->timRepeat->isActive(); }));
    EXPECT_FALSE(player->device().isPlaying());
    EXPECT_EQ(count(nvSuperseded), 0);
}

TEST_P(ClipPages, ADamagedClipGivesTheMessageAndTheNotebookStaysOnItsPage)
{
    make(GetParam(), 600);
    const QByteArray whole = bytesOf(GetParam().file);
    putBytes("rose.bmp", bmpBytes({40, 30}));
    const QString ext = QFileInfo(GetParam().file).suffix();
    for (const char *before : {"rose.bmp", GetParam().file}) {
        for (const auto &[kind, bytes] : damaged(whole)) {
            SCOPED_TRACE(std::string(before) + " then " + kind);
            show(before);
            const QString shown = page();
            const QString name = QString::fromLatin1(kind) + '.' + ext;
            putBytes(name, bytes);
            ui.answerMessage(platform::mbOK);
            show(name);
            EXPECT_EQ(takeMessages(), std::vector<QString>{accessError()});
            EXPECT_EQ(page(), shown);
            const ViewedRecord &r = app.st.Viewed[GetParam().type];
            EXPECT_EQ(r.FileName, name);
            EXPECT_EQ(r.LengthMs, 0);
            EXPECT_EQ(player->DeviceID(), 0u);
            EXPECT_FALSE(busy());
        }
    }
}

TEST_P(ClipPages, APreviewPlaysInTheDevicesOwnWindowAndADoubleClickGoesFullScreen)
{
    make(GetParam(), 1500);
    show(GetParam().file);
    TMediaPlayer *preview = page_->frmPreview->MediaPlayerPreviewAVI;
    EXPECT_EQ(page_->frmPreview->objectName(), QStringLiteral("frmPreview_%1_VIDEO").arg(GetParam().page));
    pane->button(ViewerCommand::Preview)->click();
    EXPECT_TRUE(ui.modalWindows.empty()) << "not modal";
    EXPECT_EQ(player->DeviceID(), 0u);
    EXPECT_NE(preview->DeviceID(), 0u);
    EXPECT_TRUE(preview->device().isPlaying());
    // A new load closes the preview's video.
    show(GetParam().file);
    EXPECT_EQ(preview->DeviceID(), 0u);
    EXPECT_NE(player->DeviceID(), 0u);
    // The clip goes full screen from its page, playing on; Escape comes back.
    QTest::mouseDClick(page_->ListViewPlayer->viewport(), Qt::LeftButton, Qt::NoModifier, {10, 10});
    FullScreen &full = pane->fullScreen();
    ASSERT_TRUE(full.active());
    ASSERT_TRUE(QTest::qWaitForWindowActive(full.window()));
    EXPECT_TRUE(full.window()->isAncestorOf(page_));
    EXPECT_TRUE(player->device().isPlaying());
    QTest::keyClick(full.window(), Qt::Key_Escape);
    EXPECT_FALSE(full.active());
    EXPECT_TRUE(pane->isAncestorOf(page_));
    // Gone from the disk since: the message.
    pane->button(ViewerCommand::Stop)->click();
    ASSERT_TRUE(QFile::remove(nativeOf(GetParam().file)));
    ui.answerMessage(platform::mbOK);
    pane->button(ViewerCommand::Preview)->click();
    EXPECT_EQ(takeMessages(), std::vector<QString>{accessError()});
    EXPECT_EQ(preview->DeviceID(), 0u);
}

// A slide show plays a sound and a clip to their ends, and gives a damaged one the interval.
TEST_F(EncodedFixture, ASlideShowPlaysTheNewSoundsAndClipsToTheirEnds)
{
    make(kSounds[0], 400);
    make(kClips[3], 400);
    putBytes("abime.flac", QByteArray("fLaC\0\0\0\x22", 8));
    putBytes("a.bmp", bmpBytes({40, 30}));
    list.rows = {{"a.bmp", true}, {"tune.mp3", true}, {"clip.webm", true}, {"abime.flac", true}};
    ui.acceptOkBoxes = true;
    app.st.settings.Slide_Interval = 1;
    select("a.bmp");
    pane->slideshow().start();
    ASSERT_TRUE(waitFor([&] { return page() == "MP3"; }, 20000));
    EXPECT_GT(app.st.Viewed[mtMP3].LengthMs, 0);
    ASSERT_TRUE(waitFor([&] { return page() == "MKV"; }, 20000)) << "the sound's end moved on";
    ASSERT_TRUE(waitFor([&] { return app.st.Viewed[mtFLAC].Path == drivePath("abime.flac"); }, 20000));
    ASSERT_FALSE(ui.messages.empty()) << "the damaged sound said so";
    EXPECT_TRUE(pane->slideshow().running());
    pane->slideshow().end();
}
