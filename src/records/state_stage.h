#pragma once
#include <optional>
#include <utility>

// A copy of a record's whole state, taken when a download block's store
// pass begins and put back when that pass fails (see RecordCollection).
template <class S>
class StateStage {
public:
    void Begin(const S& state) { m_saved = state; }
    void End() { m_saved.reset(); }
    // Puts the noted state back (nothing when none was noted) and forgets it.
    void Rollback(S& state)
    {
        if (m_saved)
            state = std::move(*m_saved);
        m_saved.reset();
    }

private:
    std::optional<S> m_saved;
};
