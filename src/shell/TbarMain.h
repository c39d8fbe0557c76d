// The main toolbar's view-style buttons and the View menu's style items: the four list styles
// (0 large icons, 1 small icons, 2 list, 3 report).
#pragma once

class QToolButton;
class TfrmMain;

// The button of a style; any other value ends the program with internal error 12.
QToolButton *ViewStyleButton(TfrmMain &form, int style);
// Presses the style's button, stores and saves Icon_Style and styles the current list (once at a
// time: a change asked for meanwhile is ignored).
void SetViewStyle(TfrmMain &form, int style);
// Checks the style's View menu item; any other value ends the program with internal error 13.
void CheckViewStyleItem(TfrmMain &form, int style);
