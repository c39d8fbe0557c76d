// The one seam through which the program meets the user modally: message boxes, beeps, folder and
// save dialogs, modal windows, opening documents, and ending the process. The program hands the
// real implementation to its App at start; tests hand theirs a fake that answers from a script,
// records every interaction, and fails at once on an interaction it did not expect instead of
// hanging.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QDialog;
class QWidget;

namespace platform {

enum class MsgKind { Warning, Error, Information, Confirmation, Custom };

// Buttons of a message box (bit set); the answer is one of them.
enum MsgButton : int {
    mbOK = 0x01,
    mbCancel = 0x02,
    mbYes = 0x04,
    mbNo = 0x08,
    mbClose = 0x10,
    mbHelp = 0x20,
    mbAbort = 0x40,
    mbRetry = 0x80,
    mbIgnore = 0x100
};

enum class BeepKind { Plain, Exclamation, Hand, Asterisk };

struct MessageRequest
{
    QString text;
    QString caption;
    MsgKind kind = MsgKind::Information;
    int buttons = mbOK;
    int helpContext = 0;
};

class Ui
{
public:
    virtual ~Ui() = default;
    // Shows a modal message box and returns the button pressed.
    virtual int messageBox(const MessageRequest &request) = 0;
    virtual void beep(BeepKind kind) = 0;
    // Folder browser: the chosen native folder, or an empty string when cancelled.
    virtual QString browseFolder(QWidget *parent, const QString &title, const QString &startFolder) = 0;
    // Save dialog: the chosen native file, or an empty string when cancelled. It never asks about an
    // existing file: whoever writes the file asks.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &startPath,
                                 const QString &filter) = 0;
    // Runs a modal window and returns its result code.
    virtual int execModal(QDialog *dialog) = 0;
    // Opens a document or address with the desktop's default handler.
    virtual bool openUrl(const QUrl &url) = 0;
    // Ends the process at once with the given status; never returns.
    [[noreturn]] virtual void exitProcess(int status) = 0;
};

// The real implementation over Qt's dialogs.
class DesktopUi : public Ui
{
public:
    int messageBox(const MessageRequest &request) override;
    void beep(BeepKind kind) override;
    QString browseFolder(QWidget *parent, const QString &title, const QString &startFolder) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &startPath,
                         const QString &filter) override;
    int execModal(QDialog *dialog) override;
    bool openUrl(const QUrl &url) override;
    [[noreturn]] void exitProcess(int status) override;
};

} // namespace platform
