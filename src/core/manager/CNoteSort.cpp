#include "core/manager/CNoteSort.h"

#include "core/model/CNote.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>

CNoteSort::Key CNoteSort::Toggles::Take(int column, bool& ascending) {
    int& flag = column == 0 ? text : column == 3 ? type : time;
    ascending = flag != 0;
    flag = !flag;
    return column == 0 ? ByText : column == 3 ? ByType : ByTime;
}

CNoteSort::Toggles& CNoteSort::SharedToggles() {
    static Toggles toggles;
    return toggles;
}

int CNoteSort::CompareText(const CNote& a, const CNote& b) {
    return std::strcmp(a.m_title.c_str(), b.m_title.c_str()); // unsigned bytes
}

double CNoteSort::TimeKey(const CNote& n) {
    double t = n.m_alarmTime.Linear();
    // A time that is not a number would make the order undefined; it sorts as the latest.
    if (std::isnan(t)) return std::numeric_limits<double>::infinity();
    return n.m_type == CNote::Memo ? t + 36500.0 : t;
}

int64_t CNoteSort::TypeKey(const CNote& n) {
    return static_cast<int64_t>(n.m_type) + n.m_recurrence; // no overflow for stray codes
}

namespace {
// Sorts (key, index) pairs held side by side, then numbers the distinct keys.
template <class K, class Less>
std::vector<int> DenseRanks(std::vector<std::pair<K, uint32_t>> keyed, Less less) {
    std::sort(keyed.begin(), keyed.end(),
              [&](const auto& a, const auto& b) { return less(a.first, b.first); });
    std::vector<int> ranks(keyed.size());
    int rank = 0;
    for (size_t i = 0; i < keyed.size(); ++i) {
        if (i > 0 && less(keyed[i - 1].first, keyed[i].first)) ++rank;
        ranks[keyed[i].second] = rank;
    }
    return ranks;
}

// A title as its first eight bytes (big-endian, so integer order is byte order) and where the
// rest of it lies in an arena that holds the tails of all titles close together (reading them
// from the notes themselves would touch a new cache line for nearly every comparison).
struct TextKey {
    uint64_t prefix;
    uint32_t rest; // 1 + the tail's offset in the arena; 0 when the title ends in the prefix
};

TextKey MakeTextKey(const std::string& title, std::string& arena) {
    const char* s = title.c_str();
    uint64_t prefix = 0;
    int i = 0;
    for (; i < 8 && s[i]; ++i)
        prefix |= static_cast<uint64_t>(static_cast<unsigned char>(s[i])) << (56 - 8 * i);
    if (i < 8) return {prefix, 0};
    const uint32_t at = static_cast<uint32_t>(arena.size());
    arena.append(s + 8); // up to the first zero
    arena.push_back('\0');
    return {prefix, at + 1};
}
} // namespace

std::vector<int> CNoteSort::Ranks(const std::vector<const CNote*>& v, Key key) {
    const uint32_t n = static_cast<uint32_t>(v.size());
    switch (key) {
    case ByText: {
        std::string arena;
        std::vector<std::pair<TextKey, uint32_t>> k(n);
        for (uint32_t i = 0; i < n; ++i)
            k[i] = {MakeTextKey(v[i]->m_title, arena), i};
        const char* tails = arena.data();
        return DenseRanks(std::move(k), [tails](const TextKey& a, const TextKey& b) {
            if (a.prefix != b.prefix) return a.prefix < b.prefix;
            // Equal prefixes: both titles end within them, or both go on.
            if (!a.rest || !b.rest) return false;
            return std::strcmp(tails + (a.rest - 1), tails + (b.rest - 1)) < 0;
        });
    }
    case ByTime: {
        std::vector<std::pair<double, uint32_t>> k(n);
        for (uint32_t i = 0; i < n; ++i)
            k[i] = {TimeKey(*v[i]), i};
        return DenseRanks(std::move(k), std::less<double>());
    }
    case ByType:
    default: {
        std::vector<std::pair<int64_t, uint32_t>> k(n);
        for (uint32_t i = 0; i < n; ++i)
            k[i] = {TypeKey(*v[i]), i};
        return DenseRanks(std::move(k), std::less<int64_t>());
    }
    }
}

std::vector<uint32_t> CNoteSort::SwapTargets(std::vector<int> ranks, bool ascending) {
    const uint32_t n = static_cast<uint32_t>(ranks.size());
    std::vector<uint32_t> targets(n);
    if (n == 0) return targets;
    // A segment tree over positions whose nodes hold the least (rank, position) of their
    // range, packed in one integer. Positions are distinct, so the least pair is the first
    // minimum, exactly the element the quadratic scan keeps. The first maximum is the first
    // minimum of the reversed ranks.
    auto packed = [&](uint32_t pos) {
        const uint64_t r = static_cast<uint32_t>(ascending ? ranks[pos] : n - 1 - ranks[pos]);
        return (r << 32) | pos;
    };
    uint32_t size = 1;
    while (size < n)
        size <<= 1;
    std::vector<uint64_t> tree(2 * size, UINT64_MAX);
    for (uint32_t i = 0; i < n; ++i)
        tree[size + i] = packed(i);
    for (uint32_t i = size - 1; i > 0; --i)
        tree[i] = std::min(tree[2 * i], tree[2 * i + 1]);
    auto set = [&](uint32_t pos) {
        uint32_t i = size + pos;
        tree[i] = packed(pos);
        for (i >>= 1; i > 0; i >>= 1)
            tree[i] = std::min(tree[2 * i], tree[2 * i + 1]);
    };
    for (uint32_t i = 0; i < n; ++i) {
        uint64_t best = UINT64_MAX;
        for (uint32_t lo = size + i, hi = size + n; lo < hi; lo >>= 1, hi >>= 1) {
            if (lo & 1) best = std::min(best, tree[lo++]);
            if (hi & 1) best = std::min(best, tree[--hi]);
        }
        const uint32_t at = static_cast<uint32_t>(best);
        targets[i] = at;
        if (at != i) { // position i is never asked again; only the swapped-out one moves
            std::swap(ranks[i], ranks[at]);
            set(at);
        }
    }
    return targets;
}
