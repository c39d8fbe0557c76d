#include "shell/Application.h"

#include "app/App.h"
#include "app/Libry.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // Qt's own dialogs (save, folder browser) speak French like the rest of the program; without
    // the translation they stay in English.
    auto *qt = new QTranslator(this);
    if (qt->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qt);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        // Nothing should reach here (commands report their own failures); if something does, the
        // command ends with the standard box and the program goes on.
        if (m_app)
            ShowException(*m_app, QString::fromUtf8(error.what()));
    }
    return false;
}
