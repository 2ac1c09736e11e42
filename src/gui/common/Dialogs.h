#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace mardo {

// Every message box and file dialog of the program goes through these functions, so that tests
// can replace them with recorders that answer as the test wishes and modal flows run offscreen.

enum class EMessageIcon { kInformation, kExclamation, kError, kQuestion };
enum class EMessageButtons { kOk, kYesNo, kYesNoCancel };
enum class EMessageAnswer { kOk, kYes, kNo, kCancel };

// The caption of every message box: the program's short name.
inline const QString kAppTitle = QStringLiteral("Mardo");

using CMessageBoxFunction =
    std::function<EMessageAnswer(QWidget* pParent, const QString& strText, EMessageIcon nIcon,
                                 EMessageButtons nButtons)>;

// Shows a modal message box with the program's caption.
EMessageAnswer ShowMessage(QWidget* pParent, const QString& strText, EMessageIcon nIcon,
                           EMessageButtons nButtons = EMessageButtons::kOk);
// Replaces the function that shows message boxes; answers the previous one.
CMessageBoxFunction SetMessageBoxFunction(CMessageBoxFunction function);

// A file dialog: the proposed name, Qt's name filters ("Text (*.ext);;Other (*)"), the default
// suffix ("mrd") and the caption, the toolkit's own ("Сохранить как") unless given. A proposal with an absolute folder opens the dialog in
// that folder (an empty name after it proposes no name). Answers the chosen path, or an empty
// text on Cancel.
struct SFileDialogRequest {
    bool bSave = false;
    QString strProposed;
    QString strFilter;
    QString strDefaultSuffix;
    QString strCaption;
    // When set, receives the filter chosen: two filters may share a suffix.
    QString* pChosenFilter = nullptr;
};
using CFileDialogFunction = std::function<QString(QWidget* pParent, const SFileDialogRequest&)>;

QString ShowFileDialog(QWidget* pParent, const SFileDialogRequest& request);
CFileDialogFunction SetFileDialogFunction(CFileDialogFunction function);

// A name chosen for a file to be written, with strSuffix added unless it already ends in it or in
// one of otherSuffixes (suffixes without the dot, compared ignoring case): the file dialog adds
// its default suffix only to a name without a dot, so "v1.2" would be written without one.
QString WithSuffix(const QString& strPath, const QString& strSuffix,
                   const QStringList& otherSuffixes = {});

}  // namespace mardo
