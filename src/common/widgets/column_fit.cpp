#include "common/widgets/column_fit.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

std::vector<int> FitColumnWidths(const std::vector<int>& wanted, std::vector<int> need,
                                 const std::vector<SpanNeed>& spans, int room)
{
    const int n = static_cast<int>(wanted.size());
    need.resize(wanted.size(), 0);
    // A merged text that does not fit the single texts of its columns widens
    // them evenly.
    for (const SpanNeed& s : spans) {
        const int first = std::clamp(s.first, 0, n);
        const int last = std::clamp(s.first + s.count, first, n);
        if (last == first)
            continue;
        int have = 0;
        for (int c = first; c < last; ++c)
            have += need[static_cast<size_t>(c)];
        const int missing = s.width - have;
        if (missing <= 0)
            continue;
        const int k = last - first;
        for (int c = first; c < last; ++c)
            need[static_cast<size_t>(c)] += missing / k + ((c - first) < missing % k ? 1 : 0);
    }

    // A column with text is short when it is narrower than its text or when
    // part of it lies beyond the room.
    bool anyShort = false;
    int start = 0;
    for (int c = 0; c < n; ++c) {
        const int w = wanted[static_cast<size_t>(c)];
        const int t = need[static_cast<size_t>(c)];
        if (t > 0 && (w < t || start + w > room))
            anyShort = true;
        start += w;
    }
    if (!anyShort)
        return wanted;

    const int totalNeed = std::accumulate(need.begin(), need.end(), 0);
    std::vector<int> out(wanted.size());
    if (totalNeed > room) {
        // No room for all: every text at its own width, the grid scrolls.
        for (int c = 0; c < n; ++c) {
            const size_t i = static_cast<size_t>(c);
            out[i] = need[i] > 0 ? need[i] : wanted[i];
        }
        return out;
    }

    std::vector<int> spare(wanted.size());
    for (int c = 0; c < n; ++c) {
        const size_t i = static_cast<size_t>(c);
        out[i] = std::max(wanted[i], need[i]);
        spare[i] = out[i] - need[i];
    }
    int excess = std::accumulate(out.begin(), out.end(), 0) - room;
    if (excess <= 0)
        return out;
    // The excess is at most the spare in all (the texts fit the room), taken
    // in proportion to each column's spare; the pixels lost to rounding down
    // come from the columns with the most spare left.
    const long long totalSpare = std::accumulate(spare.begin(), spare.end(), 0LL);
    int taken = 0;
    for (int c = 0; c < n; ++c) {
        const size_t i = static_cast<size_t>(c);
        const int cut = static_cast<int>(static_cast<long long>(excess) * spare[i] / totalSpare);
        out[i] -= cut;
        spare[i] -= cut;
        taken += cut;
    }
    excess -= taken;
    while (excess > 0) {
        const auto most = std::max_element(spare.begin(), spare.end());
        if (*most <= 0)
            break;
        const size_t i = static_cast<size_t>(most - spare.begin());
        --out[i];
        --*most;
        --excess;
    }
    return out;
}
