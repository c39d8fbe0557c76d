#include "platform/drives/DirSearch.h"

#include "platform/drives/DriveMap.h"
#include "platform/drives/DriveNames.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

// Who is asking, for the read-only attribute: the mode bits against the effective ids. ACLs are not
// consulted; this is asked for every entry of every folder of a disk and must stay cheap.
struct Credentials
{
    uid_t uid = 0;
    gid_t gid = 0;
    std::vector<gid_t> groups;

    void refresh()
    {
        uid = ::geteuid();
        gid = ::getegid();
        const int n = ::getgroups(0, nullptr);
        groups.resize(n > 0 ? size_t(n) : 0);
        if (n > 0 && ::getgroups(n, groups.data()) < 0)
            groups.clear();
    }

    bool canWrite(const struct stat &st) const
    {
        if (uid == 0)
            return true;
        if (st.st_uid == uid)
            return st.st_mode & S_IWUSR;
        if (st.st_gid == gid || std::find(groups.begin(), groups.end(), st.st_gid) != groups.end())
            return st.st_mode & S_IWGRP;
        return st.st_mode & S_IWOTH;
    }
};

int codeOfOpenError(int error, bool isDriveRoot)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
        return isDriveRoot ? ERROR_NOT_READY : ERROR_ACCESS_DENIED;
    case EIO:
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
    case ESTALE:
    case ETIMEDOUT:
    case EHOSTDOWN:
    case EHOSTUNREACH:
        return ERROR_NOT_READY;
    default:
        return ERROR_ACCESS_DENIED;
    }
}

int64_t msecsOf(const struct stat &st)
{
    return int64_t(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
}

bool startsWithDot(QStringView name)
{
    return !name.isEmpty() && name.front() == u'.';
}

} // namespace

struct DirSearch::Impl
{
    DIR *dir = nullptr;
    int fd = -1; // the folder searched; owned by dir once that is open
    dev_t folderDev = 0;
    bool readOnlyVolume = false;
    bool localTimes = true;
    int dotsPending = 0; // "." and ".." still to hand out
    QString folderName;  // last native components, for the hidden bit of "." and ".."
    QString parentName;
    Credentials credentials;

    void close()
    {
        if (dir)
            ::closedir(dir);
        else if (fd >= 0)
            ::close(fd);
        dir = nullptr;
        fd = -1;
        dotsPending = 0;
    }

    // Fills entry from a stat of the thing an entry names (followed when it is a link). Links to
    // folders and folders of another file system are reparse points: the walk must not enter them.
    void describe(SearchEntry &entry, const struct stat &st, bool link, bool dangling) const
    {
        uint32_t attributes = 0;
        uint64_t size = 0;
        if (dangling) {
            attributes = FILE_ATTRIBUTE_ARCHIVE;
        } else if (S_ISDIR(st.st_mode)) {
            attributes = FILE_ATTRIBUTE_DIRECTORY;
            if (link || st.st_dev != folderDev)
                attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        } else if (S_ISREG(st.st_mode)) {
            attributes = FILE_ATTRIBUTE_ARCHIVE;
            size = uint64_t(st.st_size);
        } else {
            // Devices, pipes and sockets: nothing a viewer should open.
            attributes = FILE_ATTRIBUTE_SYSTEM;
        }
        if (readOnlyVolume || !credentials.canWrite(st))
            attributes |= FILE_ATTRIBUTE_READONLY;
        if (startsWithDot(entry.name) && entry.name != u"." && entry.name != u"..")
            attributes |= FILE_ATTRIBUTE_HIDDEN;
        entry.attributes = attributes;
        entry.size = size;
        entry.lastWriteMSecs = msecsOf(st);
        if (localTimes)
            entry.lastWrite = QDateTime::fromMSecsSinceEpoch(entry.lastWriteMSecs);
        else
            entry.lastWrite = QDateTime();
        entry.shortName.clear();
    }

    // Stats one name of the open folder. d_type spares the second stat for plain entries: only a
    // link needs both its own and its target's. False when the entry went away meanwhile.
    bool describeName(SearchEntry &entry, const char *name, unsigned char type) const
    {
        struct stat st;
        bool link = type == DT_LNK;
        bool dangling = false;
        if (link) {
            if (::fstatat(fd, name, &st, 0) != 0) {
                dangling = true;
                if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                    return errno != ENOENT && describeUnstatable(entry, type);
            }
        } else {
            if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                return errno != ENOENT && describeUnstatable(entry, type);
            if (S_ISLNK(st.st_mode)) {
                link = true;
                struct stat target;
                if (::fstatat(fd, name, &target, 0) == 0)
                    st = target;
                else
                    dangling = true;
            }
        }
        describe(entry, st, link, dangling);
        return true;
    }

    // A folder that may be read but not searched (r without x): only the name and d_type are known.
    bool describeUnstatable(SearchEntry &entry, unsigned char type) const
    {
        entry.attributes = type == DT_DIR ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
        if (startsWithDot(entry.name))
            entry.attributes |= FILE_ATTRIBUTE_HIDDEN;
        entry.size = 0;
        entry.lastWrite = QDateTime();
        entry.lastWriteMSecs = 0;
        entry.shortName.clear();
        return true;
    }

    int next(SearchEntry &entry)
    {
        if (dotsPending > 0) {
            const bool self = dotsPending == 2;
            --dotsPending;
            struct stat st;
            const bool known = self ? ::fstat(fd, &st) == 0 : ::fstatat(fd, "..", &st, 0) == 0;
            entry.name = self ? QStringLiteral(".") : QStringLiteral("..");
            if (!known) {
                std::memset(&st, 0, sizeof st);
                st.st_mode = S_IFDIR | 0755;
            }
            // A mount's root is still the parent of its folders; never flag "." or "..".
            st.st_dev = folderDev;
            describe(entry, st, false, false);
            if (startsWithDot(self ? folderName : parentName))
                entry.attributes |= FILE_ATTRIBUTE_HIDDEN;
            return ERROR_SUCCESS;
        }
        if (!dir)
            return ERROR_NO_MORE_FILES;
        for (;;) {
            errno = 0;
            const dirent *e = ::readdir(dir);
            if (!e)
                return errno ? codeOfOpenError(errno, false) : ERROR_NO_MORE_FILES;
            const char *name = e->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            entry.name = nameFromNative(name, qsizetype(std::strlen(name)));
            if (describeName(entry, name, e->d_type))
                return ERROR_SUCCESS;
        }
    }
};

DirSearch::DirSearch() : d(std::make_unique<Impl>()) {}

DirSearch::~DirSearch()
{
    d->close();
}

void DirSearch::close()
{
    d->close();
}

void DirSearch::setLocalTimesWanted(bool wanted)
{
    d->localTimes = wanted;
}

int DirSearch::findFirst(const QString &pattern)
{
    d->close();
    m_entry = SearchEntry();
    if (pattern.size() < 2 || pattern.at(1) != u':')
        return ERROR_PATH_NOT_FOUND;
    const DriveMapping *drive = DriveMap::current().find(pattern.at(0));
    if (!drive)
        return ERROR_INVALID_DRIVE;
    const QByteArray root = QFile::encodeName(drive->nativeRoot);
    struct stat rootStat;
    if (::stat(root.constData(), &rootStat) != 0 || !S_ISDIR(rootStat.st_mode))
        return ERROR_NOT_READY;

    const QStringView tail = QStringView(pattern).mid(2);
    if (!tail.isEmpty() && tail.front() != u'\\' && tail.front() != u'/')
        return ERROR_PATH_NOT_FOUND;
    qsizetype cut = tail.size() - 1;
    while (cut >= 0 && tail[cut] != u'\\' && tail[cut] != u'/')
        --cut;
    const QStringView last = tail.mid(cut + 1);
    const bool listAll = last == u"*.*" || last == u"*";
    const QString rel = relativeNativeOf(tail.left(cut + 1));
    const bool isDriveRoot = rel.isEmpty();

    QByteArray folder = root;
    if (!isDriveRoot) {
        if (!folder.endsWith('/'))
            folder += '/';
        folder += QFile::encodeName(rel);
    }
    // An exact name needs only the right to pass through the folder, not to list it.
    d->fd = ::open(folder.constData(), (listAll ? O_RDONLY : O_PATH) | O_DIRECTORY | O_CLOEXEC);
    if (d->fd < 0)
        return codeOfOpenError(errno, isDriveRoot);
    struct stat folderStat;
    if (::fstat(d->fd, &folderStat) != 0) {
        const int code = codeOfOpenError(errno, isDriveRoot);
        d->close();
        return code;
    }
    d->folderDev = folderStat.st_dev;
    struct statvfs vfs;
    d->readOnlyVolume = ::fstatvfs(d->fd, &vfs) == 0 && (vfs.f_flag & ST_RDONLY);
    d->credentials.refresh();

    if (!listAll) {
        const int code = findExact(last);
        d->close();
        if (code != ERROR_SUCCESS)
            m_entry = SearchEntry();
        return code;
    }

    d->dir = ::fdopendir(d->fd);
    if (!d->dir) {
        const int code = codeOfOpenError(errno, isDriveRoot);
        d->close();
        return code;
    }
    if (!isDriveRoot) {
        d->dotsPending = 2;
        const qsizetype slash = rel.lastIndexOf(u'/');
        d->folderName = rel.mid(slash + 1);
        d->parentName = slash < 0 ? QString() : rel.left(slash).section(u'/', -1);
    }
    const int code = d->next(m_entry);
    // A drive root has no "." or "..": an empty one has nothing to find at all.
    if (code == ERROR_NO_MORE_FILES)
        return ERROR_FILE_NOT_FOUND;
    return code;
}

int DirSearch::findExact(QStringView shownName)
{
    const QString name = nameToNative(shownName);
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/'))
        return ERROR_FILE_NOT_FOUND;
    const QByteArray native = QFile::encodeName(name);
    struct stat st;
    if (::fstatat(d->fd, native.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        switch (errno) {
        case ENOENT:
        case ENAMETOOLONG:
            return ERROR_FILE_NOT_FOUND;
        default:
            return codeOfOpenError(errno, false);
        }
    }
    m_entry.name = shownName.toString();
    return d->describeName(m_entry, native.constData(), S_ISLNK(st.st_mode) ? DT_LNK : DT_UNKNOWN)
               ? ERROR_SUCCESS
               : ERROR_FILE_NOT_FOUND;
}

int DirSearch::findNext()
{
    return d->next(m_entry);
}

} // namespace platform
