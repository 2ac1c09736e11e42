#pragma once

// Test doubles for the window tests: every message box, file dialog and modal dialog goes
// through a replaceable function; these record what was asked and answer as the test wishes.

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "WaitUntil.h"
#include "gui/common/DialogRunner.h"
#include "gui/common/Dialogs.h"

namespace mardo::test {

struct SMessage {
    QString strText;
    EMessageIcon nIcon;
    EMessageButtons nButtons;
};

class CMessageRecorder {
public:
    CMessageRecorder() {
        m_previous = SetMessageBoxFunction(
            [this](QWidget*, const QString& strText, EMessageIcon nIcon, EMessageButtons nButtons) {
                m_messages.push_back({strText, nIcon, nButtons});
                if (m_answers.empty()) {
                    return nButtons == EMessageButtons::kOk ? EMessageAnswer::kOk
                                                            : EMessageAnswer::kCancel;
                }
                const EMessageAnswer nAnswer = m_answers.front();
                m_answers.pop_front();
                return nAnswer;
            });
    }
    ~CMessageRecorder() { SetMessageBoxFunction(m_previous); }
    CMessageRecorder(const CMessageRecorder&) = delete;
    CMessageRecorder& operator=(const CMessageRecorder&) = delete;

    void Answer(EMessageAnswer nAnswer) { m_answers.push_back(nAnswer); }
    const std::vector<SMessage>& Messages() const { return m_messages; }
    QStringList Texts() const {
        QStringList texts;
        for (const SMessage& message : m_messages) {
            texts << message.strText;
        }
        return texts;
    }
    void Clear() { m_messages.clear(); }

private:
    CMessageBoxFunction m_previous;
    std::vector<SMessage> m_messages;
    std::deque<EMessageAnswer> m_answers;
};

class CFileDialogRecorder {
public:
    CFileDialogRecorder() {
        m_previous = SetFileDialogFunction([this](QWidget*, const SFileDialogRequest& request) {
            m_requests.push_back(request);
            if (m_answers.empty()) {
                return QString();
            }
            const QString strAnswer = m_answers.front();
            m_answers.pop_front();
            return strAnswer;
        });
    }
    ~CFileDialogRecorder() { SetFileDialogFunction(m_previous); }
    CFileDialogRecorder(const CFileDialogRecorder&) = delete;
    CFileDialogRecorder& operator=(const CFileDialogRecorder&) = delete;

    // The path the next dialog answers; an empty text is Cancel.
    void Answer(const QString& strPath) { m_answers.push_back(strPath); }
    const std::vector<SFileDialogRequest>& Requests() const { return m_requests; }

private:
    CFileDialogFunction m_previous;
    std::vector<SFileDialogRequest> m_requests;
    std::deque<QString> m_answers;
};

// Runs the modal dialogs with scripted steps: each step acts on the dialog (fills fields,
// presses buttons) and answers its result. Without a step the dialog is cancelled.
class CDialogScript {
public:
    using CStep = std::function<void(QDialog& dialog)>;

    CDialogScript() {
        m_previous = SetDialogRunner([this](QDialog& dialog) {
            m_titles << dialog.windowTitle();
            if (m_steps.empty()) {
                return static_cast<int>(QDialog::Rejected);
            }
            const CStep step = m_steps.front();
            m_steps.pop_front();
            dialog.setResult(QDialog::Rejected);
            step(dialog);
            return dialog.result();
        });
    }
    ~CDialogScript() { SetDialogRunner(m_previous); }
    CDialogScript(const CDialogScript&) = delete;
    CDialogScript& operator=(const CDialogScript&) = delete;

    template <typename TDialog>
    void Then(std::function<void(TDialog& dialog)> step) {
        m_steps.push_back([step](QDialog& dialog) { step(dynamic_cast<TDialog&>(dialog)); });
    }
    const QStringList& Titles() const { return m_titles; }

private:
    CDialogRunner m_previous;
    std::deque<CStep> m_steps;
    QStringList m_titles;
};

}  // namespace mardo::test
