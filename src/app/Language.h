// Interface texts: every text the user sees is a French/English pair, French first; the interface
// speaks French, so SelectText returns the French member.
#pragma once

#include <QString>

inline QString SelectText(const QString &french, const QString & /*english*/)
{
    return french;
}
