#pragma once

#include <QDialog>

#include "core/model/BlockEditor.h"

class QComboBox;
class QPushButton;

namespace mardo {

// Chooses the block one output leads to; the caller makes the link with the model. Linking an output ("Связать с блоком") also offers
// "Нет блока"; changing a selected link ("Изменить блок приемник") offers only blocks. Only other
// named blocks with an input are offered.
class CChangeInBlockDlg final : public QDialog {
    Q_OBJECT

public:
    enum class EMode { kLink, kChange };

    CChangeInBlockDlg(const CBlockList& blocks, CBlockDlg& source, int nOutput, EMode nMode,
                      QWidget* pParent = nullptr);

    QComboBox& GetChoice() const { return *m_pChoice; }
    QPushButton& GetOkButton() const { return *m_pOk; }
    // The chosen destination, null for "Нет блока".
    CBlockDlg* GetDestination() const;

public slots:
    void OnOk();

private:
    void FillChoice(const CBlockList& blocks, EMode nMode);

    CBlockDlg& m_source;
    int m_nOutput;
    QComboBox* m_pChoice;
    QPushButton* m_pOk = nullptr;
};

}  // namespace mardo
