// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/frequency.h"

#include "common/codepage.h"
#include "common/files.h"
#include "common/unicode.h"
#include "dictionary/dictionary_encoding.h"
#include "dictionary/line_format.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <numeric>
#include <thread>

namespace vb {

namespace {

// ---------------------------------------------------------------------------------------------------
// Bytes of a text

enum ByteClass : unsigned char {
    kWordByte = 0,
    kSeparator = 1,
    // The apostrophe and the hyphen: word bytes unless what follows ends them.
    kJoiner = 2,
};

constexpr std::array<unsigned char, 256> MakeByteClasses()
{
    std::array<unsigned char, 256> t{};
    const auto range = [&t](int from, int to) {
        for (int b = from; b <= to; ++b) {
            t[static_cast<std::size_t>(b)] = kSeparator;
        }
    };
    range(1, 16);
    range(18, 19);
    range(32, 38);
    range(40, 44);
    range(46, 64);
    range(91, 96);
    range(123, 126);
    for (int b : {149, 151, 171, 185, 187}) {
        t[static_cast<std::size_t>(b)] = kSeparator;
    }
    t[39] = kJoiner;
    t[45] = kJoiner;
    return t;
}

// The classes of the 1251 bytes: what the rule says of a character 1251 has.
constexpr std::array<unsigned char, 256> kByteClass = MakeByteClasses();

// The class of a character: its 1251 byte's, else letters and combining marks are word characters and
// everything else separates.
unsigned char ClassOfChar(char32_t cp)
{
    const int b = Cp1251ByteOf(cp);
    if (b >= 0) {
        return kByteClass[static_cast<std::size_t>(b)];
    }
    return UnicodeClass(cp) == CharClass::Letter ? kWordByte : kSeparator;
}

// The characters below U+0800 (Latin, Greek, Cyrillic and more) looked up directly in the hot loop.
struct LowCharClasses
{
    LowCharClasses()
    {
        for (char32_t cp = 0; cp < table.size(); ++cp) {
            table[cp] = ClassOfChar(cp);
        }
    }
    std::array<unsigned char, 0x800> table{};
};

// The class of the character at i (a non-ASCII lead byte) and its length.
inline unsigned char ClassAt(std::string_view text, std::size_t i, const LowCharClasses& low, std::size_t& length)
{
    char32_t cp = 0;
    length = DecodeChar(text, i, cp);
    if (length == 1) {
        return kSeparator; // a malformed byte
    }
    return cp < low.table.size() ? low.table[cp] : ClassOfChar(cp);
}

// What ends a word after an apostrophe or a hyphen. The end of the text counts as a line end.
constexpr bool EndsJoiner(unsigned char next)
{
    return next == 10 || next == 13 || next == 32 || next == 39 || next == 45;
}

// Calls word(start, length, ascii) for every word of the UTF-8 text, in order (ascii: the word has no
// other bytes), and tick(position) about every `step` bytes.
template <class Word, class Tick>
void ForEachWord(std::string_view text, std::size_t step, const Word& word, const Tick& tick)
{
    static const LowCharClasses low;
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t start = 0;
    bool inWord = false;
    bool ascii = true;
    std::size_t nextTick = step;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = data[i];
        std::size_t length = 1;
        unsigned char cls;
        if (b < 0x80) {
            cls = kByteClass[b];
            if (cls == kJoiner) {
                cls = (i + 1 == n || EndsJoiner(data[i + 1])) ? kSeparator : kWordByte;
            }
        } else {
            cls = ClassAt(text, i, low, length);
            ascii = ascii && cls != kWordByte;
        }
        if (cls == kWordByte) {
            if (!inWord) {
                inWord = true;
                ascii = b < 0x80;
                start = i;
            }
        } else if (inWord) {
            inWord = false;
            word(start, i - start, ascii);
        }
        i += length;
        if (i >= nextTick) {
            tick(i - 1);
            nextTick += step;
        }
    }
    if (inWord) {
        word(start, n - start, ascii);
    }
}

// ---------------------------------------------------------------------------------------------------
// The system's quicksort: the middle element's value as the pivot, both partitions sorted. Which part
// is sorted first does not change the result, so the smaller one is recursed into and the larger one
// looped on (bounded stack), and large parts may go to a second thread.

// An order tells, for a pivot value, which elements sort before and after it.
template <class T, class Less>
struct LessOrder
{
    // Every element's final place counts.
    static constexpr bool kFirstOfRunsOnly = false;
    struct Pivot
    {
        T value;
        const Less& less;
        bool Before(const T& x) const { return less(x, value); }
        bool After(const T& x) const { return less(value, x); }
    };
    Pivot PivotOf(const T& value) const { return Pivot{value, less}; }
    const Less& less;
};

// A partition also tells whether every element belonged with the pivot (nothing sorted before or
// after it): then it only reversed the range.
template <class T, class Order>
std::ptrdiff_t Partition(T* a, std::ptrdiff_t lo, std::ptrdiff_t hi, const Order& order, std::ptrdiff_t& iOut,
                         bool& allEqual)
{
    std::ptrdiff_t i = lo;
    std::ptrdiff_t j = hi;
    bool passed = false;
    const auto pivot = order.PivotOf(a[lo + (hi - lo) / 2]);
    do {
        while (pivot.Before(a[i])) {
            ++i;
            passed = true;
        }
        while (pivot.After(a[j])) {
            --j;
            passed = true;
        }
        if (i <= j) {
            // The scans check each side of the pivot once; a swapped pair gets the other check too.
            if constexpr (Order::kFirstOfRunsOnly) {
                passed = passed || pivot.After(a[i]) || pivot.Before(a[j]);
            }
            std::swap(a[i], a[j]);
            ++i;
            --j;
        }
    } while (i <= j);
    iOut = i;
    allEqual = !passed;
    return j;
}

// Where the element that ends first in a range of n equal elements starts: each partition of such a
// range reverses it and goes on with its first floor(n / 2) elements.
std::ptrdiff_t FirstOfEqualRange(std::ptrdiff_t n)
{
    return n <= 1 ? 0 : n - 1 - FirstOfEqualRange(n / 2);
}

// After a partition that found the range [lo, hi] all equal: when only the first element of every run
// of equal elements is asked for (Order::kFirstOfRunsOnly), the rest of the sort of that range is
// skipped and just its first element put in place. True when the range is done.
template <class T, class Order>
bool FinishEqualRange(T* a, std::ptrdiff_t lo, std::ptrdiff_t j, bool allEqual)
{
    if constexpr (Order::kFirstOfRunsOnly) {
        if (allEqual) {
            a[lo] = a[lo + FirstOfEqualRange(j - lo + 1)];
            return true;
        }
    }
    return false;
}

template <class T, class Order>
void QuickSortBy(T* a, std::ptrdiff_t lo, std::ptrdiff_t hi, const Order& order)
{
    while (lo < hi) {
        std::ptrdiff_t i = 0;
        bool allEqual = false;
        const std::ptrdiff_t j = Partition(a, lo, hi, order, i, allEqual);
        if (FinishEqualRange<T, Order>(a, lo, j, allEqual)) {
            return;
        }
        if (j - lo < hi - i) {
            QuickSortBy(a, lo, j, order);
            lo = i;
        } else {
            QuickSortBy(a, i, hi, order);
            hi = j;
        }
    }
}

template <class T, class Less>
void QuickSort(T* a, std::ptrdiff_t lo, std::ptrdiff_t hi, const Less& less)
{
    QuickSortBy(a, lo, hi, LessOrder<T, Less>{less});
}

constexpr std::ptrdiff_t kParallelMinimum = 1 << 16;

template <class T, class Order>
void ParallelQuickSort(T* a, std::ptrdiff_t lo, std::ptrdiff_t hi, const Order& order, int depth)
{
    if (depth <= 0 || hi - lo < 2 * kParallelMinimum) {
        QuickSortBy(a, lo, hi, order);
        return;
    }
    std::ptrdiff_t i = 0;
    bool allEqual = false;
    const std::ptrdiff_t j = Partition(a, lo, hi, order, i, allEqual);
    if (FinishEqualRange<T, Order>(a, lo, j, allEqual)) {
        return;
    }
    std::thread left;
    try {
        left = std::thread([=, &order] { ParallelQuickSort(a, lo, j, order, depth - 1); });
    } catch (const std::system_error&) {
        // No thread to be had: the same work on this one.
        ParallelQuickSort(a, lo, j, order, 0);
    }
    ParallelQuickSort(a, i, hi, order, depth - 1);
    if (left.joinable()) {
        left.join();
    }
}

// The words of a text as numbers: the spellings of each distinct word numbered consecutively, the
// distinct words in the order of the sort. `starts[r]` is the first number of the word of rank r
// (one more entry at the end). Comparing two numbers by the rank of their words then needs no look-up:
// a number sorts before the pivot's word when it is below that word's first number, after it when it
// is at or above the next word's first number.
struct RankRangeOrder
{
    // Only the first word of each distinct word is read after the sort.
    static constexpr bool kFirstOfRunsOnly = true;
    struct Pivot
    {
        std::uint32_t first;
        std::uint32_t end;
        bool Before(std::uint32_t x) const { return x < first; }
        bool After(std::uint32_t x) const { return x >= end; }
    };
    Pivot PivotOf(std::uint32_t value) const
    {
        const auto next = std::upper_bound(starts.begin(), starts.end(), value);
        return Pivot{*(next - 1), *next};
    }
    const std::vector<std::uint32_t>& starts;
};

int ParallelDepth()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return cores <= 1 ? 0 : 3;
}

// ---------------------------------------------------------------------------------------------------
// Progress

class ProgressTracker
{
public:
    explicit ProgressTracker(const FrequencyProgress& progress) : m_progress(progress) { }
    void operator()(int percent)
    {
        if (percent != m_last) {
            m_last = percent;
            if (m_progress) {
                m_progress(percent);
            }
        }
    }

private:
    const FrequencyProgress& m_progress;
    int m_last = -1;
};

// ---------------------------------------------------------------------------------------------------
// Counting

constexpr std::uint64_t kHashSeed = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kHashPrime = 0x100000001b3ULL;

struct Group
{
    std::size_t offset; // first spelling in the text
    std::size_t length;
    std::uint64_t hash;
    std::int64_t count;
    std::uint32_t firstSpelling;
    // A group with a non-ASCII first spelling keeps its upper-cased form in the key store.
    bool ascii;
    std::size_t keyOffset;
    std::size_t keyLength;
};

struct Spelling
{
    std::size_t offset;
    std::size_t length; // spellings of one word may differ in bytes ("ſ" and "s")
    std::uint32_t group;
    std::uint32_t next; // next spelling of the same group, or kNone
};

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

// The upper-casing table at hand, so that the hot loops need no call per byte.
struct UpperTable
{
    UpperTable()
    {
        for (int b = 0; b < 256; ++b) {
            map[static_cast<std::size_t>(b)] = UpperCase1251(static_cast<unsigned char>(b));
        }
    }
    std::array<unsigned char, 256> map{};
};

const UpperTable& Upper()
{
    static const UpperTable table;
    return table;
}

bool SameUpper(const unsigned char* upper, const unsigned char* a, const unsigned char* b, std::size_t n)
{
    for (std::size_t k = 0; k < n; ++k) {
        if (upper[a[k]] != upper[b[k]]) {
            return false;
        }
    }
    return true;
}

// The distinct words of the text (upper-cased), each with its count and every spelling met, and the
// spelling of every word of the text in order.
class WordCounter
{
public:
    explicit WordCounter(std::string_view text)
        : m_text(text), m_data(reinterpret_cast<const unsigned char*>(text.data())), m_upper(Upper().map.data())
    {
        m_slots.assign(1024, 0);
        m_tokens.reserve(text.size() / 6 + 16);
    }

    void Add(std::size_t start, std::size_t length, bool ascii)
    {
        const unsigned char* w = m_data + start;
        std::uint64_t h = kHashSeed;
        if (ascii) {
            for (std::size_t k = 0; k < length; ++k) {
                h = (h ^ m_upper[w[k]]) * kHashPrime;
            }
        } else {
            // Other words hash their upper-cased UTF-8 form, which for ASCII is the same bytes.
            m_scratch = UpperCaseText(m_text.substr(start, length));
            for (char c : m_scratch) {
                h = (h ^ static_cast<unsigned char>(c)) * kHashPrime;
            }
        }
        h ^= h >> 29;
        std::size_t mask = m_slots.size() - 1;
        std::size_t slot = h & mask;
        while (true) {
            const std::uint32_t g1 = m_slots[slot];
            if (g1 == 0) {
                break;
            }
            Group& g = m_groups[g1 - 1];
            if (g.hash == h && SameWord(g, start, length, ascii)) {
                ++g.count;
                m_tokens.push_back(SpellingOf(g1 - 1, start, length));
                return;
            }
            slot = (slot + 1) & mask;
        }
        const auto groupIndex = static_cast<std::uint32_t>(m_groups.size());
        const auto spellingIndex = static_cast<std::uint32_t>(m_spellings.size());
        Group group{start, length, h, 1, spellingIndex, ascii, 0, 0};
        if (!ascii) {
            group.keyOffset = m_keys.size();
            group.keyLength = m_scratch.size();
            m_keys += m_scratch;
        }
        m_groups.push_back(group);
        m_spellings.push_back(Spelling{start, length, groupIndex, kNone});
        m_tokens.push_back(spellingIndex);
        m_slots[slot] = groupIndex + 1;
        if (m_groups.size() * 2 > m_slots.size()) {
            Grow();
        }
    }

    std::vector<Group>& Groups() { return m_groups; }
    const std::vector<Spelling>& Spellings() const { return m_spellings; }
    // The spelling of every word of the text, in text order; the counter gives it away.
    std::vector<std::uint32_t> TakeTokens() { return std::move(m_tokens); }
    std::string_view Text(std::size_t offset, std::size_t length) const { return m_text.substr(offset, length); }

private:
    // The word at start has the group's upper-cased form. For a non-ASCII word m_scratch holds its form.
    bool SameWord(const Group& g, std::size_t start, std::size_t length, bool ascii)
    {
        if (g.ascii && ascii) {
            return g.length == length && SameUpper(m_upper, m_data + g.offset, m_data + start, length);
        }
        if (ascii) {
            m_scratch.resize(length);
            for (std::size_t k = 0; k < length; ++k) {
                m_scratch[k] = static_cast<char>(m_upper[m_data[start + k]]);
            }
        }
        if (g.ascii) {
            return g.length == m_scratch.size() &&
                   SameUpper(m_upper, m_data + g.offset, reinterpret_cast<const unsigned char*>(m_scratch.data()),
                             g.length);
        }
        return std::string_view(m_keys).substr(g.keyOffset, g.keyLength) == m_scratch;
    }

    std::uint32_t SpellingOf(std::uint32_t group, std::size_t start, std::size_t length)
    {
        std::uint32_t s = m_groups[group].firstSpelling;
        while (true) {
            if (m_spellings[s].length == length &&
                std::memcmp(m_data + m_spellings[s].offset, m_data + start, length) == 0) {
                return s;
            }
            if (m_spellings[s].next == kNone) {
                break;
            }
            s = m_spellings[s].next;
        }
        const auto added = static_cast<std::uint32_t>(m_spellings.size());
        m_spellings.push_back(Spelling{start, length, group, kNone});
        m_spellings[s].next = added;
        return added;
    }

    void Grow()
    {
        std::vector<std::uint32_t> slots(m_slots.size() * 2, 0);
        const std::size_t mask = slots.size() - 1;
        for (std::size_t g = 0; g < m_groups.size(); ++g) {
            std::size_t slot = m_groups[g].hash & mask;
            while (slots[slot] != 0) {
                slot = (slot + 1) & mask;
            }
            slots[slot] = static_cast<std::uint32_t>(g + 1);
        }
        m_slots.swap(slots);
    }

    std::string_view m_text;
    const unsigned char* m_data;
    const unsigned char* m_upper;
    std::vector<std::uint32_t> m_slots;
    std::vector<Group> m_groups;
    std::vector<Spelling> m_spellings;
    std::vector<std::uint32_t> m_tokens;
    std::string m_keys;
    std::string m_scratch;
};

std::u32string UpperKey(std::string_view s)
{
    return UpperSortKey(s);
}

// Sorts entries by precomputed keys with the system's quicksort.
template <class Less>
void SortByIndex(std::vector<TFrequencyEntry>& entries, const Less& less)
{
    std::vector<std::uint32_t> order(entries.size());
    std::iota(order.begin(), order.end(), 0U);
    if (!order.empty()) {
        QuickSort(order.data(), 0, static_cast<std::ptrdiff_t>(order.size()) - 1, less);
    }
    std::vector<TFrequencyEntry> sorted;
    sorted.reserve(entries.size());
    for (std::uint32_t k : order) {
        sorted.push_back(std::move(entries[k]));
    }
    entries.swap(sorted);
}

} // namespace

bool IsWordSeparator(unsigned char b)
{
    return kByteClass[b] == kSeparator;
}

std::vector<std::string_view> SplitWords(std::string_view text)
{
    std::vector<std::string_view> words;
    ForEachWord(
        text, std::numeric_limits<std::size_t>::max(),
        [&](std::size_t start, std::size_t length, bool) { words.push_back(text.substr(start, length)); },
        [](std::size_t) {});
    return words;
}

void SortEntriesByWord(std::vector<TFrequencyEntry>& entries)
{
    std::vector<std::u32string> keys;
    keys.reserve(entries.size());
    for (const TFrequencyEntry& e : entries) {
        keys.push_back(UpperKey(e.Word));
    }
    SortByIndex(entries, [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
}

void SortEntriesByFrequency(std::vector<TFrequencyEntry>& entries)
{
    std::vector<std::u32string> keys;
    keys.reserve(entries.size());
    for (const TFrequencyEntry& e : entries) {
        keys.push_back(UpperKey(e.Word));
    }
    SortByIndex(entries, [&](std::uint32_t a, std::uint32_t b) {
        if (entries[a].Count != entries[b].Count) {
            return entries[a].Count > entries[b].Count;
        }
        return keys[a] < keys[b];
    });
}

std::vector<TFrequencyEntry> LoadBasicDictionary(const std::string& path)
{
    std::vector<TFrequencyEntry> basic;
    std::string content;
    if (path.empty() || !ReadWholeFile(path, content)) {
        return basic;
    }
    for (DictionaryRecord& r : ReadLessonEntries(DecodeDictionary(content))) {
        basic.push_back(TFrequencyEntry{std::move(r.word), std::move(r.translate), std::move(r.transcription),
                                        std::move(r.tesaurus), 0});
    }
    SortEntriesByWord(basic);
    return basic;
}

namespace {

// Steps of counting: the distinct words sorted, each with its upper-cased key.
struct CountedWords
{
    std::vector<TFrequencyEntry> entries;
    std::vector<std::u32string> keys;
};

CountedWords CountWords(std::string_view text, ProgressTracker& report)
{
    CountedWords counted;
    report(0);

    // Tokenising and counting in one pass (progress 0 to 24).
    WordCounter counter(text);
    const std::size_t length = text.size();
    const std::size_t step = std::max<std::size_t>(1, length / 128);
    ForEachWord(
        text, step, [&counter](std::size_t start, std::size_t n, bool ascii) { counter.Add(start, n, ascii); },
        [&](std::size_t i) { report(static_cast<int>(24 * (static_cast<long double>(i) + 1) / length)); });
    std::vector<Group>& groups = counter.Groups();
    if (groups.empty()) {
        return counted;
    }
    report(24);

    // Ranks of the distinct words in the order of the sort.
    std::vector<std::uint32_t> byWord(groups.size());
    std::iota(byWord.begin(), byWord.end(), 0U);
    std::vector<std::u32string> keys(groups.size());
    for (std::size_t g = 0; g < groups.size(); ++g) {
        keys[g] = UpperKey(counter.Text(groups[g].offset, groups[g].length));
    }
    std::sort(byWord.begin(), byWord.end(), [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });

    // The spelling that the sort of all words puts first in each group. Only needed when some word has
    // more than one spelling; the sort then runs on (rank, spelling) pairs compared by rank alone.
    const std::vector<Spelling>& spellings = counter.Spellings();
    std::vector<std::uint32_t> survivor(groups.size());
    for (std::size_t g = 0; g < groups.size(); ++g) {
        survivor[g] = groups[g].firstSpelling;
    }
    if (spellings.size() > groups.size()) {
        std::vector<std::uint32_t> starts(groups.size() + 1);
        std::vector<std::uint32_t> numberOf(spellings.size());
        std::vector<std::uint32_t> spellingOf(spellings.size());
        std::uint32_t next = 0;
        for (std::size_t r = 0; r < byWord.size(); ++r) {
            starts[r] = next;
            for (std::uint32_t sp = groups[byWord[r]].firstSpelling; sp != kNone; sp = spellings[sp].next) {
                numberOf[sp] = next;
                spellingOf[next] = sp;
                ++next;
            }
        }
        starts[byWord.size()] = next;
        std::vector<std::uint32_t> words = counter.TakeTokens();
        for (std::uint32_t& w : words) {
            w = numberOf[w];
        }
        ParallelQuickSort(words.data(), 0, static_cast<std::ptrdiff_t>(words.size()) - 1, RankRangeOrder{starts},
                          ParallelDepth());
        std::size_t pos = 0;
        for (std::uint32_t g : byWord) {
            survivor[g] = spellingOf[words[pos]];
            pos += static_cast<std::size_t>(groups[g].count);
        }
    }
    report(48);

    counted.entries.reserve(groups.size());
    counted.keys.reserve(groups.size());
    for (std::uint32_t g : byWord) {
        TFrequencyEntry e;
        e.Word = std::string(counter.Text(spellings[survivor[g]].offset, spellings[survivor[g]].length));
        e.Count = groups[g].count;
        counted.entries.push_back(std::move(e));
        counted.keys.push_back(std::move(keys[g]));
    }
    report(49);
    return counted;
}

// Enriching from the sorted basic list, then the order of writing.
FrequencyList EnrichAndOrder(CountedWords counted, const std::vector<TFrequencyEntry>& basic,
                             const FrequencyOptions& options, ProgressTracker& report)
{
    FrequencyList list;
    list.entries = std::move(counted.entries);
    list.basicHadEntries = !basic.empty();
    report(52);

    // Both lists are sorted, so one walk does; a basic entry matches at most once.
    std::vector<std::u32string> basicKeys;
    basicKeys.reserve(basic.size());
    for (const TFrequencyEntry& b : basic) {
        basicKeys.push_back(UpperKey(b.Word));
    }
    std::size_t p = 0;
    const std::size_t n = list.entries.size();
    for (std::size_t j = 0; j < n; ++j) {
        const std::u32string& key = counted.keys[j];
        while (p < basic.size() && basicKeys[p] < key) {
            ++p;
        }
        if (p < basic.size() && basicKeys[p] == key) {
            TFrequencyEntry& e = list.entries[j];
            e.Word = basic[p].Word;
            e.Translation = basic[p].Translation;
            e.Transcription = basic[p].Transcription;
            e.Thesaurus = basic[p].Thesaurus;
            ++p;
        }
        report(52 + static_cast<int>(40 * (j + 1) / n));
    }

    if (options.SortText == 1) {
        SortEntriesByFrequency(list.entries);
    }
    return list;
}

} // namespace

FrequencyList CountFrequencies(std::string_view text, const std::vector<TFrequencyEntry>& basic,
                               const FrequencyOptions& options, const FrequencyProgress& progress)
{
    ProgressTracker report(progress);
    CountedWords counted = CountWords(text, report);
    if (counted.entries.empty()) {
        return {};
    }
    return EnrichAndOrder(std::move(counted), basic, options, report);
}

std::string FrequencyDictionaryText(const FrequencyList& list, const FrequencyOptions& options,
                                    const FrequencyProgress& progress)
{
    ProgressTracker report(progress);
    const bool onlyBasic = options.OnlyBasic && list.basicHadEntries;
    std::string out;
    const std::size_t n = list.entries.size();
    const auto passes = [&](const TFrequencyEntry& e) {
        return e.Count >= options.MinCount &&
               !(onlyBasic && e.Translation.empty() && e.Transcription.empty() && e.Thesaurus.empty());
    };
    // "The N most frequent words": chosen among the words that pass, written in the list's order.
    std::vector<bool> top;
    if (options.TopCount > 0) {
        std::vector<std::size_t> candidates;
        for (std::size_t j = 0; j < n; ++j) {
            if (passes(list.entries[j])) {
                candidates.push_back(j);
            }
        }
        const auto keep = static_cast<std::size_t>(
            std::min<std::int64_t>(options.TopCount, static_cast<std::int64_t>(candidates.size())));
        std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(keep), candidates.end(),
                          [&](std::size_t a, std::size_t b) {
                              const std::int64_t ca = list.entries[a].Count;
                              const std::int64_t cb = list.entries[b].Count;
                              return ca != cb ? ca > cb : a < b;
                          });
        top.assign(n, false);
        for (std::size_t k = 0; k < keep; ++k) {
            top[candidates[k]] = true;
        }
    }
    for (std::size_t j = 0; j < n; ++j) {
        const TFrequencyEntry& e = list.entries[j];
        report(92 + static_cast<int>(8 * (j + 1) / n));
        if (!passes(e) || (!top.empty() && !top[j])) {
            continue;
        }
        out += e.Word;
        out += '|';
        out += e.Translation;
        out += '|';
        out += e.Transcription;
        out += '|';
        if (options.ShowStat) {
            out += '(';
            out += std::to_string(e.Count);
            out += ") ";
        }
        out += e.Thesaurus;
        out += "\r\n";
    }
    return out;
}

FrequencyBuildResult BuildFrequencyDictionary(std::string_view text, const std::string& path,
                                              const FrequencyOptions& options, const FrequencyProgress& progress,
                                              bool* unicode)
{
    if (unicode != nullptr) {
        *unicode = false;
    }
    ProgressTracker report(progress);
    CountedWords counted = CountWords(text, report);
    if (counted.entries.empty()) {
        return FrequencyBuildResult::NoWords;
    }
    const FrequencyList list =
        EnrichAndOrder(std::move(counted), LoadBasicDictionary(options.BasicDictionaryPath), options, report);
    // 1251 when every character fits, else UTF-8 with the mark.
    DictionaryEncoding encoding = DictionaryEncoding::Cp1251;
    const std::string content =
        EncodeDictionary(FrequencyDictionaryText(list, options, [&report](int percent) { report(percent); }), encoding);

    // A read-only target is overwritten.
    if (FileExists(path)) {
        SetAttributesNormal(path);
    }
    if (!WriteFileAtomic(path, content)) {
        return FrequencyBuildResult::WriteFailed;
    }
    if (unicode != nullptr) {
        *unicode = encoding != DictionaryEncoding::Cp1251;
    }
    report(100);

    // The basic dictionary's fonts go with the new dictionary; without them an old fonts file stays.
    if (!options.BasicDictionaryPath.empty()) {
        const std::string fonts = FontsFilePathOf(path);
        const std::string basicFonts = FontsFilePathOf(options.BasicDictionaryPath);
        if (FileExists(basicFonts)) {
            if (FileExists(fonts)) {
                SetAttributesNormal(fonts);
            }
            CopyFileOverwrite(basicFonts, fonts);
            SetAttributesNormal(fonts);
        }
    }
    return FrequencyBuildResult::Written;
}

std::string FontsFilePathOf(const std::string& dictionaryPath)
{
    const std::size_t slash = dictionaryPath.find_last_of("/\\");
    const std::size_t dot = dictionaryPath.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return dictionaryPath + ".lqf";
    }
    return dictionaryPath.substr(0, dot) + ".lqf";
}

} // namespace vb
