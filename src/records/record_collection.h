#pragma once
#include "records/instrument.h"
#include "records/record_text.h"

#include <QString>
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

// An ordered, keyed list of records that owns them. Records keep their
// address for as long as they are in the list. Positions are 1-based.
template <class R>
class RecordCollection {
public:
    class iterator {
    public:
        using Inner = typename std::vector<std::unique_ptr<R>>::const_iterator;
        explicit iterator(Inner it) : m_it(it) {}
        R* operator*() const { return m_it->get(); }
        iterator& operator++() { ++m_it; return *this; }
        bool operator!=(const iterator& o) const { return m_it != o.m_it; }
        bool operator==(const iterator& o) const { return m_it == o.m_it; }
    private:
        Inner m_it;
    };

    RecordCollection() = default;
    RecordCollection(const RecordCollection&) = delete;
    RecordCollection& operator=(const RecordCollection&) = delete;

    // Removes every record (and ends any block in progress).
    void Clear()
    {
        resetStage();
        removeAll();
    }

    // Creates a record under key, with SeqNo and this collection's
    // instrument. Returns nullptr (and adds nothing) when key is present.
    R* Add(const QString& key, qint64 seqNo)
    {
        if (Item(key))
            return nullptr;
        auto rec = std::make_unique<R>();
        rec->SetKey(key);
        rec->SetSeqNo(seqNo);
        if (m_instruments)
            rec->SetInstrument(m_instruments);
        R* raw = rec.get();
        m_items.push_back(std::move(rec));
        return raw;
    }

    // The record under key, or nullptr.
    R* Item(const QString& key) const
    {
        for (const auto& r : m_items)
            if (r->Key() == key)
                return r.get();
        return nullptr;
    }
    // The record at 1-based position, or nullptr.
    R* Item(int position) const
    {
        if (position < 1 || position > static_cast<int>(m_items.size()))
            return nullptr;
        return m_items[static_cast<size_t>(position - 1)].get();
    }
    int Count() const { return static_cast<int>(m_items.size()); }

    // False when no record has that key or position.
    bool Remove(const QString& key)
    {
        for (auto it = m_items.begin(); it != m_items.end(); ++it) {
            if ((*it)->Key() == key) {
                m_items.erase(it);
                return true;
            }
        }
        return false;
    }
    bool Remove(int position)
    {
        if (position < 1 || position > static_cast<int>(m_items.size()))
            return false;
        m_items.erase(m_items.begin() + (position - 1));
        return true;
    }

    // Insertion order: for (clsInterval* r : intervals) ...
    iterator begin() const { return iterator(m_items.cbegin()); }
    iterator end() const { return iterator(m_items.cend()); }

    // The instrument that new records are bound to (records that exist
    // already keep theirs).
    clsInstrument* Instruments() const { return m_instruments; }
    void SetInstruments(clsInstrument* instrument) { m_instruments = instrument; }

    // The selected record (nullptr for none), kept by its key.
    R* SelectedItem() const { return m_selectedKey.isEmpty() ? nullptr : Item(m_selectedKey); }
    void SetSelectedItem(const R* record) { m_selectedKey = record ? record->Key() : QString(); }

    // The lines rejected by the check pass, each preceded by CR LF.
    const QString& FailLine() const { return m_failLine; }
    void SetFailLine(const QString& text) { m_failLine = text; }
    // A message the store pass leaves for the interface control.
    const QString& MessageString() const { return m_messageString; }
    void SetMessageString(const QString& text) { m_messageString = text; }

protected:
    void removeAll()
    {
        while (!m_items.empty())
            m_items.pop_back();
        m_selectedKey.clear();
    }

    // ---- block staging ----------------------------------------------------
    // The interface control calls SetDatas for every line of a block with
    // checkOnly = true, then, when all passed, for the same lines with
    // checkOnly = false. A store pass that fails part-way must leave nothing
    // of its block: the first store call after check calls notes every
    // record's state; a failing store line puts it all back, and the rest of
    // that store pass is refused. The next check call closes the stage.
    //
    // A block taken again: after a line fault the interface control cannot
    // always tell the instrument's next block from the block it took last,
    // sent once more (equal, unnumbered blocks after a time-out), and takes
    // it. Its lines were stored already: its store pass stores nothing (each
    // line goes to the serial log as duplicate data) and succeeds, however
    // often it comes. Such a block is known by its lines: the check calls
    // since the last store pass end with the lines of the block stored last,
    // and its store pass starts with that block's first line. A single line
    // cannot tell: event and power-event lines carry no number of their own,
    // two equal ones are two events, and data-line numbers start again after
    // 9999.

    // Starts one SetDatas call. Nothing when the caller is to parse the
    // line; otherwise the result to give without parsing it (false in a
    // store pass that failed already, true in the store pass of a block
    // taken again). `part` keeps apart the lines of requests that fill the
    // collection together (the gas of a calibration-history line).
    std::optional<bool> beginLine(const QString& line, bool checkOnly, int part = 0)
    {
        BlockLine received{part, line};
        if (checkOnly) {
            if (m_inStore)
                closeStage();
            m_checkLines.push_back(std::move(received));
            return std::nullopt;
        }
        if (!m_inStore) {
            m_inStore = true;
            m_storeFailed = false;
            m_takenAgain = repeatsLastBlock(received);
            m_checkLines.clear();
            m_storeLines.clear();
            if (!m_takenAgain) {
                m_stageCount = m_items.size();
                m_stageMessage = m_messageString;
                for (auto& r : m_items)
                    r->BeginStage();
            }
        }
        if (m_storeFailed)
            return false;
        if (m_takenAgain) {
            records_text::WriteSerialLog(QStringLiteral("<<< Duplicate data >>>")
                                         + records_text::CleanLine(line));
            return true;
        }
        m_storeLines.push_back(std::move(received));
        return std::nullopt;
    }

    void failStore()
    {
        if (!m_inStore || m_storeFailed)
            return;
        while (m_items.size() > m_stageCount)
            m_items.pop_back();
        for (auto& r : m_items)
            r->RollbackStage();
        m_messageString = m_stageMessage;
        m_storeFailed = true;
    }

    void closeStage()
    {
        for (auto& r : m_items)
            r->EndStage();
        if (!m_takenAgain && !m_storeFailed)
            m_lastBlock = std::move(m_storeLines);
        m_storeLines.clear();
        m_inStore = false;
        m_storeFailed = false;
        m_takenAgain = false;
    }

    void resetStage()
    {
        m_inStore = false;
        m_storeFailed = false;
        m_takenAgain = false;
        m_stageCount = 0;
        m_checkLines.clear();
        m_storeLines.clear();
        m_lastBlock.clear();
    }

    void appendFailLine(const QString& line) { m_failLine += QStringLiteral("\r\n") + line; }

    // A rejected line: listed in FailLine (cleaned); in the store pass it
    // also puts the block back.
    void failLine(const QString& line, bool checkOnly)
    {
        appendFailLine(records_text::CleanLine(line));
        if (!checkOnly)
            failStore();
    }

    // Runs dispatch() for one line and files a false result as failLine
    // does. An unexpected fault fails the line without a FailLine entry (the
    // store pass is still put back).
    template <class Dispatch>
    bool guardedLine(const QString& line, bool checkOnly, Dispatch&& dispatch)
    {
        bool result;
        try {
            result = dispatch();
        } catch (...) {
            if (!checkOnly)
                failStore();
            return false;
        }
        if (!result)
            failLine(line, checkOnly);
        return result;
    }

    // The record of the logger that the cleaned line names in its first two
    // characters, keyed "NN L"; a new record is created with SeqNo 0 and
    // handed to onNew. nullptr when those characters are no number.
    template <class OnNew>
    R* loggerRecord(const QString& line, OnNew&& onNew)
    {
        const QString logger = records_text::Mid(line, 1, 2);
        if (!records_text::IsNumeric(logger))
            return nullptr;
        const QString key = logger + QStringLiteral(" L");
        R* rec = Item(key);
        if (!rec) {
            rec = Add(key, 0);
            onNew(rec);
        }
        return rec;
    }

    std::vector<std::unique_ptr<R>> m_items;
    clsInstrument* m_instruments = nullptr;
    QString m_selectedKey;
    QString m_failLine;
    QString m_messageString;

private:
    struct BlockLine {
        int part = 0;
        QString text;
        bool operator==(const BlockLine&) const = default;
    };

    // True when the store pass that starts with `first` is the store pass of
    // the block stored last (see beginLine).
    bool repeatsLastBlock(const BlockLine& first) const
    {
        const size_t n = m_lastBlock.size();
        return n > 0 && first == m_lastBlock.front() && m_checkLines.size() >= n
            && std::equal(m_lastBlock.begin(), m_lastBlock.end(), m_checkLines.end() - static_cast<std::ptrdiff_t>(n));
    }

    bool m_inStore = false;
    bool m_storeFailed = false;
    bool m_takenAgain = false;
    size_t m_stageCount = 0;
    QString m_stageMessage;
    // Lines of the check calls since the last store pass began, of the
    // current store pass, and of the last store pass that succeeded.
    std::vector<BlockLine> m_checkLines;
    std::vector<BlockLine> m_storeLines;
    std::vector<BlockLine> m_lastBlock;
};
