#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <vector>

namespace mardo {

class CFlowLaw;

// Shows what a flow law produces before it is applied: 10000 samples drawn on the window
// thread's own random sequence, which goes on from one test to the next, counted into at most
// ten bars and drawn as a chart with the smallest and the largest sample. Changes nothing.
class CTestFlowDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kSamples = 10000;
    static constexpr int kMaxBars = 10;

    explicit CTestFlowDlg(const CFlowLaw& law, QWidget* pParent = nullptr);
    ~CTestFlowDlg() override;

    int GetSampleMin() const { return m_nSampleMin; }
    int GetSampleMax() const { return m_nSampleMax; }
    int GetBarCount() const { return m_nBars; }
    int GetCount(int nBar) const { return m_anCount.at(static_cast<std::size_t>(nBar)); }
    const QString& GetMinText() const { return m_strMin; }
    const QString& GetMaxText() const { return m_strMax; }

    // The bar a sample falls in: bars of equal width w = (max - min + 1) / bars, walked down
    // from the last one, whose upper bound is max, while the bound steps down by w. Answers -1
    // for a value outside every bar.
    static int BarOf(int nSample, int nSampleMin, int nSampleMax, int nBars);

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void CountSamples(const std::vector<int>& samples);

    const CFlowLaw* m_pLaw;  // the law under test, not owned
    int m_nSampleMin = 0;
    int m_nSampleMax = 0;
    int m_nBars = 1;
    std::array<int, kMaxBars> m_anCount{};
    QString m_strMin;
    QString m_strMax;
};

}  // namespace mardo
