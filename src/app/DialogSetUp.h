// What the program's modal windows share in their set-up.
#pragma once

class QDialog;
class QWidget;

// Return, Enter and Escape close the window as OK does, before a focused control sees the key (a
// focused link would take Return).
void AcceptOnReturnAndEscape(QDialog *dialog);
// Places a window at the centre of its screen's available area.
void CentreOnScreen(QWidget *window);
