#include "core/experiment/ParamTargets.h"

#include "core/model/Model.h"

namespace mardo {

namespace {

constexpr const char* kModelPrefix = "model.";

std::vector<SBlockParam> ModelParams(CExperimentParams& experiment) {
    return {
        ChoiceParam("stopRule", "Закончить моделирование", experiment.nStopRule, {"time", "count"}),
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
    AddPrefixed(targets, ModelParams(model.m_experiment), kModelPrefix);
    for (const auto& pBlock : model.GetBlocks()) {
        if (pBlock->IsNamed()) {
            AddPrefixed(targets, pBlock->GetParams(), pBlock->GetName() + ".");
        }
    }
    return targets;
}

std::string ApplySetting(CModel& model, const SSetting& setting) {
    // Names may hold dots, parameters do not: the parameter follows the last one.
    const std::size_t nDot = setting.strTarget.rfind('.');
    const std::string strOwner = setting.strTarget.substr(0, nDot == std::string::npos ? 0 : nDot);
    std::vector<SBlockParam> params;
    if (strOwner + "." == kModelPrefix) {
        params = ModelParams(model.m_experiment);
    } else if (CBlockDlg* pBlock = model.FindBlock(strOwner)) {
        params = pBlock->GetParams();
    }
    const std::string strParam = setting.strTarget.substr(nDot + 1);
    for (const SBlockParam& param : params) {
        if (nDot != std::string::npos && param.strName == strParam) {
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
    const std::size_t nEquals = strText.find('=');
    if (nEquals == std::string::npos || nEquals == 0) {
        return std::nullopt;
    }
    return SSetting{strText.substr(0, nEquals), strText.substr(nEquals + 1)};
}

}  // namespace mardo
