// Lumavista: program entry.
#include "app/App.h"
#include "platform/SingleInstance.h"
#include "platform/Ui.h"
#include "platform/drives/DriveMap.h"
#include "shell/Application.h"
#include "shell/CommandLine.h"
#include "shell/Main.h"

#include <QCommandLineParser>
#include <QDir>
#include <cstdio>

namespace {

const char kUsage[] = "Utilisation : lumavista [options] [chemin]\n"
                      "Lumavista, explorateur de fichiers multimédias.\n"
                      "\n"
                      "Options :\n"
                      "  -h, --help     Affiche cette aide.\n"
                      "  -v, --version  Affiche la version.\n"
                      "\n"
                      "Arguments :\n"
                      "  chemin         Un dossier : il est exploré (mode dossier).\n"
                      "                 Un fichier : son dossier est exploré, puis le fichier est montré.\n"
                      "\n"
                      "Si Lumavista est déjà ouvert, sa fenêtre passe au premier plan et ouvre le chemin.\n";

void printError(const QString &text)
{
    std::fprintf(stderr, "lumavista : %s\nEssayez « lumavista --help ».\n", qPrintable(text));
}

// Reads the arguments: -1 to go on (path: the absolute native path given, or empty), else the
// status to end with at once. Errors are printed only when report is set.
int readArguments(const QStringList &arguments, QString *path, bool report)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(arguments)) {
        if (!report)
            return 2;
        const QStringList unknown = parser.unknownOptionNames();
        printError(unknown.isEmpty() ? parser.errorText()
                                     : QStringLiteral("option inconnue « %1 ».").arg(unknown.first()));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("Lumavista %s\n", LUMAVISTA_VERSION);
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        if (report)
            printError(QStringLiteral("un seul chemin est accepté."));
        return 2;
    }
    if (!positional.isEmpty() && !positional.first().isEmpty())
        *path = QDir::cleanPath(QDir::current().absoluteFilePath(positional.first()));
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    // --help and --version answer before the application object exists: it needs a display. Qt's
    // own options (-platform ...) are only known to it, so errors wait for its list of arguments.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    QString path;
    int status = readArguments(raw, &path, false);
    if (status == 0)
        return 0;

    TApplication application(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Lumavista"));
    TApplication::setApplicationDisplayName(QStringLiteral("Lumavista"));
    TApplication::setApplicationVersion(QStringLiteral(LUMAVISTA_VERSION));
    TApplication::setDesktopFileName(QStringLiteral("lumavista"));

    if (status > 0) {
        path.clear();
        status = readArguments(TApplication::arguments(), &path, true);
        if (status >= 0)
            return status;
    }

    // A second start brings the running instance to the front, hands it the path, and ends without
    // a window.
    platform::SingleInstance instance(QStringLiteral("lumavista"), path);
    if (instance.previousInstanceRuns()) {
        if (instance.handedOver())
            return 0;
        std::fputs("lumavista : Lumavista est déjà ouvert mais ne répond pas.\n", stderr);
        return 1;
    }

    platform::DesktopUi ui;
    App app(ui, platform::DriveMap::detect());
    application.setApp(&app);
    TfrmMain main(app);

    QObject::connect(&instance, &platform::SingleInstance::raiseRequested, &main, [&main] {
        if (main.isMinimized())
            main.setWindowState(main.windowState() & ~Qt::WindowMinimized);
        main.show();
        main.raise();
        main.activateWindow();
    });
    QObject::connect(&instance, &platform::SingleInstance::openRequested, &main,
                     [&main](const QString &nativePath) { OpenWhenReady(main, nativePath); });
    main.show();
    if (!path.isEmpty()) {
        // The path waits for the window's first activation; asked for, as the user just named it.
        main.activateWindow();
        OpenWhenReady(main, path);
    }
    status = TApplication::exec();
    application.setApp(nullptr);
    return status;
}
