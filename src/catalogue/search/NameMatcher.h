// What a search typed in the catalogue asks of a file name, without any window: the query is split
// into terms, each of which the name must satisfy, and names are ordered as people count.
//
// Rules:
// - Matching ignores case and accents: both sides are folded one character to one character
//   (lower case, then the base letter of a decomposable one: "É" and "é" fold to "e").
// - A plain word must occur somewhere in the name. A quoted phrase ("photo de") is one term, blanks
//   included; a quote left open runs to the end of the query.
// - A term holding `*` (any run of characters) or `?` (exactly one) is a pattern over the whole
//   name, as a shell's: "*.bmp" finds the names ending in ".bmp", "ph?to*" those starting so.
// - A query with no term (empty, blanks, lone quotes) matches nothing: there is no search.
// - Natural order: runs of digits compare by their value ("photo 2" before "photo 10"), the rest
//   folded; names equal so far are ordered exactly, so the order is total.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <string>
#include <vector>

namespace search {

// The folded form of one UTF-16 unit (surrogates and unassigned units stay as they are).
char16_t foldUnit(char16_t unit);
// The folded form of a Latin-1 character, as a UTF-16 unit.
char16_t foldLatin1(unsigned char c);
QString fold(QStringView text);

// A name as a store keeps it: Latin-1 bytes, or UTF-16 units when wide is set.
struct StoredName
{
    const char *latin1 = nullptr;
    const char16_t *wide = nullptr;
    int length = 0;
};

// The folded units a name holds, as bits: one of its own for each of a..z and 0..9, the others
// sharing the rest. A name lacking a bit a query needs (NameMatcher::neededLetters) cannot match it,
// and the test costs one AND where matching costs a pass over the name.
uint64_t letterBit(char16_t folded);
uint64_t letterMask(const StoredName &name);

class NameMatcher
{
public:
    struct Term
    {
        std::u16string text; // folded
        bool pattern = false;
    };

    explicit NameMatcher(QStringView query);

    bool isEmpty() const { return m_terms.empty(); }
    const std::vector<Term> &terms() const { return m_terms; }

    bool matches(QStringView name) const;
    // The same for a name kept in Latin-1 (one byte a character).
    bool matchesLatin1(const char *name, int length) const;
    // Whether every name this matcher accepts is also accepted by narrower: then a search for narrower
    // may look only among this one's results (typing one more letter).
    bool covers(const NameMatcher &narrower) const;
    // The letterMask bits of every unit the terms ask for, wildcards aside.
    uint64_t neededLetters() const { return m_needed; }
    // Whether a name having those bits matches: every term is one letter or digit (the first keys
    // typed, which find the most names).
    bool lettersDecide() const { return m_lettersDecide; }

private:
    bool matchesFolded(std::u16string_view folded) const;
    std::vector<Term> m_terms;
    uint64_t m_needed = 0;
    bool m_lettersDecide = false;
};

// Natural order of two names: negative, zero or positive.
int naturalCompare(QStringView a, QStringView b);
// The same over stored names, without making QStrings.
int naturalCompare(const StoredName &a, const StoredName &b);
// A key whose plain order (unit by unit) is the natural order, but for names that differ only in
// case, accents or leading zeros: sorting a million names by keys is many times faster.
void appendNaturalKey(const StoredName &name, std::vector<char16_t> &out);

} // namespace search
