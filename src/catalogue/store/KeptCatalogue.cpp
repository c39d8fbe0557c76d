#include "catalogue/store/KeptCatalogue.h"

#include "platform/files/AtomicWrite.h"
#include "platform/files/CacheFolder.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstring>
#include <type_traits>

#ifndef LUMAVISTA_VERSION
#define LUMAVISTA_VERSION "0"
#endif

using platform::Error;
using platform::makeError;

namespace {

constexpr char kMagic[8] = {'L', 'U', 'M', 'A', 'C', 'A', 'T', '\n'};
constexpr uint32_t kByteOrderMark = 0x01020304u;
constexpr size_t kPrefixSize = 24; // magic, version, byte-order mark, total size
constexpr size_t kChecksumSize = 8;

// A word-at-a-time mix: quick over a few megabytes at start-up, and any damaged byte changes it.
uint64_t checksumOf(const char *data, size_t size)
{
    uint64_t h = 0x9E3779B97F4A7C15ull ^ size;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t w;
        std::memcpy(&w, data + i, 8);
        h = (h ^ w) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    uint64_t tail = 0;
    std::memcpy(&tail, data + i, size - i);
    h = (h ^ tail ^ (uint64_t(size - i) << 56)) * 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 29);
}

class Writer
{
public:
    template <typename T> void put(const T &value)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        m_out.append(reinterpret_cast<const char *>(&value), sizeof(T));
    }
    void putString(const QString &text)
    {
        put(uint32_t(text.size()));
        m_out.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    }
    template <typename T> void putArray(const std::vector<T> &items)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        put(uint32_t(items.size()));
        m_out.append(reinterpret_cast<const char *>(items.data()), qsizetype(items.size() * sizeof(T)));
    }
    void putNames(const NameTable &names)
    {
        putArray(names.latin1Texts());
        putArray(names.wideTexts());
        putArray(names.entryWords());
    }
    QByteArray &bytes() { return m_out; }

private:
    QByteArray m_out;
};

// Reads the body; every read checks what is left, and the first failure sticks.
class Reader
{
public:
    Reader(const char *data, size_t size) : m_data(data), m_size(size) {}
    bool ok() const { return m_ok; }
    bool atEnd() const { return m_pos == m_size; }

    template <typename T> T get()
    {
        T value{};
        if (!take(sizeof(T)))
            return value;
        std::memcpy(&value, m_data + m_pos - sizeof(T), sizeof(T));
        return value;
    }
    QString getString()
    {
        const uint32_t length = get<uint32_t>();
        if (!take(uint64_t(length) * 2))
            return {};
        QString text(qsizetype(length), Qt::Uninitialized);
        std::memcpy(text.data(), m_data + m_pos - size_t(length) * 2, size_t(length) * 2);
        return text;
    }
    template <typename T> std::vector<T> getArray()
    {
        const uint32_t count = get<uint32_t>();
        if (!take(uint64_t(count) * sizeof(T)))
            return {};
        std::vector<T> items(count);
        if (count > 0)
            std::memcpy(items.data(), m_data + m_pos - size_t(count) * sizeof(T), size_t(count) * sizeof(T));
        return items;
    }
    bool getNames(NameTable &names)
    {
        std::vector<char> latin1 = getArray<char>();
        std::vector<char16_t> wide = getArray<char16_t>();
        const std::vector<uint32_t> words = getArray<uint32_t>();
        if (!m_ok)
            return false;
        if (!names.assign(std::move(latin1), std::move(wide), words))
            m_ok = false;
        return m_ok;
    }

private:
    bool take(uint64_t n)
    {
        if (!m_ok || n > m_size - m_pos) {
            m_ok = false;
            return false;
        }
        m_pos += size_t(n);
        return true;
    }

    const char *m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

Error invalid(const QString &why)
{
    return makeError(Error::Kind::InvalidData, why);
}

} // namespace

QByteArray ResealKeptCatalogue(QByteArray data)
{
    if (size_t(data.size()) < kPrefixSize + kChecksumSize)
        return data;
    const uint64_t total = uint64_t(data.size());
    std::memcpy(data.data() + 16, &total, sizeof total);
    const uint64_t sum = checksumOf(data.constData(), size_t(data.size()) - kChecksumSize);
    std::memcpy(data.data() + data.size() - qsizetype(kChecksumSize), &sum, sizeof sum);
    return data;
}

QString KeptProgramVersion()
{
    return QStringLiteral(LUMAVISTA_VERSION);
}

bool KeptCatalogue::adoptInto(CatalogueStore &store, ScanIndex &index, QString *why)
{
    if (!store.adopt(std::move(storeNames), std::move(nodes), std::move(children), roots, why))
        return false;
    return index.adopt(std::move(indexNames), std::move(folders), std::move(files), std::move(indexRoots),
                       indexExtensions, why);
}

QByteArray EncodeKeptCatalogue(const KeptHeader &header, const CatalogueStore &store, const ScanIndex &index)
{
    Writer w;
    w.bytes().append(kMagic, sizeof kMagic);
    w.put(KeptCatalogue::kFormatVersion);
    w.put(kByteOrderMark);
    w.put(uint64_t(0)); // the total size, once known
    w.putString(header.programVersion);
    w.put(header.madeMsecs);
    w.put(uint8_t(header.scanDrives ? 1 : 0));
    w.putString(header.folder);
    w.putString(header.enabledExtensions);
    w.putString(header.startScanC);
    w.put(uint32_t(header.drives.size()));
    for (const KeptDrive &d : header.drives) {
        w.put(char16_t(d.letter.unicode()));
        w.putString(d.nativeRoot);
        w.putString(d.serial);
        w.put(d.driveType);
        w.put(uint8_t(d.scanned ? 1 : 0));
        w.put(d.fileCount);
        w.put(d.fileBytes);
    }
    w.putNames(store.names());
    w.putArray(store.nodes());
    w.putArray(store.childPool());
    for (NodeId r : store.roots())
        w.put(r);
    w.putString(index.enabledExtensions());
    w.putNames(index.names());
    w.putArray(index.folders());
    w.putArray(index.files());
    w.put(uint32_t(index.roots().size()));
    for (const ScanIndex::Root &r : index.roots()) {
        w.putString(r.path);
        w.put(r.folder);
    }
    QByteArray &out = w.bytes();
    const uint64_t total = uint64_t(out.size()) + kChecksumSize;
    std::memcpy(out.data() + 16, &total, sizeof total);
    const uint64_t sum = checksumOf(out.constData(), size_t(out.size()));
    out.append(reinterpret_cast<const char *>(&sum), sizeof sum);
    return out;
}

platform::ErrorOr<KeptCatalogue> DecodeKeptCatalogue(const QByteArray &data)
{
    const size_t size = size_t(data.size());
    const char *bytes = data.constData();
    if (size < sizeof kMagic || std::memcmp(bytes, kMagic, sizeof kMagic) != 0)
        return invalid(QStringLiteral("not a catalogue of this program"));
    if (size < kPrefixSize + kChecksumSize)
        return invalid(QStringLiteral("truncated"));
    uint32_t version = 0, mark = 0;
    uint64_t total = 0;
    std::memcpy(&version, bytes + 8, 4);
    std::memcpy(&mark, bytes + 12, 4);
    std::memcpy(&total, bytes + 16, 8);
    if (mark != kByteOrderMark)
        return invalid(QStringLiteral("written on a machine of another byte order"));
    if (version != KeptCatalogue::kFormatVersion)
        return invalid(
            QStringLiteral("format version %1, not %2").arg(version).arg(KeptCatalogue::kFormatVersion));
    if (total > size)
        return invalid(QStringLiteral("truncated (%1 of %2 bytes)").arg(size).arg(total));
    if (total != size)
        return invalid(QStringLiteral("damaged (%1 bytes, %2 expected)").arg(size).arg(total));
    uint64_t stored = 0;
    std::memcpy(&stored, bytes + size - kChecksumSize, kChecksumSize);
    if (stored != checksumOf(bytes, size - kChecksumSize))
        return invalid(QStringLiteral("damaged (checksum)"));

    KeptCatalogue kept;
    KeptHeader &h = kept.header;
    h.formatVersion = version;
    Reader r(bytes + kPrefixSize, size - kPrefixSize - kChecksumSize);
    h.programVersion = r.getString();
    h.madeMsecs = r.get<int64_t>();
    h.scanDrives = r.get<uint8_t>() != 0;
    h.folder = r.getString();
    h.enabledExtensions = r.getString();
    h.startScanC = r.getString();
    const uint32_t driveCount = r.get<uint32_t>();
    if (driveCount > 26)
        return invalid(QStringLiteral("damaged (drives)"));
    for (uint32_t i = 0; i < driveCount && r.ok(); ++i) {
        KeptDrive d;
        d.letter = QChar(r.get<char16_t>());
        d.nativeRoot = r.getString();
        d.serial = r.getString();
        d.driveType = r.get<int32_t>();
        d.scanned = r.get<uint8_t>() != 0;
        d.fileCount = r.get<int64_t>();
        d.fileBytes = r.get<int64_t>();
        if (d.letter < u'A' || d.letter > u'Z' || d.fileCount < 0 || d.fileBytes < 0)
            return invalid(QStringLiteral("damaged (drive)"));
        h.drives.push_back(std::move(d));
    }
    r.getNames(kept.storeNames);
    kept.nodes = r.getArray<CatalogueStore::Node>();
    kept.children = r.getArray<NodeId>();
    for (NodeId &root : kept.roots)
        root = r.get<NodeId>();
    kept.indexExtensions = r.getString();
    r.getNames(kept.indexNames);
    kept.folders = r.getArray<ScanIndex::Folder>();
    kept.files = r.getArray<ScanIndex::File>();
    const uint32_t rootCount = r.get<uint32_t>();
    if (rootCount > 26)
        return invalid(QStringLiteral("damaged (roots)"));
    for (uint32_t i = 0; i < rootCount && r.ok(); ++i) {
        ScanIndex::Root root;
        root.path = r.getString();
        root.folder = r.get<uint32_t>();
        kept.indexRoots.push_back(std::move(root));
    }
    if (!r.ok() || !r.atEnd())
        return invalid(QStringLiteral("damaged (layout)"));
    return kept;
}

QString KeptCataloguePath()
{
    return platform::keptCataloguePath();
}

platform::Status SaveKeptCatalogue(const QString &path, const KeptHeader &header, const CatalogueStore &store,
                                   const ScanIndex &index)
{
    return platform::writeFileAtomically(path, EncodeKeptCatalogue(header, store, index));
}

platform::ErrorOr<KeptCatalogue> LoadKeptCatalogue(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return makeError(Error::Kind::FileOpen, QStringLiteral("%1: %2").arg(path, file.errorString()));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return makeError(Error::Kind::FileOpen, QStringLiteral("%1: %2").arg(path, file.errorString()));
    return DecodeKeptCatalogue(data);
}

KeptWriter::~KeptWriter()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void KeptWriter::wait()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_pending && !m_busy; });
}

uint64_t KeptWriter::writesAsked()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_asked;
}

void KeptWriter::start(const QString &path, QByteArray data)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        ++m_asked;
        m_pending = Job{path, std::move(data)};
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
    }
    m_changed.notify_all();
}

void KeptWriter::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        // What is asked for is written before the writer stops.
        m_changed.wait(lock, [this] { return m_pending || m_stop; });
        if (!m_pending)
            return;
        const Job job = std::move(*m_pending);
        m_pending.reset();
        m_busy = true;
        lock.unlock();
        const platform::Status status = platform::writeFileAtomically(job.path, job.data);
        if (!status.ok())
            std::fprintf(stderr, "lumavista: the catalogue could not be kept: %s\n",
                         qPrintable(status.message()));
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}
