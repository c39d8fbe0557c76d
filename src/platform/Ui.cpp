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

namespace {

// Qt's own file dialog speaks English without a translation: its texts are set here, in French.
void frenchLabels(QFileDialog &dialog, const char *accept)
{
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Dans :"));
    dialog.setLabelText(QFileDialog::FileName, dialog.fileMode() == QFileDialog::Directory
                                                   ? QStringLiteral("Dossier :")
                                                   : QStringLiteral("Nom du fichier :"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Type :"));
    dialog.setLabelText(QFileDialog::Accept, QString::fromUtf8(accept));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Annuler"));
}

QString chosen(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}

} // namespace

QString DesktopUi::browseFolder(QWidget *parent, const QString &title, const QString &startFolder)
{
    QFileDialog dialog(parent, title, startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    frenchLabels(dialog, "&Choisir");
    return chosen(dialog);
}

QString DesktopUi::saveFileName(QWidget *parent, const QString &title, const QString &startPath,
                                const QString &filter)
{
    QFileDialog dialog(parent, title, startPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The copy asks before it replaces a file: the dialog must not ask a first time.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    frenchLabels(dialog, "&Enregistrer");
    return chosen(dialog);
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
