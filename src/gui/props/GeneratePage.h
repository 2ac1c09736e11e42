#pragma once

#include <array>
#include <memory>

#include "core/model/GenerateParams.h"
#include "gui/props/BlockPropertyPage.h"

namespace mardo {

class CCheckedField;

// "Характеристика генератора": the delay of the first transact, the limit of transacts per run
// and the priority of new transacts, each switched on by its own check box.
class CGeneratePage final : public CBlockPropertyPage {
    Q_OBJECT

public:
    enum ERow { kDelay, kLimit, kPriority };

    explicit CGeneratePage(const CGenerateParams& params, QWidget* pParent = nullptr);
    ~CGeneratePage() override;

    const CGenerateParams& GetParams() const { return m_params; }
    CCheckedField& GetRow(ERow nRow) const { return *m_rows[nRow]; }

protected:
    void OnInitPage() override;
    bool OnValidate() override;

private:
    CGenerateParams m_params;
    std::array<std::unique_ptr<CCheckedField>, 3> m_rows;
};

}  // namespace mardo
