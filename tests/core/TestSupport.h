#pragma once

#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/model/BlockDlg.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/Model.h"
#include "core/model/QueueDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/run/RunThread.h"
#include "core/sim/MessageLog.h"
#include "core/sim/TransactList.h"

namespace mardo::test {

// A log that remembers every line.
struct SLogLine {
    std::string strText;
    int nKind;
    bool bWithTime;

    friend bool operator==(const SLogLine&, const SLogLine&) = default;
};

class CRecordingLog : public IMessageLog {
public:
    void AddMessage(const std::string& strText, int nKind, bool bWithTime) override {
        m_lines.push_back({strText, nKind, bWithTime});
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const SLogLine& line : m_lines) {
            texts.push_back(line.strText);
        }
        return texts;
    }

    std::vector<SLogLine> m_lines;
};

// A run session's thread with the default stack, or one that refuses with a message.
class CPlainThread final : public IRunThread {
public:
    explicit CPlainThread(std::optional<std::string> refusal = std::nullopt)
        : m_refusal(std::move(refusal)) {}
    ~CPlainThread() override { Join(); }

    std::optional<std::string> Start(const CModel&, std::function<void()> work) override {
        if (!m_refusal) {
            m_thread = std::thread(std::move(work));
        }
        return m_refusal;
    }
    void Join() override {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

private:
    std::optional<std::string> m_refusal;
    std::thread m_thread;
};

// Links output k of 'from' to 'to'.
inline void Link(CBlockDlg& from, CBlockDlg& to, std::int32_t k = 0) { from.SetOutLink(k, &to); }

// Adds a named block of a kind to the model.
template <typename TBlock>
TBlock& AddNamed(CModel& model, const std::string& strName) {
    TBlock& block = model.Add<TBlock>();
    block.SetName(strName);
    return block;
}

}  // namespace mardo::test

namespace mardo::test {

// Prepares the model's named blocks and calls the three passes of every named generator for
// ticks 1..nTicks, as the simulation loop would for a single generator; after each tick the
// callback sees the tick number.
template <typename TAfterTick>
void DriveTicks(CModel& model, std::uint32_t nTicks, TAfterTick afterTick) {
    std::vector<CBlockDlg*> generators;
    for (const auto& pBlock : model.GetBlocks()) {
        if (pBlock->IsNamed()) {
            pBlock->PrepareRun();
            if (pBlock->GetKind() == EBlockKind::kGenerate) {
                generators.push_back(pBlock.get());
            }
        }
    }
    for (std::uint32_t t = 1; t <= nTicks; ++t) {
        for (CBlockDlg* pGenerator : generators) {
            pGenerator->ArrivalPass(nullptr, t);
        }
        for (CBlockDlg* pGenerator : generators) {
            pGenerator->ServicePass(nullptr, t);
        }
        for (CBlockDlg* pGenerator : generators) {
            pGenerator->FinalPass(nullptr, t);
        }
        afterTick(t);
    }
}

}  // namespace mardo::test

namespace mardo::test {

// G (every 2 ticks) → Q → D (3 ticks) → T, stopped by time after 20 ticks. Its figures are
// worked out by hand in the scenario tests.
inline void BuildOverloadedSingleChannel(CModel& model) {
    auto& generator = AddNamed<CGenerateDlg>(model, "G");
    generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, 2, 2);
    auto& queue = AddNamed<CQueueDlg>(model, "Q");
    auto& device = AddNamed<CDeviceDlg>(model, "D");
    device.m_law = CFlowLaw(CFlowLaw::kDeterministic, 3, 3);
    auto& terminator = AddNamed<CTerminateDlg>(model, "T");
    Link(generator, queue);
    Link(queue, device);
    Link(device, terminator);
    model.m_experiment = {CExperimentParams::kByTime, 20, 1};
}

}  // namespace mardo::test

namespace mardo::test {

inline CTransactList ListOf(std::initializer_list<CTransact> transacts) {
    CTransactList list;
    for (const CTransact& t : transacts) {
        list.PushBack(t);
    }
    return list;
}

// One field of every transact in a list, front to back.
template <typename TField>
std::vector<std::int32_t> FieldOf(const CTransactList& list, TField field) {
    std::vector<std::int32_t> values;
    for (std::size_t i = 0; i < list.GetCount(); ++i) {
        values.push_back(field(list.At(i)));
    }
    return values;
}

inline std::vector<std::int32_t> Numbers(const CTransactList& list) {
    return FieldOf(list, [](const CTransact& t) { return t.GetNumber(); });
}

inline std::vector<std::int32_t> Priorities(const CTransactList& list) {
    return FieldOf(list, [](const CTransact& t) { return t.GetPriority(); });
}

}  // namespace mardo::test
