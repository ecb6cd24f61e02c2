#include "common/widgets/column_fit.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

namespace {

// Takes excess pixels from the columns in proportion to what each can spare
// (excess at most the spare in all); the pixels lost to rounding down come
// from the columns with the most spare left.
void TakeByShare(std::vector<int>& out, std::vector<int> spare, int excess)
{
    const long long totalSpare = std::accumulate(spare.begin(), spare.end(), 0LL);
    if (excess <= 0 || totalSpare <= 0)
        return;
    int taken = 0;
    for (size_t i = 0; i < out.size(); ++i) {
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
}

} // namespace

std::vector<int> FitColumnWidths(const std::vector<int>& wanted, std::vector<int> need,
                                 const std::vector<SpanNeed>& spans, int room, const std::vector<GiveWay>& giveWay)
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
        // No room for all: every text at its own width, less what the
        // columns that give way can spare above their floors, order by
        // order.
        for (int c = 0; c < n; ++c) {
            const size_t i = static_cast<size_t>(c);
            out[i] = need[i] > 0 ? need[i] : wanted[i];
        }
        std::vector<int> fitted = out;
        int excess = std::accumulate(out.begin(), out.end(), 0) - room;
        std::vector<int> orders;
        for (size_t i = 0; i < giveWay.size() && i < need.size(); ++i)
            if (giveWay[i].floor > 0)
                orders.push_back(giveWay[i].order);
        std::sort(orders.begin(), orders.end());
        orders.erase(std::unique(orders.begin(), orders.end()), orders.end());
        for (const int order : orders) {
            if (excess <= 0)
                break;
            std::vector<int> spare(wanted.size(), 0);
            for (size_t i = 0; i < giveWay.size() && i < need.size(); ++i)
                if (giveWay[i].floor > 0 && giveWay[i].order == order && need[i] > giveWay[i].floor)
                    spare[i] = need[i] - giveWay[i].floor;
            const int cut = std::min(excess, std::accumulate(spare.begin(), spare.end(), 0));
            TakeByShare(fitted, spare, cut);
            excess -= cut;
        }
        // Where even the floors leave too little room, the grid scrolls.
        return excess > 0 ? out : fitted;
    }

    std::vector<int> spare(wanted.size());
    for (int c = 0; c < n; ++c) {
        const size_t i = static_cast<size_t>(c);
        out[i] = std::max(wanted[i], need[i]);
        spare[i] = out[i] - need[i];
    }
    // The excess is at most the spare in all (the texts fit the room).
    TakeByShare(out, spare, std::accumulate(out.begin(), out.end(), 0) - room);
    return out;
}

namespace {

// Laid-out widths kept at most; a long table repeats few texts that matter.
constexpr int kKeptWidths = 4096;

} // namespace

TextWidths::TextWidths(const QFont& font) : m_metrics(font)
{
    m_latin1.fill(-1);
}

void TextWidths::SetFont(const QFont& font)
{
    m_metrics = QFontMetricsF(font);
    m_latin1.fill(-1);
    m_others.clear();
    m_widths.clear();
}

qreal TextWidths::Width(const QString& text)
{
    const auto kept = m_widths.constFind(text);
    if (kept != m_widths.constEnd())
        return *kept;
    qreal width = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        width = std::max(width, m_metrics.horizontalAdvance(line));
    if (m_widths.size() >= kKeptWidths)
        m_widths.clear();
    m_widths.insert(text, width);
    return width;
}

qreal TextWidths::Bound(const QString& text)
{
    qreal sum = 0;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 256) {
            qreal& w = m_latin1[u];
            if (w < 0)
                w = m_metrics.horizontalAdvance(ch);
            sum += w;
            continue;
        }
        // Characters that join others (surrogate halves, combining marks)
        // have no advance of their own: the text is laid out whole.
        if (ch.isSurrogate() || ch.isMark())
            return Width(text);
        auto it = m_others.constFind(u);
        if (it == m_others.constEnd())
            it = m_others.insert(u, m_metrics.horizontalAdvance(ch));
        sum += *it;
    }
    return sum;
}

int TextWidths::Widest(std::vector<Candidate>& candidates, const std::function<QString(int)>& textOf)
{
    // Laid out in the order of their bounds, until no bound left can beat
    // the widest found (a little slack for the rounding of the sums).
    std::make_heap(candidates.begin(), candidates.end());
    qreal widest = -1;
    int id = -1;
    while (!candidates.empty() && candidates.front().bound > widest + 0.01) {
        std::pop_heap(candidates.begin(), candidates.end());
        const Candidate c = candidates.back();
        candidates.pop_back();
        const qreal w = Width(textOf(c.id));
        if (w > widest) {
            widest = w;
            id = c.id;
        }
    }
    return id;
}
