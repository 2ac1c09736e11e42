#include "gui/props/GeneratePage.h"

#include <QGridLayout>

#include "core/model/GenerateParams.h"
#include "core/sim/Transact.h"
#include "gui/props/CheckedField.h"

namespace mardo {

CGeneratePage::CGeneratePage(const CGenerateParams& params, QWidget* pParent)
    : CBlockPropertyPage(QStringLiteral("Характеристика генератора"), pParent), m_params(params) {
    auto* pGrid = new QGridLayout(this);
    m_rows[kDelay] = std::make_unique<CCheckedField>(
        *pGrid, kDelay, QStringLiteral("Задержка первого транзакта"), 0, CGenerateParams::kMaxDelay, this);
    m_rows[kLimit] = std::make_unique<CCheckedField>(
        *pGrid, kLimit, QStringLiteral("Ограничение числа транзактов"), 1, CGenerateParams::kMaxLimit, this);
    m_rows[kPriority] = std::make_unique<CCheckedField>(
        *pGrid, kPriority, QStringLiteral("Задание приоритета"), 0, CTransact::kMaxPriority, this);
    pGrid->setColumnStretch(2, 1);
    pGrid->setRowStretch(3, 1);
}

CGeneratePage::~CGeneratePage() = default;

void CGeneratePage::OnInitPage() {
    m_rows[kDelay]->Attach(m_params.m_bDelay, m_params.m_nDelay);
    m_rows[kLimit]->Attach(m_params.m_bLimit, m_params.m_nLimit);
    m_rows[kPriority]->Attach(m_params.m_bPriority, m_params.m_nPriority);
}

bool CGeneratePage::OnValidate() {
    for (const auto& pRow : m_rows) {
        if (!pRow->Validate(*GetSheet(), this)) {
            return false;
        }
    }
    return true;
}

}  // namespace mardo
