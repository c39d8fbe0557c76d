// What the preview windows share: a window with a system menu, a maximise and a close box, whose
// client area is a scroll box over the picture, coloured as the picture's page. A window given the
// picture's size shows it whole at its natural size (beyond the screen if need be); made smaller,
// it scrolls over it from the top-left corner. Escape closes it (the AVI windows excepted).
#pragma once

#include <QDialog>

class QScrollArea;

class TPreviewWindow : public QDialog
{
    Q_OBJECT
public:
    TPreviewWindow(QWidget *parent, const char *name);

    QScrollArea *scroll() const { return m_scroll; }
    // Puts content in the scroll box; fill: the content follows the box's size.
    void setContent(QWidget *content, bool fill);
    // The client area and the content take this size.
    void setClientSize(int width, int height);
    void setColour(const QColor &colour);
    // Places the window at the top-left corner of the screen's available area.
    void placeAtTopLeft();

signals:
    // The window was shown (its "activation"): what it does then is its owner's.
    void activated();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QScrollArea *m_scroll;
    bool m_activated = false;
};
