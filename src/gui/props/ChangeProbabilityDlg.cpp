#include "gui/props/ChangeProbabilityDlg.h"

#include <QGridLayout>
#include <QLabel>

#include "gui/props/ProbabilityTrackbar.h"

namespace mardo {

CChangeProbabilityDlg::CChangeProbabilityDlg(int nProbability, int nLimit, QWidget* pParent)
    : CValueDlg(QStringLiteral("Изменить вероятность"), pParent),
      m_nProbability(nProbability),
      m_pProbability(new CProbabilityTrackbar(this)) {
    GetForm().addWidget(new QLabel(QStringLiteral("Вероятность"), this), 0, 0);
    GetForm().addWidget(m_pProbability, 0, 1);
    m_pProbability->Attach(m_nProbability, nLimit);
}

}  // namespace mardo
