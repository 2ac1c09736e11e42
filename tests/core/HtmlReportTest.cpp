#include "core/report/HtmlReport.h"

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/persist/Cp1251.h"
#include "core/report/ReportTables.h"
#include "core/sim/SimulationLoop.h"

namespace mardo {
namespace {

std::tm At(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) {
    std::tm tm{};
    tm.tm_year = nYear - 1900;
    tm.tm_mon = nMonth - 1;
    tm.tm_mday = nDay;
    tm.tm_hour = nHour;
    tm.tm_min = nMinute;
    tm.tm_sec = nSecond;
    return tm;
}

// The page as the report writes it, in UTF-8 for reading here.
std::string Page(const CReportTables& report, const std::string& strName) {
    return Cp1251ToUtf8(BuildHtmlReport(report, strName, At(2026, 12, 7, 21, 8, 5)));
}

// The expected page, put together here from the report's fixed texts.
const std::string kHead =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\"><HTML><HEAD><TITLE>Отчет о запуске модели "
    "&quotm.mrd&quot</TITLE></HEAD><BODY BGCOLOR=\"C0DCC0\"><TABLE WIDTH=\"100%\"><TR "
    "ALIGN=CENTER VALIGN=MIDDLE><TD><TABLE ALIGN=CENTER WIDTH=\"100%\"><TR ALIGN=CENTER "
    "VALIGN=MIDDLE><TD NOWRAP><FONT SIZE=6><B>Отчет о запуске модели</B></FONT></TD></TR><TR "
    "ALIGN=CENTER VALIGN=MIDDLE><TD NOWRAP><FONT SIZE=6><B>&quotm.mrd&quot</B></FONT></TD></TR>"
    "<TR ALIGN=RIGHT VALIGN=MIDDLE><TD NOWRAP><FONT SIZE=4><I>7 декабря 2026 г., 21:08:05";

std::string Summary(int nBlocks, int nTime, int nDeparted, int nRemaining) {
    auto line = [](const std::string& strLabel, int nValue) {
        return "<TR ALIGN=LEFT VALIGN=MIDDLE><TD NOWRAP><FONT SIZE=4><B>" + strLabel +
               "</B></FONT></TD><TD WIDTH=5></TD><TD><FONT SIZE=4><B>" + std::to_string(nValue) +
               "</B></FONT></TD></TR>";
    };
    return "<TR><TD HEIGHT=25></TD></TR><TR><TD><TABLE ALIGN=LEFT>" +
           line("Количество блоков в модели:", nBlocks) + line("Время моделирования:", nTime) +
           line("Количество транзактов, вышедших из системы:", nDeparted) +
           line("Количество транзактов, оставшихся в системе на конец периода моделирования:",
                nRemaining) +
           "</TABLE></TD></TR>";
}

std::string TableStart(const std::string& strTitle, std::initializer_list<const char*> columns) {
    std::string strStart =
        "<TR><TD HEIGHT=25></TD></TR><TR><TD><TABLE ALIGN=LEFT WIDTH=\"100%\" "
        "BORDER=1><CAPTION ALIGN=TOP><DIV ALIGN=LEFT>Таблица - &quot" +
        strTitle + "&quot</DIV></CAPTION><TR ALIGN=CENTER VALIGN=MIDDLE>";
    for (const char* pszColumn : columns) {
        strStart += std::string("<TH>") + pszColumn + "</TH>";
    }
    return strStart + "</TR>";
}

const std::string kEnd = "</TABLE></BODY></HTML>";
const std::string kTableEnd = "</TABLE></TD></TR>";

TEST(HtmlReportTest, PageWithBlocksDevicesAndQueues) {
    CModel model;
    test::BuildOverloadedSingleChannel(model);
    test::CRecordingLog log;
    CRunSignals signals;
    CSimulationLoop loop(model, log, signals);
    loop.Run();
    const CReportTables report(model.GetBlocks(), loop.GetModelTime(), loop.GetDeparted());

    const std::string strRow = "<TR ALIGN=CENTER VALIGN=MIDDLE>";
    const std::string strExpected =
        kHead + Summary(4, 20, 6, 4) +
        TableStart("Блоки", {"Номер блока", "Имя блока", "Тип блока",
                             "Количество транзактов, вошедших в блок",
                             "Количество транзактов, вышедших из блока",
                             "Количество транзактов, оставшихся на конец периода моделирования"}) +
        strRow + "<TD>1</TD><TD ALIGN=LEFT NOWRAP>G</TD><TD ALIGN=LEFT NOWRAP>Генератор</TD><TD>0</TD><TD>10</TD><TD>0</TD></TR>" +
        strRow + "<TD>2</TD><TD ALIGN=LEFT NOWRAP>Q</TD><TD ALIGN=LEFT NOWRAP>Очередь</TD><TD>10</TD><TD>7</TD><TD>3</TD></TR>" +
        strRow + "<TD>3</TD><TD ALIGN=LEFT NOWRAP>D</TD><TD ALIGN=LEFT NOWRAP>Устройство обслуживания</TD><TD>7</TD><TD>6</TD><TD>1</TD></TR>" +
        strRow + "<TD>4</TD><TD ALIGN=LEFT NOWRAP>T</TD><TD ALIGN=LEFT NOWRAP>Терминатор</TD><TD>6</TD><TD>0</TD><TD>0</TD></TR>" +
        kTableEnd +
        TableStart("Устройства обслуживания",
                   {"Номер устройства", "Имя устройства",
                    "Количество транзактов, прошедших через устройство",
                    "Коэффициент использования устройства",
                    "Среднее время обработки или задержки одного транзакта в устройстве "
                    "обслуживания",
                    "Состояние готовности устройства в конце периода моделирования",
                    "Количество транзактов, ожидающих устройство в конце периода моделирования"}) +
        strRow + "<TD>1</TD><TD ALIGN=LEFT NOWRAP>D</TD><TD>6</TD><TD>0.900</TD><TD>3.00</TD><TD>Занят</TD><TD>3</TD></TR>" +
        kTableEnd +
        TableStart("Очереди",
                   {"Номер очереди", "Имя очереди", "Общее количество входов в очередь",
                    "Количество входов в очередь с нулевым временем ожидания",
                    "Максимальное содержимое очереди в течение периода моделирования",
                    "Текущее содержимое очереди в конце периода моделирования",
                    "Среднее значение содержимого очереди",
                    "Среднее время, проведенное в очереди с учетом всех входов в очередь",
                    "Среднее время, проведенное в очереди без учета “нулевых” входов в очередь",
                    "Состояние готовности очереди в конце периода моделирования",
                    "Количество транзактов, ожидающих очередь в конце периода моделирования"}) +
        strRow + "<TD>1</TD><TD ALIGN=LEFT NOWRAP>Q</TD><TD>10</TD><TD>1</TD><TD>4</TD><TD>3</TD><TD>1.35</TD><TD>2.70</TD><TD>3.00</TD><TD>Свободен</TD><TD>0</TD></TR>" +
        kTableEnd + kEnd;
    EXPECT_EQ(Page(report, "m.mrd"), strExpected);
}

TEST(HtmlReportTest, TablesWithoutRowsAreLeftOut) {
    CModel model;
    test::AddNamed<CGenerateDlg>(model, "G");
    model.Add<CDeviceDlg>();  // unnamed: no row
    const CReportTables withBlocks(model.GetBlocks(), 3, 0);
    const std::string strPage = Page(withBlocks, "m.mrd");
    EXPECT_EQ(strPage.find("Устройства обслуживания"), std::string::npos);
    EXPECT_EQ(strPage.find("Очереди"), std::string::npos);
    EXPECT_NE(strPage.find("Таблица - &quotБлоки&quot"), std::string::npos);

    CModel unnamed;
    unnamed.Add<CGenerateDlg>();
    unnamed.Add<CTerminateDlg>();
    const CReportTables empty(unnamed.GetBlocks(), 12, 0);
    EXPECT_EQ(Page(empty, "m.mrd"), kHead + Summary(0, 12, 0, 0) + kEnd);
}

TEST(HtmlReportTest, NamesCannotInjectMarkup) {
    CModel model;
    test::AddNamed<CGenerateDlg>(model, "<b>&\"x\"");
    const CReportTables report(model.GetBlocks(), 0, 0);
    const std::string strPage = Page(report, "a<b>&.mrd");
    EXPECT_NE(strPage.find("<TD ALIGN=LEFT NOWRAP>&lt;b&gt;&amp;&quot;x&quot;</TD>"),
              std::string::npos);
    EXPECT_NE(strPage.find("<TITLE>Отчет о запуске модели &quota&lt;b&gt;&amp;.mrd&quot</TITLE>"),
              std::string::npos);
    EXPECT_EQ(strPage.find("<b>"), std::string::npos);
}

TEST(HtmlReportTest, DateLineAndProposedName) {
    EXPECT_EQ(FormatReportDate(At(2026, 12, 7, 21, 8, 5)), "7 декабря 2026 г., 21:08:05");
    EXPECT_EQ(FormatReportDate(At(2025, 5, 31, 0, 0, 9)), "31 мая 2025 г., 00:00:09");
    EXPECT_EQ(ProposedReportName("a.b.mrd"), "a.b");
    EXPECT_EQ(ProposedReportName("model"), "");
    // A model name the code page cannot hold is written with question marks.
    const CReportTables report(CBlockList{}, 0, 0);
    EXPECT_NE(BuildHtmlReport(report, "日本.mrd", At(2026, 1, 1, 0, 0, 0)).find("&quot??.mrd&quot"),
              std::string::npos);
}

}  // namespace
}  // namespace mardo
