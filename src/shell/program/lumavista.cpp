// Lumavista: program entry.
#include "app/App.h"
#include "platform/SingleInstance.h"
#include "platform/Ui.h"
#include "platform/drives/DriveMap.h"
#include "shell/Application.h"
#include "shell/Main.h"

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
    main.show();
    const int status = TApplication::exec();
    application.setApp(nullptr);
    return status;
}
