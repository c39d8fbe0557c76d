// GIF player control. loadFromFile returns a Status (FileOpen when the file cannot be read,
// InvalidData for damaged data, TooLarge when the screen is over the picture limit); a failed
// load stops the animation and keeps the picture it had. After a successful load it reports the
// picture's width and height, whether it is animated (more than one frame), interlaced (some
// frame is) and transparent (some frame has a transparent colour), the frame count and the speed
// in percent (100 unless set).
// Animate plays the frames on a timer with their own delays (tiny delays raised as browsers
// do, then divided by speed/100); setting it false freezes the current frame. With Loop the
// file's loop count is honoured (no loop block: one play; 0: forever; n: n repeats); without
// Loop the animation plays once. After the last play it stays on the last frame.
// Drawing: transparent pixels show the parent; Center centres the picture, Tile repeats the
// current frame over the whole control.
#pragma once

#include "components/decoders/GifDecoder.h"
#include "platform/Result.h"

#include <QTimer>
#include <QWidget>

class TGIFImage : public QWidget
{
    Q_OBJECT
public:
    explicit TGIFImage(QWidget *parent = nullptr);

    platform::Status loadFromFile(const QString &path);
    void clear();

    bool animate() const { return m_animate; }
    void setAnimate(bool on);
    bool tile() const { return m_tile; }
    void setTile(bool on);
    bool center() const { return m_center; }
    void setCenter(bool on);
    bool loop() const { return m_loop; }
    void setLoop(bool on) { m_loop = on; }
    int speed() const { return m_speed; }
    void setSpeed(int percent);

    int imageWidth() const { return m_facts.width; }
    int imageHeight() const { return m_facts.height; }
    bool isAnimated() const { return m_facts.animated(); }
    bool isInterlaced() const { return m_facts.interlaced; }
    bool isTransparent() const { return m_facts.transparent; }
    int frameCount() const { return int(m_facts.frames.size()); }
    int loopCount() const { return m_facts.loopCount; }
    bool isEmpty() const { return m_facts.frames.isEmpty(); }

    // The frame shown now (composed), its index, and how long it stays at the current speed.
    QImage currentFrame() const { return m_composer.canvas(); }
    int currentIndex() const { return m_composer.index(); }
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
    void schedule();

    pictures::GifFacts m_facts;
    pictures::GifComposer m_composer;
    QTimer m_timer;
    bool m_animate = false;
    bool m_tile = false;
    bool m_center = false;
    bool m_loop = true;
    int m_speed = 100;
    int m_playsDone = 0;
};
