#include "gui/common/Dialogs.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <utility>

namespace mardo {

namespace {

EMessageAnswer ShowQtMessage(QWidget* pParent, const QString& strText, EMessageIcon nIcon,
                             EMessageButtons nButtons) {
    QMessageBox box(pParent);
    box.setWindowTitle(kAppTitle);
    box.setText(strText);
    // In the order of EMessageIcon.
    constexpr QMessageBox::Icon kIcons[] = {QMessageBox::Information, QMessageBox::Warning,
                                            QMessageBox::Critical, QMessageBox::Question};
    box.setIcon(kIcons[static_cast<int>(nIcon)]);
    switch (nButtons) {
        case EMessageButtons::kOk:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case EMessageButtons::kYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case EMessageButtons::kYesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    const std::pair<QMessageBox::StandardButton, const char*> russianTexts[] = {
        {QMessageBox::Yes, "Да"}, {QMessageBox::No, "Нет"}, {QMessageBox::Cancel, "Отмена"}};
    for (const auto& [nButton, pszText] : russianTexts) {
        if (QAbstractButton* pButton = box.button(nButton)) {
            pButton->setText(QString::fromUtf8(pszText));
        }
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return EMessageAnswer::kYes;
        case QMessageBox::No:
            return EMessageAnswer::kNo;
        case QMessageBox::Cancel:
            return EMessageAnswer::kCancel;
        default:
            return nButtons == EMessageButtons::kOk ? EMessageAnswer::kOk : EMessageAnswer::kCancel;
    }
}

QString ShowQtFileDialog(QWidget* pParent, const SFileDialogRequest& request) {
    QFileDialog dialog(pParent);
    dialog.setAcceptMode(request.bSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.bSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(request.strFilter);
    dialog.setDefaultSuffix(request.strDefaultSuffix);
    if (!request.strCaption.isEmpty()) {
        dialog.setWindowTitle(request.strCaption);
    }
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QFileInfo proposed(request.strProposed);
    if (proposed.isAbsolute()) {
        dialog.setDirectory(proposed.absolutePath());
    }
    if (!proposed.fileName().isEmpty()) {
        dialog.selectFile(proposed.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    if (request.pChosenFilter != nullptr) {
        *request.pChosenFilter = dialog.selectedNameFilter();
    }
    return dialog.selectedFiles().constFirst();
}

CMessageBoxFunction& MessageBoxFunction() {
    static CMessageBoxFunction function = ShowQtMessage;
    return function;
}

CFileDialogFunction& FileDialogFunction() {
    static CFileDialogFunction function = ShowQtFileDialog;
    return function;
}

}  // namespace

EMessageAnswer ShowMessage(QWidget* pParent, const QString& strText, EMessageIcon nIcon,
                           EMessageButtons nButtons) {
    return MessageBoxFunction()(pParent, strText, nIcon, nButtons);
}

CMessageBoxFunction SetMessageBoxFunction(CMessageBoxFunction function) {
    return std::exchange(MessageBoxFunction(), std::move(function));
}

QString ShowFileDialog(QWidget* pParent, const SFileDialogRequest& request) {
    return FileDialogFunction()(pParent, request);
}

CFileDialogFunction SetFileDialogFunction(CFileDialogFunction function) {
    return std::exchange(FileDialogFunction(), std::move(function));
}

QString WithSuffix(const QString& strPath, const QString& strSuffix,
                   const QStringList& otherSuffixes) {
    const QString strHas = QFileInfo(strPath).suffix();
    if (strHas.compare(strSuffix, Qt::CaseInsensitive) == 0 ||
        otherSuffixes.contains(strHas, Qt::CaseInsensitive)) {
        return strPath;
    }
    return strPath + QLatin1Char('.') + strSuffix;
}

}  // namespace mardo
