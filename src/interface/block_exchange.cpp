#include "interface/block_exchange.h"

#include <algorithm>
#include <utility>

namespace {

// More readings than this means the line has been disturbed beyond what can
// be followed; the exchange is then lost rather than slow.
constexpr std::size_t kMaxReadings = 2048;

} // namespace

void BlockExchange::Start()
{
    m_readings.assign(1, Reading{});
    m_lost = false;
    m_numberBase.reset();
    m_numbersOff = false;
    m_reliedOnNumbers = false;
}

void BlockExchange::Sent(Ask ask)
{
    for (Reading& r : m_readings)
        r.toHear.push_back(Outgoing{ask, false});
}

std::optional<int> BlockExchange::Hear(int& current, Ask ask)
{
    switch (ask) {
    case Ask::Request:
        current = 0;
        return 0;
    case Ask::Ack:
        if (current < 0)
            return std::nullopt; // no download under way: nothing to go on to
        return ++current;
    case Ask::Nak:
        if (current < 0)
            return std::nullopt;
        return current;
    }
    return std::nullopt;
}

template <class Visit>
void BlockExchange::NextHeard(const Reading& r, Visit&& visit)
{
    if (r.toHear.empty())
        return;
    {
        // The oldest frame was lost on the way.
        Reading x = r;
        x.toHear.erase(x.toHear.begin());
        NextHeard(x, visit);
    }
    {
        Reading x = r;
        const Ask ask = x.toHear.front().ask;
        x.toHear.erase(x.toHear.begin());
        visit(std::move(x), ask);
    }
    if (!r.toHear.front().overtaken && r.toHear.size() >= 2) {
        // The frame after it is heard first; the oldest then comes next or
        // not at all.
        Reading x = r;
        const Ask ask = x.toHear[1].ask;
        x.toHear.erase(x.toHear.begin() + 1);
        x.toHear.front().overtaken = true;
        visit(std::move(x), ask);
    }
}

template <class Found>
void BlockExchange::Arrivals(const Reading& r, Found&& found)
{
    NextHeard(r, [&found](Reading x, Ask ask) {
        if (const std::optional<int> block = Hear(x.current, ask))
            found(x, *block);
        // Or its block (if any) was lost on the way, and a later one came.
        Arrivals(x, found);
    });
}

template <class Found>
void BlockExchange::Unanswered(const Reading& r, Found&& found)
{
    NextHeard(r, [&found](Reading x, Ask ask) {
        found(x); // this frame was not acted on
        Hear(x.current, ask);
        Unanswered(x, found); // it was, its block was lost, and a later one was not
    });
}

int BlockExchange::Reach(const Reading& r)
{
    // Every ACK block still to be heard moves the instrument on by one, from
    // block 0 at the latest once a request is heard. An upper bound: frames
    // may still be lost.
    int reach = r.current;
    for (const Outgoing& o : r.toHear) {
        if (o.ask == Ask::Request)
            reach = std::max(reach, 0);
        else if (o.ask == Ask::Ack && reach >= 0)
            ++reach;
    }
    return reach;
}

BlockExchange::Judgement BlockExchange::Judge(const QByteArray& block, std::optional<std::int64_t> number) const
{
    Judgement j;
    if (m_lost)
        return j;

    enum class Kind { New, Repeat, Older, Ahead };
    struct Outcome {
        Reading reading;
        int index;
        Kind kind;
    };
    std::vector<Outcome> outcomes;
    for (const Reading& r : m_readings) {
        Arrivals(r, [&](const Reading& x, int index) {
            if (index == x.got)
                outcomes.push_back({x, index, Kind::New});
            else if (index > x.got)
                outcomes.push_back({x, index, Kind::Ahead});
            else if (index < x.got - 1)
                outcomes.push_back({x, index, Kind::Older});
            else if (block == x.lastGot)
                outcomes.push_back({x, index, Kind::Repeat});
            // else: the block taken last again, but with other bytes: this
            // reading does not fit.
        });
    }

    // Numbered headers: only the readings whose index the number gives.
    if (m_numberBase && !m_numbersOff) {
        std::vector<Outcome> fitting;
        if (number) {
            for (const Outcome& o : outcomes)
                if (*m_numberBase + o.index == *number)
                    fitting.push_back(o);
        }
        if (fitting.empty() && !outcomes.empty()) {
            // The header does not number the blocks after all. What was
            // judged by the numbers may be wrong: then nothing can be
            // trusted any more.
            if (m_reliedOnNumbers)
                return j;
            j.m_numbersBroken = true;
        } else {
            j.m_reliesOnNumbers = fitting.size() < outcomes.size();
            outcomes = std::move(fitting);
        }
    }
    j.m_number = number;

    if (outcomes.empty())
        return j;
    bool anyNew = false;
    bool anyRepeat = false;
    for (const Outcome& o : outcomes) {
        // Ahead: the instrument may have skipped a block. Older: it may have
        // started over on a request that reached it late, and would need
        // more ACK blocks than the download has blocks to come back.
        if (o.kind == Kind::Ahead || o.kind == Kind::Older)
            return j;
        anyNew = anyNew || o.kind == Kind::New;
        anyRepeat = anyRepeat || o.kind == Kind::Repeat;
    }
    j.m_verdict = anyNew && anyRepeat ? Verdict::CannotTell : anyNew ? Verdict::Take : Verdict::Repeat;

    for (Outcome& o : outcomes) {
        if (o.kind == Kind::New) {
            o.reading.got = o.index + 1;
            o.reading.lastGot = block;
        }
        if (std::find(j.m_readings.begin(), j.m_readings.end(), o.reading) == j.m_readings.end())
            j.m_readings.push_back(std::move(o.reading));
    }
    j.m_ack = std::all_of(j.m_readings.begin(), j.m_readings.end(),
                          [](const Reading& r) { return Reach(r) + 1 <= r.got; });
    return j;
}

void BlockExchange::Accept(const Judgement& judgement)
{
    if (m_lost)
        return;
    if (judgement.m_verdict == Verdict::Lost) {
        m_lost = true;
        return;
    }
    if (judgement.m_numbersBroken)
        m_numbersOff = true;
    if (judgement.m_reliesOnNumbers)
        m_reliedOnNumbers = true;
    if (!m_numberBase && !m_numbersOff) {
        // The first block taken is block 0 in every reading. A first field
        // of 0 is taken to number nothing (an unnumbered header is zeros).
        if (judgement.m_number && *judgement.m_number != 0)
            m_numberBase = *judgement.m_number;
        else
            m_numbersOff = true;
    }
    Keep(judgement.m_readings);
}

void BlockExchange::Garbled()
{
    if (m_lost)
        return;
    std::vector<Reading> next;
    for (const Reading& r : m_readings)
        Arrivals(r, [&next](const Reading& x, int) { next.push_back(x); });
    Keep(std::move(next));
}

void BlockExchange::Refused()
{
    if (m_lost)
        return;
    std::vector<Reading> next = m_readings; // noise: nothing of ours was answered
    for (const Reading& r : m_readings)
        Unanswered(r, [&next](const Reading& x) { next.push_back(x); });
    Keep(std::move(next));
}

void BlockExchange::Keep(std::vector<Reading> readings)
{
    std::vector<Reading> unique;
    for (Reading& r : readings)
        if (std::find(unique.begin(), unique.end(), r) == unique.end())
            unique.push_back(std::move(r));
    m_readings = std::move(unique);
    if (m_readings.empty() || m_readings.size() > kMaxReadings)
        m_lost = true;
}
