// GIO's headers use "signals" as a name, which Qt's headers turn into a keyword: GIO comes first.
#include <gio/gio.h>

#include "platform/files/OpenWith.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

struct GObjectFree
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
using AppInfoPtr = std::unique_ptr<GAppInfo, GObjectFree>;
using FilePtr = std::unique_ptr<GFile, GObjectFree>;

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

Error openError(int code, const QString &path, const QString &reason)
{
    const Error::Kind kind =
        code == SE_ERR_NOASSOC || code == SE_ERR_ASSOCINCOMPLETE ? Error::Kind::Other : Error::Kind::FileOpen;
    return makeError(kind, QStringLiteral("cannot open %1: %2").arg(path, reason), code);
}

// The shell's code for a file that cannot be reached, or 0 when it can be read.
int reachCode(const QString &path, QString *reason)
{
    struct stat st;
    if (::stat(native(path).constData(), &st) != 0) {
        const int err = errno;
        *reason = qt_error_string(err);
        if (err == EACCES)
            return SE_ERR_ACCESSDENIED;
        if (err == ENOENT) {
            // Missing file, or missing folder on the way: the folder decides.
            struct stat parent;
            const QString folder = QFileInfo(path).absolutePath();
            if (::stat(native(folder).constData(), &parent) == 0 && S_ISDIR(parent.st_mode))
                return SE_ERR_FNF;
        }
        return SE_ERR_PNF;
    }
    if (::faccessat(AT_FDCWD, native(path).constData(), R_OK, AT_EACCESS) != 0) {
        *reason = qt_error_string(errno);
        return SE_ERR_ACCESSDENIED;
    }
    return 0;
}

struct Found
{
    DefaultApplication facts;
    AppInfoPtr app;
};

ErrorOr<Found> find(const QString &path)
{
    QString reason;
    if (const int code = reachCode(path, &reason))
        return openError(code, path, reason);
    const QMimeDatabase mimes;
    Found found;
    found.facts.mimeType = mimes.mimeTypeForFile(path).name();
    found.app.reset(g_app_info_get_default_for_type(found.facts.mimeType.toUtf8().constData(), FALSE));
    if (!found.app)
        return openError(SE_ERR_NOASSOC, path,
                         QStringLiteral("no application for %1").arg(found.facts.mimeType));
    found.facts.id = QString::fromUtf8(g_app_info_get_id(found.app.get()));
    found.facts.name = QString::fromUtf8(g_app_info_get_name(found.app.get()));
    return found;
}

} // namespace

ErrorOr<DefaultApplication> defaultApplicationFor(const QString &nativePath)
{
    ErrorOr<Found> found = find(nativePath);
    if (!found)
        return found.error();
    return found->facts;
}

ErrorOr<DefaultApplication> openWithDefaultApplication(const QString &nativePath)
{
    ErrorOr<Found> found = find(nativePath);
    if (!found)
        return found.error();
    // The file travels as an argument of the application's own command (spawned, no shell between).
    const FilePtr file(g_file_new_for_path(native(QFileInfo(nativePath).absoluteFilePath()).constData()));
    GList files = {file.get(), nullptr, nullptr};
    GError *error = nullptr;
    if (!g_app_info_launch(found->app.get(), &files, nullptr, &error)) {
        const QString reason = QString::fromUtf8(error ? error->message : "launch failed");
        g_clear_error(&error);
        return openError(SE_ERR_ASSOCINCOMPLETE, nativePath, reason);
    }
    return found->facts;
}

int shellOpenCode(const ErrorOr<DefaultApplication> &answer)
{
    return answer.ok() ? SHELL_OPEN_STARTED : answer.error().code;
}

} // namespace platform
