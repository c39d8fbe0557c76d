#include "platform/files/Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

DeleteReport failed(const QString &path, DeleteFailure failure, int err, const QString &reason = {})
{
    DeleteReport r;
    r.path = path;
    r.outcome = DeleteOutcome::Failed;
    r.failure = failure;
    const QString why = reason.isEmpty() ? qt_error_string(err) : reason;
    r.status = makeError(Error::Kind::Io, QStringLiteral("cannot delete %1: %2").arg(path, why), err);
    return r;
}

bool mayWrite(const QString &path, int *err)
{
    if (::faccessat(AT_FDCWD, native(path).constData(), W_OK, AT_EACCESS) == 0)
        return true;
    *err = errno;
    return false;
}

// What keeps a file from being deleted at all, found before anything is touched; nullopt when
// nothing does. st receives the file's own status (a link's, not its target's).
std::optional<DeleteReport> refusal(const QString &path, struct stat *st)
{
    if (::lstat(native(path).constData(), st) != 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR)
            return failed(path, DeleteFailure::Missing, err);
        return failed(path, err == EACCES ? DeleteFailure::AccessDenied : DeleteFailure::Other, err);
    }
    if (S_ISDIR(st->st_mode))
        return failed(path, DeleteFailure::IsFolder, EISDIR);
    int err = 0;
    // A link's own mode says nothing: only the folder decides whether it goes.
    if (!S_ISLNK(st->st_mode) && !mayWrite(path, &err)) {
        if (err == EROFS)
            return failed(path, DeleteFailure::ReadOnlyVolume, err);
        if (err == EACCES || err == EPERM)
            return failed(path, DeleteFailure::ReadOnlyFile, err, QStringLiteral("the file is read-only"));
        return failed(path, DeleteFailure::Other, err);
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (!mayWrite(folder, &err)) {
        if (err == EROFS)
            return failed(path, DeleteFailure::ReadOnlyVolume, err);
        return failed(path, DeleteFailure::ReadOnlyFolder, err, QStringLiteral("its folder is read-only"));
    }
    return std::nullopt;
}

bool isFolderOn(const QString &path, dev_t device)
{
    struct stat st;
    return ::stat(native(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_dev == device;
}

// Whether some Trash lives on the file system device: the home Trash's folder, or a trash folder of
// this user at the top of that file system (named after the real user id, as Qt names it).
bool trashExistsOn(const QString &path, dev_t device)
{
    if (isFolderOn(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), device))
        return true;
    const QString top = QStorageInfo(path).rootPath();
    const QString uid = QString::number(::getuid());
    return !top.isEmpty() && (isFolderOn(top + QStringLiteral("/.Trash/") + uid, device) ||
                              isFolderOn(top + QStringLiteral("/.Trash-") + uid, device));
}

} // namespace

DeleteReport moveToTrash(const QString &nativePath)
{
    struct stat st;
    if (auto refused = refusal(nativePath, &st))
        return *refused;
    // Qt makes the home Trash but not the data folder that holds it, which a new account may lack.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QFile file(nativePath);
    if (file.moveToTrash()) {
        DeleteReport r;
        r.path = nativePath;
        r.outcome = DeleteOutcome::Trashed;
        r.pathInTrash = file.fileName();
        return r;
    }
    // Qt falls back on the home Trash when the file's own file system has none, and a move between
    // file systems then fails: that is "no Trash", not a failure of the file.
    struct stat now;
    if (::lstat(native(nativePath).constData(), &now) == 0 && now.st_ino == st.st_ino &&
        !trashExistsOn(nativePath, st.st_dev)) {
        DeleteReport r;
        r.path = nativePath;
        r.outcome = DeleteOutcome::NoTrash;
        r.status =
            makeError(Error::Kind::Other, QStringLiteral("no Trash can take %1").arg(nativePath), EXDEV);
        return r;
    }
    return failed(nativePath, DeleteFailure::Other, 0, file.errorString());
}

std::vector<DeleteReport> moveToTrash(const QStringList &nativePaths)
{
    std::vector<DeleteReport> reports;
    reports.reserve(size_t(nativePaths.size()));
    for (const QString &path : nativePaths)
        reports.push_back(moveToTrash(path));
    return reports;
}

DeleteReport removeForGood(const QString &nativePath)
{
    struct stat st;
    if (auto refused = refusal(nativePath, &st))
        return *refused;
    if (::unlink(native(nativePath).constData()) != 0)
        return failed(nativePath, DeleteFailure::Other, errno);
    DeleteReport r;
    r.path = nativePath;
    r.outcome = DeleteOutcome::Removed;
    return r;
}

} // namespace platform
