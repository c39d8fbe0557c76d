#include "shell/Application.h"

#include "shell/App.h"
#include "shell/Libry.h"

#include <exception>

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        if (m_app)
            ShowException(*m_app, error);
    }
    return false;
}
