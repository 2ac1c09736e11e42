#pragma once

#include "gui/props/BlockPropertyPage.h"

class QLineEdit;

namespace mardo {

// The "Блок" page that opens every block's sheet: the block's name.
class CBlockPage final : public CBlockPropertyPage {
    Q_OBJECT

public:
    explicit CBlockPage(QWidget* pParent = nullptr);

    QLineEdit& GetNameEdit() const { return *m_pName; }
    // The name to apply after OK: the trimmed text that passed the name rule.
    const QString& GetName() const { return m_strName; }
    void SetName(const QString& strName) { m_strName = strName; }

protected:
    void OnInitPage() override;
    bool OnValidate() override;

private:
    QLineEdit* m_pName;
    QString m_strName;
};

}  // namespace mardo
