#include "platform/Ui.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace platform {

namespace {
QMessageBox::Icon iconOf(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Warning:
        return QMessageBox::Warning;
    case MsgKind::Error:
        return QMessageBox::Critical;
    case MsgKind::Information:
        return QMessageBox::Information;
    case MsgKind::Confirmation:
        return QMessageBox::Question;
    case MsgKind::Custom:
        break;
    }
    return QMessageBox::NoIcon;
}

// The runtime's French button texts.
struct ButtonText
{
    MsgButton button;
    const char *text;
    QMessageBox::ButtonRole role;
};
const ButtonText kButtons[] = {
    {mbYes, "&Oui", QMessageBox::YesRole},
    {mbNo, "&Non", QMessageBox::NoRole},
    {mbOK, "OK", QMessageBox::AcceptRole},
    {mbCancel, "Annuler", QMessageBox::RejectRole},
    {mbAbort, "&Abandonner", QMessageBox::RejectRole},
    {mbRetry, "&Réessayer", QMessageBox::AcceptRole},
    {mbIgnore, "&Ignorer", QMessageBox::AcceptRole},
    {mbClose, "&Fermer", QMessageBox::RejectRole},
    {mbHelp, "&Aide", QMessageBox::HelpRole},
};
} // namespace

int DesktopUi::messageBox(const MessageRequest &request)
{
    QMessageBox box(iconOf(request.kind),
                    request.caption.isEmpty() ? QApplication::applicationName() : request.caption,
                    request.text, QMessageBox::NoButton, QApplication::activeWindow());
    QAbstractButton *escape = nullptr;
    QMap<QAbstractButton *, int> answers;
    for (const ButtonText &b : kButtons) {
        if (!(request.buttons & b.button))
            continue;
        QPushButton *push = box.addButton(QString::fromUtf8(b.text), b.role);
        answers.insert(push, b.button);
        if (b.button == mbCancel || b.button == mbNo || b.button == mbClose || !escape)
            escape = push;
    }
    if (answers.isEmpty())
        answers.insert(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole), mbOK);
    if (escape)
        box.setEscapeButton(escape);
    box.exec();
    return answers.value(box.clickedButton(), mbCancel);
}

void DesktopUi::beep(BeepKind)
{
    QApplication::beep();
}

QString DesktopUi::browseFolder(QWidget *parent, const QString &title, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(parent, title, startFolder, QFileDialog::ShowDirsOnly);
}

QString DesktopUi::saveFileName(QWidget *parent, const QString &title, const QString &startPath,
                                const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, startPath, filter);
}

int DesktopUi::execModal(QDialog *dialog)
{
    return dialog->exec();
}

bool DesktopUi::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void DesktopUi::exitProcess(int status)
{
    std::fflush(nullptr);
    // At once: no close handler, no settings written, no destructors of windows.
    ::_exit(status);
}

} // namespace platform
