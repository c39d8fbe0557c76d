// The size, duration and date formatting routines.
#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "platform/drives/DirSearch.h"

#include <QLocale>
#include <QRegularExpression>

QString FormatGroupedNumber(int64_t n)
{
    const bool negative = n < 0;
    QString digits = QString::number(negative ? -static_cast<uint64_t>(n) : static_cast<uint64_t>(n));
    for (int i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, ' ');
    return negative ? '-' + digits : digits;
}

QString FormatBytes(int64_t n)
{
    return FormatGroupedNumber(n) + SelectText(" octets", " bytes");
}

QString FormatKilobytes(int64_t n)
{
    return FormatGroupedNumber((n + 1023) / 1024) + SelectText(" Ko", " Kb");
}

QString FormatMegabytes(int64_t n)
{
    if (n <= 1073741823)
        return FormatGroupedNumber((n + 1048575) / 1048576) + SelectText(" Mo", " Mb");
    const int64_t mb = n / 1048576;
    const int64_t g = mb / 1024;
    const int64_t h = mb * 100 / 1024 - g * 100;
    return QString::number(g) + ',' + QString::number(h).rightJustified(2, '0') + SelectText(" Go", " Gb");
}

QString FormatShortSize(int64_t n)
{
    if (n < 1024)
        return {};
    if (n <= 1048575)
        return FormatKilobytes(n);
    return FormatMegabytes(n);
}

QString FormatDuration(int64_t ms)
{
    const int64_t hours = ms / 3600000;
    const int64_t minutes = (ms / 1000) % 3600 / 60;
    const int64_t seconds = ms / 1000 - hours * 3600 - minutes * 60;
    QString text;
    if (hours != 0)
        text += QString::number(hours) + " h ";
    if (minutes != 0)
        text += QString::number(minutes) + " min ";
    return text + QString::number(seconds) + " sec";
}

namespace {
// The file system's packed time has two-second steps.
QDateTime packedTime(QDateTime t)
{
    const QTime time = t.time();
    t.setTime(QTime(time.hour(), time.minute(), time.second() & ~1));
    return t;
}
} // namespace

QString FormatFileTime(const QDateTime &time)
{
    if (!time.isValid())
        return {};
    const QDateTime t = packedTime(time);
    const QLocale locale = DateLocale();
    return locale.toString(t.date(), QLocale::ShortFormat) + ' ' +
           locale.toString(t.time(), QLocale::ShortFormat);
}

QString FormatFileDateTime(App &app, const QString &path)
{
    platform::SearchEntry e;
    if (SearchOne(app, path, &e) != platform::ERROR_SUCCESS)
        return {};
    return FormatFileTime(e.lastWrite);
}

QString FormatFolderDate(App &app, const QString &path, bool withTime)
{
    platform::SearchEntry e;
    const int code = SearchOne(app, StripTrailingBackslash(path), &e);
    if (code == platform::ERROR_SUCCESS) {
        if (!e.isFolder())
            return {};
        const QLocale locale = DateLocale();
        QString text = locale.toString(e.lastWrite.date(), QLocale::ShortFormat);
        if (withTime)
            text += ' ' + locale.toString(e.lastWrite.time(), QLocale::ShortFormat);
        return text;
    }
    if (code != platform::ERROR_NO_MORE_FILES)
        ShowFolderAccessError(app, path);
    return {};
}

QLocale DateLocale()
{
    const QLocale system;
    return system.language() == QLocale::French ? system : QLocale(QLocale::French, QLocale::France);
}

QString FormatLongDateTime(const QDateTime &time)
{
    if (!time.isValid())
        return {};
    const QLocale locale = DateLocale();
    // The long time format ends with the zone's name ("t"), which a file's date does not need.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*\\(?t+\\)?")));
    return locale.toString(time.date(), QLocale::LongFormat) + ' ' +
           locale.toString(time.time(), timeFormat.trimmed());
}
