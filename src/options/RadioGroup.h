// TRadioGroup: a titled box of radio buttons laid out in columns, whose item index is the index of
// the checked button (-1: none), as the options window's groups hold a setting's value.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    TRadioGroup(QWidget *parent, const char *name, const QString &title, const QStringList &items,
                int columns);

    int itemIndex() const;
    // An index outside the items changes nothing.
    void setItemIndex(int index);
    QRadioButton *item(int index) const;

signals:
    // Another item became checked, by the user or by setItemIndex.
    void changed();

private:
    QButtonGroup *m_buttons;
};
