#include "app/Libry.h"

#include "app/App.h"
#include "app/Language.h"
#include "platform/drives/DirSearch.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>

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

} // namespace

int SearchOne(App &app, const QString &path, platform::SearchEntry *entry)
{
    platform::DirSearch search(app.drives());
    const int code = search.findFirst(path);
    if (code == platform::ERROR_SUCCESS && entry)
        *entry = search.entry();
    search.close();
    return code;
}

int ShowMessageDlg(App &app, const QString &text, MsgKind kind, int buttons, int helpContext)
{
    if (app.st.settings.Beep_On_Error_Message)
        app.ui().beep(beepOf(kind));
    return app.ui().messageBox({text, captionOf(kind), kind, buttons, helpContext});
}

void InternalError(App &app, int number, const QString &text)
{
    const QString message = SelectText("ERREUR INTERNE IRRECUPERABLE #", "IRRECOVERABLE INTERNAL ERROR #") +
                            QString::number(number) + '\n' +
                            SelectText("VEUILLEZ CONTACTER LA MAINTENANCE:", "PLEASE CONTACT MAINTENANCE:") +
                            "\n\n" + text;
    ShowMessageDlg(app, message, MsgKind::Error, platform::mbOK);
    app.ui().exitProcess(1);
    std::abort(); // exitProcess never returns; this keeps the promise if a seam ever did
}

void ShowException(App &app, const QString &message)
{
    QString text = message;
    if (!text.isEmpty() && !text.endsWith('.'))
        text += '.';
    app.ui().messageBox({text, QStringLiteral("Lumavista"), MsgKind::Error, platform::mbOK, 0});
}

void SetStatusText(App &app, int panel, const QString &text)
{
    if (app.status && panel >= 0 && panel < kStatusPanels)
        app.status->setStatusText(panel, text);
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
    if (app.st.RelayoutOnly || !app.viewer)
        return;
    if (app.viewer->stopAvailable())
        app.viewer->stopPlayback();
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

void ShowFileAccessError(App &app)
{
    ShowMessageDlg(app, SelectText("Erreur accès fichier.", "File access error."), MsgKind::Error,
                   platform::mbOK);
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

int64_t FileSizeOf(App &app, const QString &path)
{
    platform::SearchEntry e;
    if (SearchOne(app, path, &e) != platform::ERROR_SUCCESS)
        return 0;
    return static_cast<int64_t>(e.size);
}

QString FolderNameOnDisk(App &app, const QString &path)
{
    platform::SearchEntry e;
    const int code = SearchOne(app, StripTrailingBackslash(path), &e);
    if (code == platform::ERROR_SUCCESS)
        return e.isFolder() ? e.name : QString();
    if (code == platform::ERROR_NO_MORE_FILES)
        return {};
    ShowFolderAccessError(app, path);
    return path;
}
