// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/frequency.h"

#include "common/codepage.h"
#include "common/files.h"
#include "common/unicode.h"
#include "dictionary/dictionary_encoding.h"
#include "dictionary/line_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>
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
    // Two-byte characters (Latin letters with marks, Greek, Cyrillic) decoded on the spot.
    const auto lead = static_cast<unsigned char>(text[i]);
    if ((lead & 0xE0) == 0xC0 && lead >= 0xC2 && i + 1 < text.size()) {
        const auto trail = static_cast<unsigned char>(text[i + 1]);
        if ((trail & 0xC0) == 0x80) {
            length = 2;
            return low.table[(static_cast<char32_t>(lead & 0x1F) << 6) | (trail & 0x3F)];
        }
    }
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

// The ASCII bytes of one class whatever surrounds them: the hot loops' tests.
constexpr std::array<bool, 256> AsciiBytesOfClass(unsigned char cls)
{
    std::array<bool, 256> t{};
    for (std::size_t b = 0; b < 0x80; ++b) {
        t[b] = kByteClass[b] == cls;
    }
    return t;
}
constexpr std::array<bool, 256> kPlainWordByte = AsciiBytesOfClass(kWordByte);
constexpr std::array<bool, 256> kPlainSeparator = AsciiBytesOfClass(kSeparator);

// Calls word(start, length, ascii) for every word of the UTF-8 text, in order (ascii: the word has no
// other bytes), and tick(position) about every `step` bytes.
template <class Word, class Tick>
void ForEachWord(std::string_view text, std::size_t step, const Word& word, const Tick& tick)
{
    static const LowCharClasses low;
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    // The class of the character at `at` and its length in bytes.
    const auto classAt = [&](std::size_t at, std::size_t& length) -> unsigned char {
        const unsigned char b = data[at];
        length = 1;
        if (b < 0x80) {
            const unsigned char cls = kByteClass[b];
            if (cls == kJoiner) {
                return (at + 1 == n || EndsJoiner(data[at + 1])) ? kSeparator : kWordByte;
            }
            return cls;
        }
        return ClassAt(text, at, low, length);
    };
    std::size_t nextTick = step;
    std::size_t i = 0;
    std::size_t length = 1;
    while (i < n) {
        // Between words.
        while (true) {
            while (i < n && kPlainSeparator[data[i]]) {
                ++i;
            }
            if (i == n || kPlainWordByte[data[i]] || classAt(i, length) == kWordByte) {
                break;
            }
            i += length;
        }
        if (i < n) {
            const std::size_t start = i;
            bool ascii = true;
            while (true) {
                while (i < n && kPlainWordByte[data[i]]) {
                    ++i;
                }
                if (i == n || classAt(i, length) != kWordByte) {
                    break;
                }
                ascii = ascii && data[i] < 0x80;
                i += length;
            }
            word(start, i - start, ascii);
        }
        if (i >= nextTick) {
            tick(std::min(i, n) - 1);
            nextTick = (i / step + 1) * step;
        }
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
    // Comparisons may be costly: one at a time, as the scans need them.
    static constexpr bool kBlockPartition = false;
    struct Pivot
    {
        T value;
        const Less& less;
        bool Before(const T& x) const { return less(x, value); }
        bool After(const T& x) const { return less(value, x); }
    };
    Pivot PivotOf(const T& value) const { return Pivot{value, less}; }
    // What is known of the values of a range: nothing here, so every range is sorted.
    struct Bounds
    { };
    static bool Settled(const Bounds&) { return false; }
    static Bounds LeftOf(const Bounds& b, const Pivot&) { return b; }
    static Bounds RightOf(const Bounds& b, const Pivot&) { return b; }
    const Less& less;
};

// A partition also tells whether every element belonged with the pivot (nothing sorted before or
// after it): then it only reversed the range.
template <class T, class Order>
std::ptrdiff_t Partition(T* a, std::ptrdiff_t lo, std::ptrdiff_t hi, const typename Order::Pivot& pivot,
                         std::ptrdiff_t& iOut, bool& allEqual)
{
    std::ptrdiff_t i = lo;
    std::ptrdiff_t j = hi;
    bool passed = false;
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

// The same partition with the scans done a block at a time: where each scan stops is gathered for a block
// of elements without a branch per element, then the stops are paired and swapped as the scans would. The
// result is the same in every respect: the elements' order, i, j and allEqual. Everything right of j stops
// the left scan and everything left of i the right one, so a stop found past the other scan only ends the
// pass, wherever it was found.
template <class T, class Order>
std::ptrdiff_t BlockPartition(T* a, std::ptrdiff_t lo, std::ptrdiff_t hi, const typename Order::Pivot& pivot,
                              std::ptrdiff_t& iOut, bool& allEqual)
{
    constexpr std::ptrdiff_t kBlock = 128;
    std::ptrdiff_t leftStops[kBlock];
    std::ptrdiff_t rightStops[kBlock];
    std::ptrdiff_t leftCount = 0;
    std::ptrdiff_t leftAt = 0;
    std::ptrdiff_t rightCount = 0;
    std::ptrdiff_t rightAt = 0;
    std::ptrdiff_t leftNext = lo; // the first element the left scan has not looked at
    std::ptrdiff_t rightNext = hi; // the last one the right scan has not looked at
    const auto nextLeft = [&]() -> std::ptrdiff_t {
        while (leftAt == leftCount) {
            if (leftNext > hi) {
                return hi + 1;
            }
            const std::ptrdiff_t end = std::min(leftNext + kBlock, hi + 1);
            leftCount = 0;
            leftAt = 0;
            for (std::ptrdiff_t t = leftNext; t < end; ++t) {
                leftStops[leftCount] = t;
                leftCount += pivot.Before(a[t]) ? 0 : 1;
            }
            leftNext = end;
        }
        return leftStops[leftAt++];
    };
    const auto nextRight = [&]() -> std::ptrdiff_t {
        while (rightAt == rightCount) {
            if (rightNext < lo) {
                return lo - 1;
            }
            const std::ptrdiff_t end = std::max(rightNext - kBlock, lo - 1);
            rightCount = 0;
            rightAt = 0;
            for (std::ptrdiff_t t = rightNext; t > end; --t) {
                rightStops[rightCount] = t;
                rightCount += pivot.After(a[t]) ? 0 : 1;
            }
            rightNext = end;
        }
        return rightStops[rightAt++];
    };

    std::ptrdiff_t i = lo;
    std::ptrdiff_t j = hi;
    bool passed = false;
    while (true) {
        const std::ptrdiff_t left = std::min(nextLeft(), j + 1);
        passed = passed || left > i;
        i = left;
        const std::ptrdiff_t right = std::max(nextRight(), i - 1);
        passed = passed || right < j;
        j = right;
        if (i > j) {
            break;
        }
        if constexpr (Order::kFirstOfRunsOnly) {
            passed = passed || pivot.After(a[i]) || pivot.Before(a[j]);
        }
        std::swap(a[i], a[j]);
        ++i;
        --j;
        if (i > j) {
            break;
        }
    }
    iOut = i;
    allEqual = !passed;
    return j;
}

// The partition an order asks for.
template <class T, class Order>
std::ptrdiff_t PartitionBy(T* a, std::ptrdiff_t lo, std::ptrdiff_t hi, const typename Order::Pivot& pivot,
                           std::ptrdiff_t& iOut, bool& allEqual)
{
    if constexpr (Order::kBlockPartition) {
        return BlockPartition<T, Order>(a, lo, hi, pivot, iOut, allEqual);
    } else {
        return Partition<T, Order>(a, lo, hi, pivot, iOut, allEqual);
    }
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

// A range whose order cannot matter (Order::Settled) is left as it is.
template <class T, class Order>
void QuickSortBy(T* a, std::ptrdiff_t lo, std::ptrdiff_t hi, const Order& order, typename Order::Bounds bounds)
{
    while (lo < hi && !order.Settled(bounds)) {
        std::ptrdiff_t i = 0;
        bool allEqual = false;
        const auto pivot = order.PivotOf(a[lo + (hi - lo) / 2]);
        const std::ptrdiff_t j = PartitionBy<T, Order>(a, lo, hi, pivot, i, allEqual);
        if (FinishEqualRange<T, Order>(a, lo, j, allEqual)) {
            return;
        }
        if (j - lo < hi - i) {
            QuickSortBy(a, lo, j, order, order.LeftOf(bounds, pivot));
            lo = i;
            bounds = order.RightOf(bounds, pivot);
        } else {
            QuickSortBy(a, i, hi, order, order.RightOf(bounds, pivot));
            hi = j;
            bounds = order.LeftOf(bounds, pivot);
        }
    }
}

template <class T, class Less>
void QuickSort(T* a, std::ptrdiff_t lo, std::ptrdiff_t hi, const Less& less)
{
    QuickSortBy(a, lo, hi, LessOrder<T, Less>{less}, {});
}

constexpr std::ptrdiff_t kParallelMinimum = 1 << 16;

template <class T, class Order>
void ParallelQuickSort(T* a, std::ptrdiff_t lo, std::ptrdiff_t hi, const Order& order, typename Order::Bounds bounds,
                       int depth)
{
    if (depth <= 0 || hi - lo < 2 * kParallelMinimum || order.Settled(bounds)) {
        QuickSortBy(a, lo, hi, order, bounds);
        return;
    }
    std::ptrdiff_t i = 0;
    bool allEqual = false;
    const auto pivot = order.PivotOf(a[lo + (hi - lo) / 2]);
    const std::ptrdiff_t j = PartitionBy<T, Order>(a, lo, hi, pivot, i, allEqual);
    if (FinishEqualRange<T, Order>(a, lo, j, allEqual)) {
        return;
    }
    const auto leftBounds = order.LeftOf(bounds, pivot);
    std::thread left;
    try {
        left = std::thread([=, &order] { ParallelQuickSort(a, lo, j, order, leftBounds, depth - 1); });
    } catch (const std::system_error&) {
        // No thread to be had: the same work on this one.
        ParallelQuickSort(a, lo, j, order, leftBounds, 0);
    }
    ParallelQuickSort(a, i, hi, order, order.RightOf(bounds, pivot), depth - 1);
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
    // Two integer comparisons: cheaper in blocks than with a hard-to-guess branch per element.
    static constexpr bool kBlockPartition = true;
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
    // The numbers a range can hold, [lo, hi). A range without any number of a word that has more than
    // one spelling decides no survivor and is left unsorted.
    struct Bounds
    {
        std::uint32_t lo;
        std::uint32_t hi;
    };
    bool Settled(const Bounds& b) const { return b.lo >= b.hi || mixedBefore[b.hi] == mixedBefore[b.lo]; }
    static Bounds LeftOf(const Bounds& b, const Pivot& p) { return Bounds{b.lo, std::min(b.hi, p.end)}; }
    static Bounds RightOf(const Bounds& b, const Pivot& p) { return Bounds{std::max(b.lo, p.first), b.hi}; }
    const std::vector<std::uint32_t>& starts;
    // How many numbers below x belong to words with more than one spelling.
    const std::vector<std::uint32_t>& mixedBefore;
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

struct Group
{
    std::int64_t count;
    std::uint32_t firstSpelling;
};

// One distinct spelling (the bytes as written) and the next spelling of the same word.
struct Spelling
{
    std::size_t offset; // first occurrence in the text
    std::size_t length;
    std::uint64_t hash;
    std::int64_t count;
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

// The first eight bytes of a word (of a shorter one its bytes and zeros) as one number: most words are
// compared and hashed by it alone. `end` is the end of the text, which a wide read must not pass.
inline std::uint64_t HeadOf(const unsigned char* p, std::size_t n, const unsigned char* end)
{
    std::uint64_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
        if (end - p >= 8) {
            std::memcpy(&v, p, 8);
            return n >= 8 ? v : v & ((std::uint64_t{1} << (8 * n)) - 1);
        }
    }
    for (std::size_t k = 0; k < n && k < 8; ++k) {
        v |= static_cast<std::uint64_t>(p[k]) << (8 * k);
    }
    return v;
}

// A word's bytes as written, eight at a time.
inline std::uint64_t HashBytes(const unsigned char* p, std::size_t n)
{
    std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ n;
    while (n >= 8) {
        std::uint64_t v = 0;
        std::memcpy(&v, p, 8);
        h = (h ^ v) * 0xFF51AFD7ED558CCDULL;
        h ^= h >> 32;
        p += 8;
        n -= 8;
    }
    std::uint64_t v = 0;
    for (std::size_t k = 0; k < n; ++k) {
        v |= static_cast<std::uint64_t>(p[k]) << (8 * k);
    }
    h = (h ^ v) * 0xC4CEB9FE1A85EC53ULL;
    return h ^ (h >> 29);
}

// The distinct spellings of a stretch of the text with their counts, in the order they first occur,
// and the spelling of every word in text order. Case does not enter here: most words repeat a spelling
// already met, and those need one hash and one comparison of bytes.
class SpellingCounter
{
public:
    explicit SpellingCounter(std::string_view text)
        : m_data(reinterpret_cast<const unsigned char*>(text.data())), m_end(m_data + text.size()), m_slots(1024)
    { }

    // Where the words' spellings go: room for one per two bytes of the stretch, the most it can hold.
    void WriteTo(std::uint32_t* out) { m_out = out; }

    void Add(std::size_t start, std::size_t length)
    {
        const std::uint32_t s = Find(start, length, HashOf(start, length));
        ++m_counts[s];
        m_out[m_count++] = s;
    }

    std::uint64_t HashOf(std::size_t start, std::size_t length) const
    {
        if (length > 8) {
            return HashBytes(m_data + start, length);
        }
        const std::uint64_t h = (HeadOf(m_data + start, length, m_end) ^ length) * 0xC4CEB9FE1A85EC53ULL;
        return h ^ (h >> 29);
    }

    // The spelling with these bytes (hash given), added with count 0 when new. A slot holds the word's
    // first eight bytes and its length beside the number, and the rest of longer spellings sits packed in a
    // store of its own: most look-ups read one slot and nothing else.
    std::uint32_t Find(std::size_t start, std::size_t length, std::uint64_t h)
    {
        const unsigned char* w = m_data + start;
        const std::uint64_t head = HeadOf(w, length, m_end);
        const auto capped = static_cast<std::uint32_t>(std::min<std::size_t>(length, kNone));
        const std::size_t mask = m_slots.size() - 1;
        std::size_t slot = h & mask;
        while (true) {
            const Slot& entry = m_slots[slot];
            if (entry.number == 0) {
                break;
            }
            if (entry.head == head && entry.length == capped &&
                (length <= 8 || (m_spellings[entry.number - 1].length == length &&
                                 std::memcmp(m_store.data() + m_rest[entry.number - 1], w + 8, length - 8) == 0))) {
                return entry.number - 1;
            }
            slot = (slot + 1) & mask;
        }
        const auto index = static_cast<std::uint32_t>(m_spellings.size());
        m_spellings.push_back(Spelling{start, length, h, 0, 0, kNone});
        m_rest.push_back(m_store.size());
        if (length > 8) {
            m_store.append(reinterpret_cast<const char*>(w) + 8, length - 8);
        }
        m_counts.push_back(0);
        m_slots[slot] = Slot{head, index + 1, capped};
        if (m_spellings.size() * 2 > m_slots.size()) {
            Grow();
        }
        return index;
    }

    // The spellings with their counts.
    std::vector<Spelling>& Spellings()
    {
        for (std::size_t s = 0; s < m_spellings.size(); ++s) {
            m_spellings[s].count = m_counts[s];
        }
        return m_spellings;
    }
    std::vector<std::int64_t>& Counts() { return m_counts; }
    std::size_t TokenCount() const { return m_count; }

private:
    struct Slot
    {
        std::uint64_t head = 0;
        std::uint32_t number = 0; // the spelling's index + 1; 0: empty
        std::uint32_t length = 0; // capped; a longer word is compared in full all the same
    };

    void Grow()
    {
        std::vector<Slot> slots(m_slots.size() * 2);
        const std::size_t mask = slots.size() - 1;
        for (const Slot& entry : m_slots) {
            if (entry.number == 0) {
                continue;
            }
            std::size_t slot = m_spellings[entry.number - 1].hash & mask;
            while (slots[slot].number != 0) {
                slot = (slot + 1) & mask;
            }
            slots[slot] = entry;
        }
        m_slots.swap(slots);
    }

    const unsigned char* m_data;
    const unsigned char* m_end;
    std::vector<Slot> m_slots;
    std::vector<Spelling> m_spellings;
    std::vector<std::size_t> m_rest; // where each spelling's bytes past the head are in m_store
    std::string m_store;
    std::vector<std::int64_t> m_counts;
    std::uint32_t* m_out = nullptr;
    std::size_t m_count = 0;
};

// Texts from this size on are counted in two halves at once where a second core is at hand.
constexpr std::size_t kSplitMinimum = 1 << 18;

// Where the text is split: just after a space or line end near the middle, so that no word, character
// or apostrophe rule straddles the cut. 0 when there is none.
std::size_t SplitPoint(std::string_view text)
{
    for (std::size_t i = text.size() / 2; i < text.size(); ++i) {
        if (text[i] == ' ' || text[i] == '\n') {
            return i + 1;
        }
    }
    return 0;
}

// The distinct words of the text, upper-cased, each with its count and its spellings.
struct WordCounts
{
    std::vector<Spelling> spellings;
    // The spelling of every word in text order: the first part's words from the start of the buffer, the
    // second part's from `secondStart` in its own numbering, which `secondMap` turns into the common one.
    std::unique_ptr<std::uint32_t[]> tokens;
    std::size_t firstCount = 0;
    std::size_t secondStart = 0;
    std::size_t secondCount = 0;
    std::vector<std::uint32_t> secondMap;
    std::vector<Group> groups; // in the order the words first occur
};

WordCounts CountSpellings(std::string_view text, ProgressTracker& report)
{
    const std::size_t length = text.size();
    const std::size_t split = length >= kSplitMinimum && std::thread::hardware_concurrency() > 1 ? SplitPoint(text) : 0;
    const std::size_t firstEnd = split == 0 ? length : split;
    const std::size_t step = std::max<std::size_t>(1, firstEnd / 128);

    // One buffer for both parts' words, each part with room for the most words its bytes can hold: only
    // what is written takes memory.
    WordCounts counts;
    const std::size_t firstRoom = (firstEnd + 1) / 2;
    const std::size_t secondRoom = split == 0 ? 0 : (length - split + 1) / 2;
    counts.tokens.reset(new std::uint32_t[firstRoom + secondRoom + 1]);
    PreferLargePages(counts.tokens.get(), (firstRoom + secondRoom + 1) * sizeof(std::uint32_t));
    SpellingCounter first(text);
    first.WriteTo(counts.tokens.get());
    SpellingCounter second(text);
    second.WriteTo(counts.tokens.get() + firstRoom);
    std::thread helper;
    if (split != 0) {
        try {
            helper = std::thread([&] {
                ForEachWord(
                    text.substr(split), std::numeric_limits<std::size_t>::max(),
                    [&](std::size_t start, std::size_t n, bool) { second.Add(split + start, n); }, [](std::size_t) {});
            });
        } catch (const std::system_error&) { }
    }
    const std::size_t end = helper.joinable() ? firstEnd : length;
    // The progress follows this thread's share; the other one is as far along.
    const std::size_t share = helper.joinable() ? firstEnd : length;
    ForEachWord(
        text.substr(0, end), step, [&first](std::size_t start, std::size_t n, bool) { first.Add(start, n); },
        [&](std::size_t i) { report(static_cast<int>(24 * (static_cast<long double>(i) + 1) / share)); });
    if (helper.joinable()) {
        helper.join();
        // The second half's spellings joined to the first's; new ones keep their order of occurrence.
        const std::vector<Spelling>& others = second.Spellings();
        std::vector<std::uint32_t> map(others.size());
        for (std::size_t s = 0; s < map.size(); ++s) {
            const Spelling& sp = others[s];
            map[s] = first.Find(sp.offset, sp.length, sp.hash);
            first.Counts()[map[s]] += second.Counts()[s];
        }
        counts.secondStart = firstRoom;
        counts.secondCount = second.TokenCount();
        counts.secondMap = std::move(map);
    }
    counts.firstCount = first.TokenCount();
    counts.spellings = std::move(first.Spellings());

    // Spellings that upper-case alike are one word; its first spelling is the one that occurs first.
    const unsigned char* upper = Upper().map.data();
    std::vector<std::uint32_t> slots(1024, 0);
    std::vector<std::uint64_t> groupHash;
    std::vector<std::string> groupKey;
    std::vector<std::uint32_t> lastSpelling;
    std::string key;
    for (std::size_t s = 0; s < counts.spellings.size(); ++s) {
        Spelling& sp = counts.spellings[s];
        const std::string_view word = text.substr(sp.offset, sp.length);
        const bool ascii = std::all_of(word.begin(), word.end(), [](char c) { return (c & 0x80) == 0; });
        if (ascii) {
            key.resize(word.size());
            for (std::size_t k = 0; k < word.size(); ++k) {
                key[k] = static_cast<char>(upper[static_cast<unsigned char>(word[k])]);
            }
        } else {
            key = UpperCaseText(word);
        }
        const std::uint64_t h = HashBytes(reinterpret_cast<const unsigned char*>(key.data()), key.size());
        std::size_t mask = slots.size() - 1;
        std::size_t slot = h & mask;
        std::uint32_t g = kNone;
        while (slots[slot] != 0) {
            const std::uint32_t g1 = slots[slot] - 1;
            if (groupHash[g1] == h && groupKey[g1] == key) {
                g = g1;
                break;
            }
            slot = (slot + 1) & mask;
        }
        if (g == kNone) {
            g = static_cast<std::uint32_t>(counts.groups.size());
            counts.groups.push_back(Group{0, static_cast<std::uint32_t>(s)});
            groupHash.push_back(h);
            groupKey.push_back(key);
            lastSpelling.push_back(static_cast<std::uint32_t>(s));
            slots[slot] = g + 1;
            if (counts.groups.size() * 2 > slots.size()) {
                std::vector<std::uint32_t> grown(slots.size() * 2, 0);
                mask = grown.size() - 1;
                for (std::size_t k = 0; k < groupHash.size(); ++k) {
                    std::size_t at = groupHash[k] & mask;
                    while (grown[at] != 0) {
                        at = (at + 1) & mask;
                    }
                    grown[at] = static_cast<std::uint32_t>(k + 1);
                }
                slots.swap(grown);
            }
        } else {
            counts.spellings[lastSpelling[g]].next = static_cast<std::uint32_t>(s);
            lastSpelling[g] = static_cast<std::uint32_t>(s);
        }
        sp.group = g;
        counts.groups[g].count += sp.count;
    }
    return counts;
}

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

    // Tokenising and counting (progress 0 to 24).
    WordCounts counts = CountSpellings(text, report);
    std::vector<Group>& groups = counts.groups;
    if (groups.empty()) {
        return counted;
    }
    report(24);

    // Ranks of the distinct words in the order of the sort.
    std::vector<std::uint32_t> byWord(groups.size());
    std::iota(byWord.begin(), byWord.end(), 0U);
    std::vector<std::u32string> keys(groups.size());
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const Spelling& first = counts.spellings[groups[g].firstSpelling];
        keys[g] = UpperKey(text.substr(first.offset, first.length));
    }
    std::sort(byWord.begin(), byWord.end(), [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });

    // The spelling that the sort of all words puts first in each group. Only needed when some word has
    // more than one spelling; the sort then runs on (rank, spelling) pairs compared by rank alone.
    const std::vector<Spelling>& spellings = counts.spellings;
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
        const auto mixed = [&](std::uint32_t g) { return spellings[groups[g].firstSpelling].next != kNone; };
        std::vector<std::uint32_t> mixedBefore(next + 1, 0);
        for (std::size_t r = 0; r < byWord.size(); ++r) {
            const std::uint32_t add = mixed(byWord[r]) ? 1 : 0;
            for (std::uint32_t x = starts[r]; x < starts[r + 1]; ++x) {
                mixedBefore[x + 1] = mixedBefore[x] + add;
            }
        }
        // Every word as its number, in place, the second part moved up to follow the first; the two parts
        // on two threads where the text was counted in two. Moving up reads ahead of what it writes.
        const std::size_t firstCount = counts.firstCount;
        const std::size_t total = firstCount + counts.secondCount;
        std::uint32_t* words = counts.tokens.get();
        const auto numberSecond = [&] {
            const std::uint32_t* from = words + counts.secondStart;
            for (std::size_t k = 0; k < counts.secondCount; ++k) {
                words[firstCount + k] = numberOf[counts.secondMap[from[k]]];
            }
        };
        std::thread helper;
        if (counts.secondCount != 0) {
            try {
                helper = std::thread(numberSecond);
            } catch (const std::system_error&) {
                numberSecond();
            }
        }
        for (std::size_t k = 0; k < firstCount; ++k) {
            words[k] = numberOf[words[k]];
        }
        if (helper.joinable()) {
            helper.join();
        }
        ParallelQuickSort(words, 0, static_cast<std::ptrdiff_t>(total) - 1, RankRangeOrder{starts, mixedBefore},
                          RankRangeOrder::Bounds{0, next}, ParallelDepth());
        std::size_t pos = 0;
        for (std::uint32_t g : byWord) {
            if (mixed(g)) {
                survivor[g] = spellingOf[words[pos]];
            }
            pos += static_cast<std::size_t>(groups[g].count);
        }
    }
    report(48);

    counted.entries.reserve(groups.size());
    counted.keys.reserve(groups.size());
    for (std::uint32_t g : byWord) {
        TFrequencyEntry e;
        e.Word = std::string(text.substr(spellings[survivor[g]].offset, spellings[survivor[g]].length));
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
