#include "core/experiment/Warmup.h"

namespace mardo {

// A placeholder until the start-up is traced: no warm-up, and nothing said of it.
std::optional<SWarmupChoice> ChooseWarmup(const CModel&, const SExperimentPlan&,
                                          const FRunThreadFactory&, SExperimentResult&) {
    return SWarmupChoice{};
}

std::string WarmupText(const SWarmupChoice&) { return {}; }

}  // namespace mardo
