// The help pages: HTML files of our own, opened in the desktop's browser. They live in a folder
// found at run time, so the build tree and an installed program each find their own copy.
#pragma once

#include <QString>

class App;

// The help folder: $LUMAVISTA_HELP_DIR when set, else the one HelpFolderFor finds beside the running
// program.
QString HelpFolder();
// For a program in programDir: programDir/help (the build tree) when it exists, else
// programDir/../share/lumavista/help (an installed program; also the answer when neither exists).
QString HelpFolderFor(const QString &programDir);

// Opens a page of the help folder ("index.html", or with an anchor: "visionner.html#boucle") in the
// desktop's browser. A page that is missing, or a browser that cannot be started, gives an error
// box naming the file.
void ShowHelp(App &app, const QString &page = QStringLiteral("index.html"));
