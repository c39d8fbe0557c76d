// The watch of one native folder: files created, deleted, renamed into or out of it, or rewritten
// in it, and the folder itself going away. inotify watches are a shared, limited resource of the
// user's session, so a FolderWatch holds at most one, on the folder it was last told to watch.
//
// Rules:
// - changed() is emitted on the owning thread, once per burst: the first event arms a short
//   timer (settle time, 150 ms unless set) and everything that arrives meanwhile is folded in.
// - Only entries of the folder itself count, never deeper ones; a file's data being written counts
//   once it is closed (or on an attribute change), not for every write.
// - watch() of another folder drops the previous watch; stop() drops it. A folder that cannot be
//   watched (gone, no watches left) answers false and leaves no watch.
#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

namespace platform {

class FolderWatch : public QObject
{
    Q_OBJECT
public:
    explicit FolderWatch(QObject *parent = nullptr);
    ~FolderWatch() override;

    bool watch(const QString &nativeFolder);
    void stop();
    QString folder() const { return m_folder; }
    bool isWatching() const { return m_wd >= 0; }
    void setSettleMilliseconds(int ms);

signals:
    // Something in the folder changed; gone: the folder itself was deleted or moved away.
    void changed(bool gone);

private:
    void readEvents();

    int m_fd = -1;
    int m_wd = -1;
    QString m_folder;
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_settle = nullptr;
    bool m_gone = false;
};

} // namespace platform
