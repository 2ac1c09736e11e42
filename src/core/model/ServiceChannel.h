#pragma once

#include <cstdint>
#include <optional>

#include "core/sim/ChainSet.h"
#include "core/sim/FlowLaw.h"
#include "core/sim/Transact.h"

namespace mardo {

// One server: the transact it serves and the ticks of service still to come. A service device
// is one channel and a multichannel device several, so both take the next transact and draw its
// service time through this one path.
class CServiceChannel {
public:
    // Takes the best waiting head of the inputs into service, its time drawn from the law
    // through the block's source of service times, or becomes idle; answers whether it serves.
    bool Start(CChainSet& inputs, const CFlowLaw& law, CRandomSource& draws) {
        if (std::optional<CTransact> next = inputs.TakeBest()) {
            m_current = *next;
            m_bServing = true;
            m_nRemaining = m_nServiceTime = law.Sample(draws);
        } else {
            m_bServing = false;
        }
        return m_bServing;
    }
    // Serves one tick; answers whether that ended the service (the transact is then Current()).
    bool Serve() { return --m_nRemaining == 0; }
    // Serves ticks that cannot end the service.
    void Skip(std::int32_t nTicks) { m_nRemaining -= nTicks; }
    // Drops the transact in service.
    void Clear() { m_bServing = false; }
    // A service under way counts, for the figures, as one begun now.
    void RestartFigures() { m_nServiceTime = m_nRemaining; }

    bool IsServing() const { return m_bServing; }
    const bool* ServingFlag() const { return &m_bServing; }
    CTransact& Current() { return m_current; }
    const CTransact& Current() const { return m_current; }
    std::int32_t GetRemaining() const { return m_nRemaining; }
    // Whether the transact in service has had part of its service.
    bool IsPartlyServed() const { return m_bServing && m_nRemaining != m_nServiceTime; }

private:
    CTransact m_current;
    bool m_bServing = false;
    std::int32_t m_nRemaining = 0;
    std::int32_t m_nServiceTime = 0;
};

}  // namespace mardo
