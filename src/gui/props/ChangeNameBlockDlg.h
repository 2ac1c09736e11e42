#pragma once

#include <QDialog>

#include "core/model/BlockEditor.h"

class QLineEdit;
class QPushButton;

namespace mardo {

// "Имя блока": renames one block under the block name rule. OK with the block's own name
// closes the dialog as if cancelled.
class CChangeNameBlockDlg final : public QDialog {
    Q_OBJECT

public:
    CChangeNameBlockDlg(const CBlockList& blocks, CBlockDlg& block, QWidget* pParent = nullptr);

    QLineEdit& GetNameEdit() const { return *m_pName; }
    QPushButton& GetOkButton() const { return *m_pOk; }

public slots:
    void OnOk();

private:
    const CBlockList& m_blocks;
    CBlockDlg& m_block;
    QLineEdit* m_pName;
    QPushButton* m_pOk = nullptr;
};

}  // namespace mardo
