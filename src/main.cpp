// Lumavista: program entry.
#include "shell/Main.h"
#include "platform/SingleInstance.h"
#include "shell/App.h"
#include "shell/Application.h"
#include "shell/The_Icon.h"
#include "viewers/Pw_AVI_V.h"
#include "viewers/Pw_AVI_W.h"

int main(int argc, char **argv)
{
    TApplication application(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Lumavista"));
    TApplication::setApplicationDisplayName(QStringLiteral("Lumavista"));
    TApplication::setDesktopFileName(QStringLiteral("lumavista"));

    // A second start brings the running instance to the front and ends without a window.
    platform::SingleInstance instance(QStringLiteral("lumavista"));
    if (instance.previousInstanceRuns())
        return 0;

    App app;
    application.setApp(&app);
    TfrmMain main(app);
    TfrmPreview_AVI_VIDEO previewVideo;
    TfrmPreview_AVI_WINDOWS previewWindows;
    app.frmPreview_AVI_VIDEO = &previewVideo;
    app.frmPreview_AVI_WINDOWS = &previewWindows;
    auto *icons = new TfrmIcons; // never shown: it only holds pictures
    app.frmIcons = icons;

    QObject::connect(&instance, &platform::SingleInstance::raiseRequested, &main, [&main] {
        if (main.isMinimized())
            main.setWindowState(main.windowState() & ~Qt::WindowMinimized);
        main.show();
        main.raise();
        main.activateWindow();
    });
    main.show();
    const int status = TApplication::exec();
    app.frmIcons = nullptr;
    delete icons;
    return status;
}
