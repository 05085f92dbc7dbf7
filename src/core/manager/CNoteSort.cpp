#include "manager/CNoteSort.h"

#include "model/CNote.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>

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
template <class Less, class Equal> std::vector<int> DenseRanks(size_t n, Less less, Equal equal) {
    std::vector<uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), less);
    std::vector<int> ranks(n);
    int rank = 0;
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && !equal(order[i - 1], order[i])) ++rank;
        ranks[order[i]] = rank;
    }
    return ranks;
}
} // namespace

std::vector<int> CNoteSort::Ranks(const std::vector<const CNote*>& v, Key key) {
    switch (key) {
    case ByText:
        return DenseRanks(
            v.size(), [&](uint32_t a, uint32_t b) { return CompareText(*v[a], *v[b]) < 0; },
            [&](uint32_t a, uint32_t b) { return CompareText(*v[a], *v[b]) == 0; });
    case ByTime: {
        std::vector<double> k(v.size());
        for (size_t i = 0; i < v.size(); ++i)
            k[i] = TimeKey(*v[i]);
        return DenseRanks(
            v.size(), [&](uint32_t a, uint32_t b) { return k[a] < k[b]; },
            [&](uint32_t a, uint32_t b) { return k[a] == k[b]; });
    }
    case ByType:
    default: {
        std::vector<int64_t> k(v.size());
        for (size_t i = 0; i < v.size(); ++i)
            k[i] = TypeKey(*v[i]);
        return DenseRanks(
            v.size(), [&](uint32_t a, uint32_t b) { return k[a] < k[b]; },
            [&](uint32_t a, uint32_t b) { return k[a] == k[b]; });
    }
    }
}

std::vector<uint32_t> CNoteSort::SwapTargets(std::vector<int> ranks, bool ascending) {
    const uint32_t n = static_cast<uint32_t>(ranks.size());
    std::vector<uint32_t> targets(n);
    if (n == 0) return targets;
    if (!ascending) // the first maximum is the first minimum of the negated ranks
        for (int& r : ranks)
            r = -r;
    // A segment tree over positions; each node holds the position of the first minimum of its
    // range. Positions are distinct, so "smaller rank, then smaller position" picks exactly the
    // element the quadratic scan would keep.
    uint32_t size = 1;
    while (size < n)
        size <<= 1;
    constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();
    std::vector<uint32_t> tree(2 * size, kNone);
    auto better = [&](uint32_t a, uint32_t b) {
        if (a == kNone) return b;
        if (b == kNone) return a;
        return (ranks[b] < ranks[a] || (ranks[b] == ranks[a] && b < a)) ? b : a;
    };
    for (uint32_t i = 0; i < n; ++i)
        tree[size + i] = i;
    for (uint32_t i = size - 1; i > 0; --i)
        tree[i] = better(tree[2 * i], tree[2 * i + 1]);
    auto refresh = [&](uint32_t pos) {
        for (uint32_t i = (size + pos) >> 1; i > 0; i >>= 1)
            tree[i] = better(tree[2 * i], tree[2 * i + 1]);
    };
    for (uint32_t i = 0; i < n; ++i) {
        uint32_t best = kNone;
        for (uint32_t lo = size + i, hi = size + n; lo < hi; lo >>= 1, hi >>= 1) {
            if (lo & 1) best = better(best, tree[lo++]);
            if (hi & 1) best = better(best, tree[--hi]);
        }
        targets[i] = best;
        if (best != i) {
            std::swap(ranks[i], ranks[best]);
            refresh(i);
            refresh(best);
        }
    }
    return targets;
}
