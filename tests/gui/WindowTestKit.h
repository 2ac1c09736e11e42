#pragma once

// What the window tests share: small models built the way the editor builds them (blocks
// appended to the model's list, named, and linked output by output), a recorder that answers
// the message boxes, and ways to reach the windows' controls and modal dialogs.

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <string>

#include "WaitUntil.h"
#include "gui/common/Dialogs.h"

#include "core/model/DeviceDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/Model.h"
#include "core/model/QueueDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/sim/FlowLaw.h"
#include "core/sim/MessageLog.h"

namespace mardo::test {

inline CFlowLaw Deterministic(int nTicks) {
    return CFlowLaw(CFlowLaw::kDeterministic, nTicks, nTicks);
}
inline CFlowLaw Uniform(int nMin, int nMax) {
    return CFlowLaw(CFlowLaw::kUniform, nMin, nMax);
}

inline void SetExperiment(CModel& model, int nStopRule, int nStopValue, int nRuns) {
    model.m_experiment.nStopRule = nStopRule;
    model.m_experiment.nStopValue = nStopValue;
    model.m_experiment.nRuns = nRuns;
}

template <typename TBlock>
TBlock& AddNamed(CModel& model, const std::string& strName) {
    TBlock& block = model.Add<TBlock>();
    block.SetName(strName);
    return block;
}

// A generator feeding a terminator.
struct SSourceSink {
    CGenerateDlg* pGenerator;
    CTerminateDlg* pTerminator;
};

inline SSourceSink BuildSourceSink(CModel& model, const CFlowLaw& law) {
    auto& generator = AddNamed<CGenerateDlg>(model, "G1");
    generator.m_law = law;
    auto& terminator = AddNamed<CTerminateDlg>(model, "T1");
    generator.SetOutLink(0, &terminator);
    return {&generator, &terminator};
}

// A generator, a queue, a service device and a terminator in a row.
struct SSingleChannel {
    CGenerateDlg* pGenerator;
    CQueueDlg* pQueue;
    CDeviceDlg* pDevice;
    CTerminateDlg* pTerminator;
};

inline SSingleChannel BuildSingleChannel(CModel& model, const CFlowLaw& arrivals,
                                         const CFlowLaw& service) {
    auto& generator = AddNamed<CGenerateDlg>(model, "G1");
    generator.m_law = arrivals;
    auto& queue = AddNamed<CQueueDlg>(model, "Q1");
    auto& device = AddNamed<CDeviceDlg>(model, "D1");
    device.m_law = service;
    auto& terminator = AddNamed<CTerminateDlg>(model, "T1");
    generator.SetOutLink(0, &queue);
    queue.SetOutLink(0, &device);
    device.SetOutLink(0, &terminator);
    return {&generator, &queue, &device, &terminator};
}

// Whether any block of the single channel still holds a transact.
inline bool HoldsTransacts(const SSingleChannel& channel) {
    return !channel.pGenerator->GetOutList().IsEmpty() || !channel.pQueue->GetContent().IsEmpty() ||
           channel.pDevice->IsServing() || !channel.pDevice->GetOutList().IsEmpty();
}

// Runs 'handle' on the next modal dialog of type TDialog once it is shown, from inside its own
// event loop, and closes it unless the handler did.
template <typename TDialog>
void WhenShown(std::function<void(TDialog&)> handle) {
    auto* pTimer = new QTimer(qApp);
    pTimer->setInterval(10);
    QObject::connect(pTimer, &QTimer::timeout, pTimer, [pTimer, handle] {
        auto* pDialog = qobject_cast<TDialog*>(QApplication::activeModalWidget());
        if (pDialog == nullptr || !pDialog->isVisible()) {
            return;
        }
        pTimer->stop();
        pTimer->deleteLater();
        handle(*pDialog);
        if (pDialog->isVisible()) {
            pDialog->reject();
        }
    });
    pTimer->start();
}

class CSilentLog : public IMessageLog {
public:
    void AddMessage(const std::string&, int, bool) override {}
};

// Answers every message box as the test says and records what it was asked.
class CMessageRecorder {
public:
    explicit CMessageRecorder(std::function<EMessageAnswer()> answer =
                                  [] { return EMessageAnswer::kOk; })
        : m_previous(
              SetMessageBoxFunction([this, answer](QWidget*, const QString& strText,
                                                   EMessageIcon nIcon, EMessageButtons nButtons) {
                  m_texts << strText;
                  m_nIcon = nIcon;
                  m_nButtons = nButtons;
                  return answer();
              })) {}
    CMessageRecorder(const CMessageRecorder&) = delete;
    CMessageRecorder& operator=(const CMessageRecorder&) = delete;
    ~CMessageRecorder() { SetMessageBoxFunction(m_previous); }

    QStringList m_texts;
    EMessageIcon m_nIcon = EMessageIcon::kInformation;
    EMessageButtons m_nButtons = EMessageButtons::kOk;

private:
    CMessageBoxFunction m_previous;
};

// The push button of a window with that text, or null.
inline QPushButton* FindButton(const QWidget& window, const QString& strText) {
    for (QPushButton* pButton : window.findChildren<QPushButton*>()) {
        if (pButton->text() == strText) {
            return pButton;
        }
    }
    return nullptr;
}

}  // namespace mardo::test
