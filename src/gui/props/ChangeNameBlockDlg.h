#pragma once

#include <QDialog>
#include <string>

#include "core/model/BlockEditor.h"

class QLineEdit;
class QPushButton;

namespace mardo {

// "Имя блока": a new name for one block under the block name rule, which the caller gives the
// block through the model. OK with the block's own name closes the dialog as if cancelled.
class CChangeNameBlockDlg final : public QDialog {
    Q_OBJECT

public:
    CChangeNameBlockDlg(const CBlockList& blocks, const CBlockDlg& block, QWidget* pParent = nullptr);

    QLineEdit& GetNameEdit() const { return *m_pName; }
    QPushButton& GetOkButton() const { return *m_pOk; }
    // The name accepted with OK.
    std::string GetNewName() const;

public slots:
    void OnOk();

private:
    const CBlockList& m_blocks;
    const CBlockDlg& m_block;
    QLineEdit* m_pName;
    QPushButton* m_pOk = nullptr;
};

}  // namespace mardo
