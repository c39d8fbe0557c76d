// A copy as the file commands run it, in the way the shell copies: the copy engine works on a
// thread of its own while the interface thread asks the replace questions, reports each failed
// file, and after about a second shows the progress window with "Annuler".
//
// Rules:
// - Until the progress window shows, the user's input waits (it reaches the program after the
//   copy); from then on the window is modal, so no other command can start meanwhile.
// - "Annuler" (or closing the progress window) cancels: the file being copied is dropped and its
//   old target stays as it was; files not reached are not copied.
// - A failed file is reported at once with why; when more files follow, the user says whether they
//   are still copied.
// - Nothing here looks at Msg_If_Copy_Cancel: the commands say what the whole copy came to.
#pragma once

#include "platform/files/CopyEngine.h"

#include <QDialog>

class App;
class QLabel;
class QProgressBar;
class QPushButton;

struct CopyRequest
{
    QStringList sources; // native paths
    QString destination; // native: the file to write, or the folder that receives every source
    bool intoFolder = false;
    QString title; // of the progress window
};

platform::CopyResult RunShellCopy(App &app, const CopyRequest &request);

// The progress window: the file being copied and a bar in per mille of all the bytes.
class TfrmCopyProgress : public QDialog
{
    Q_OBJECT
public:
    TfrmCopyProgress(QWidget *parent, const QString &title);

    QLabel *lblFile = nullptr;
    QProgressBar *pbCopy = nullptr;
    QPushButton *btnCancel = nullptr;

    // Shows where the copy is.
    void showProgress(int perMille, const QString &file);

signals:
    void cancelRequested();

protected:
    void reject() override; // Escape and the close box cancel too
};
