#pragma once

#include <QString>
#include <cstdint>

#include "gui/props/BlockPropertyPage.h"

namespace mardo {

class CNumberField;

// A page of one whole number within bounds, under its label.
class CCountPage : public CBlockPropertyPage {
    Q_OBJECT

public:
    CCountPage(const QString& strTitle, const QString& strLabel, std::int32_t nMin,
               std::int32_t nMax, std::int32_t nCount, QWidget* pParent = nullptr);

    std::int32_t GetCount() const { return m_nCount; }
    CNumberField& GetField() const { return *m_pCount; }

protected:
    void OnInitPage() override;
    bool OnValidate() override;

private:
    std::int32_t m_nCount;
    CNumberField* m_pCount;
};

}  // namespace mardo
