#include "gui/sim/TestFlowDlg.h"

#include <QFont>
#include <QFrame>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <algorithm>

#include "core/sim/FlowLaw.h"

namespace mardo {

namespace {

const char* const kTitle = "Тест потока";
const char* const kCloseText = "З&акрыть";

// The chart, in the window's own pixels.
constexpr QSize kWindowSize(459, 331);
const QColor kPlotColor(255, 251, 240);
const QColor kGrey(128, 128, 128);
const QColor kWallColor(192, 192, 192);
const QColor kBarFront(255, 0, 255);
const QColor kBarTop(128, 0, 128);
constexpr int kPlotLeft = 55;
constexpr int kPlotTop = 15;
constexpr int kPlotRight = 442;   // exclusive
constexpr int kPlotBottom = 245;  // exclusive
constexpr int kWallLeft = 47;
constexpr int kBarBase = 250;
constexpr int kSamplesPerPixel = 50;
constexpr int kGridStep = 20;  // pixels, 1000 samples
constexpr int kBarLeft = 68;
constexpr int kBarWidth = 16;
constexpr int kBarPitch = 38;
constexpr int kBarDepth = 4;
constexpr int kStemHeight = 15;
constexpr int kFontPixels = 13;

QFont ChartFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(kFontPixels);
    return font;
}

// A text placed by its top left corner.
void DrawText(QPainter& painter, int x, int y, const QString& strText) {
    painter.drawText(QRect(x, y, 200, kFontPixels + 6), Qt::AlignLeft | Qt::AlignTop, strText);
}

void DrawBox(QPainter& painter) {
    painter.fillRect(QRect(kPlotLeft, kPlotTop, kPlotRight - kPlotLeft, kPlotBottom - kPlotTop),
                     kPlotColor);
    painter.setPen(kGrey);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        QRect(kPlotLeft, kPlotTop, kPlotRight - kPlotLeft - 1, kPlotBottom - kPlotTop - 1));
    painter.setPen(Qt::black);
    painter.setBrush(kGrey);
    painter.drawPolygon(QPolygon({QPoint(kPlotLeft, kPlotBottom), QPoint(kPlotRight, kPlotBottom),
                                  QPoint(435, 251), QPoint(45, 251)}));
    painter.setBrush(kWallColor);
    painter.drawPolygon(QPolygon({QPoint(kWallLeft, 20), QPoint(kPlotLeft, kPlotTop),
                                  QPoint(kPlotLeft, kPlotBottom), QPoint(kWallLeft, 251)}));
}

void DrawScale(QPainter& painter) {
    const QPen dotted(Qt::black, 1, Qt::DotLine);
    for (int y = kPlotBottom - kGridStep; y >= kPlotTop + 10; y -= kGridStep) {
        painter.setPen(dotted);
        painter.drawLine(kPlotLeft, y, kPlotRight - 1, y);
        painter.setPen(Qt::black);
        painter.drawLine(kWallLeft, y + 5, kPlotLeft, y);
    }
    DrawText(painter, 38, 244, QStringLiteral("0"));
    for (int k = 1; k <= 9; ++k) {
        DrawText(painter, 23, kPlotBottom - kGridStep * k, QString::number(k * 1000));
    }
    DrawText(painter, 18, 45, QStringLiteral("10000"));
}

void DrawBar(QPainter& painter, int nBar, int nCount) {
    const int x1 = kBarLeft + kBarPitch * nBar;
    const int x2 = x1 + kBarWidth;
    const int nTop = kBarBase - nCount / kSamplesPerPixel;
    painter.setPen(Qt::NoPen);
    painter.fillRect(QRect(x1, nTop, kBarWidth, kBarBase - nTop), kBarFront);
    painter.setBrush(kBarTop);
    painter.drawPolygon(
        QPolygon({QPoint(x1, nTop), QPoint(x2, nTop), QPoint(x2 + kBarDepth, nTop - kBarDepth),
                  QPoint(x1 + kBarDepth, nTop - kBarDepth)}));
    painter.setBrush(Qt::black);
    painter.drawPolygon(
        QPolygon({QPoint(x2, nTop), QPoint(x2 + kBarDepth, nTop - kBarDepth),
                  QPoint(x2 + kBarDepth, kBarBase - kBarDepth), QPoint(x2, kBarBase)}));

    const int xCentre = (x1 + x2) / 2;
    const int yStemTop = nTop - kStemHeight;
    painter.setPen(Qt::black);
    painter.drawLine(xCentre, nTop, xCentre, yStemTop);
    const QString strCount = QString::number(nCount);
    const int nBoxWidth = painter.fontMetrics().horizontalAdvance(strCount) + 6;
    const QRect rcBox(xCentre - nBoxWidth / 2, yStemTop - kFontPixels - 3, nBoxWidth,
                      kFontPixels + 3);
    painter.setBrush(Qt::white);
    painter.drawRect(rcBox);
    painter.drawText(rcBox.adjusted(0, 0, 1, 1), Qt::AlignCenter, strCount);
}

}  // namespace

CTestFlowDlg::CTestFlowDlg(const CFlowLaw& law, QWidget* pParent) : QDialog(pParent), m_pLaw(&law) {
    setWindowTitle(QString::fromUtf8(kTitle));
    std::vector<int> samples(kSamples);
    for (int& nSample : samples) {
        nSample = m_pLaw->Sample();
    }
    const auto [itMin, itMax] = std::minmax_element(samples.begin(), samples.end());
    m_nSampleMin = *itMin;
    m_nSampleMax = *itMax;
    m_nBars = std::min(m_nSampleMax - m_nSampleMin + 1, kMaxBars);
    m_strMin = QStringLiteral("min=%1").arg(m_nSampleMin);
    m_strMax = QStringLiteral("max=%1").arg(m_nSampleMax);
    CountSamples(samples);

    setFixedSize(kWindowSize);
    auto* pFrame = new QFrame(this);
    pFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pFrame->setGeometry(7, 7, kWindowSize.width() - 14, 270);
    auto* pClose = new QPushButton(QString::fromUtf8(kCloseText), this);
    pClose->setDefault(true);
    pClose->setGeometry(kWindowSize.width() - 97, kWindowSize.height() - 37, 90, 28);
    connect(pClose, &QPushButton::clicked, this, &QDialog::accept);
}

CTestFlowDlg::~CTestFlowDlg() = default;

int CTestFlowDlg::BarOf(int nSample, int nSampleMin, int nSampleMax, int nBars) {
    if (nBars == 1) {
        return 0;
    }
    const double dWidth = static_cast<double>(nSampleMax - nSampleMin + 1) / nBars;
    double dHigh = nSampleMax;
    for (int nBar = nBars - 1; nBar >= 0; --nBar) {
        const double dLow = dHigh - dWidth;
        if (dLow < nSample && nSample <= dHigh) {
            return nBar;
        }
        dHigh = dLow;
    }
    return -1;
}

void CTestFlowDlg::CountSamples(const std::vector<int>& samples) {
    for (const int nSample : samples) {
        const int nBar = BarOf(nSample, m_nSampleMin, m_nSampleMax, m_nBars);
        if (nBar >= 0) {
            ++m_anCount[static_cast<std::size_t>(nBar)];
        }
    }
}

void CTestFlowDlg::paintEvent(QPaintEvent* pEvent) {
    QDialog::paintEvent(pEvent);
    QPainter painter(this);
    painter.setFont(ChartFont());
    DrawBox(painter);
    DrawScale(painter);
    for (int nBar = 0; nBar < m_nBars; ++nBar) {
        DrawBar(painter, nBar, m_anCount[static_cast<std::size_t>(nBar)]);
    }
    painter.setPen(Qt::black);
    DrawText(painter, 55, 255, m_strMin);
    DrawText(painter, 390, 255, m_strMax);
}

}  // namespace mardo
