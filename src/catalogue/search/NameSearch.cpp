#include "catalogue/search/NameSearch.h"

#include "catalogue/store/ScanIndex.h"

#include <algorithm>
#include <thread>

namespace search {

namespace {

// Checks between two looks at the serial: a later keystroke is noticed within a millisecond or so.
constexpr uint32_t kCheckEvery = 16384;
// From this many files on, a search's pass over the names is shared by two threads.
constexpr uint32_t kParallelFiles = 200000;

StoredName storedName(const NameTable &names, uint32_t id)
{
    StoredName n;
    n.length = names.length(id);
    if (names.isWide(id))
        n.wide = names.wideData(id);
    else
        n.latin1 = names.latin1Data(id);
    return n;
}

bool nameMatches(const NameTable &names, const NameMatcher &matcher, uint32_t id)
{
    if (names.isWide(id))
        return matcher.matches(QStringView(names.wideData(id), names.length(id)));
    return matcher.matchesLatin1(names.latin1Data(id), names.length(id));
}

// Thrown out of the sort when a newer search or a change of the index wants the thread.
struct Overtaken
{
};

} // namespace

bool PreparedNames::build(const ScanIndex &index, const std::atomic<uint64_t> &serial, uint64_t mine)
{
    const auto &files = index.files();
    const auto &folders = index.folders();
    const NameTable &names = index.names();
    // The distinct names of the files, sorted by their natural keys (exact spelling breaking ties),
    // then the files by the rank of their name: a counting sort, file order among equal names.
    std::vector<uint32_t> ids;
    ids.reserve(files.size());
    for (const ScanIndex::File &f : files)
        ids.push_back(f.name);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    std::vector<char16_t> keys;
    std::vector<uint32_t> keyStart;
    keyStart.reserve(ids.size() + 1);
    for (uint32_t id : ids) {
        keyStart.push_back(uint32_t(keys.size()));
        appendNaturalKey(storedName(names, id), keys);
    }
    keyStart.push_back(uint32_t(keys.size()));
    std::vector<uint32_t> byKey(ids.size());
    for (uint32_t i = 0; i < byKey.size(); ++i)
        byKey[i] = i;
    uint32_t steps = 0;
    try {
        std::sort(byKey.begin(), byKey.end(), [&](uint32_t a, uint32_t b) {
            if (++steps % kCheckEvery == 0 && serial.load(std::memory_order_relaxed) != mine)
                throw Overtaken();
            const std::u16string_view ka(keys.data() + keyStart[a], keyStart[a + 1] - keyStart[a]);
            const std::u16string_view kb(keys.data() + keyStart[b], keyStart[b + 1] - keyStart[b]);
            const int c = ka.compare(kb);
            if (c != 0)
                return c < 0;
            return naturalCompare(storedName(names, ids[a]), storedName(names, ids[b])) < 0;
        });
    } catch (const Overtaken &) {
        return false;
    }
    std::vector<char16_t>().swap(keys);
    std::vector<uint32_t> rank(names.size(), 0);
    for (uint32_t r = 0; r < byKey.size(); ++r)
        rank[ids[byKey[r]]] = r;
    std::vector<uint32_t> next(byKey.size() + 1, 0);
    for (const ScanIndex::File &f : files)
        ++next[rank[f.name] + 1];
    for (size_t r = 1; r < next.size(); ++r)
        next[r] += next[r - 1];
    m_order.assign(files.size(), 0);
    for (uint32_t i = 0; i < files.size(); ++i)
        m_order[next[rank[files[i].name]]++] = i;

    m_letters.resize(files.size());
    for (uint32_t i = 0; i < files.size(); ++i)
        m_letters[i] = lettersOf(index, i);

    m_parents.assign(folders.size(), 0);
    for (uint32_t i = 0; i < folders.size(); ++i)
        m_parents[i] = i;
    // Walk order: the children of folder i are i + 1, then each next one at the previous one's end.
    for (uint32_t i = 0; i < folders.size(); ++i)
        for (uint32_t c = i + 1; c < folders[i].end; c = folders[c].end)
            m_parents[c] = i;
    findStarts(index);
    return true;
}

uint64_t PreparedNames::lettersOf(const ScanIndex &index, uint32_t file) const
{
    return letterMask(storedName(index.names(), index.files()[file].name));
}

void PreparedNames::findStarts(const ScanIndex &index)
{
    const auto &folders = index.folders();
    std::vector<std::pair<uint32_t, uint32_t>> starts;
    for (uint32_t i = 0; i < folders.size(); ++i)
        if (folders[i].fileCount > 0)
            starts.emplace_back(folders[i].firstFile, i);
    std::sort(starts.begin(), starts.end());
    m_fileStarts.clear();
    m_startFolder.clear();
    m_fileStarts.reserve(starts.size());
    m_startFolder.reserve(starts.size());
    for (const auto &[first, folder] : starts) {
        m_fileStarts.push_back(first);
        m_startFolder.push_back(folder);
    }
}

uint32_t PreparedNames::folderOfFile(uint32_t file) const
{
    const auto it = std::upper_bound(m_fileStarts.begin(), m_fileStarts.end(), file);
    return it == m_fileStarts.begin() ? 0 : m_startFolder[size_t(it - m_fileStarts.begin() - 1)];
}

QString PreparedNames::folderPath(const ScanIndex &index, uint32_t folder) const
{
    if (folder >= m_parents.size())
        return {};
    std::vector<uint32_t> chain;
    uint32_t f = folder;
    while (m_parents[f] != f) {
        chain.push_back(f);
        f = m_parents[f];
    }
    QString path;
    for (const ScanIndex::Root &root : index.roots())
        if (root.folder == f)
            path = root.path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        index.names().appendTo(index.folder(*it).name, path);
        path += u'\\';
    }
    return path;
}

void PreparedNames::fileRemoved(uint32_t file)
{
    if (file < m_letters.size())
        m_letters.erase(m_letters.begin() + qsizetype(file));
    m_order.erase(std::remove(m_order.begin(), m_order.end(), file), m_order.end());
    for (uint32_t &f : m_order)
        if (f > file)
            --f;
    for (uint32_t &start : m_fileStarts)
        if (start > file)
            --start;
}

void PreparedNames::filesReplaced(const ScanIndex &index, uint32_t first, uint32_t oldCount,
                                  uint32_t newCount)
{
    const uint32_t oldEnd = first + oldCount;
    const int64_t delta = int64_t(newCount) - int64_t(oldCount);
    size_t kept = 0;
    for (uint32_t f : m_order) {
        if (f >= first && f < oldEnd)
            continue;
        m_order[kept++] = f >= oldEnd ? uint32_t(int64_t(f) + delta) : f;
    }
    m_order.resize(kept);
    // Made anew at their exact size: a million masks are not to double their room for a few.
    std::vector<uint64_t> letters;
    letters.reserve(index.files().size());
    const auto cut = [&](size_t at) { return m_letters.begin() + qsizetype(std::min(at, m_letters.size())); };
    letters.insert(letters.end(), m_letters.begin(), cut(first));
    for (uint32_t i = 0; i < newCount; ++i)
        letters.push_back(lettersOf(index, first + i));
    letters.insert(letters.end(), cut(oldEnd), m_letters.end());
    m_letters.swap(letters);

    // The new files go where a fresh sort would put them: by natural key, then spelling, then place.
    const auto &files = index.files();
    const NameTable &names = index.names();
    std::vector<char16_t> key, otherKey;
    const auto keyOf = [&](uint32_t file, std::vector<char16_t> &out) {
        out.clear();
        appendNaturalKey(storedName(names, files[file].name), out);
    };
    const auto before = [&](uint32_t a, const std::vector<char16_t> &aKey, uint32_t b) {
        keyOf(b, otherKey);
        const int c = std::u16string_view(aKey.data(), aKey.size())
                          .compare(std::u16string_view(otherKey.data(), otherKey.size()));
        if (c != 0)
            return c < 0;
        if (files[a].name != files[b].name) {
            const int n = naturalCompare(storedName(names, files[a].name), storedName(names, files[b].name));
            if (n != 0)
                return n < 0;
        }
        return a < b;
    };
    std::vector<std::pair<size_t, uint32_t>> places; // where in the kept order, which file
    places.reserve(newCount);
    for (uint32_t f = first; f < first + newCount; ++f) {
        keyOf(f, key);
        size_t lo = 0, hi = m_order.size();
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            if (!before(f, key, m_order[mid]))
                lo = mid + 1;
            else
                hi = mid;
        }
        places.emplace_back(lo, f);
    }
    // Files falling at the same place keep their own order among themselves.
    std::sort(places.begin(), places.end(), [&](const auto &a, const auto &b) {
        if (a.first != b.first)
            return a.first < b.first;
        keyOf(a.second, key);
        return before(a.second, key, b.second);
    });
    std::vector<uint32_t> order;
    order.reserve(m_order.size() + places.size());
    size_t from = 0;
    for (const auto &[at, file] : places) {
        order.insert(order.end(), m_order.begin() + qsizetype(from), m_order.begin() + qsizetype(at));
        order.push_back(file);
        from = at;
    }
    order.insert(order.end(), m_order.begin() + qsizetype(from), m_order.end());
    m_order.swap(order);
    findStarts(index);
}

size_t PreparedNames::memoryBytes() const
{
    return (m_order.capacity() + m_fileStarts.capacity() + m_startFolder.capacity() + m_parents.capacity()) *
               sizeof(uint32_t) +
           m_letters.capacity() * sizeof(uint64_t);
}

bool SearchNames(const ScanIndex &index, const PreparedNames &prepared, const NameMatcher &matcher,
                 MediaType type, const Results *narrowing, const std::atomic<uint64_t> &serial, uint64_t mine,
                 std::vector<uint32_t> &out)
{
    out.clear();
    if (matcher.isEmpty())
        return true;
    const auto &files = index.files();
    const NameTable &names = index.names();
    const uint32_t wanted = type == mtALL ? 0 : uint32_t(code(type));
    const auto overtaken = [&] { return serial.load(std::memory_order_relaxed) != mine; };
    const std::vector<uint64_t> &letters = prepared.letters();
    const uint64_t needed = matcher.neededLetters();
    // Tables out of step with the index (never expected) only lose the shortcut.
    const bool masked = letters.size() == files.size();
    const bool decided = masked && matcher.lettersDecide();
    const auto matches = [&](uint32_t i) {
        if (masked && (letters[i] & needed) != needed)
            return false;
        return decided || nameMatches(names, matcher, files[i].name);
    };
    if (narrowing) {
        // The last results, already in order: only they can still match.
        uint32_t steps = 0;
        for (uint32_t f : narrowing->files) {
            if (++steps % kCheckEvery == 0 && overtaken())
                return false;
            if ((wanted == 0 || files[f].type == wanted) && matches(f))
                out.push_back(f);
        }
        return true;
    }
    // One pass over the files as they are kept (the names lie in about the same order), then one over
    // the natural order picking the files marked.
    std::vector<uint64_t> marks((files.size() + 63) / 64, 0);
    // Marks the files of [from, to) (from a multiple of 64: the halves share no word of marks).
    const auto pass = [&](uint32_t from, uint32_t to, size_t &count) {
        for (uint32_t i = from; i < to; ++i) {
            if ((i - from) % kCheckEvery == 0 && overtaken())
                return false;
            const ScanIndex::File &f = files[i];
            if ((wanted == 0 || f.type == wanted) && matches(i)) {
                marks[i / 64] |= uint64_t(1) << (i % 64);
                ++count;
            }
        }
        return true;
    };
    const auto n = uint32_t(files.size());
    size_t count = 0, secondCount = 0;
    bool secondDone = true;
    // A large catalogue is looked through by two threads, one half each.
    const uint32_t half = n >= kParallelFiles ? (n / 2) & ~63u : n;
    std::thread second;
    if (half < n)
        second = std::thread([&] { secondDone = pass(half, n, secondCount); });
    const bool firstDone = pass(0, half, count);
    if (second.joinable())
        second.join();
    if (!firstDone || !secondDone)
        return false;
    count += secondCount;
    out.reserve(count);
    for (uint32_t f : prepared.order())
        if (marks[f / 64] >> (f % 64) & 1)
            out.push_back(f);
    return true;
}

NameSearch::NameSearch(const ScanIndex &index, QObject *parent)
    : QObject(parent), m_index(index), m_thread([this] { work(); })
{
}

NameSearch::~NameSearch()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        ++m_serial;
        ++m_releases;
    }
    m_wake.notify_all();
    m_thread.join();
}

uint64_t NameSearch::start(const QString &query, MediaType type)
{
    uint64_t serial;
    {
        std::lock_guard lock(m_mutex);
        serial = ++m_serial;
        m_job = Job{serial, query, type};
    }
    m_wake.notify_all();
    return serial;
}

void NameSearch::cancel()
{
    std::lock_guard lock(m_mutex);
    ++m_serial;
    m_job.reset();
}

void NameSearch::prepare()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_job)
            return;
        m_job = Job{m_serial.load(), QString(), mtALL, true};
    }
    m_wake.notify_all();
}

void NameSearch::waitIdle(std::unique_lock<std::mutex> &lock)
{
    m_idle.wait(lock, [this] { return !m_busy; });
}

std::shared_ptr<const Results> NameSearch::runNow(const QString &query, MediaType type)
{
    std::unique_lock lock(m_mutex);
    const uint64_t serial = ++m_serial;
    m_job.reset();
    waitIdle(lock);
    m_busy = true;
    lock.unlock();
    std::shared_ptr<Results> results = perform(Job{serial, query, type});
    lock.lock();
    m_busy = false;
    m_idle.notify_all();
    return results;
}

void NameSearch::release()
{
    std::unique_lock lock(m_mutex);
    ++m_serial;
    ++m_releases;
    m_job.reset();
    waitIdle(lock);
    m_ready = false;
    m_prepared = PreparedNames();
    m_last.reset();
}

void NameSearch::hold()
{
    std::unique_lock lock(m_mutex);
    ++m_serial;
    m_job.reset();
    waitIdle(lock);
}

void NameSearch::fileRemoved(uint32_t file)
{
    std::unique_lock lock(m_mutex);
    waitIdle(lock);
    m_last.reset();
    if (m_ready)
        m_prepared.fileRemoved(file);
}

void NameSearch::filesReplaced(uint32_t first, uint32_t oldCount, uint32_t newCount)
{
    std::unique_lock lock(m_mutex);
    waitIdle(lock);
    m_last.reset();
    if (m_ready)
        m_prepared.filesReplaced(m_index, first, oldCount, newCount);
}

QString NameSearch::folderOf(uint32_t file) const
{
    if (!m_ready || file >= m_index.files().size())
        return {};
    return m_prepared.folderPath(m_index, m_prepared.folderOfFile(file));
}

size_t NameSearch::memoryBytes() const
{
    return m_prepared.memoryBytes();
}

std::shared_ptr<Results> NameSearch::perform(const Job &job)
{
    if (!m_ready) {
        if (!m_prepared.build(m_index, m_releases, m_releases.load()))
            return nullptr;
        m_ready = true;
    }
    if (job.prepareOnly)
        return nullptr;
    const NameMatcher matcher(job.query);
    std::shared_ptr<const Results> last;
    {
        std::lock_guard lock(m_mutex);
        last = m_last;
    }
    // Narrowing pays while the last results are few next to the whole catalogue.
    const Results *narrowing = nullptr;
    if (last && (last->type == mtALL || last->type == job.type) &&
        last->files.size() * 8 < m_index.files().size() && NameMatcher(last->query).covers(matcher))
        narrowing = last.get();
    auto results = std::make_shared<Results>();
    results->serial = job.serial;
    results->query = job.query;
    results->type = job.type;
    if (!SearchNames(m_index, m_prepared, matcher, job.type, narrowing, m_serial, job.serial, results->files))
        return nullptr;
    std::lock_guard lock(m_mutex);
    m_last = results;
    return results;
}

void NameSearch::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_quit || m_job.has_value(); });
        if (m_quit)
            return;
        const Job job = *m_job;
        m_job.reset();
        m_busy = true;
        lock.unlock();
        std::shared_ptr<const Results> results = perform(job);
        if (results)
            QMetaObject::invokeMethod(
                this,
                [this, results] {
                    // Delivered only while no newer search was asked for.
                    if (results->serial == m_serial.load())
                        emit found(results);
                },
                Qt::QueuedConnection);
        lock.lock();
        m_busy = false;
        m_idle.notify_all();
    }
}

} // namespace search
