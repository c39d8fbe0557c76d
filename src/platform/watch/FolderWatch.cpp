#include "platform/watch/FolderWatch.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {
constexpr uint32_t kEntryEvents =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_ATTRIB;
constexpr uint32_t kSelfEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;
} // namespace

FolderWatch::FolderWatch(QObject *parent) : QObject(parent)
{
    m_settle = new QTimer(this);
    m_settle->setSingleShot(true);
    m_settle->setInterval(150);
    connect(m_settle, &QTimer::timeout, this, [this] { emit changed(std::exchange(m_gone, false)); });
}

FolderWatch::~FolderWatch()
{
    stop();
    if (m_fd >= 0)
        ::close(m_fd);
}

void FolderWatch::setSettleMilliseconds(int ms)
{
    m_settle->setInterval(ms);
}

bool FolderWatch::watch(const QString &nativeFolder)
{
    if (m_wd >= 0 && nativeFolder == m_folder)
        return true;
    stop();
    if (m_fd < 0) {
        m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_fd < 0)
            return false;
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &FolderWatch::readEvents);
    }
    m_wd = ::inotify_add_watch(m_fd, QFile::encodeName(nativeFolder).constData(),
                               kEntryEvents | kSelfEvents | IN_ONLYDIR | IN_DONT_FOLLOW | IN_EXCL_UNLINK);
    if (m_wd < 0)
        return false;
    m_folder = nativeFolder;
    return true;
}

void FolderWatch::stop()
{
    if (m_wd >= 0 && m_fd >= 0)
        ::inotify_rm_watch(m_fd, m_wd);
    m_wd = -1;
    m_folder.clear();
    m_settle->stop();
    m_gone = false;
}

void FolderWatch::readEvents()
{
    // Events are read whole: the kernel never splits one across reads.
    alignas(struct inotify_event) char buffer[8192];
    bool relevant = false;
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t at = 0; at + ssize_t(sizeof(struct inotify_event)) <= n;) {
            const auto *e = reinterpret_cast<const struct inotify_event *>(buffer + at);
            at += ssize_t(sizeof(struct inotify_event) + e->len);
            // Events of a watch dropped before are still queued: only the current one counts.
            if (e->wd != m_wd || m_wd < 0)
                continue;
            if (e->mask & (kSelfEvents | IN_IGNORED)) {
                m_gone = true;
                relevant = true;
            } else if (e->mask & kEntryEvents) {
                relevant = true;
            }
        }
    }
    if (m_gone && m_wd >= 0) {
        ::inotify_rm_watch(m_fd, m_wd);
        m_wd = -1;
    }
    if (relevant && !m_settle->isActive())
        m_settle->start();
}

} // namespace platform
