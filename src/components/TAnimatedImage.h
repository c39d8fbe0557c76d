// Player control of PNG pictures (the frames of an animated PNG too) and WebP pictures, still or
// animated; told a format, it loads only files of that format. loadFromFile returns a Status (FileOpen when
// the file cannot be read, InvalidData for damaged data, TooLarge over the picture limit); a failed load
// leaves the control empty and stopped. After a load it reports the picture's width and height, whether it is
// animated (more than one frame) and transparent (its pixels carry alpha), the frame count and the plays.
// Animate plays the frames on a timer with their own delays (tiny ones raised as browsers do);
// false freezes the current frame. The file's number of plays is honoured (0: forever); after the
// last play the last frame stays.
// Drawing: transparent pixels show the parent, so a picture with alpha stands on its page's colour.
// Stretch scales the frame to the control; else Tile repeats it over the control from the top-left
// corner; else it is drawn at its natural size at the top-left corner.
#pragma once

#include "components/decoders/Animation.h"

#include <QTimer>
#include <QWidget>

class TAnimatedImage : public QWidget
{
    Q_OBJECT
public:
    explicit TAnimatedImage(QWidget *parent = nullptr);

    // The format of the files it loads (either, unless set).
    void setFormat(pictures::AnimationFormat format) { m_format = format; }

    platform::Status loadFromFile(const QString &path);
    void clear();

    bool animate() const { return m_animate; }
    void setAnimate(bool on);
    bool stretch() const { return m_stretch; }
    void setStretch(bool on);
    bool tile() const { return m_tile; }
    void setTile(bool on);

    int imageWidth() const { return m_picture.size.width(); }
    int imageHeight() const { return m_picture.size.height(); }
    bool isAnimated() const { return m_picture.animated(); }
    bool isTransparent() const { return m_picture.transparent; }
    int frameCount() const { return int(m_picture.frames.size()); }
    int plays() const { return m_picture.plays; }
    bool isEmpty() const { return m_picture.frames.isEmpty(); }

    // The frame shown now, its index, and how long it stays.
    QImage currentFrame() const { return m_picture.frames.value(m_index); }
    int currentIndex() const { return m_index; }
    int currentDelayMs() const;
    // Shows the next frame as the timer would; false when the animation has ended.
    bool advanceFrame();
    bool isRunning() const { return m_timer.isActive(); }

    QSize sizeHint() const override;

signals:
    void frameChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool playsLeft() const;
    void schedule();

    pictures::AnimationFormat m_format = pictures::AnimationFormat::Any;
    pictures::Animation m_picture;
    QTimer m_timer;
    int m_index = 0;
    int m_playsDone = 0;
    bool m_animate = false;
    bool m_stretch = false;
    bool m_tile = false;
};
