// What a person does with the mouse and the keyboard, for tests that reach a command the way a
// user does: clicks on the rows of real views, menus opened from the menu bar and their items
// clicked, modal windows answered by keys once they are up and active.
#pragma once

#include <QString>
#include <functional>

class QAbstractItemView;
class QAction;
class QMenu;
class QMenuBar;
class QPoint;
class QWidget;

namespace user {

// Clicks the row of view whose text is text (searched through every level, parents expanded
// first); false when no row says it. A click on a window that is not active makes it active between
// the press and the release, as an X server without a window manager does.
bool clickRow(QAbstractItemView *view, const QString &text, int button = 1 /* Qt::LeftButton */);
// A right click as X delivers it: the press, the context-menu event, the release.
void rightClick(QWidget *widget, const QPoint &at);
// Opens menu from the menu bar by a click on its title, then clicks item in it. Returns once the
// item has run (a modal window it opens has been answered).
void chooseFromMenuBar(QMenuBar *bar, QMenu *menu, QAction *item);
// The next modal window to come up gets act once it is the active window (polling from the
// event loop, giving up after about five seconds).
void whenModalShows(std::function<void(QWidget *modal)> act);
// What the window manager does when a modal window closes: the window below it becomes active
// again (the offscreen platform has no window manager). False when it does not within 5 s.
bool windowManagerActivates(QWidget *window);
// A key pressed and released on the focused widget of window (the window itself if none).
void pressKey(QWidget *window, int key, int modifiers = 0);
// The widget that has the keyboard focus now, for failure messages.
QString focusDescription();

} // namespace user
