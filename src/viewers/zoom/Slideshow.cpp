#include "viewers/zoom/Slideshow.h"

#include "app/App.h"
#include "app/MediaTypes.h"
#include "app/Settings.h"
#include "platform/Ui.h"
#include "viewers/ViewerPage.h"
#include "viewers/ViewerPane.h"
#include "viewers/zoom/FullScreen.h"

#include <algorithm>

namespace {
class TimerClock : public SlideClock
{
public:
    TimerClock()
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, &SlideClock::due);
    }
    void start(int ms) override { m_timer.start(ms); }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};
} // namespace

Slideshow::Slideshow(ViewerPane &pane) : QObject(&pane), m_pane(pane)
{
    setClock(std::make_unique<TimerClock>());
}

Slideshow::~Slideshow() = default;

void Slideshow::setClock(std::unique_ptr<SlideClock> clock)
{
    m_clock = std::move(clock);
    connect(m_clock.get(), &SlideClock::due, this, &Slideshow::next);
}

void Slideshow::start()
{
    App &app = m_pane.app;
    FileListPort *list = app.selectionList;
    if (m_running || !list ||
        (app.st.CurrentView.CurrentFolder.isEmpty() && !app.st.CurrentView.SearchShown)) {
        app.ui().beep(platform::BeepKind::Plain);
        return;
    }
    std::vector<int> files;
    for (int row = 0; row < list->itemCount(); ++row)
        if (list->isFileItem(row))
            files.push_back(row);
    if (files.empty()) {
        app.ui().beep(platform::BeepKind::Plain);
        return;
    }
    const int selected = app.st.Selection.Item;
    auto from = std::find(files.begin(), files.end(), selected);
    if (from == files.end())
        from = files.begin();
    m_order.assign(from, files.end());
    m_order.insert(m_order.end(), files.begin(), from);
    if (app.st.settings.Slide_Shuffle)
        std::shuffle(m_order.begin() + 1, m_order.end(), m_random);
    // Without Loop the show ends at the list's last file, as Next would.
    if (!app.st.settings.Slide_Loop && !app.st.settings.Slide_Shuffle)
        m_order.assign(from, files.end());
    m_running = true;
    FullScreen &full = m_pane.fullScreen();
    full.enter();
    m_fullScreen = connect(&full, &FullScreen::activeChanged, this, [this](bool on) {
        if (!on)
            end();
    });
    show(0);
}

void Slideshow::end()
{
    if (!m_running)
        return;
    m_running = false;
    m_clock->stop();
    disconnect(m_ended);
    disconnect(m_fullScreen);
    m_pane.fullScreen().leave();
}

// How long past its length a play may take to report its end.
constexpr int kPlayGraceMs = 2000;

void Slideshow::show(size_t position)
{
    App &app = m_pane.app;
    m_position = position;
    const int row = m_order[position];
    disconnect(m_ended);
    m_clock->stop();
    app.selectionList->selectItem(row);
    // The list shows what it selects only when a click shows a file.
    const SelectionRecord &s = app.st.Selection;
    const MediaType type = TypeOfFile(s.FileName);
    if (type != mtNone && app.st.Viewed[type].Path != SelectionFolder(app.st) + s.FileName)
        m_pane.play();
    ViewerPage *page = m_pane.page(app.st.OnView.FileType);
    // A sound or a video plays to its end. One that could not be loaded (no length), or a clip in
    // the animation control (which reports neither length nor end), stays the interval as a picture
    // does, so no file stops the show.
    const ViewedRecord *viewed = page ? &app.st.Viewed[app.st.OnView.FileType] : nullptr;
    const bool playing = page && page->tools().loop && viewed->LengthMs > 0 &&
                         viewed->Path == SelectionFolder(app.st) + s.FileName;
    if (playing) {
        m_ended = connect(page, &ViewerPage::playEnded, this, &Slideshow::next, Qt::QueuedConnection);
        // A play that never reports its end (a repeated tune) still gives way once its length has
        // passed.
        m_clock->start(viewed->LengthMs + kPlayGraceMs);
    } else {
        m_clock->start(1000 * ClampSetting(app.st.settings, "Slide_Interval"));
    }
}

void Slideshow::next()
{
    if (!m_running)
        return;
    if (m_position + 1 < m_order.size()) {
        show(m_position + 1);
        return;
    }
    if (!m_pane.app.st.settings.Slide_Loop) {
        end();
        return;
    }
    if (m_pane.app.st.settings.Slide_Shuffle)
        std::shuffle(m_order.begin(), m_order.end(), m_random);
    show(0);
}
