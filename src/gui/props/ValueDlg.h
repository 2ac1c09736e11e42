#pragma once

#include <QDialog>

class QDialogButtonBox;
class QGridLayout;
class QPushButton;

namespace mardo {

// The base of the small dialogs that edit one value for a page: their controls in a grid above
// "O&K" and "&Отмена". "&Отмена" closes without any change; "O&K" runs the dialog's own check
// and closes with OK when it passes. The dialog opens with the focus in its first control, and
// Tab goes through the controls, then "O&K", then "&Отмена".
class CValueDlg : public QDialog {
    Q_OBJECT

public:
    CValueDlg(const QString& strCaption, QWidget* pParent);

    QPushButton& GetOkButton() const { return *m_pOk; }

public slots:
    void OnOk();

protected:
    QGridLayout& GetForm() const { return *m_pForm; }
    // Whether the values may be taken; a failing check has shown its message.
    virtual bool CheckValues() { return true; }
    void showEvent(QShowEvent* pEvent) override;

private:
    QGridLayout* m_pForm;
    QPushButton* m_pOk = nullptr;
    QDialogButtonBox* m_pButtons;
};

}  // namespace mardo
