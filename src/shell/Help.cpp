#include "shell/Help.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "platform/Ui.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString HelpFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("LUMAVISTA_HELP_DIR");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(fromEnvironment);
    return HelpFolderFor(QCoreApplication::applicationDirPath());
}

QString HelpFolderFor(const QString &programDir)
{
    const QString beside = QDir::cleanPath(programDir + QStringLiteral("/help"));
    if (QFileInfo(beside).isDir())
        return beside;
    return QDir::cleanPath(programDir + QStringLiteral("/../share/lumavista/help"));
}

void ShowHelp(App &app, const QString &page)
{
    const qsizetype hash = page.indexOf(u'#');
    const QString file = hash < 0 ? page : page.left(hash);
    const QString path = HelpFolder() + u'/' + file;
    if (!QFileInfo(path).isFile()) {
        ShowMessageDlg(app, SelectText("Erreur accès fichier.\n", "File access error.\n") + path,
                       platform::MsgKind::Error, platform::mbOK);
        return;
    }
    QUrl url = QUrl::fromLocalFile(path);
    if (hash >= 0)
        url.setFragment(page.mid(hash + 1));
    if (!app.ui().openUrl(url))
        ShowMessageDlg(app,
                       SelectText("Le navigateur n'a pas pu ouvrir l'aide.\n",
                                  "The browser could not open the help.\n") +
                           path,
                       platform::MsgKind::Error, platform::mbOK);
}
