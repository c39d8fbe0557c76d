#include "fileops/ShellCopy.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "fileops/ReplaceQuestion.h"
#include "fileops/ShellTexts.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QMutex>
#include <QMutexLocker>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <chrono>
#include <exception>
#include <thread>

using namespace std::chrono_literals;
using platform::CopyFileReport;
using platform::CopyProgress;
using platform::ReplaceAnswer;

namespace {

constexpr auto kShowProgressAfter = 1000ms;
constexpr auto kProgressRefresh = 100ms;

// The engine's questions, asked on the interface thread while the copy's thread waits.
class CopySession : public platform::CopyObserver
{
public:
    CopySession(App &app, int fileCount) : m_app(app), m_fileCount(fileCount) {}

    ReplaceAnswer confirmReplace(const QString &, const QString &target) override
    {
        ReplaceAnswer answer = ReplaceAnswer::Cancel;
        onInterfaceThread([&] { answer = AskReplace(m_app, userPath(target), m_fileCount > 1); });
        return answer;
    }

    bool progress(const CopyProgress &p) override
    {
        {
            const QMutexLocker lock(&m_mutex);
            m_perMille = p.perMille;
            m_file = p.source;
        }
        m_fileIndex = p.fileIndex;
        return !m_cancelled;
    }

    bool continueAfterFailure(const CopyFileReport &report) override
    {
        const bool more = m_fileIndex + 1 < m_fileCount;
        bool go = false;
        onInterfaceThread([&] {
            QString text = CopyFailureText(report);
            if (!more) {
                ShowMessageDlg(m_app, text, platform::MsgKind::Error, platform::mbOK);
                return;
            }
            text += '\n' + SelectText("Copier les fichiers suivants ?", "Copy the remaining files?");
            go = ShowMessageDlg(m_app, text, platform::MsgKind::Error, platform::mbYes | platform::mbNo) ==
                 platform::mbYes;
        });
        return go;
    }

    void cancel() { m_cancelled = true; }
    int perMille() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_perMille;
    }
    QString file() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_file;
    }
    // What a question on the interface thread threw (a test's unexpected dialog), to be thrown again
    // there once the copy's thread has ended.
    std::exception_ptr failure() const { return m_failure; }
    QObject &context() { return m_context; }

private:
    template <typename F> void onInterfaceThread(F f)
    {
        QMetaObject::invokeMethod(
            &m_context,
            [&] {
                if (m_failure)
                    return;
                try {
                    f();
                } catch (...) {
                    // Nothing may cross the event loop; the copy stops at its next question.
                    m_failure = std::current_exception();
                    m_cancelled = true;
                }
            },
            Qt::BlockingQueuedConnection);
    }

    QString userPath(const QString &native) const
    {
        const auto drivePath = m_app.drives().toDrivePath(native);
        return drivePath ? *drivePath : native;
    }

    App &m_app;
    const int m_fileCount;
    QObject m_context; // lives on the interface thread
    mutable QMutex m_mutex;
    int m_perMille = 0;
    QString m_file;
    std::atomic<int> m_fileIndex{0};
    std::atomic<bool> m_cancelled{false};
    std::exception_ptr m_failure;
};

} // namespace

TfrmCopyProgress::TfrmCopyProgress(QWidget *parent, const QString &title) : QDialog(parent)
{
    setObjectName("frmCopyProgress");
    setWindowTitle(title);
    setModal(true);
    setMinimumWidth(380);
    auto *layout = new QVBoxLayout(this);
    lblFile = new QLabel(this);
    lblFile->setObjectName("lblFile");
    lblFile->setTextFormat(Qt::PlainText);
    layout->addWidget(lblFile);
    pbCopy = new QProgressBar(this);
    pbCopy->setObjectName("pbCopy");
    pbCopy->setAccessibleName(title);
    pbCopy->setRange(0, 1000);
    pbCopy->setTextVisible(false);
    layout->addWidget(pbCopy);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    btnCancel = new QPushButton(SelectText("Annuler", "Cancel"), this);
    btnCancel->setObjectName("btnCancel");
    row->addWidget(btnCancel);
    layout->addLayout(row);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmCopyProgress::reject);
}

void TfrmCopyProgress::showProgress(int perMille, const QString &file)
{
    pbCopy->setValue(perMille);
    if (!file.isEmpty())
        lblFile->setText(SelectText("Copie de « %1 »", "Copying \"%1\"").arg(QFileInfo(file).fileName()));
}

void TfrmCopyProgress::reject()
{
    // The window stays until the copy's thread has dropped its file.
    btnCancel->setEnabled(false);
    emit cancelRequested();
}

platform::CopyResult RunShellCopy(App &app, const CopyRequest &request)
{
    CopySession session(app, int(request.sources.size()));
    TfrmCopyProgress window(app.mainWindow, request.title);
    QObject::connect(&window, &TfrmCopyProgress::cancelRequested, &window, [&] { session.cancel(); });

    QEventLoop loop;
    std::atomic<bool> done{false};
    platform::CopyResult result;
    std::thread worker([&] {
        platform::CopyEngine engine(session);
        result = request.intoFolder ? engine.copyIntoFolder(request.sources, request.destination)
                                    : engine.copyFile(request.sources.value(0), request.destination);
        done = true;
        QMetaObject::invokeMethod(
            &session.context(), [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });

    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, &window,
                     [&] { window.showProgress(session.perMille(), session.file()); });
    refresh.start(kProgressRefresh);
    QTimer show;
    show.setSingleShot(true);
    QObject::connect(&show, &QTimer::timeout, &loop, &QEventLoop::quit);
    show.start(kShowProgressAfter);
    // A short copy ends before the window would show; the user's input waits until then.
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!done) {
        window.showProgress(session.perMille(), session.file());
        window.show();
        loop.exec();
    }
    worker.join();
    if (session.failure())
        std::rethrow_exception(session.failure());
    return result;
}
