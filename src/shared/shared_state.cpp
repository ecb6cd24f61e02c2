#include "shared/shared_state.h"

#include "records/collections.h"
#include "records/instrument.h"

namespace {

// The object behind a getter, created on first use.
template <class T>
T& CreatedOnFirstUse(std::unique_ptr<T>& object)
{
    if (!object)
        object = std::make_unique<T>();
    return *object;
}

} // namespace

SharedState::SharedState() = default;
SharedState::~SharedState() = default;

clsInstrument& SharedState::MainInstrument() { return CreatedOnFirstUse(m_mainInstrument); }
clsIntervals& SharedState::MainIntervals() { return CreatedOnFirstUse(m_mainIntervals); }
clsAlarms& SharedState::MainAlarms() { return CreatedOnFirstUse(m_mainAlarms); }
clsPowerEvents& SharedState::MainPowerEvents() { return CreatedOnFirstUse(m_mainPowerEvents); }
clsHistorys& SharedState::MainHistorys() { return CreatedOnFirstUse(m_mainHistorys); }
clsInstrument& SharedState::StoredInstrument() { return CreatedOnFirstUse(m_storedInstrument); }
