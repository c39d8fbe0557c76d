#include "options/RadioGroup.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <QRegularExpression>

TRadioGroup::TRadioGroup(QWidget *parent, const char *name, const QString &title, const QStringList &items,
                         int columns)
    : QGroupBox(title, parent), m_buttons(new QButtonGroup(this))
{
    setObjectName(QString::fromLatin1(name));
    setAccessibleName(QString(title).remove(QRegularExpression(QStringLiteral("&(?!&)"))));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 4, 8, 4);
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        b->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(i));
        m_buttons->addButton(b, i);
        grid->addWidget(b, i / columns, i % columns);
    }
    connect(m_buttons, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            emit changed();
    });
}

int TRadioGroup::itemIndex() const
{
    return m_buttons->checkedId();
}

void TRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *b = m_buttons->button(index))
        b->setChecked(true);
}

QRadioButton *TRadioGroup::item(int index) const
{
    return qobject_cast<QRadioButton *>(m_buttons->button(index));
}
