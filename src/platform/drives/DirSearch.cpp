#include "platform/drives/DirSearch.h"

#include "platform/drives/DriveMap.h"
#include "platform/drives/DriveNames.h"
#include "platform/drives/FileTimes.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>
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

// The credentials of this thread, read again only when the effective ids change: the group list
// changes only when the process sets it, which this program never does.
const Credentials &currentCredentials()
{
    // Per thread: the ids of the thread that searches; cached, not state of the program.
    thread_local Credentials cached;
    thread_local bool known = false;
    if (!known || cached.uid != ::geteuid() || cached.gid != ::getegid()) {
        cached.refresh();
        known = true;
    }
    return cached;
}

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

uint32_t hiddenBitOf(QStringView name)
{
    return startsWithDot(name) && name != u"." && name != u".." ? uint32_t(FILE_ATTRIBUTE_HIDDEN) : 0u;
}

// Sets name to a native name as shown. Plain ASCII names (nearly all) are widened into the previous
// entry's buffer instead of a new string; a listing decodes every name of a disk.
void setShownName(QString &name, const char *bytes)
{
    const size_t length = std::strlen(bytes);
    for (size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80 || bytes[i] == '\\') {
            name = nameFromNative(bytes, qsizetype(length));
            return;
        }
    name.resize(qsizetype(length));
    QChar *out = name.data();
    for (size_t i = 0; i < length; ++i)
        out[i] = QLatin1Char(bytes[i]);
}

// The longest record a listing can hold: the header and a 255-byte name with its end, aligned.
constexpr size_t kLongestRecord = (offsetof(struct dirent64, d_name) + 256 + 7) & ~size_t(7);

// Whether the file system under fd fills a listing buffer whenever it has entries left, so that a
// read leaving room for another record is the last one. Only local file systems known to do so.
bool shortReadsEndListings(int fd)
{
    struct statfs fs;
    if (::fstatfs(fd, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case EXT4_SUPER_MAGIC: // also ext2 and ext3
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
        return true;
    default:
        return false;
    }
}

// Opens name below the folder dirFd as a folder to list, refusing links and other mounts. Answers
// the descriptor, or -1 with errno (EXDEV for another mount, ELOOP or ENOTDIR for a link).
bool haveOpenat2 = true; // the same answer for every call of a run

int openFolderBelow(int dirFd, const char *name)
{
    if (haveOpenat2) {
        struct open_how how
        {
        };
        how.flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        how.resolve = RESOLVE_NO_XDEV | RESOLVE_NO_SYMLINKS;
        const long fd = ::syscall(SYS_openat2, dirFd, name, &how, sizeof how);
        if (fd >= 0 || errno != ENOSYS)
            return int(fd);
        haveOpenat2 = false;
    }
    // An older kernel: open, then compare the devices.
    const int fd = ::openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat parent, folder;
    if (::fstat(dirFd, &parent) != 0 || ::fstat(fd, &folder) != 0 || parent.st_dev != folder.st_dev) {
        ::close(fd);
        errno = EXDEV;
        return -1;
    }
    return fd;
}

// Listing buffers kept for the next search of this thread: a walk starts a search in every folder,
// and a fresh block each time costs the allocator more than reading a small folder costs the kernel.
constexpr size_t kListingBufferSize = 32 * 1024;
constexpr size_t kSpareBuffers = 16;

std::vector<std::unique_ptr<char[]>> &spareBuffers()
{
    thread_local std::vector<std::unique_ptr<char[]>> spare;
    return spare;
}

std::unique_ptr<char[]> takeBuffer()
{
    auto &spare = spareBuffers();
    if (spare.empty())
        return std::make_unique_for_overwrite<char[]>(kListingBufferSize);
    std::unique_ptr<char[]> buffer = std::move(spare.back());
    spare.pop_back();
    return buffer;
}

void giveBackBuffer(std::unique_ptr<char[]> buffer)
{
    auto &spare = spareBuffers();
    if (buffer && spare.size() < kSpareBuffers)
        spare.push_back(std::move(buffer));
}

} // namespace

struct DirSearch::Impl
{
    const DriveMap *drives = nullptr;
    QByteArray root; // the native root of the drive searched
    int fd = -1;     // the folder searched
    // The folder's entries, read straight from the kernel in blocks (no DIR: it would stat the
    // folder again and allocate its own block for every search).
    std::unique_ptr<char[]> buffer;
    size_t filled = 0;
    size_t consumed = 0;
    bool shortReadEnds = false; // see shortReadsEndListings
    bool drained = false;       // the last read was the last one
    SearchDetail detail = SearchDetail::Full;
    bool localTimes = true;
    int dotsPending = 0;       // "." and ".." still to hand out
    bool folderHidden = false; // the folder's and its parent's names, for "." and ".."
    bool parentHidden = false;
    // Facts of the searched folder, asked at most once per search and only when an entry needs them.
    bool folderDevKnown = false;
    dev_t folderDev = 0;
    bool volumeKnown = false;
    bool readOnlyVolume = false;
    const Credentials *credentials = nullptr;
    // The current entry's native name (in the buffer, valid until the next read), and whether
    // the entry holds its size yet.
    const char *currentName = nullptr;
    bool sizeKnown = true;

    void close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        giveBackBuffer(std::move(buffer));
        filled = consumed = 0;
        drained = false;
        dotsPending = 0;
        currentName = nullptr;
        sizeKnown = true;
    }

    // Only a failure needs to ask whether the root itself is there: opening a folder below it (or
    // the root itself) proves that it is.
    bool rootMissing() const
    {
        struct stat rootStat;
        return ::stat(root.constData(), &rootStat) != 0 || !S_ISDIR(rootStat.st_mode);
    }

    void forgetFolder()
    {
        folderHidden = parentHidden = false;
        folderDevKnown = volumeKnown = false;
        credentials = nullptr;
    }

    bool knowFolderDev()
    {
        struct stat st;
        if (!folderDevKnown && ::fstat(fd, &st) == 0) {
            folderDev = st.st_dev;
            folderDevKnown = true;
        }
        return folderDevKnown;
    }

    bool onReadOnlyVolume()
    {
        if (!volumeKnown) {
            struct statvfs vfs;
            readOnlyVolume = ::fstatvfs(fd, &vfs) == 0 && (vfs.f_flag & ST_RDONLY);
            volumeKnown = true;
        }
        return readOnlyVolume;
    }

    // The kind attributes and size of what an entry names (followed when it is a link). Links to
    // folders and folders of another file system are reparse points: the walk must not enter them.
    // A folder whose own device cannot be read counts as another file system too.
    void describeKind(SearchEntry &entry, const struct stat &st, bool link, bool dangling)
    {
        uint32_t attributes = 0;
        uint64_t size = 0;
        if (dangling) {
            attributes = FILE_ATTRIBUTE_ARCHIVE;
        } else if (S_ISDIR(st.st_mode)) {
            attributes = FILE_ATTRIBUTE_DIRECTORY;
            if (link || !knowFolderDev() || st.st_dev != folderDev)
                attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        } else if (S_ISREG(st.st_mode)) {
            attributes = FILE_ATTRIBUTE_ARCHIVE;
            size = uint64_t(st.st_size);
        } else {
            // Devices, pipes and sockets: nothing a viewer should open.
            attributes = FILE_ATTRIBUTE_SYSTEM;
        }
        entry.attributes = attributes | hiddenBitOf(entry.name);
        entry.size = size;
        sizeKnown = true;
    }

    // Everything about an entry: its kind, the read-only attribute and its time.
    void describe(SearchEntry &entry, const struct stat &st, bool link, bool dangling)
    {
        describeKind(entry, st, link, dangling);
        if (!credentials)
            credentials = &currentCredentials();
        if (onReadOnlyVolume() || !credentials->canWrite(st))
            entry.attributes |= FILE_ATTRIBUTE_READONLY;
        entry.lastWriteMSecs = msecsOf(st);
        if (localTimes)
            entry.lastWrite = QDateTime::fromMSecsSinceEpoch(entry.lastWriteMSecs);
        else
            entry.lastWrite = QDateTime();
        entry.shortName.clear();
    }

    // Names and kinds from d_type alone where it says enough: a plain file, a device or a folder
    // needs no stat. False when the general path must decide (links, unknown types).
    bool describeByType(SearchEntry &entry, unsigned char type)
    {
        switch (type) {
        case DT_REG:
            entry.attributes = FILE_ATTRIBUTE_ARCHIVE | hiddenBitOf(entry.name);
            entry.size = 0;
            sizeKnown = false;
            return true;
        case DT_FIFO:
        case DT_CHR:
        case DT_BLK:
        case DT_SOCK:
            entry.attributes = FILE_ATTRIBUTE_SYSTEM | hiddenBitOf(entry.name);
            entry.size = 0;
            sizeKnown = true;
            return true;
        case DT_DIR:
            // Whether it is another mount is found out if the folder is entered (findFirstBelow).
            entry.attributes = FILE_ATTRIBUTE_DIRECTORY | hiddenBitOf(entry.name);
            entry.size = 0;
            sizeKnown = true;
            return true;
        default:
            return false;
        }
    }

    // Stats one name of the open folder. d_type spares the second stat for plain entries: only a
    // link needs both its own and its target's. False when the entry went away meanwhile.
    bool describeName(SearchEntry &entry, const char *name, unsigned char type)
    {
        currentName = name;
        const bool full = detail == SearchDetail::Full;
        if (!full && describeByType(entry, type))
            return true;
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
        if (full)
            describe(entry, st, link, dangling);
        else
            describeKind(entry, st, link, dangling);
        return true;
    }

    // A folder that may be read but not searched (r without x): only the name and d_type are known.
    bool describeUnstatable(SearchEntry &entry, unsigned char type)
    {
        entry.attributes = type == DT_DIR ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
        if (startsWithDot(entry.name))
            entry.attributes |= FILE_ATTRIBUTE_HIDDEN;
        entry.size = 0;
        sizeKnown = true;
        entry.lastWrite = QDateTime();
        entry.lastWriteMSecs = 0;
        entry.shortName.clear();
        return true;
    }

    void describeDot(SearchEntry &entry, bool self)
    {
        entry.name = self ? QStringLiteral(".") : QStringLiteral("..");
        if (detail == SearchDetail::Full) {
            struct stat st;
            const bool known = self ? ::fstat(fd, &st) == 0 : ::fstatat(fd, "..", &st, 0) == 0;
            if (!known) {
                std::memset(&st, 0, sizeof st);
                st.st_mode = S_IFDIR | 0755;
            }
            // A mount's root is still the parent of its folders; never flag "." or "..".
            st.st_dev = folderDev;
            describe(entry, st, false, false);
        } else {
            entry.attributes = FILE_ATTRIBUTE_DIRECTORY;
            entry.size = 0;
            sizeKnown = true;
        }
        if (self ? folderHidden : parentHidden)
            entry.attributes |= FILE_ATTRIBUTE_HIDDEN;
    }

    int next(SearchEntry &entry)
    {
        currentName = nullptr;
        if (dotsPending > 0) {
            const bool self = dotsPending == 2;
            --dotsPending;
            describeDot(entry, self);
            return ERROR_SUCCESS;
        }
        if (!buffer)
            return ERROR_NO_MORE_FILES;
        for (;;) {
            if (consumed >= filled) {
                if (drained)
                    return ERROR_NO_MORE_FILES;
                const ssize_t n = ::getdents64(fd, buffer.get(), kListingBufferSize);
                if (n <= 0)
                    return n < 0 ? codeOfOpenError(errno, false) : ERROR_NO_MORE_FILES;
                filled = size_t(n);
                consumed = 0;
                drained = shortReadEnds && filled + kLongestRecord <= kListingBufferSize;
            }
            const auto *e = reinterpret_cast<const dirent64 *>(buffer.get() + consumed);
            consumed += e->d_reclen;
            const char *name = e->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            setShownName(entry.name, name);
            if (describeName(entry, name, e->d_type))
                return ERROR_SUCCESS;
        }
    }
};

DirSearch::DirSearch(const DriveMap &drives) : d(std::make_unique<Impl>())
{
    d->drives = &drives;
}

const DriveMap &DirSearch::drives() const
{
    return *d->drives;
}

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

void DirSearch::setDetail(SearchDetail detail)
{
    d->detail = detail;
}

uint64_t DirSearch::entrySize()
{
    if (!d->sizeKnown) {
        d->sizeKnown = true;
        struct stat st;
        if (d->currentName && ::fstatat(d->fd, d->currentName, &st, 0) == 0 && S_ISREG(st.st_mode))
            m_entry.size = uint64_t(st.st_size);
    }
    return m_entry.size;
}

int DirSearch::findFirst(const QString &pattern)
{
    d->close();
    d->forgetFolder();
    m_entry = SearchEntry();
    if (pattern.size() < 2 || pattern.at(1) != u':')
        return ERROR_PATH_NOT_FOUND;
    const DriveMapping *drive = d->drives->find(pattern.at(0));
    if (!drive)
        return ERROR_INVALID_DRIVE;
    d->root = QFile::encodeName(drive->nativeRoot);
    const QByteArray &root = d->root;
    const auto rootMissing = [this] { return d->rootMissing(); };

    const QStringView tail = QStringView(pattern).mid(2);
    if (!tail.isEmpty() && tail.front() != u'\\' && tail.front() != u'/')
        return rootMissing() ? ERROR_NOT_READY : ERROR_PATH_NOT_FOUND;
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
    if (d->fd < 0) {
        const int error = errno;
        return rootMissing() ? ERROR_NOT_READY : codeOfOpenError(error, isDriveRoot);
    }
    // A full search describes every entry against the folder's device; a lighter one asks for it
    // only when it meets a folder.
    if (d->detail == SearchDetail::Full && !d->knowFolderDev()) {
        const int code = codeOfOpenError(errno, isDriveRoot);
        d->close();
        return code;
    }

    if (!listAll) {
        const int code = findExact(last);
        d->close();
        if (code != ERROR_SUCCESS)
            m_entry = SearchEntry();
        return code;
    }

    d->shortReadEnds = shortReadsEndListings(d->fd);
    bool folderHidden = false;
    bool parentHidden = false;
    if (!isDriveRoot) {
        const qsizetype slash = rel.lastIndexOf(u'/');
        folderHidden = rel.at(slash + 1) == u'.';
        if (slash > 0) {
            const qsizetype before = rel.lastIndexOf(u'/', slash - 1);
            parentHidden = rel.at(before + 1) == u'.';
        }
    }
    return startListing(isDriveRoot, folderHidden, parentHidden);
}

int DirSearch::startListing(bool isDriveRoot, bool folderHidden, bool parentHidden)
{
    d->buffer = takeBuffer();
    if (!isDriveRoot) {
        d->dotsPending = 2;
        d->folderHidden = folderHidden;
        d->parentHidden = parentHidden;
    }
    const int code = d->next(m_entry);
    // A drive root has no "." or "..": an empty one has nothing to find at all.
    if (code == ERROR_NO_MORE_FILES)
        return ERROR_FILE_NOT_FOUND;
    return code;
}

int DirSearch::findFirstBelow(const DirSearch &parent)
{
    d->close();
    d->forgetFolder();
    const bool parentHidden = parent.d->folderHidden;
    const char *name = parent.d->currentName;
    const int parentFd = parent.d->fd;
    d->drives = parent.d->drives;
    d->root = parent.d->root;
    m_entry = SearchEntry();
    if (!name || parentFd < 0)
        return ERROR_PATH_NOT_FOUND;
    // A link put in the folder's place since the parent listed it is not followed, and another
    // mount is not entered.
    d->fd = openFolderBelow(parentFd, name);
    if (d->fd < 0) {
        const int error = errno;
        if (error == EXDEV || error == ELOOP)
            return SEARCH_REPARSE_POINT;
        return d->rootMissing() ? ERROR_NOT_READY : codeOfOpenError(error, false);
    }
    // Subfolders lie on the parent's file system (another mount was refused above).
    d->shortReadEnds = parent.d->shortReadEnds;
    if (d->detail == SearchDetail::Full && !d->knowFolderDev()) {
        const int code = codeOfOpenError(errno, false);
        d->close();
        return code;
    }
    return startListing(false, name[0] == '.', parentHidden);
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
    // The general path: the name's own stat gives the size at once, whatever the detail.
    const bool found =
        d->describeName(m_entry, native.constData(), S_ISLNK(st.st_mode) ? DT_LNK : DT_UNKNOWN);
    d->currentName = nullptr;
    return found ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

int DirSearch::findNext()
{
    return d->next(m_entry);
}

int DirSearch::findFirstIn(const FolderHandle &folder)
{
    d->close();
    d->forgetFolder();
    m_entry = SearchEntry();
    d->root = folder.m_root;
    if (!folder.isOpen())
        return folder.code();
    // A descriptor of its own at the start of the folder: the handle is never read from.
    d->fd = ::fcntl(folder.m_fd, F_DUPFD_CLOEXEC, 0);
    if (d->fd < 0 || ::lseek(d->fd, 0, SEEK_SET) < 0) {
        const int code = codeOfOpenError(errno, folder.m_driveRoot);
        d->close();
        return code;
    }
    d->shortReadEnds = folder.m_shortReadEnds;
    if (d->detail == SearchDetail::Full && !d->knowFolderDev()) {
        const int code = codeOfOpenError(errno, folder.m_driveRoot);
        d->close();
        return code;
    }
    return startListing(folder.m_driveRoot, folder.m_hidden, folder.m_parentHidden);
}

FolderHandle::~FolderHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FolderHandle::FolderHandle(FolderHandle &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_code(other.m_code), m_hidden(other.m_hidden),
      m_parentHidden(other.m_parentHidden), m_driveRoot(other.m_driveRoot),
      m_shortReadEnds(other.m_shortReadEnds), m_root(std::move(other.m_root))
{
}

FolderHandle &FolderHandle::operator=(FolderHandle &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_code = other.m_code;
        m_hidden = other.m_hidden;
        m_parentHidden = other.m_parentHidden;
        m_driveRoot = other.m_driveRoot;
        m_shortReadEnds = other.m_shortReadEnds;
        m_root = std::move(other.m_root);
    }
    return *this;
}

namespace {
bool rootIsMissing(const QByteArray &root)
{
    struct stat rootStat;
    return ::stat(root.constData(), &rootStat) != 0 || !S_ISDIR(rootStat.st_mode);
}

int codeOfBelowError(int error, const QByteArray &root)
{
    if (error == EXDEV || error == ELOOP)
        return SEARCH_REPARSE_POINT;
    return rootIsMissing(root) ? ERROR_NOT_READY : codeOfOpenError(error, false);
}
} // namespace

FolderHandle FolderHandle::open(const DriveMap &drives, const QString &drivePath)
{
    FolderHandle h;
    if (drivePath.size() < 2 || drivePath.at(1) != u':') {
        h.m_code = ERROR_PATH_NOT_FOUND;
        return h;
    }
    const DriveMapping *drive = drives.find(drivePath.at(0));
    if (!drive) {
        h.m_code = ERROR_INVALID_DRIVE;
        return h;
    }
    h.m_root = QFile::encodeName(drive->nativeRoot);
    const QStringView tail = QStringView(drivePath).mid(2);
    if (!tail.isEmpty() && tail.front() != u'\\' && tail.front() != u'/') {
        h.m_code = rootIsMissing(h.m_root) ? ERROR_NOT_READY : ERROR_PATH_NOT_FOUND;
        return h;
    }
    const QString rel = relativeNativeOf(tail);
    h.m_driveRoot = rel.isEmpty();
    QByteArray folder = h.m_root;
    if (!h.m_driveRoot) {
        if (!folder.endsWith('/'))
            folder += '/';
        folder += QFile::encodeName(rel);
        const qsizetype slash = rel.lastIndexOf(u'/');
        h.m_hidden = rel.at(slash + 1) == u'.';
        if (slash > 0)
            h.m_parentHidden = rel.at(rel.lastIndexOf(u'/', slash - 1) + 1) == u'.';
    }
    h.m_fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (h.m_fd < 0) {
        const int error = errno;
        h.m_code = rootIsMissing(h.m_root) ? ERROR_NOT_READY : codeOfOpenError(error, h.m_driveRoot);
        return h;
    }
    h.m_code = ERROR_SUCCESS;
    h.m_shortReadEnds = shortReadsEndListings(h.m_fd);
    return h;
}

FolderHandle FolderHandle::below(QStringView name) const
{
    FolderHandle h;
    h.m_root = m_root;
    h.m_parentHidden = m_hidden;
    h.m_shortReadEnds = m_shortReadEnds;
    const QString native = nameToNative(name);
    if (m_fd < 0 || native.isEmpty() || native == u"." || native == u".." || native.contains(u'/')) {
        h.m_code = ERROR_PATH_NOT_FOUND;
        return h;
    }
    const QByteArray bytes = QFile::encodeName(native);
    h.m_hidden = bytes.startsWith('.');
    h.m_fd = openFolderBelow(m_fd, bytes.constData());
    if (h.m_fd >= 0) {
        h.m_code = ERROR_SUCCESS;
        return h;
    }
    const int error = errno;
    // O_NOFOLLOW with O_DIRECTORY answers "not a folder" for a link: a link is a reparse point.
    struct stat st;
    if (error == ENOTDIR && ::fstatat(m_fd, bytes.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(st.st_mode))
        h.m_code = SEARCH_REPARSE_POINT;
    else
        h.m_code = codeOfBelowError(error, m_root);
    return h;
}

FolderHandle FolderHandle::belowSearch(const DirSearch &parent)
{
    FolderHandle h;
    h.m_root = parent.d->root;
    h.m_parentHidden = parent.d->folderHidden;
    h.m_shortReadEnds = parent.d->shortReadEnds;
    const char *name = parent.d->currentName;
    if (!name || parent.d->fd < 0) {
        h.m_code = ERROR_PATH_NOT_FOUND;
        return h;
    }
    h.m_hidden = name[0] == '.';
    h.m_fd = openFolderBelow(parent.d->fd, name);
    h.m_code = h.m_fd >= 0 ? int(ERROR_SUCCESS) : codeOfBelowError(errno, h.m_root);
    return h;
}

FolderHandle::Probe FolderHandle::probe(QStringView name) const
{
    Probe p;
    const QString native = nameToNative(name);
    if (m_fd < 0 || native.isEmpty() || native == u"." || native == u".." || native.contains(u'/')) {
        p.code = ERROR_PATH_NOT_FOUND;
        return p;
    }
    return probeNative(QFile::encodeName(native).constData());
}

namespace {
// A relative path of folder names only: no empty part, no "." or "..", no leading slash.
bool plainRelativePath(const char *relative)
{
    if (!relative[0])
        return false;
    for (const char *part = relative;;) {
        const char *end = std::strchr(part, '/');
        const size_t length = end ? size_t(end - part) : std::strlen(part);
        if (length == 0 || (length == 1 && part[0] == '.') ||
            (length == 2 && part[0] == '.' && part[1] == '.'))
            return false;
        if (!end)
            return true;
        part = end + 1;
    }
}

// openFolderBelow for a path of several parts: in one call where the kernel refuses links and other
// mounts along the whole path, else a part at a time.
int openFolderPathBelow(int dirFd, const char *relative)
{
    if (haveOpenat2 || !std::strchr(relative, '/')) {
        const int fd = openFolderBelow(dirFd, relative);
        if (fd >= 0 || haveOpenat2 || !std::strchr(relative, '/'))
            return fd;
    }
    const QList<QByteArray> parts = QByteArray(relative).split('/');
    int fd = dirFd;
    for (const QByteArray &part : parts) {
        const int below = openFolderBelow(fd, part.constData());
        const int error = errno;
        if (fd != dirFd)
            ::close(fd);
        if (below < 0) {
            errno = error;
            return -1;
        }
        fd = below;
    }
    return fd;
}
} // namespace

FolderHandle::Probe FolderHandle::probeNative(const char *name) const
{
    if (std::strchr(name, '/')) {
        Probe p;
        p.code = ERROR_PATH_NOT_FOUND;
        return p;
    }
    return probeRelative(name);
}

FolderHandle FolderHandle::belowRelative(const char *relative) const
{
    FolderHandle h;
    h.m_root = m_root;
    h.m_shortReadEnds = m_shortReadEnds;
    if (m_fd < 0 || !plainRelativePath(relative)) {
        h.m_code = ERROR_PATH_NOT_FOUND;
        return h;
    }
    const char *last = std::strrchr(relative, '/');
    h.m_hidden = (last ? last[1] : relative[0]) == '.';
    if (!last) {
        h.m_parentHidden = m_hidden;
    } else {
        const char *before = last;
        while (before > relative && before[-1] != '/')
            --before;
        h.m_parentHidden = before[0] == '.';
    }
    h.m_fd = openFolderPathBelow(m_fd, relative);
    if (h.m_fd >= 0) {
        h.m_code = ERROR_SUCCESS;
        return h;
    }
    const int error = errno;
    struct stat st;
    if (error == ENOTDIR && ::fstatat(m_fd, relative, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
        h.m_code = SEARCH_REPARSE_POINT;
    else
        h.m_code = codeOfBelowError(error, m_root);
    return h;
}

FolderHandle::Probe FolderHandle::probeRelative(const char *name) const
{
    Probe p;
    if (m_fd < 0 || !plainRelativePath(name)) {
        p.code = ERROR_PATH_NOT_FOUND;
        return p;
    }
    struct statx stx = {};
    if (::statx(m_fd, name, AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_MTIME | STATX_CTIME, &stx) != 0) {
        p.code =
            errno == ENOENT || errno == ENOTDIR ? int(ERROR_PATH_NOT_FOUND) : codeOfBelowError(errno, m_root);
        return p;
    }
    if (S_ISLNK(stx.stx_mode)) {
        p.code = SEARCH_REPARSE_POINT;
        return p;
    }
    if (!S_ISDIR(stx.stx_mode)) {
        p.code = ERROR_PATH_NOT_FOUND;
        return p;
    }
    // Another mount: a device of its own, or the root of a mount of this one (a bind mount).
    if (!m_devKnown) {
        struct statx self = {};
        if (::statx(m_fd, "", AT_EMPTY_PATH, STATX_TYPE, &self) == 0) {
            m_devKnown = true;
            m_dev = uint64_t(self.stx_dev_major) << 32 | self.stx_dev_minor;
        }
    }
    const bool mountRoot =
        (stx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) && (stx.stx_attributes & STATX_ATTR_MOUNT_ROOT);
    if (mountRoot || !m_devKnown || m_dev != (uint64_t(stx.stx_dev_major) << 32 | stx.stx_dev_minor)) {
        p.code = SEARCH_REPARSE_POINT;
        return p;
    }
    p.code = ERROR_SUCCESS;
    p.changeTimeNs =
        laterTimeNs(stx.stx_mtime.tv_sec, stx.stx_mtime.tv_nsec, stx.stx_ctime.tv_sec, stx.stx_ctime.tv_nsec);
    return p;
}

int64_t FolderHandle::fileSizeIn(QStringView folder, QStringView file) const
{
    const QString nativeFolder = nameToNative(folder);
    if (nativeFolder.isEmpty() || nativeFolder.contains(u'/'))
        return -1;
    return fileSize(folder.toString() + u'/' + file.toString());
}

int64_t FolderHandle::changeTimeNs() const
{
    struct statx stx = {};
    if (m_fd < 0 || ::statx(m_fd, "", AT_EMPTY_PATH, STATX_MTIME | STATX_CTIME, &stx) != 0)
        return 0;
    return laterTimeNs(stx.stx_mtime.tv_sec, stx.stx_mtime.tv_nsec, stx.stx_ctime.tv_sec,
                       stx.stx_ctime.tv_nsec);
}

int64_t FolderHandle::fileSize(QStringView name) const
{
    if (m_fd < 0)
        return -1;
    return fileSizeNative(QFile::encodeName(nameToNative(name)).constData());
}

int64_t FolderHandle::fileSizeNative(const char *native) const
{
    if (m_fd < 0)
        return -1;
    struct statx stx = {};
    if (::statx(m_fd, native, 0, STATX_TYPE | STATX_SIZE, &stx) == 0) {
        if (S_ISDIR(stx.stx_mode))
            return -1;
        return S_ISREG(stx.stx_mode) ? int64_t(stx.stx_size) : 0;
    }
    // A dangling link is still a file of size 0, as the search lists it.
    if (::statx(m_fd, native, AT_SYMLINK_NOFOLLOW, STATX_TYPE, &stx) == 0 && S_ISLNK(stx.stx_mode))
        return 0;
    return -1;
}

} // namespace platform
