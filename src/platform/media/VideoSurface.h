// Where a video device draws: a child of the display widget it was given, at the clip's natural
// size in its top-left corner, or, with no display widget, a plain window of its own.
//
// Rules: it only shows the last picture it was handed; closing its own window asks the device to
// stop (onClosed), as a person closing the clip's window expects.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace platform::media {

class VideoSurface : public QWidget
{
public:
    // parent: the display widget (its viewport for a scroll area), or nullptr for a window.
    VideoSurface(QWidget *parent, QSize natural, const QString &title);

    void setFrame(const QImage &frame);
    const QImage &frame() const { return m_frame; }
    int framesShown() const { return m_shown; }
    void setOnClosed(std::function<void()> handler) { m_onClosed = std::move(handler); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QImage m_frame;
    int m_shown = 0;
    std::function<void()> m_onClosed;
};

// The widget a device draws into for a display widget (a scroll area's viewport).
QWidget *drawingTarget(QWidget *display);

} // namespace platform::media
