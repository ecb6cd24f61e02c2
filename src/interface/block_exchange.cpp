#include "interface/block_exchange.h"

#include <algorithm>
#include <limits>
#include <tuple>
#include <unordered_set>
#include <utility>

namespace {

// The index of a stale block: one of an earlier request, which one is of no
// matter (its bytes are not known).
constexpr int kAnyBlock = -2;
// Reach of a reading in which a request of another download may still be
// heard: no ACK block can be advised.
constexpr int kNever = std::numeric_limits<int>::max() / 2;
// More readings than this means the line has been disturbed beyond what can
// be followed; the exchange is then lost rather than slow. Merged as they
// are, readings stay few: this is a guard, not a working limit.
constexpr std::size_t kMaxReadings = 4096;

} // namespace

struct BlockExchange::State {
    int request = -1;
    int index = -1;
    std::int64_t from = 0;
    bool skip = false;

    bool operator==(const State&) const = default;
};

namespace {

// A template: the state is the model's own type.
struct StateHash {
    template <class S>
    std::size_t operator()(const S& s) const
    {
        std::size_t h = std::hash<std::int64_t>()(s.from);
        h = h * 1000003u ^ std::hash<int>()(s.request);
        h = h * 1000003u ^ std::hash<int>()(s.index);
        return h * 2u + (s.skip ? 1u : 0u);
    }
};

} // namespace

BlockExchange::BlockExchange()
{
    m_readings.assign(1, Reading{});
}

const BlockExchange::Frame& BlockExchange::At(std::int64_t position) const
{
    return m_sent[static_cast<std::size_t>(position - m_base)];
}

std::int64_t BlockExchange::End() const
{
    return m_base + static_cast<std::int64_t>(m_sent.size());
}

void BlockExchange::Start(const QByteArray& echo)
{
    if (m_lost) {
        // The line broke the rules the model follows: anything of the lost
        // request may still be on its way, and its blocks may be of any
        // kind the instrument was asked for before.
        if (m_request >= 0)
            m_echoes[static_cast<std::size_t>(m_request)].clear();
        Reading r;
        r.request = m_request;
        r.index = kAnyBlock;
        r.from = m_requestStart;
        m_readings.assign(1, r);
    }
    ++m_request;
    m_echoes.push_back(echo);
    m_requestStart = End();
    m_lost = false;
    m_numberBase.reset();
    m_numbersOff = false;
    m_reliedOnNumbers = false;
    m_taken.clear();
    m_alignKnown = true;
    std::vector<Reading> next = m_readings;
    for (Reading& r : next) {
        // The block the instrument holds is one of an earlier request now.
        if (r.request >= 0)
            r.index = kAnyBlock;
        r.got = 0;
        r.lastGot.clear();
    }
    Keep(std::move(next));
}

void BlockExchange::Sent(Ask ask)
{
    m_sent.push_back(Frame{ask, m_request});
}

std::size_t BlockExchange::Pending() const
{
    std::int64_t most = 0;
    for (const Reading& r : m_readings)
        most = std::max(most, End() - r.from - (r.skip ? 1 : 0));
    return static_cast<std::size_t>(most);
}

bool BlockExchange::EchoFits(int request, const QByteArray& block) const
{
    if (request < 0 || request >= static_cast<int>(m_echoes.size()))
        return false;
    const QByteArray& echo = m_echoes[static_cast<std::size_t>(request)];
    return echo.isEmpty() || block.mid(5, echo.size()) == echo;
}

template <class Visit, class Reached>
void BlockExchange::Explore(const Reading& r, Visit&& visit, Reached&& reached) const
{
    const std::int64_t end = End();
    // What the instrument does on hearing a frame: its current block
    // changes, and the block it sends (request -1: none).
    const auto hear = [this](State& s, const Frame& f) -> State {
        State block;
        switch (f.ask) {
        case Ask::Request:
            s.request = f.request;
            s.index = f.request == m_request ? 0 : kAnyBlock;
            break;
        case Ask::Ack:
            if (s.request < 0)
                return block; // no download under way: nothing to go on to
            if (s.index >= 0)
                ++s.index;
            break;
        case Ask::Nak:
            if (s.request < 0)
                return block;
            break;
        }
        block.request = s.request;
        block.index = s.index;
        return block;
    };
    const auto next = [](const State& s) { return s.skip ? s.from + 2 : s.from + 1; };

    std::unordered_set<State, StateHash> seen;
    std::vector<State> work{State{r.request, r.index, r.from, r.skip}};
    seen.insert(work.front());
    reached(work.front());
    const auto reach = [&](const State& s) {
        if (seen.insert(s).second) {
            work.push_back(s);
            reached(s);
        }
    };
    while (!work.empty()) {
        const State s = work.back();
        work.pop_back();
        if (s.from >= end)
            continue;
        const Frame& front = At(s.from);
        if (!s.skip && front.ask == Ask::Nak) {
            std::int64_t runEnd = s.from + 1;
            while (runEnd < end && At(runEnd).ask == Ask::Nak)
                ++runEnd;
            if (runEnd - s.from > 2) {
                // A run of NAK blocks: each does what the first does, and
                // the first leaves the most frames to be heard. The others
                // matter only at the run's end, where the frame after the
                // last of them may overtake it.
                State x = s;
                const State block = hear(x, front);
                x.from = s.from + 1;
                visit(x, block);
                reach(State{s.request, s.index, runEnd - 1, false});
                continue;
            }
        }
        // The oldest frame was lost on the way (or heard and not acted on).
        reach(State{s.request, s.index, next(s), false});
        {
            // It was heard; its block arrives now, or is lost and a later
            // one comes.
            State x = s;
            const State block = hear(x, front);
            x.from = next(s);
            x.skip = false;
            visit(x, block);
            reach(x);
        }
        if (!s.skip && s.from + 1 < end) {
            const Frame& second = At(s.from + 1);
            // The frame after it is heard first; the oldest then comes next
            // or not at all. Two equal frames in either order are the same.
            if (second.ask != front.ask || second.request != front.request) {
                State x = s;
                const State block = hear(x, second);
                x.from = s.from;
                x.skip = true;
                visit(x, block);
                reach(x);
            }
        }
    }
}

bool BlockExchange::RequestPending(const Reading& r) const
{
    const std::int64_t end = End();
    for (std::int64_t p = r.from; p < end; p = (p == r.from && r.skip) ? p + 2 : p + 1)
        if (At(p).ask == Ask::Request)
            return true;
    return false;
}

int BlockExchange::Reach(const Reading& r) const
{
    // Every ACK block still to be heard moves the instrument on by one, from
    // block 0 at the latest once this request is heard. An upper bound:
    // frames may still be lost.
    int reach = r.request == m_request ? r.index : -1;
    const std::int64_t end = End();
    for (std::int64_t p = r.from; p < end; p = (p == r.from && r.skip) ? p + 2 : p + 1) {
        const Frame& f = At(p);
        if (f.ask == Ask::Request) {
            if (f.request != m_request)
                return kNever;
            reach = std::max(reach, 0);
        } else if (f.ask == Ask::Ack && reach >= 0) {
            ++reach;
        }
    }
    return reach;
}

BlockExchange::Judgement BlockExchange::Judge(const QByteArray& block, std::optional<std::int64_t> number) const
{
    using Kind = Judgement::Kind;
    Judgement j;
    j.m_block = block;
    if (m_lost)
        return j;

    enum class Place { New, Repeat, Older, Ahead, Stale };
    struct Found {
        Reading reading;
        int index;
        Place place;
    };
    std::vector<Found> found;
    for (const Reading& r : m_readings) {
        Explore(r, [&](const State& s, const State& sent) {
            if (sent.request < 0)
                return;
            Reading x = With(r, s);
            if (sent.request != m_request) {
                if (EchoFits(sent.request, block))
                    found.push_back({std::move(x), sent.index, Place::Stale});
                return;
            }
            if (sent.index == r.got) {
                found.push_back({std::move(x), sent.index, Place::New});
            } else if (sent.index > r.got) {
                // Before block 0 is taken, the request is asked again and
                // starts the download over: a block sent ahead is only one
                // not to take.
                found.push_back({std::move(x), sent.index, r.got == 0 ? Place::Stale : Place::Ahead});
            } else if (sent.index < r.got - 1) {
                // A block taken before, sent again after the request was
                // heard late: where the block taken at that index is known,
                // its bytes must be that block's.
                const std::size_t i = static_cast<std::size_t>(sent.index);
                if (i >= m_taken.size() || block == m_taken[i])
                    found.push_back({std::move(x), sent.index, Place::Older});
            } else if (block == r.lastGot)
                found.push_back({std::move(x), sent.index, Place::Repeat});
            // else: the block taken last again, but with other bytes: this
            // reading does not fit.
        }, [](const State&) {});
    }

    // Of the ways a block arrives, those that leave more frames of ours to be
    // heard cover the others.
    Merge(found, [](const Found& f) -> const Reading& { return f.reading; },
          [](const Found& f) { return std::pair<int, int>(static_cast<int>(f.place), f.index); });

    // Numbered headers: only the readings whose index the number gives.
    // Numbers are known only once block 0 is taken, and from then on no
    // reading explains a block as a stale one.
    if (m_numberBase && !m_numbersOff) {
        std::vector<Found> fitting;
        if (number) {
            for (const Found& f : found)
                if (f.place == Place::Stale || *m_numberBase + f.index == *number)
                    fitting.push_back(f);
        }
        if (fitting.empty() && !found.empty()) {
            // The header does not number the blocks after all. What was
            // judged by the numbers may be wrong: then nothing can be
            // trusted any more.
            if (m_reliedOnNumbers)
                return j;
            j.m_numbersBroken = true;
        } else {
            j.m_reliesOnNumbers = fitting.size() < found.size();
            found = std::move(fitting);
        }
    }
    j.m_number = number;

    if (found.empty())
        return j;
    bool anyNew = false;
    bool anyRepeat = false;
    bool anyStale = false;
    for (const Found& f : found) {
        // Ahead: the instrument may have skipped a block. Older: it may have
        // started over on a request that reached it late, and would need
        // more ACK blocks than the download has blocks to come back.
        if (f.place == Place::Ahead || f.place == Place::Older)
            return j;
        anyNew = anyNew || f.place == Place::New;
        anyRepeat = anyRepeat || f.place == Place::Repeat;
        anyStale = anyStale || f.place == Place::Stale;
    }
    if (anyStale)
        j.m_verdict = anyNew || anyRepeat ? Verdict::MayBeStale : Verdict::Stale;
    else
        j.m_verdict = anyNew && anyRepeat ? Verdict::CannotTell : anyNew ? Verdict::Take : Verdict::Repeat;

    j.m_outcomes.reserve(found.size());
    for (Found& f : found) {
        const Kind kind = f.place == Place::New ? Kind::New : f.place == Place::Repeat ? Kind::Repeat : Kind::Stale;
        j.m_outcomes.push_back({std::move(f.reading), kind});
    }
    j.m_ack = !anyStale && std::all_of(j.m_outcomes.begin(), j.m_outcomes.end(), [this](const Judgement::Outcome& o) {
        const int got = o.kind == Kind::New ? o.reading.got + 1 : o.reading.got;
        return Reach(o.reading) + 1 <= got;
    });
    return j;
}

void BlockExchange::Resolve(const Judgement& judgement, bool taken)
{
    if (m_lost)
        return;
    if (judgement.m_verdict == Verdict::Lost) {
        m_lost = true;
        return;
    }
    if (taken) {
        if (judgement.m_numbersBroken)
            m_numbersOff = true;
        if (judgement.m_reliesOnNumbers)
            m_reliedOnNumbers = true;
        if (!m_numberBase && !m_numbersOff) {
            // The first block taken is block 0 in every reading. A first
            // field of 0 is taken to number nothing (an unnumbered header is
            // zeros).
            if (judgement.m_number && *judgement.m_number != 0)
                m_numberBase = *judgement.m_number;
            else
                m_numbersOff = true;
        }
    }
    if (taken && judgement.m_verdict == Verdict::CannotTell)
        m_alignKnown = false;
    if (taken && judgement.m_verdict == Verdict::Take && m_alignKnown)
        m_taken.push_back(judgement.m_block);
    std::vector<Reading> next;
    next.reserve(judgement.m_outcomes.size());
    for (const Judgement::Outcome& o : judgement.m_outcomes) {
        Reading r = o.reading;
        if (taken && o.kind == Judgement::Kind::New) {
            r.got += 1;
            r.lastGot = judgement.m_block;
        }
        next.push_back(std::move(r));
    }
    Keep(std::move(next));
}

void BlockExchange::Accept(const Judgement& judgement)
{
    Resolve(judgement, true);
}

void BlockExchange::Decline(const Judgement& judgement)
{
    Resolve(judgement, false);
}

std::vector<BlockExchange::Reading> BlockExchange::Arrivals() const
{
    std::vector<Reading> next;
    for (const Reading& r : m_readings) {
        Explore(
            r,
            [&](const State& s, const State& sent) {
                if (sent.request >= 0)
                    next.push_back(With(r, s));
            },
            [](const State&) {});
    }
    return next;
}

BlockExchange::Reading BlockExchange::With(const Reading& r, const State& s)
{
    Reading x = r;
    x.request = s.request;
    x.index = s.index;
    x.from = s.from;
    x.skip = s.skip;
    return x;
}

void BlockExchange::Garbled()
{
    if (m_lost)
        return;
    Keep(Arrivals());
}

void BlockExchange::Foreign()
{
    if (m_lost)
        return;
    // A block of ours or a stale one, garbled into another command's answer,
    // or nothing of ours answered at all.
    std::vector<Reading> next = Arrivals();
    next.insert(next.end(), m_readings.begin(), m_readings.end());
    Keep(std::move(next));
}

void BlockExchange::Refused()
{
    if (m_lost)
        return;
    // Noise, or any frame still to be heard was heard and not acted on,
    // after others were heard and their blocks lost: every state the line
    // can reach without a block arriving.
    std::vector<Reading> next;
    for (const Reading& r : m_readings)
        Explore(r, [](const State&, const State&) {}, [&](const State& s) { next.push_back(With(r, s)); });
    Keep(std::move(next));
}

template <class T, class Get, class Tag>
void BlockExchange::Merge(std::vector<T>& items, Get reading, Tag tag) const
{
    // Without numbers, once a block was taken that the bytes could not
    // place, only where the instrument stands against what was taken tells
    // readings of this request apart.
    const bool relative = m_numbersOff && !m_alignKnown;
    using Key = std::tuple<std::pair<int, int>, int, int, int>;
    struct Keyed {
        Key key;
        std::size_t item;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Reading& r = reading(items[i]);
        if (relative && r.request == m_request && !RequestPending(r))
            keyed.push_back({Key(tag(items[i]), r.request, r.index - r.got, 0), i});
        else
            keyed.push_back({Key(tag(items[i]), r.request, r.index, r.got), i});
    }
    const auto sameExceptFrames = [&](const Keyed& a, const Keyed& b) {
        return a.key == b.key && reading(items[a.item]).lastGot == reading(items[b.item]).lastGot;
    };
    // a has every frame of ours that b has yet to hear, in the same order:
    // losing the others brings a to b.
    const auto covers = [](const Reading& a, const Reading& b) {
        if (!a.skip)
            return a.from <= b.from;
        return b.from == a.from ? b.skip : b.from >= a.from + 2;
    };
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        if (a.key != b.key)
            return a.key < b.key;
        const Reading& x = reading(items[a.item]);
        const Reading& y = reading(items[b.item]);
        if (x.lastGot != y.lastGot)
            return x.lastGot < y.lastGot;
        if (x.from != y.from)
            return x.from < y.from;
        return x.skip < y.skip;
    });
    // Sorted so, an item is covered, if at all, by one kept before it in its
    // group, and a group keeps at most three.
    std::vector<Keyed> kept;
    std::size_t group = 0;
    for (const Keyed& k : keyed) {
        if (group < kept.size() && !sameExceptFrames(kept[group], k))
            group = kept.size();
        bool covered = false;
        for (std::size_t c = group; c < kept.size() && !covered; ++c)
            covered = covers(reading(items[kept[c].item]), reading(items[k.item]));
        if (!covered)
            kept.push_back(k);
    }
    std::vector<T> merged;
    merged.reserve(kept.size());
    for (const Keyed& k : kept)
        merged.push_back(std::move(items[k.item]));
    items = std::move(merged);
}

void BlockExchange::Keep(std::vector<Reading> readings)
{
    Merge(readings, [](const Reading& r) -> const Reading& { return r; },
          [](const Reading&) { return std::pair<int, int>(0, 0); });
    m_readings = std::move(readings);
    if (m_readings.empty() || m_readings.size() > kMaxReadings) {
        m_lost = true;
        return;
    }
    // Frames no reading has yet to hear are forgotten, but never those of
    // the current request: after a loss they may all still come.
    std::int64_t oldest = std::min(End(), m_requestStart);
    for (const Reading& r : m_readings)
        oldest = std::min(oldest, r.from);
    while (m_base < oldest) {
        m_sent.pop_front();
        ++m_base;
    }
}
