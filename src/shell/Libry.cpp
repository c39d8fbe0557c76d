#include "shell/Libry.h"

#include "platform/drives/DirSearch.h"
#include "shell/App.h"
#include "shell/Language.h"
#include "shell/Main.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QStatusBar>
#include <QToolButton>

#include <cstdlib>

using platform::BeepKind;
using platform::MsgKind;

namespace {

QString captionOf(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Warning:
        return SelectText("Avertissement", "Warning");
    case MsgKind::Error:
        return SelectText("Erreur", "Error");
    case MsgKind::Information:
        return SelectText("Information", "Information");
    case MsgKind::Confirmation:
        return SelectText("Confirmation", "Confirm");
    case MsgKind::Custom:
        break;
    }
    return {};
}

BeepKind beepOf(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Error:
        return BeepKind::Hand;
    case MsgKind::Information:
    case MsgKind::Confirmation:
        return BeepKind::Asterisk;
    case MsgKind::Warning:
    case MsgKind::Custom:
        break;
    }
    return BeepKind::Exclamation;
}

// One directory search for a path (its last component), any attribute.
int searchOne(const QString &path, platform::SearchEntry *entry)
{
    platform::DirSearch search;
    const int code = search.findFirst(path);
    if (code == platform::ERROR_SUCCESS && entry)
        *entry = search.entry();
    search.close();
    return code;
}

} // namespace

int ShowMessageDlg(App &app, const QString &text, MsgKind kind, int buttons, int helpContext)
{
    if (app.st.settings.Beep_On_Error_Message)
        platform::ui().beep(beepOf(kind));
    return platform::ui().messageBox({text, captionOf(kind), kind, buttons, helpContext});
}

void InternalError(App &app, int number, const QString &text)
{
    const QString message = SelectText("ERREUR INTERNE IRRECUPERABLE #", "IRRECOVERABLE INTERNAL ERROR #") +
                            QString::number(number) + '\n' +
                            SelectText("VEUILLEZ CONTACTER LA MAINTENANCE:", "PLEASE CONTACT MAINTENANCE:") +
                            "\n\n" + text;
    ShowMessageDlg(app, message, MsgKind::Error, platform::mbOK);
    platform::ui().exitProcess(1);
    std::abort(); // exitProcess never returns; this keeps the promise if a seam ever did
}

void ShowException(App &, const std::exception &error)
{
    QString text = QString::fromUtf8(error.what());
    if (!text.isEmpty() && !text.endsWith('.'))
        text += '.';
    platform::ui().messageBox({text, QStringLiteral("Lumavista"), MsgKind::Error, platform::mbOK, 0});
}

void SetStatusText(App &app, int panel, const QString &text)
{
    if (!app.frmMain || panel < 0 || panel > 2)
        return;
    QLabel *label = app.frmMain->StatusPanels[panel];
    label->setText(text);
    label->repaint();
}

void SetBusyCursor(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
}

void StopPlaybackIfActive(App &app)
{
    if (app.st.RelayoutOnly || !app.frmMain)
        return;
    if (app.frmMain->btnStopPlayingFile->isEnabled())
        app.frmMain->btnStopPlayingFile->click();
}

void TileImage(const QPixmap &source, QLabel *target)
{
    if (!target)
        return;
    const QSize size = target->size().expandedTo(QSize(1, 1));
    QPixmap canvas(size);
    canvas.fill(Qt::transparent);
    if (!source.isNull() && source.width() > 0 && source.height() > 0) {
        QPainter p(&canvas);
        for (int y = 0; y < size.height(); y += source.height())
            for (int x = 0; x < size.width(); x += source.width())
                p.drawPixmap(x, y, source);
    }
    target->setPixmap(canvas);
}

void ShowFolderAccessError(App &app, const QString &path)
{
    ShowMessageDlg(app,
                   SelectText("Erreur accès dossier:", "Folder access error:") + '\n' +
                       StripTrailingBackslash(path),
                   MsgKind::Error, platform::mbOK);
}

QString StripTrailingBackslash(const QString &path)
{
    return path.endsWith('\\') ? path.left(path.size() - 1) : path;
}

QString NormaliseFolderPath(const QString &path)
{
    const QString t = path.trimmed();
    if (t.size() == 2 && t[1] == ':')
        return t + '\\';
    return StripTrailingBackslash(t);
}

int64_t FileSizeOf(const QString &path)
{
    platform::SearchEntry e;
    if (searchOne(path, &e) != platform::ERROR_SUCCESS)
        return 0;
    return static_cast<int64_t>(e.size);
}

QString FolderNameOnDisk(App &app, const QString &path)
{
    platform::SearchEntry e;
    const int code = searchOne(StripTrailingBackslash(path), &e);
    if (code == platform::ERROR_SUCCESS)
        return e.isFolder() ? e.name : QString();
    if (code == platform::ERROR_NO_MORE_FILES)
        return {};
    ShowFolderAccessError(app, path);
    return path;
}

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
    const QLocale locale;
    return locale.toString(t.date(), QLocale::ShortFormat) + ' ' +
           locale.toString(t.time(), QLocale::ShortFormat);
}

QString FormatFileDateTime(const QString &path)
{
    platform::SearchEntry e;
    if (searchOne(path, &e) != platform::ERROR_SUCCESS)
        return {};
    return FormatFileTime(e.lastWrite);
}

QString FormatFolderDate(App &app, const QString &path, bool withTime)
{
    platform::SearchEntry e;
    const int code = searchOne(StripTrailingBackslash(path), &e);
    if (code == platform::ERROR_SUCCESS) {
        if (!e.isFolder())
            return {};
        const QLocale locale;
        QString text = locale.toString(e.lastWrite.date(), QLocale::ShortFormat);
        if (withTime)
            text += ' ' + locale.toString(e.lastWrite.time(), QLocale::ShortFormat);
        return text;
    }
    if (code != platform::ERROR_NO_MORE_FILES)
        ShowFolderAccessError(app, path);
    return {};
}
