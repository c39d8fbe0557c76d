#include "catalogue/store/NameTable.h"

#include <algorithm>

namespace {
bool fitsLatin1(QStringView name)
{
    return std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x100; });
}

// FNV-1a over the 16-bit code units, so both storages of a name hash alike.
constexpr uint32_t kOffset = 2166136261u;
constexpr uint32_t kPrime = 16777619u;
inline uint32_t mix(uint32_t h, char16_t unit)
{
    h = (h ^ (unit & 0xFF)) * kPrime;
    return (h ^ (unit >> 8)) * kPrime;
}
} // namespace

uint32_t NameTable::hashOf(QStringView name)
{
    uint32_t h = kOffset;
    for (QChar c : name)
        h = mix(h, c.unicode());
    return h;
}

uint32_t NameTable::hashOf(uint32_t id) const
{
    const Entry &e = m_entries[id];
    uint32_t h = kOffset;
    if (e.wide) {
        for (uint32_t i = 0; i < e.length; ++i)
            h = mix(h, m_wide[e.offset + i]);
    } else {
        for (uint32_t i = 0; i < e.length; ++i)
            h = mix(h, static_cast<unsigned char>(m_latin1[e.offset + i]));
    }
    return h;
}

bool NameTable::equals(uint32_t id, QStringView other) const
{
    const Entry &e = m_entries[id];
    if (qsizetype(e.length) != other.size())
        return false;
    if (e.wide)
        return QStringView(m_wide.data() + e.offset, e.length) == other;
    return QLatin1String(m_latin1.data() + e.offset, e.length).compare(other) == 0;
}

int NameTable::compare(uint32_t id, QStringView other, Qt::CaseSensitivity cs) const
{
    const Entry &e = m_entries[id];
    if (e.wide)
        return QStringView(m_wide.data() + e.offset, e.length).compare(other, cs);
    return QLatin1String(m_latin1.data() + e.offset, e.length).compare(other, cs);
}

int NameTable::compareIds(uint32_t a, uint32_t b, Qt::CaseSensitivity cs) const
{
    const Entry &e = m_entries[b];
    if (e.wide)
        return compare(a, QStringView(m_wide.data() + e.offset, e.length), cs);
    const Entry &f = m_entries[a];
    const QLatin1String other(m_latin1.data() + e.offset, e.length);
    if (f.wide)
        return QStringView(m_wide.data() + f.offset, f.length).compare(other, cs);
    return QLatin1String(m_latin1.data() + f.offset, f.length).compare(other, cs);
}

QString NameTable::text(uint32_t id) const
{
    QString out;
    appendTo(id, out);
    return out;
}

void NameTable::appendTo(uint32_t id, QString &out) const
{
    const Entry &e = m_entries[id];
    if (e.wide)
        out += QStringView(m_wide.data() + e.offset, e.length);
    else
        out += QLatin1String(m_latin1.data() + e.offset, e.length);
}

bool NameTable::appendUtf8(uint32_t id, QByteArray &out) const
{
    const Entry &e = m_entries[id];
    if (e.wide)
        return false;
    const char *text = m_latin1.data() + e.offset;
    for (uint32_t i = 0; i < e.length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return true;
}

uint32_t NameTable::intern(QStringView name)
{
    if ((m_entries.size() + 1) * 2 > m_slots.size())
        grow();
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = hashOf(name) & mask;; slot = (slot + 1) & mask) {
        const uint32_t found = m_slots[slot];
        if (found == 0) {
            const auto id = static_cast<uint32_t>(m_entries.size());
            Entry e{};
            e.length = static_cast<uint32_t>(name.size());
            if (fitsLatin1(name)) {
                e.offset = static_cast<uint32_t>(m_latin1.size());
                for (QChar c : name)
                    m_latin1.push_back(static_cast<char>(c.unicode()));
            } else {
                e.wide = 1;
                e.offset = static_cast<uint32_t>(m_wide.size());
                m_wide.insert(m_wide.end(), name.utf16(), name.utf16() + name.size());
            }
            m_entries.push_back(e);
            m_slots[slot] = id + 1;
            return id;
        }
        if (equals(found - 1, name))
            return found - 1;
    }
}

void NameTable::releaseLookup()
{
    std::vector<uint32_t>().swap(m_slots);
    m_latin1.shrink_to_fit();
    m_wide.shrink_to_fit();
    m_entries.shrink_to_fit();
}

void NameTable::grow()
{
    // Twice the names at least: after releaseLookup() the table is made again at its full size.
    size_t slotCount = std::max<size_t>(64, m_slots.size() * 2);
    while (slotCount < (m_entries.size() + 1) * 2)
        slotCount *= 2;
    std::vector<uint32_t> table(slotCount, 0);
    const size_t mask = table.size() - 1;
    for (uint32_t id = 0; id < m_entries.size(); ++id) {
        size_t slot = hashOf(id) & mask;
        while (table[slot] != 0)
            slot = (slot + 1) & mask;
        table[slot] = id + 1;
    }
    m_slots.swap(table);
}

size_t NameTable::memoryBytes() const
{
    return m_latin1.capacity() + m_wide.capacity() * sizeof(char16_t) + m_entries.capacity() * sizeof(Entry) +
           m_slots.capacity() * sizeof(uint32_t);
}

void NameTable::clear()
{
    // Swapped with empty ones: a clear gives the memory of a large catalogue back.
    std::vector<char>().swap(m_latin1);
    std::vector<char16_t>().swap(m_wide);
    std::vector<Entry>().swap(m_entries);
    std::vector<uint32_t>().swap(m_slots);
}

std::vector<uint32_t> NameTable::entryWords() const
{
    std::vector<uint32_t> words;
    words.reserve(m_entries.size() * 2);
    for (const Entry &e : m_entries) {
        words.push_back(e.offset);
        words.push_back(e.length | uint32_t(e.wide) << 31);
    }
    return words;
}

bool NameTable::assign(std::vector<char> latin1, std::vector<char16_t> wide,
                       const std::vector<uint32_t> &words)
{
    clear();
    if (words.size() % 2 != 0)
        return false;
    std::vector<Entry> entries;
    entries.reserve(words.size() / 2);
    for (size_t i = 0; i < words.size(); i += 2) {
        Entry e{};
        e.offset = words[i];
        e.length = words[i + 1] & 0x7FFFFFFFu;
        e.wide = words[i + 1] >> 31;
        const size_t limit = e.wide ? wide.size() : latin1.size();
        if (size_t(e.offset) > limit || size_t(e.length) > limit - size_t(e.offset))
            return false;
        entries.push_back(e);
    }
    m_latin1 = std::move(latin1);
    m_wide = std::move(wide);
    m_entries = std::move(entries);
    // The slots are made again rather than kept: their layout is the table's own business.
    std::vector<uint32_t>().swap(m_slots);
    size_t slotCount = 64;
    while (slotCount < (m_entries.size() + 1) * 2)
        slotCount *= 2;
    m_slots.assign(slotCount, 0);
    const size_t mask = slotCount - 1;
    for (uint32_t id = 0; id < m_entries.size(); ++id) {
        size_t slot = hashOf(id) & mask;
        while (m_slots[slot] != 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = id + 1;
    }
    return true;
}
