// Full screen (frmFullScreen): the viewer's notebook alone on a black window over the whole screen,
// the picture on view fitted (never enlarged beyond its size until the user zooms), a sound or a
// video playing on its page there. Home, PageUp/Left, PageDown/Right/Space and End move to the
// first, previous, next and last file; the zoom keys zoom; Escape or F11 goes back.
//
// Rules:
// - Leaving puts the notebook back in the pane, the zoom the window had, and the focus where it was.
// - The mouse pointer hides after 2 s without moving, and shows again when it moves.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;
class ViewerPane;
class ViewerZoom;

class FullScreen : public QObject
{
    Q_OBJECT
public:
    FullScreen(ViewerPane &pane, ViewerZoom &zoom);
    ~FullScreen() override;

    bool active() const { return m_active; }
    // The full-screen window while active, else null.
    QWidget *window() const { return m_active ? m_window : nullptr; }
    bool pointerHidden() const { return m_pointerHidden; }
    // Milliseconds until the pointer hides (-1 when it is hidden, or out of full screen).
    int pointerTimeLeft() const { return m_pointerTimer.remainingTime(); }
    void toggle();
    void enter();
    void leave();

    static constexpr int kPointerDelayMs = 2000;

signals:
    void activeChanged(bool active);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createWindow();
    void showPointer();

    ViewerPane &m_pane;
    ViewerZoom &m_zoom;
    QWidget *m_window = nullptr;
    bool m_active = false;
    int m_notebookIndex = 0;
    QPointer<QWidget> m_focusBefore;
    QPointer<QWidget> m_activeBefore;
    QTimer m_pointerTimer;
    bool m_pointerHidden = false;
};
