#include "core/experiment/ParamTargets.h"

#include "core/model/Model.h"

namespace mardo {

namespace {

std::vector<SBlockParam> ModelParams(CExperimentParams& experiment) {
    return {
        ChoiceParam("stopRule", "Закончить моделирование", experiment.nStopRule, {"time", "count"},
                    {"По времени", "По числу транзактов"}),
        IntParam("stopValue", "Время моделирования или число транзактов", experiment.nStopValue, 1,
                 CExperimentParams::kMaxValue),
        IntParam("runs", "Количество запусков модели", experiment.nRuns, 1,
                 CExperimentParams::kMaxValue)};
}

void AddPrefixed(std::vector<SBlockParam>& targets, std::vector<SBlockParam> params,
                 const std::string& strPrefix) {
    for (SBlockParam& param : params) {
        param.strName = strPrefix + param.strName;
        targets.push_back(std::move(param));
    }
}

}  // namespace

std::vector<SBlockParam> GetParamTargets(CModel& model) {
    std::vector<SBlockParam> targets;
    AddPrefixed(targets, ModelParams(model.m_experiment), std::string(kModelOwner) + ".");
    for (const auto& pBlock : model.GetBlocks()) {
        if (pBlock->IsNamed()) {
            AddPrefixed(targets, pBlock->GetParams(), pBlock->GetName() + ".");
        }
    }
    return targets;
}

std::optional<std::pair<std::string, std::string>> SplitTarget(const std::string& strTarget) {
    const std::size_t nDot = strTarget.rfind('.');
    if (nDot == std::string::npos) {
        return std::nullopt;
    }
    return std::pair{strTarget.substr(0, nDot), strTarget.substr(nDot + 1)};
}

std::string ApplySetting(CModel& model, const SSetting& setting) {
    if (const auto split = SplitTarget(setting.strTarget)) {
        const auto& [strOwner, strParam] = *split;
        CBlockDlg* pBlock = strOwner == kModelOwner ? nullptr : model.FindBlock(strOwner);
        const std::vector<SBlockParam> params = strOwner == kModelOwner
                                                    ? ModelParams(model.m_experiment)
                                                : pBlock != nullptr ? pBlock->GetParams()
                                                                    : std::vector<SBlockParam>{};
        for (const SBlockParam& param : params) {
            if (param.strName != strParam) {
                continue;
            }
            const std::string strForm = param.apply(setting.strValue);
            if (strForm.empty()) {
                return {};
            }
            return "bad value \"" + setting.strValue + "\" for " + setting.strTarget +
                   " (expected " + strForm + ")";
        }
    }
    return "unknown target " + setting.strTarget + " (--list-params shows the model's targets)";
}

std::optional<SSetting> ParseSetting(const std::string& strText) {
    // No value holds "=", a block's name may: the target is all before the last one.
    const std::size_t nEquals = strText.rfind('=');
    if (nEquals == std::string::npos || nEquals == 0) {
        return std::nullopt;
    }
    return SSetting{strText.substr(0, nEquals), strText.substr(nEquals + 1)};
}

}  // namespace mardo
