// Animated cursor player control. Its cursor file object (aniFile()) loads the file and returns
// the Status; after a load that succeeds the control takes the cursor's size and shows its first
// step, after one that fails it goes on showing the cursor it had. While Animated is true a timer
// steps through the sequence, each step shown for its rate (jiffies of 1/60 s), round and round.
#pragma once

#include "components/TAniFile.h"

#include <QTimer>
#include <QWidget>

class TAniIcon : public QWidget
{
    Q_OBJECT
public:
    explicit TAniIcon(QWidget *parent = nullptr);

    TAniFile *aniFile() { return &m_file; }
    bool animated() const { return m_animated; }
    void setAnimated(bool on);

    int currentStep() const { return m_step; }
    // Shows the next step as the timer would.
    void advanceStep();
    bool isRunning() const { return m_timer.isActive(); }

    QSize sizeHint() const override;

signals:
    void stepChanged(int step);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void fileChanged();
    void schedule();

    TAniFile m_file;
    QTimer m_timer;
    bool m_animated = false;
    int m_step = 0;
};
