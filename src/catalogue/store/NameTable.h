// Interned folder names: each distinct name is kept once, whatever the number of nodes that carry
// it, and named by a 32-bit id. Names that fit in Latin-1 (plain and Western accented names: nearly
// all) take one byte a character; others keep their UTF-16.
//
// Rules: ids are dense from 0 and stay valid until clear(); the same text always gives the same id;
// texts compare exactly (case-sensitive) for identity.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class NameTable
{
public:
    uint32_t intern(QStringView name);
    QString text(uint32_t id) const;
    // Compares the stored name with other: negative, zero or positive, like QString::compare.
    int compare(uint32_t id, QStringView other, Qt::CaseSensitivity cs) const;
    bool equals(uint32_t id, QStringView other) const;
    // Two stored names compared, as compare() does.
    int compareIds(uint32_t a, uint32_t b, Qt::CaseSensitivity cs) const;
    int length(uint32_t id) const { return int(m_entries[id].length); }
    // Appends the name to out.
    void appendTo(uint32_t id, QString &out) const;
    // Appends the name as UTF-8 to out; false (out unchanged) for a name kept in UTF-16, whose
    // spelling on disk the caller must work out itself.
    bool appendUtf8(uint32_t id, QByteArray &out) const;

    size_t size() const { return m_entries.size(); }
    // The stored text itself, for readers that make no QString (the search): Latin-1 bytes, or
    // UTF-16 units for a wide name.
    bool isWide(uint32_t id) const { return m_entries[id].wide; }
    const char *latin1Data(uint32_t id) const { return m_latin1.data() + m_entries[id].offset; }
    const char16_t *wideData(uint32_t id) const { return m_wide.data() + m_entries[id].offset; }
    // Gives back the lookup table that only intern() needs (a complete scan adds no more names); the
    // next intern() makes it again.
    void releaseLookup();

    // The table as plain arrays (the kept catalogue): the Latin-1 and UTF-16 texts, and per name its
    // offset and its length (bit 31: in the UTF-16 texts).
    const std::vector<char> &latin1Texts() const { return m_latin1; }
    const std::vector<char16_t> &wideTexts() const { return m_wide; }
    std::vector<uint32_t> entryWords() const;
    // Takes such arrays back; false (and the table left empty) when an entry lies outside its texts.
    bool assign(std::vector<char> latin1, std::vector<char16_t> wide,
                const std::vector<uint32_t> &entryWords);
    size_t memoryBytes() const;
    void clear();

private:
    struct Entry
    {
        uint32_t offset;
        uint32_t length : 31;
        uint32_t wide : 1;
    };
    static uint32_t hashOf(QStringView name);
    uint32_t hashOf(uint32_t id) const;
    void grow();

    std::vector<char> m_latin1;
    std::vector<char16_t> m_wide;
    std::vector<Entry> m_entries;
    std::vector<uint32_t> m_slots; // open addressing: id + 1, 0 for an empty slot
};
