// A scripted stand-in for the modal seam, handed to the test's App. Each test says what the user
// will answer; every interaction is recorded. An interaction nobody scripted fails the test at once (and
// throws, so a command never waits for a click that will not come).
#pragma once

#include "platform/Ui.h"

#include <QString>
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

// Thrown by exitProcess: the program asked to end with this status.
struct ProcessExit
{
    int status;
};

// Thrown when the program meets a dialog the test did not expect.
struct UnexpectedDialog : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

class FakeUi : public platform::Ui
{
public:
    FakeUi();
    ~FakeUi() override;

    // Scripted answers, used in order.
    void answerMessage(int button) { m_messageAnswers.push_back(button); }
    void answerFolder(const QString &folder) { m_folderAnswers.push_back(folder); }
    void answerSaveFile(const QString &file) { m_saveAnswers.push_back(file); }
    // Runs modal windows of this object name through handler (which returns the result code). A
    // handler may call dialog->exec() to run the real window.
    void onModal(const QString &objectName, std::function<int(QDialog *)> handler)
    {
        m_modalHandlers[objectName] = std::move(handler);
    }

    // When set, boxes with only an OK button are answered OK without a script (they are still recorded).
    bool acceptOkBoxes = false;
    // When set, every box is the program's real one, run by exec(): the test answers it with keys or
    // clicks (see support/UserInput.h). Boxes are still recorded.
    bool realBoxes = false;

    // What happened.
    std::vector<platform::MessageRequest> messages;
    std::vector<platform::BeepKind> beeps;
    std::vector<QString> folderTitles;
    struct SaveRequest
    {
        QString title, startPath, filter;
    };
    std::vector<SaveRequest> saveRequests;
    std::vector<QString> modalWindows;
    std::vector<QUrl> openedUrls;

    int messageBox(const platform::MessageRequest &request) override;
    void beep(platform::BeepKind kind) override { beeps.push_back(kind); }
    QString browseFolder(QWidget *parent, const QString &title, const QString &startFolder) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &startPath,
                         const QString &filter) override;
    int execModal(QDialog *dialog) override;
    bool openUrl(const QUrl &url) override
    {
        openedUrls.push_back(url);
        return true;
    }
    [[noreturn]] void exitProcess(int status) override { throw ProcessExit{status}; }

private:
    std::deque<int> m_messageAnswers;
    std::deque<QString> m_folderAnswers;
    std::deque<QString> m_saveAnswers;
    std::map<QString, std::function<int(QDialog *)>> m_modalHandlers;
    platform::DesktopUi m_desktop;
};
