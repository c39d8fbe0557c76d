#include "catalogue/search/NameMatcher.h"

#include <array>
#include <memory>

namespace search {

namespace {

char16_t computeFold(char16_t unit)
{
    if (QChar::isSurrogate(unit))
        return unit;
    char32_t c = unit;
    // The base letter: canonical decompositions are followed down to their first character; the
    // others (width, font variants) only when they stand for one character.
    for (int depth = 0; depth < 4; ++depth) {
        const QString d = QChar::decomposition(c);
        if (d.isEmpty())
            break;
        const QChar::Decomposition tag = QChar::decompositionTag(c);
        if (tag != QChar::Canonical && d.size() != 1)
            break;
        if (d.at(0).isSurrogate())
            break;
        c = d.at(0).unicode();
    }
    c = QChar::toCaseFolded(c);
    c = QChar::toLower(c);
    // Letters with a stroke have no decomposition; people type them without it.
    switch (c) {
    case u'\u00F8': // o with stroke
        return u'o';
    case u'\u0111': // d with stroke
        return u'd';
    case u'\u0142': // l with stroke
        return u'l';
    case u'\u0127': // h with stroke
        return u'h';
    default:
        break;
    }
    return c > 0xFFFF ? unit : static_cast<char16_t>(c);
}

const std::array<char16_t, 65536> &foldTable()
{
    // Made once, on first use (thread-safe), for every unit: a lookup is all a name costs.
    static const std::unique_ptr<std::array<char16_t, 65536>> table = [] {
        auto t = std::make_unique<std::array<char16_t, 65536>>();
        for (uint32_t u = 0; u < 65536; ++u)
            (*t)[u] = computeFold(static_cast<char16_t>(u));
        return t;
    }();
    return *table;
}

bool isWildcard(char16_t c)
{
    return c == u'*' || c == u'?';
}

// A pattern over the whole text: '*' any run, '?' one unit. Backtracks to the last star only, which
// is enough for patterns of this kind (linear in practice, never exponential).
bool globMatch(std::u16string_view pattern, std::u16string_view text)
{
    size_t p = 0, t = 0;
    size_t starP = std::u16string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starT = t;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Natural order over any two sequences of UTF-16 units.
template <typename A, typename B> int natural(const A &a, int na, const B &b, int nb)
{
    const auto &table = foldTable();
    int i = 0, j = 0;
    while (i < na && j < nb) {
        const char16_t ca = a(i), cb = b(j);
        if (isDigit(ca) && isDigit(cb)) {
            // Digit runs by value: leading zeros aside, the longer run is the larger number.
            while (i < na && a(i) == u'0')
                ++i;
            while (j < nb && b(j) == u'0')
                ++j;
            int ei = i, ej = j;
            while (ei < na && isDigit(a(ei)))
                ++ei;
            while (ej < nb && isDigit(b(ej)))
                ++ej;
            if (ei - i != ej - j)
                return (ei - i) - (ej - j);
            for (; i < ei; ++i, ++j)
                if (a(i) != b(j))
                    return int(a(i)) - int(b(j));
            continue;
        }
        const char16_t fa = table[ca], fb = table[cb];
        if (fa != fb)
            return int(fa) - int(fb);
        ++i;
        ++j;
    }
    if (i < na || j < nb)
        return i < na ? 1 : -1;
    // Equal as people read them: the exact units decide, so that the order is total.
    const int n = std::min(na, nb);
    for (int k = 0; k < n; ++k)
        if (a(k) != b(k))
            return int(a(k)) - int(b(k));
    return na - nb;
}

} // namespace

char16_t foldUnit(char16_t unit)
{
    return foldTable()[unit];
}

char16_t foldLatin1(unsigned char c)
{
    return foldTable()[c];
}

QString fold(QStringView text)
{
    QString out(text.size(), Qt::Uninitialized);
    const auto &table = foldTable();
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = QChar(table[text[i].unicode()]);
    return out;
}

uint64_t letterBit(char16_t folded)
{
    if (folded >= u'a' && folded <= u'z')
        return uint64_t(1) << (folded - u'a');
    if (isDigit(folded))
        return uint64_t(1) << (26 + folded - u'0');
    return uint64_t(1) << (36 + folded % 28);
}

uint64_t letterMask(const StoredName &name)
{
    const auto &table = foldTable();
    uint64_t mask = 0;
    if (name.wide) {
        for (int i = 0; i < name.length; ++i)
            mask |= letterBit(table[name.wide[i]]);
    } else {
        for (int i = 0; i < name.length; ++i)
            mask |= letterBit(table[static_cast<unsigned char>(name.latin1[i])]);
    }
    return mask;
}

NameMatcher::NameMatcher(QStringView query)
{
    const auto &table = foldTable();
    qsizetype i = 0;
    const qsizetype n = query.size();
    while (i < n) {
        const QChar c = query[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Term term;
        if (c == u'"') {
            // A phrase: everything up to the closing quote, blanks included.
            qsizetype end = query.indexOf(u'"', i + 1);
            if (end < 0)
                end = n;
            for (qsizetype k = i + 1; k < end; ++k)
                term.text.push_back(table[query[k].unicode()]);
            i = end + 1;
        } else {
            while (i < n && !query[i].isSpace() && query[i] != u'"')
                term.text.push_back(table[query[i++].unicode()]);
        }
        for (char16_t u : term.text)
            term.pattern = term.pattern || isWildcard(u);
        // A phrase of blanks alone asks for nothing.
        if (term.text.find_first_not_of(u' ') != std::u16string::npos)
            m_terms.push_back(std::move(term));
    }
    m_lettersDecide = !m_terms.empty();
    for (const Term &t : m_terms) {
        for (char16_t u : t.text)
            if (!isWildcard(u))
                m_needed |= letterBit(u);
        const char16_t only = t.text.size() == 1 ? t.text[0] : u' ';
        m_lettersDecide = m_lettersDecide && !t.pattern && ((only >= u'a' && only <= u'z') || isDigit(only));
    }
}

bool NameMatcher::matchesFolded(std::u16string_view folded) const
{
    if (m_terms.empty())
        return false;
    for (const Term &t : m_terms) {
        if (t.pattern ? !globMatch(t.text, folded) : folded.find(t.text) == std::u16string_view::npos)
            return false;
    }
    return true;
}

bool NameMatcher::matches(QStringView name) const
{
    thread_local std::u16string buffer;
    const auto &table = foldTable();
    buffer.resize(size_t(name.size()));
    for (qsizetype i = 0; i < name.size(); ++i)
        buffer[size_t(i)] = table[name[i].unicode()];
    return matchesFolded(buffer);
}

namespace {
// A plain term in a Latin-1 name, folded as it goes: no buffer, one lookup a character.
bool containsFoldedLatin1(const std::array<char16_t, 65536> &table, const char *name, int length,
                          const std::u16string &term)
{
    const int n = int(term.size());
    const char16_t first = term[0];
    for (int k = 0; k + n <= length; ++k) {
        if (table[static_cast<unsigned char>(name[k])] != first)
            continue;
        int m = 1;
        while (m < n && table[static_cast<unsigned char>(name[k + m])] == term[size_t(m)])
            ++m;
        if (m == n)
            return true;
    }
    return false;
}
} // namespace

bool NameMatcher::matchesLatin1(const char *name, int length) const
{
    if (m_terms.empty())
        return false;
    bool plainOnly = true;
    for (const Term &t : m_terms)
        plainOnly = plainOnly && !t.pattern;
    if (plainOnly) {
        const auto &table = foldTable();
        for (const Term &t : m_terms)
            if (!containsFoldedLatin1(table, name, length, t.text))
                return false;
        return true;
    }
    char16_t local[256];
    thread_local std::u16string longer;
    const auto &table = foldTable();
    char16_t *out = local;
    if (length > 256) {
        longer.resize(size_t(length));
        out = longer.data();
    }
    for (int i = 0; i < length; ++i)
        out[i] = table[static_cast<unsigned char>(name[i])];
    return matchesFolded(std::u16string_view(out, size_t(length)));
}

bool NameMatcher::covers(const NameMatcher &narrower) const
{
    if (m_terms.empty() || narrower.m_terms.empty())
        return false;
    for (const Term &mine : m_terms) {
        bool implied = false;
        for (const Term &theirs : narrower.m_terms) {
            if (mine.pattern)
                implied = theirs.pattern && theirs.text == mine.text;
            else
                implied = !theirs.pattern && theirs.text.find(mine.text) != std::u16string::npos;
            if (implied)
                break;
        }
        if (!implied)
            return false;
    }
    return true;
}

int naturalCompare(QStringView a, QStringView b)
{
    return natural([&a](int i) { return char16_t(a[i].unicode()); }, int(a.size()),
                   [&b](int i) { return char16_t(b[i].unicode()); }, int(b.size()));
}

int naturalCompare(const StoredName &a, const StoredName &b)
{
    const auto latin = [](const char *t) {
        return [t](int i) { return char16_t(static_cast<unsigned char>(t[i])); };
    };
    const auto wide = [](const char16_t *t) { return [t](int i) { return t[i]; }; };
    if (a.wide)
        return b.wide ? natural(wide(a.wide), a.length, wide(b.wide), b.length)
                      : natural(wide(a.wide), a.length, latin(b.latin1), b.length);
    return b.wide ? natural(latin(a.latin1), a.length, wide(b.wide), b.length)
                  : natural(latin(a.latin1), a.length, latin(b.latin1), b.length);
}

void appendNaturalKey(const StoredName &name, std::vector<char16_t> &out)
{
    const auto unit = [&name](int i) {
        return name.wide ? name.wide[i] : char16_t(static_cast<unsigned char>(name.latin1[i]));
    };
    const auto &table = foldTable();
    for (int i = 0; i < name.length;) {
        if (!isDigit(unit(i))) {
            out.push_back(table[unit(i)]);
            ++i;
            continue;
        }
        // A number: a digit (so that it sorts against other characters as a digit does), its length
        // without leading zeros, then its digits.
        while (i < name.length && unit(i) == u'0')
            ++i;
        int end = i;
        while (end < name.length && isDigit(unit(end)))
            ++end;
        out.push_back(u'0');
        out.push_back(char16_t(std::min(end - i, 0xFFFF)));
        for (; i < end; ++i)
            out.push_back(unit(i));
    }
}

} // namespace search
