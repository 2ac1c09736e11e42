#include "gui/props/ChangeIntervalDlg.h"

#include <QGridLayout>
#include <QLabel>

#include "gui/common/Dialogs.h"
#include "gui/props/BlockPropertySheet.h"
#include "gui/props/NumberField.h"
#include "gui/props/ProbabilityTrackbar.h"

namespace mardo {

CChangeIntervalDlg::CChangeIntervalDlg(CBlockPropertySheet& sheet, const QString& strCaption,
                                       const CFlowLaw::SInterval& interval, int nLimit,
                                       QWidget* pParent)
    : CValueDlg(strCaption, pParent),
      m_sheet(sheet),
      m_interval(interval),
      m_pMin(new CNumberField(CFlowLaw::kMinValue, CFlowLaw::kMaxValue, this)),
      m_pMax(new CNumberField(CFlowLaw::kMinValue, CFlowLaw::kMaxValue, this)),
      m_pProbability(new CProbabilityTrackbar(this)) {
    QGridLayout& form = GetForm();
    form.addWidget(new QLabel(QStringLiteral("Минимальное значение"), this), 0, 0);
    form.addWidget(m_pMin, 0, 1, Qt::AlignLeft);
    form.addWidget(new QLabel(QStringLiteral("Максимальное значение"), this), 1, 0);
    form.addWidget(m_pMax, 1, 1, Qt::AlignLeft);
    form.addWidget(new QLabel(QStringLiteral("Вероятность"), this), 2, 0);
    form.addWidget(m_pProbability, 2, 1);
    m_pMin->Attach(m_interval.m_nMin);
    m_pMax->Attach(m_interval.m_nMax);
    m_pProbability->Attach(m_interval.m_nProbability, nLimit);
}

bool CChangeIntervalDlg::CheckValues() {
    if (!m_pMin->Validate(m_sheet, this) || !m_pMax->Validate(m_sheet, this)) {
        return false;
    }
    if (m_interval.m_nMax < m_interval.m_nMin) {
        ShowMessage(&m_sheet, QStringLiteral("Минимальное значение превысило максимальное."),
                    EMessageIcon::kExclamation);
        m_pMin->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return true;
}

}  // namespace mardo
