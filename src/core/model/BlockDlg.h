#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/model/BlockEditor.h"
#include "core/model/BlockKind.h"
#include "core/model/BlockParam.h"
#include "core/model/BlockSnapshot.h"
#include "core/model/BlockView.h"
#include "core/model/Point.h"
#include "core/sim/TraceSource.h"
#include "core/sim/TransactList.h"

namespace mardo {

class CFileModel;
class CRandomContext;

// The three passes of a tick, in their order.
enum class EPass { kArrival = 0, kService = 1, kFinal = 2 };

// What the rest of the system needs to know of a kind beyond its operations, declared by the
// kind itself when it constructs its base.
struct SBlockTraits {
    bool bHasInput = true;    // other blocks' outputs may lead to it
    bool bSource = false;     // the simulation calls its passes itself, every tick
    bool bExit = false;       // transacts leave the system through it; nothing leads on
    bool bOnePerModel = false;  // a model holds at most one, so it is never copied
    bool bLongTitle = false;  // its caption scrolls while selected
    bool bHasState = false;   // its state, free or busy, can steer a switching block
    bool bVariableOutputs = false;  // its sheet sets the number of its outputs
    // It takes all it is handed in the visit that hands it, and acts on nothing else: since a
    // block that puts a transact in a list hands the list on in the same visit, it could never
    // act between passes, and the simulation need not ask it when ticks are quiet.
    bool bTakesAllHanded = false;
};

// When a block's passes could next do more than keep the figures it keeps lazily: the first
// tick in which any of its passes could, and the first from which on its arrival pass may not
// be left out. That may lie later (a device takes and ends services only in the service pass)
// or earlier (a queue's accounting of a new tick, which its arrival pass does, must come before
// a device takes from it). A block whose passes act alike gives one tick for both.
struct SQuietTicks {
    SQuietTicks(std::uint32_t nTick) : nAny(nTick), nArrival(nTick) {}  // every pass alike
    SQuietTicks(std::uint32_t nAnyPass, std::uint32_t nArrivalPass)
        : nAny(nAnyPass), nArrival(nArrivalPass) {}
    std::uint32_t nAny;
    std::uint32_t nArrival;
};

// The figures of a service device's row in the report.
struct SDeviceFigures {
    std::uint32_t nLeft;
    double dUtilization;
    double dAvgTime;
    bool bFree;
    std::uint32_t nWaiting;
};

// What a device with several channels adds to its row: how many, and how many were busy on
// average over the ticks.
struct SChannelFigures {
    std::int32_t nChannels;
    double dMeanBusy;
};

// The figures of a queue's row in the report.
struct SQueueFigures {
    std::uint32_t nEntered;
    std::uint32_t nZeroEntries;
    std::uint32_t nMaxContent;
    std::uint32_t nRemaining;
    double dAvgContent;
    double dAvgTimeAll;
    double dAvgTimeNonZero;
    bool bFree;
    std::uint32_t nWaiting;
};


// The common base of the block kinds: the record every block has (name, kind, position,
// input, outputs and their links, state flags, report counters) and the sixteen operations
// through which the editor, the model file and the simulation drive a block without knowing
// its kind. A tick travels down the links: each pass operation takes what the block accepts
// from the list it is handed and then calls the same pass on every output's destination,
// handing over that output's list.
class CBlockDlg {
public:
    static constexpr std::int32_t kMaxX = 5000;
    static constexpr std::int32_t kMaxY = 10000;

    virtual ~CBlockDlg() = default;
    CBlockDlg& operator=(const CBlockDlg&) = delete;

    // The sixteen operations, in their slot order.
    // Marks the block selected and tells its view.
    virtual void Select();
    // Marks the block not selected and tells its view.
    virtual void Deselect();
    // Enables the items of the block's menu that apply to this block.
    virtual void UpdateContextMenu(IBlockContextMenu& menu);
    // A copy of the same kind, place, outputs and parameters, with no name, links or run state.
    virtual std::unique_ptr<CBlockDlg> Clone() const = 0;
    // Opens the block's property sheet; true when the user accepted it (the block then holds it).
    virtual bool EditProperties(IBlockEditor& editor, const CBlockList& blocks) = 0;
    // Forgets every output link and every other reference to pBlock.
    virtual void RemoveLinksTo(const CBlockDlg* pBlock);
    // Writes the block's record (without the links, which the model file writes after it).
    virtual void Save(CFileModel& file) const;
    // Reads the block's record; throws the format error on a value out of range.
    virtual void Load(CFileModel& file);
    // Before a simulation, ahead of PrepareRun: takes from the simulation's randomness the
    // sources the block draws from, if any.
    virtual void TakeRandomSources(CRandomContext& /*random*/) {}
    // Before a simulation: becomes active with empty lists and zero figures.
    virtual void PrepareRun();
    // Between two runs of a simulation: what starts afresh with every run (a generator's count).
    virtual void EndRun();
    // After a simulation: drops every transact the block holds and becomes inactive.
    virtual void ClearTransacts();
    // A tick's first pass, handed the list an upstream block offers (null from the loop): a
    // generator creates what is due, every block takes what it accepts and passes on downstream.
    virtual void ArrivalPass(CTransactList* pIn, std::uint32_t nTime);
    // A tick's second pass, the same walk: a device serves its tick (ends and starts services).
    virtual void ServicePass(CTransactList* pIn, std::uint32_t nTime);
    // A tick's last pass, the same walk again, so that what the service pass freed moves on.
    virtual void FinalPass(CTransactList* pIn, std::uint32_t nTime);
    // Nonzero while the block holds a transact (the simulation ends when none does).
    virtual int HasTransacts();
    // After the last tick: turns the accumulated counts into the report's figures.
    virtual void ComputeStatistics();

    // The kind and its code in the model file. Only the reader's factory decides anything by
    // them; everything else asks the block itself.
    EBlockKind GetKind() const { return m_nKind; }
    std::int32_t GetKindCode() const { return static_cast<std::int32_t>(m_nKind); }
    const std::string& GetKindTitle() const { return m_strKind; }
    bool IsSource() const { return m_traits.bSource; }
    bool IsExit() const { return m_traits.bExit; }
    bool IsOnePerModel() const { return m_traits.bOnePerModel; }
    bool HasLongTitle() const { return m_traits.bLongTitle; }
    bool HasState() const { return m_traits.bHasState; }
    bool TakesAllHanded() const { return m_traits.bTakesAllHanded; }

    // Whether the block, once prepared, never lets the system run empty (a generator without
    // a limit on its transacts).
    virtual bool KeepsSystemAlive() const { return false; }
    // The blocks it names besides its output links (a switching block's state conditions), in
    // the order the model file stores them; an entry may be null.
    virtual std::span<CBlockDlg* const> GetReferences() const { return {}; }
    void SetReference(std::size_t i, CBlockDlg* pBlock) { References()[i] = pBlock; }
    // The ending of the model check's message when the block's own parameters cannot be
    // simulated (after the block's name), or null when they can.
    virtual const char* CheckParameters() const { return nullptr; }
    // The block's row in the report's table of devices or of queues, if it has one.
    virtual std::optional<SDeviceFigures> GetDeviceFigures() const { return std::nullopt; }
    virtual std::optional<SQueueFigures> GetQueueFigures() const { return std::nullopt; }
    // Beside a device row: the figures of its channels, if it has several.
    virtual std::optional<SChannelFigures> GetChannelFigures() const { return std::nullopt; }
    // Where the block keeps the figure that can be followed over model time, if it has one.
    virtual std::optional<STraceSource> GetTraceSource() const { return std::nullopt; }

    // Ends a warm-up at the end of tick nTime: the figures start afresh from there, as if the
    // simulation had begun then with the transacts the block holds just entered. Only
    // figures change, never what the block does next.
    virtual void ResetStatistics(std::uint32_t nTime);
    // The parameters an experiment may change, named as on the command line after the block's
    // name, with their current values.
    virtual std::vector<SBlockParam> GetParams() { return {}; }

    const std::string& GetName() const { return m_strName; }
    void SetName(const std::string& strName);
    bool IsNamed() const { return !m_strName.empty(); }

    CPoint GetPosition() const { return m_ptPos; }
    void SetPosition(std::int32_t x, std::int32_t y) { m_ptPos = {x, y}; }

    bool IsSelected() const { return m_bSelected != 0; }
    bool HasInput() const { return m_traits.bHasInput; }
    bool IsFree() const { return m_bFree != 0; }
    bool IsActive() const { return m_bActive != 0; }
    std::int32_t GetOutputCount() const { return m_nOutputs; }
    CBlockDlg* GetOutLink(std::int32_t k) const;
    void SetOutLink(std::int32_t k, CBlockDlg* pBlock);
    // Grows with unlinked outputs or drops the last outputs with their links; the kind's
    // per-output values follow.
    void SetOutputCount(std::int32_t n);
    // Whether the block may be given n outputs.
    bool AcceptsOutputCount(std::int32_t n) const {
        return n == m_nOutputs || (m_traits.bVariableOutputs && IsValidOutputCount(n));
    }
    // Whether some output leads to pBlock.
    bool LinksTo(const CBlockDlg* pBlock) const;

    IBlockView* GetView() const { return m_pView; }
    void SetView(IBlockView* pView) { m_pView = pView; }

    // Quiet ticks. After a tick, the simulation asks every block it reaches from when on a pass
    // on it could change something; the ticks until the earliest answer pass at once. They
    // change only figures that blocks keep lazily (a generator's countdown, a queue's
    // content-time sum, a device's busy time) and catch up on at their next pass, or at the end.
    // Nothing moves in such a tick: every list is either empty or waits before a block that
    // cannot take it.
    // The first tick, from nTime on, in which a pass on this block, with its inputs as they
    // stand, might do something beyond such figures; nTime when one would now. With it, the
    // first from which on its arrival pass may not be left out (see SQuietTicks).
    virtual SQuietTicks QuietUntil(std::uint32_t nTime);
    // Tells the block the lists it is handed (one per output leading to it) and that its passes
    // may skip ticks, which it then catches up.
    void WatchInputs(std::vector<CTransactList*> inputs) {
        m_inputLists = std::move(inputs);
        m_bCatchesUp = true;
    }
    bool CatchesUp() const { return m_bCatchesUp; }
    // The list the block hands to output k (none for a terminator).
    virtual CTransactList* GetOutputList(std::int32_t k);
    // Brings the figures the block keeps lazily up to the end of tick nTime.
    virtual void CatchUp(std::uint32_t nTime);

    static constexpr std::uint32_t kForever = 0xFFFFFFFFu;

    // What the block holds and has done at the end of tick nTime, for a view that watches the
    // simulation; with the transacts it holds when bHeld. Between ticks, on the simulation's
    // thread: it reads the figures kept lazily as they stand then, and changes nothing.
    SBlockSnapshot TakeSnapshot(std::uint32_t nTime, bool bHeld) const;

    // Report counters.
    std::uint32_t GetEntered() const { return m_nEntered; }
    std::uint32_t GetLeft() const { return m_nLeft; }
    std::uint32_t GetRemaining() const { return m_nRemaining; }

protected:
    CBlockDlg(EBlockKind nKind, std::string strKind, SBlockTraits traits, std::int32_t nOutputs,
              CPoint ptPos);
    // The blocks it names besides its output links, to be set when links are resolved.
    virtual std::span<CBlockDlg*> References() { return {}; }
    // The kind's part of TakeSnapshot, only while the block is active.
    virtual void FillSnapshot(SBlockSnapshot& /*snapshot*/, std::uint32_t /*nTime*/,
                              bool /*bHeld*/) const {}
    // A copy for Clone: the same kind, position and number of outputs; no name, no links,
    // no run-time state.
    CBlockDlg(const CBlockDlg& other);

    // Whether every list the block is handed is empty.
    bool AreInputsEmpty() const {
        // A plain loop: the standard search is unrolled for long ranges, and blocks have few
        // inputs.
        for (const CTransactList* pList : m_inputLists) {
            if (!pList->IsEmpty()) {
                return false;
            }
        }
        return true;
    }
    // How many lists the block is handed.
    std::size_t GetInputListCount() const { return m_inputLists.size(); }

    // Output k's destination, or null; k must lie within the outputs.
    CBlockDlg* Destination(std::size_t k) const { return m_outLinks[k]; }
    // Brings the kind's per-output values to the number of outputs.
    virtual void FitOutputValues() {}
    // Whether a stored number of outputs is one this kind may have.
    static bool IsValidOutputCount(std::int32_t n) { return n >= 1 && n <= kMaxOutputs; }

    static constexpr std::int32_t kMaxOutputs = 20;

    CPoint m_ptPos;
    std::int32_t m_bSelected = 0;
    std::int32_t m_bFree = 1;
    std::int32_t m_bActive = 0;
    std::int32_t m_nOutputs = 0;
    std::vector<CBlockDlg*> m_outLinks;
    std::string m_strName;
    std::string m_strKind;
    std::uint32_t m_nEntered = 0;
    std::uint32_t m_nLeft = 0;
    std::uint32_t m_nRemaining = 0;

private:
    const EBlockKind m_nKind;
    const SBlockTraits m_traits;
    IBlockView* m_pView = nullptr;
    bool m_bCatchesUp = false;
    std::vector<CTransactList*> m_inputLists;
};

}  // namespace mardo
