// The hints of picture buttons and fields: each a French/English pair, shown as the control's tool
// tip and heard as its accessible name (hints shown or not: the name stays).
#pragma once

#include <initializer_list>

class QWidget;

struct ControlText
{
    QWidget *control;
    const char *fr; // UTF-8
    const char *en;
};

void NameControl(QWidget *control, const char *fr, const char *en);
void NameControls(std::initializer_list<ControlText> texts);
