// The file commands over the catalogue pane and real temporary folders: drive C: is the test's
// folder "c", the Trash lives in the test's own XDG_DATA_HOME, the viewer and the status bar are
// the catalogue fixture's recorders, and the modal seam answers from each test's script.
#pragma once

#include "catalogue/CatalogueFixture.h"
#include "fileops/FileCommands.h"
#include "fileops/ReplaceQuestion.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

class FileOpsFixture : public CatalogueFixture
{
protected:
    FileOpsFixture() : m_dataHome(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(tmp.filePath("data")));
        app.fileCommands = &commands;
    }
    ~FileOpsFixture() override
    {
        app.fileCommands = nullptr;
        qputenv("XDG_DATA_HOME", m_dataHome);
    }

    // C:\P\ with the sub-folder Sub and a.bmp, b.bmp, c.jpg (bytes of their own), in the ALL list.
    void openPictures()
    {
        start();
        writeFile("c/P/a.bmp", "AAAA");
        writeFile("c/P/b.bmp", "BBBBBB");
        writeFile("c/P/c.jpg", "CCCCCCCC");
        writeFile("c/P/Sub/d.bmp", "DD");
        addFolder(mtALL, "C:\\P\\Sub\\");
        open(mtALL, addFolder(mtALL, "C:\\P\\"));
    }
    // The list's captions, sorted: files come in the order the file system gives them.
    QString listed() const
    {
        QStringList names = captions(mtALL);
        names.sort();
        return names.join(' ');
    }
    // Clicks an item: it alone is selected, and shown.
    void view(const QString &name) { pane->selectItem(rowOf(mtALL, name)); }
    // Ctrl-clicks an item: the selection changes, the file on view stays.
    void ctrlToggle(const QString &name)
    {
        const int row = rowOf(mtALL, name);
        app.st.Selection.ModifierKeyDown = true;
        list(mtALL)->setSelected(row, !list(mtALL)->isSelected(row));
        app.st.Selection.ModifierKeyDown = false;
    }

    QString native(const QString &relative) const { return tmp.filePath(relative); }
    QByteArray bytes(const QString &relative) const
    {
        QFile f(native(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Every name in a folder, hidden ones included (a temporary copy would show).
    QString namesIn(const QString &relative) const
    {
        return QDir(native(relative))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)
            .join(' ');
    }
    QString lastMessage() const { return ui.messages.empty() ? QString() : ui.messages.back().text; }

    // Answers the replace questions in turn; records each question's text and buttons.
    void answerReplace(std::vector<int> answers)
    {
        m_answers = std::move(answers);
        ui.onModal("dlgConfirmReplace", [this](QDialog *d) {
            QString buttons;
            for (const QPushButton *b : d->findChildren<QPushButton *>())
                buttons += ' ' + b->objectName();
            questions << d->findChild<QLabel *>("lblQuestion")->text() + buttons;
            const int answer = m_answers.empty() ? int(TdlgConfirmReplace::No) : m_answers.front();
            EXPECT_FALSE(m_answers.empty()) << "one replace question too many";
            if (!m_answers.empty())
                m_answers.erase(m_answers.begin());
            return answer;
        });
    }

    FileCommands commands{app};
    QStringList questions;

private:
    QByteArray m_dataHome;
    std::vector<int> m_answers;
};
