#pragma once

#include <QWidget>

namespace mardo {

class CBlockPropertySheet;

// The base of every page of a property sheet. A page edits its own working copy of the values;
// it is initialised the first time it is shown, and a page never shown is valid as it is.
class CBlockPropertyPage : public QWidget {
    Q_OBJECT

public:
    explicit CBlockPropertyPage(QString strTitle, QWidget* pParent = nullptr);

    const QString& GetTitle() const { return m_strTitle; }
    bool IsInitialized() const { return !m_bNotInitialized; }
    CBlockPropertySheet* GetSheet() const { return m_pSheet; }
    // Whether the page's values are acceptable; a failing page has come to the front and shown
    // its message.
    bool Validate();

protected:
    virtual void OnInitPage() {}
    // Every time the page's tab becomes active, after the first initialisation.
    virtual void OnActivate() {}
    virtual bool OnValidate() { return true; }
    void showEvent(QShowEvent* pEvent) override;

private:
    friend class CBlockPropertySheet;

    QString m_strTitle;
    bool m_bNotInitialized = true;
    CBlockPropertySheet* m_pSheet = nullptr;
};

}  // namespace mardo
