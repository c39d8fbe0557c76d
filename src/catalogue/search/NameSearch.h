// The search over the media file names the catalogue keeps (ScanIndex), never over the disks, on a
// thread of its own so that typing never waits for it.
//
// Rules:
// - A search started while another one runs overtakes it: the older one stops at its next check
//   and its results are never delivered. Results reach the interface thread through found(), in
//   natural order of names (NameMatcher.h), each a file of the index.
// - The names lacking a letter the query needs are passed over without being read (letterMask);
//   a query of single letters is answered by the masks alone.
// - Once per index the thread prepares the files in natural order and each file's folder; a search
//   then costs one pass over the names. Typing one more letter looks only among the last results
//   when they are few.
// - The preparation is not given up for a newer search (that one waits for it), only when the
//   index is released; it may be asked for ahead (prepare()), as soon as an index is in place, so
//   the first key typed does not wait for it.
// - The index must not change under the thread: whoever changes it calls release() first, which
//   waits for the thread to let go and forgets what was prepared.
#pragma once

#include "app/MediaType.h"
#include "catalogue/search/NameMatcher.h"

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class ScanIndex;

namespace search {

struct Results
{
    uint64_t serial = 0;
    QString query;
    MediaType type = mtALL;
    std::vector<uint32_t> files; // indices into the index's files
};

// What a search needs beyond the index, made once per index.
class PreparedNames
{
public:
    // False when stop was raised meanwhile (the tables are then left empty).
    bool build(const ScanIndex &index, const std::atomic<uint64_t> &serial, uint64_t mine);
    const std::vector<uint32_t> &order() const { return m_order; }
    // Each file's letterMask, in the index's order of files.
    const std::vector<uint64_t> &letters() const { return m_letters; }
    // The folder (index into the index's folders) holding a file.
    uint32_t folderOfFile(uint32_t file) const;
    // A folder's drive path with its trailing backslash ("C:\Photos\2000\").
    QString folderPath(const ScanIndex &index, uint32_t folder) const;
    size_t memoryBytes() const;
    // The index lost a file (ScanIndex::removeFile): the tables follow without being made again.
    void fileRemoved(uint32_t file);
    // A folder's files were replaced (ScanIndex::replaceFiles): the oldCount files from first gave
    // way to newCount others there, the later files moved by the difference.
    void filesReplaced(const ScanIndex &index, uint32_t first, uint32_t oldCount, uint32_t newCount);

private:
    void findStarts(const ScanIndex &index);
    uint64_t lettersOf(const ScanIndex &index, uint32_t file) const;

    std::vector<uint32_t> m_order; // file indices in natural order of their names
    std::vector<uint64_t> m_letters;
    std::vector<uint32_t> m_fileStarts; // first file of each folder holding files, ascending
    std::vector<uint32_t> m_startFolder;
    std::vector<uint32_t> m_parents; // per folder; its own index for a root's folder
};

// Runs one search over a prepared index (any thread). Returns false when serial moved on meanwhile.
bool SearchNames(const ScanIndex &index, const PreparedNames &prepared, const NameMatcher &matcher,
                 MediaType type, const Results *narrowing, const std::atomic<uint64_t> &serial, uint64_t mine,
                 std::vector<uint32_t> &out);

class NameSearch : public QObject
{
    Q_OBJECT
public:
    explicit NameSearch(const ScanIndex &index, QObject *parent = nullptr);
    ~NameSearch() override;

    // Starts a search of the media files of a type (ALL: every type); returns its serial.
    uint64_t start(const QString &query, MediaType type);
    // Stops the search under way, if any: nothing more is delivered.
    void cancel();
    // Prepares the index on the thread now, unless it is prepared or a search is waiting.
    void prepare();
    bool prepared() const { return m_ready; }
    // The same search, run here and now (waits for the thread first).
    std::shared_ptr<const Results> runNow(const QString &query, MediaType type);
    // The index is about to change: waits until the thread lets go of it, forgets what was prepared.
    void release();
    // Stops the search under way and waits for the thread to let go of the index, keeping what was
    // prepared; then the index may lose a file, told by fileRemoved(), or a folder's files, told by
    // filesReplaced(), before the next search.
    void hold();
    void fileRemoved(uint32_t file);
    void filesReplaced(uint32_t first, uint32_t oldCount, uint32_t newCount);

    // Valid for the files of delivered results, until release().
    QString folderOf(uint32_t file) const;
    size_t memoryBytes() const;
    const ScanIndex &index() const { return m_index; }

signals:
    void found(std::shared_ptr<const search::Results> results);

private:
    struct Job
    {
        uint64_t serial;
        QString query;
        MediaType type;
        bool prepareOnly = false;
    };
    void work();
    std::shared_ptr<Results> perform(const Job &job);
    void waitIdle(std::unique_lock<std::mutex> &lock);

    const ScanIndex &m_index;
    PreparedNames m_prepared;
    std::atomic<bool> m_ready{false}; // m_prepared matches the index
    std::shared_ptr<const Results> m_last;
    std::atomic<uint64_t> m_serial{0};
    std::atomic<uint64_t> m_releases{0}; // a preparation under way stops when this moves
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::optional<Job> m_job;
    bool m_busy = false;
    bool m_quit = false;
    std::thread m_thread;
};

} // namespace search
