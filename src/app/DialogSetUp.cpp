#include "app/DialogSetUp.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>

void AcceptOnReturnAndEscape(QDialog *dialog)
{
    for (const QKeySequence &key :
         {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Escape)}) {
        auto *shortcut = new QShortcut(key, dialog);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, dialog, &QDialog::accept);
    }
}

void CentreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen)
        window->move(screen->availableGeometry().center() -
                     QPoint(window->width() / 2, window->height() / 2));
}
