#include "app/ControlTexts.h"

#include "app/Language.h"

#include <QWidget>

void NameControl(QWidget *control, const char *fr, const char *en)
{
    const QString text = SelectText(QString::fromUtf8(fr), QString::fromUtf8(en));
    control->setToolTip(text);
    control->setAccessibleName(text);
}

void NameControls(std::initializer_list<ControlText> texts)
{
    for (const ControlText &t : texts)
        NameControl(t.control, t.fr, t.en);
}
