// The kept catalogue: the file that puts the last completed scan back at the next start, and lets the
// next rescan reuse the folders that did not change. It is a cache: losing it loses nothing but time.
//
// Layout (host byte order, marked): magic, format version, byte-order mark, total size; the header
// (program version, the date, the scan mode and folder, the enabled extensions, the start folder of
// C:, each drive with its native root, volume serial, type and media counts); the store's arrays
// (names, nodes, child pool, roots); the scan index's (names, folders with their change times, media
// files with their sizes, roots); a 64-bit checksum of everything before it.
//
// Rules:
// - decode never trusts the data: every count and offset is checked against what is left, and the
//   arrays are checked again by the store and the index when they adopt them (their own rules).
// - A file of another magic is foreign, one of another format version is refused as such, a shorter
//   one than it says is truncated, one whose checksum differs is damaged: each failure says which.
// - Writing goes through platform::writeFileAtomically: the name never holds half a file.
#pragma once

#include "catalogue/store/CatalogueStore.h"
#include "catalogue/store/ScanIndex.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

struct KeptDrive
{
    QChar letter;
    QString nativeRoot;
    QString serial;
    int32_t driveType = 0;
    bool scanned = false; // walked by the scan (drive mode), or the folder's drive (folder mode)
    int64_t fileCount = 0;
    int64_t fileBytes = 0;
};

struct KeptHeader
{
    uint32_t formatVersion = 0;
    QString programVersion;
    int64_t madeMsecs = 0; // when the scan ended, milliseconds since 1970 UTC
    bool scanDrives = true;
    QString folder; // ScanRequest.Folder in folder mode
    QString enabledExtensions;
    QString startScanC;
    std::vector<KeptDrive> drives;
};

struct KeptCatalogue
{
    static constexpr uint32_t kFormatVersion = 2; // 2: twenty trees

    KeptHeader header;
    NameTable storeNames;
    std::vector<CatalogueStore::Node> nodes;
    std::vector<NodeId> children;
    std::array<NodeId, kTypeCount> roots{};
    NameTable indexNames;
    std::vector<ScanIndex::Folder> folders;
    std::vector<ScanIndex::File> files;
    std::vector<ScanIndex::Root> indexRoots;
    QString indexExtensions;

    // Gives the trees and the index their arrays (both check them). False with the reason.
    bool adoptInto(CatalogueStore &store, ScanIndex &index, QString *why);
};

// The program version written into the header.
QString KeptProgramVersion();

QByteArray EncodeKeptCatalogue(const KeptHeader &header, const CatalogueStore &store, const ScanIndex &index);
platform::ErrorOr<KeptCatalogue> DecodeKeptCatalogue(const QByteArray &data);
// The same bytes with their total size and checksum made right again (tests and the fuzz target
// change the body on purpose and still want the parser to read it).
QByteArray ResealKeptCatalogue(QByteArray data);

// The file: $LUMAVISTA_CACHE_DIR/catalogue, else $XDG_CACHE_HOME/Lumavista/catalogue
// (~/.cache/Lumavista/catalogue).
QString KeptCataloguePath();
platform::Status SaveKeptCatalogue(const QString &path, const KeptHeader &header, const CatalogueStore &store,
                                   const ScanIndex &index);
platform::ErrorOr<KeptCatalogue> LoadKeptCatalogue(const QString &path);

// Writes kept files on a thread of its own, so that the end of a scan never waits for the disk (the
// data is encoded before, on the caller's thread). One write at a time; a file asked for while one
// is being written replaces any other still waiting (only the newest catalogue is worth keeping).
// wait() returns once everything asked for is on the disk; the destructor waits too. A write that
// fails says so on standard error.
class KeptWriter
{
public:
    KeptWriter() = default;
    ~KeptWriter();
    KeptWriter(const KeptWriter &) = delete;
    KeptWriter &operator=(const KeptWriter &) = delete;

    void start(const QString &path, QByteArray data);
    void wait();
    // How many writes were asked for so far: what was read before one may be stale.
    uint64_t writesAsked();

private:
    void run();

    struct Job
    {
        QString path;
        QByteArray data;
    };
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<Job> m_pending;
    bool m_busy = false;
    bool m_stop = false;
    uint64_t m_asked = 0;
    std::thread m_thread;
};
