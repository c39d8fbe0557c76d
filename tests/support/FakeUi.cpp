#include "support/FakeUi.h"

#include <QDialog>
#include <gtest/gtest.h>

FakeUi::FakeUi() = default;

FakeUi::~FakeUi() = default;

int FakeUi::messageBox(const platform::MessageRequest &request)
{
    messages.push_back(request);
    if (realBoxes)
        return m_desktop.messageBox(request);
    if (m_messageAnswers.empty()) {
        if (acceptOkBoxes && request.buttons == platform::mbOK)
            return platform::mbOK;
        ADD_FAILURE() << "unexpected message box: " << request.text.toStdString();
        throw UnexpectedDialog(request.text.toStdString());
    }
    const int answer = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    return answer;
}

QString FakeUi::browseFolder(QWidget *, const QString &title, const QString &)
{
    folderTitles.push_back(title);
    if (m_folderAnswers.empty()) {
        ADD_FAILURE() << "unexpected folder browser: " << title.toStdString();
        throw UnexpectedDialog(title.toStdString());
    }
    const QString answer = m_folderAnswers.front();
    m_folderAnswers.pop_front();
    return answer;
}

QString FakeUi::saveFileName(QWidget *, const QString &title, const QString &startPath, const QString &filter)
{
    saveRequests.push_back({title, startPath, filter});
    if (m_saveAnswers.empty()) {
        ADD_FAILURE() << "unexpected save dialog: " << title.toStdString();
        throw UnexpectedDialog(title.toStdString());
    }
    const QString answer = m_saveAnswers.front();
    m_saveAnswers.pop_front();
    return answer;
}

int FakeUi::execModal(QDialog *dialog)
{
    modalWindows.push_back(dialog->objectName());
    auto it = m_modalHandlers.find(dialog->objectName());
    if (it == m_modalHandlers.end()) {
        ADD_FAILURE() << "unexpected modal window: " << dialog->objectName().toStdString();
        throw UnexpectedDialog(dialog->objectName().toStdString());
    }
    return it->second(dialog);
}
