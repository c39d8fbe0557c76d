// The slide show (F9, "Diaporama"): the files of the list on view, from the one selected, shown one
// after the other in full screen; a picture stays Slide_Interval seconds, a sound or a video plays
// to its end. The list's selection follows it. Slide_Loop starts again after the last file,
// Slide_Shuffle walks the files in an order drawn at random (the selected one first). Escape (the
// end of full screen) ends it, and so does the last file without Loop.
//
// Rules: only file rows are shown; the time comes from a SlideClock, which tests replace.
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <random>
#include <vector>

class ViewerPage;
class ViewerPane;

// When the next slide is due.
class SlideClock : public QObject
{
    Q_OBJECT
public:
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
signals:
    void due();
};

class Slideshow : public QObject
{
    Q_OBJECT
public:
    explicit Slideshow(ViewerPane &pane);
    ~Slideshow() override;

    bool running() const { return m_running; }
    // The rows the show walks, in order (for the tests of the order).
    const std::vector<int> &order() const { return m_order; }
    void setClock(std::unique_ptr<SlideClock> clock);
    void setSeed(unsigned seed) { m_random.seed(seed); }

    // Starts from the selected file (the first one with none); a beep with no file to show.
    void start();
    void end();

private:
    void show(size_t position);
    void next();
    void connectPage();

    ViewerPane &m_pane;
    std::unique_ptr<SlideClock> m_clock;
    bool m_running = false;
    std::vector<int> m_order;
    size_t m_position = 0;
    std::mt19937 m_random{std::random_device{}()};
    QMetaObject::Connection m_ended, m_fullScreen;
};
