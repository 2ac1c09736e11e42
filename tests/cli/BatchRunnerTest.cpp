// The batch runner end to end: the real program on real files.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include "ChainModels.h"
#include "cli/BatchRun.h"
#include "cli/CommandLine.h"
#include "core/experiment/ExperimentDoc.h"
#include "core/experiment/RandStreams.h"
#include "core/experiment/Summary.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/Model.h"
#include "core/model/QueueDlg.h"
#include "core/model/SplitDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/persist/Cp1251.h"
#include "core/persist/FileSystem.h"
#include "core/persist/ModelFile.h"

namespace mardo::cli {
namespace {

namespace fs = std::filesystem;

struct SRun {
    int nStatus;
    std::string strOut;
    std::string strErr;
};

// A name for this test's own files: tests run in parallel processes.
std::string TestFileName(const std::string& strSuffix) {
    return std::string("mardo-run-") +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + strSuffix;
}

// Runs a program with the arguments (already quoted for the shell) and the environment prefix.
SRun RunProgram(const std::string& strProgram, const std::string& strArgs,
                const std::string& strEnvironment = "") {
    const fs::path errPath = fs::temp_directory_path() / TestFileName(".err");
    const std::string strCommand = strEnvironment + " '" + strProgram + "' " + strArgs + " 2>'" +
                                   errPath.string() + "'";
    SRun run{};
    FILE* pPipe = popen(strCommand.c_str(), "r");
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pPipe)) > 0;) {
        run.strOut.append(buffer.data(), n);
    }
    const int nWait = pclose(pPipe);
    run.nStatus = WIFEXITED(nWait) ? WEXITSTATUS(nWait) : -1;
    std::ifstream err(errPath);
    run.strErr.assign(std::istreambuf_iterator<char>(err), {});
    fs::remove(errPath);
    return run;
}

SRun RunTool(const std::string& strArgs, const std::string& strEnvironment = "") {
    return RunProgram(MARDO_RUN_PATH, strArgs, strEnvironment);
}

std::string Example(const std::string& strName) {
    return "'" + (fs::path(MARDO_SOURCE_DIR) / "examples" / strName).string() + "'";
}

class CScratch {
public:
    CScratch() : m_path(fs::temp_directory_path() / TestFileName("-files")) {
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    ~CScratch() { fs::remove_all(m_path); }
    fs::path operator/(const std::string& strName) const { return m_path / strName; }

private:
    fs::path m_path;
};

TEST(BatchRunnerTest, TextShowsTheLogAndTheTables) {
    const SRun run = RunTool(Example("single-channel.mrd"));
    EXPECT_EQ(run.nStatus, 0);
    EXPECT_NE(run.strOut.find("] Начало проверки модели\n"), std::string::npos);
    EXPECT_NE(run.strOut.find("] Закончена проверка модели\n"), std::string::npos);
    EXPECT_NE(run.strOut.find("] Завершен запуск\n"), std::string::npos);
    EXPECT_NE(run.strOut.find("\nОчереди\n"), std::string::npos);
    EXPECT_EQ(run.strOut.rfind("[", 0), 0u);

    const SRun quiet = RunTool("--quiet " + Example("single-channel.mrd"));
    EXPECT_EQ(quiet.strOut.find("Начало проверки модели"), std::string::npos);
    EXPECT_NE(quiet.strOut.find("Устройства обслуживания"), std::string::npos);
}

TEST(BatchRunnerTest, JsonCarriesEveryFigure) {
    const SRun run = RunTool("--json " + Example("single-channel.mrd"));
    ASSERT_EQ(run.nStatus, 0);
    const std::string& json = run.strOut;
    EXPECT_EQ(json.rfind("{\n  \"model\": \"single-channel.mrd\",\n  \"check\": \"passed\",", 0), 0u);
    for (const char* pszText :
         {"\"text\": \"Начало проверки модели\"", "\"timed\": true", "\"modelTime\": 10000",
          "\"kind\": \"Устройство обслуживания\"", "\"utilization\": 0.", "\"zeroEntries\": ",
          "\"avgTimeNonZero\": ", "\"free\": ", "\"waiting\": "}) {
        EXPECT_NE(json.find(pszText), std::string::npos) << pszText;
    }
    EXPECT_EQ(json.find('['), json.find("\"messages\": [") + 12);
    EXPECT_EQ(json.back(), '\n');
}

TEST(BatchRunnerTest, ChannelsAndKindsAreListed) {
    // A multichannel device's row, and its channels beside the device tables.
    const SRun bank = RunTool("--json --set D1.channels=4 " + Example("bank.mrd"));
    ASSERT_EQ(bank.nStatus, 0);
    for (const char* pszText : {"\"kind\": \"Многоканальное устройство\"", "\"channels\": [",
                                "\"channels\": 4,", "\"meanBusy\": 2."}) {
        EXPECT_NE(bank.strOut.find(pszText), std::string::npos) << pszText;
    }
    // The kinds in the palette's order, which the end-to-end scripts place blocks by.
    std::string strKinds;
    for (const SBlockKindEntry& entry : BlockKinds()) {
        strKinds += std::to_string(static_cast<int>(entry.nKind)) + "\t" +
                    entry.create({})->GetKindTitle() + "\n";
    }
    EXPECT_EQ(RunTool("--list-kinds").strOut, strKinds);
}

TEST(BatchRunnerTest, FailedCheckExitsOneWithEmptyTables) {
    CScratch scratch;
    {
        // An empty model fails the check at once.
        std::ofstream out(scratch / "empty.mrd", std::ios::binary);
        const unsigned char empty[24] = {0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0,
                                         0, 0, 0, 0, 24, 0, 0, 0, 0xFC, 0xC6, 0x4A, 0x50};
        out.write(reinterpret_cast<const char*>(empty), sizeof empty);
    }
    const SRun run = RunTool("--json '" + (scratch / "empty.mrd").string() + "'");
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_NE(run.strOut.find("\"check\": \"failed\""), std::string::npos);
    EXPECT_NE(run.strOut.find("{\n      \"kind\": 2,\n      \"timed\": false,\n      \"text\": "
                              "\"В модели не существует блоков!\"\n    }"),
              std::string::npos);
    EXPECT_NE(run.strOut.find("\"blocks\": [],"), std::string::npos);
    EXPECT_NE(run.strOut.find("\"modelTime\": 0"), std::string::npos);
    // No page for a model that did not run.
    RunTool("--html '" + (scratch / "r.html").string() + "' '" + (scratch / "empty.mrd").string() + "'");
    EXPECT_FALSE(fs::exists(scratch / "r.html"));
}

TEST(BatchRunnerTest, RefusedFilesExitTwo) {
    CScratch scratch;
    const fs::path damaged = scratch / "damaged.mrd";
    fs::copy_file(fs::path(MARDO_SOURCE_DIR) / "examples" / "single-channel.mrd", damaged);
    {
        std::fstream file(damaged, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(20);
        file.put('\x7f');
    }
    const SRun run = RunTool("'" + damaged.string() + "'");
    EXPECT_EQ(run.nStatus, 2);
    EXPECT_EQ(run.strErr, "Неправильный формат открываемого файла!\n");
    EXPECT_TRUE(run.strOut.empty());

    const SRun missing = RunTool("'" + (scratch / "none.mrd").string() + "'");
    EXPECT_EQ(missing.nStatus, 2);
    EXPECT_NE(missing.strErr.find("none.mrd"), std::string::npos);
}

TEST(BatchRunnerTest, AChainOfAHundredThousandBlocksRunsToItsEnd) {
    // Each transact goes down the whole chain within its tick, 100 001 nested calls deep.
    CScratch scratch;
    CModel model;
    CBlockDlg& last = test::AddChain(model, 100000, test::kForwardingKinds);
    last.SetOutLink(0, &model.Add<CTerminateDlg>());
    model.BlockAt(100001)->SetName("T");
    model.m_experiment = {CExperimentParams::kByCount, 10, 1};
    ASSERT_TRUE(SaveModel(model, scratch / "chain.mrd"));
    const SRun run = RunTool("--quiet '" + (scratch / "chain.mrd").string() + "'");
    EXPECT_EQ(run.nStatus, 0) << run.strErr;
    EXPECT_NE(run.strOut.find("Количество транзактов, вышедших из системы: 10\n"),
              std::string::npos);
}

TEST(BatchRunnerTest, ModelsThatCannotBeSimulatedSafelyExitThree) {
    // Twenty copying blocks whose twenty outputs all lead to the next: 20^20 calls a tick.
    CScratch scratch;
    CModel model;
    test::AddLadder(model, 20, 20);
    ASSERT_TRUE(SaveModel(model, scratch / "ladder.mrd"));
    const SRun run = RunTool("--json '" + (scratch / "ladder.mrd").string() + "'");
    EXPECT_EQ(run.nStatus, 3);
    EXPECT_NE(run.strOut.find("\"check\": \"passed\""), std::string::npos);
    EXPECT_NE(run.strOut.find("\"kind\": 2,\n      \"timed\": true,\n      \"text\": "
                              "\"Моделирование не запущено - выходы коммутирующих и копирующих "
                              "блоков образуют слишком много путей\""),
              std::string::npos);
}

TEST(BatchRunnerTest, RunningOutOfMemoryEndsTheSimulationNotTheProgram) {
    // Every tick's transact is copied a thousand times into a queue before a device that takes
    // 10 000 ticks a transact: the queue grows until the transacts take their share of the
    // 256 MB the probe may map.
    CScratch scratch;
    CModel model;
    auto& generator = model.Add<CGenerateDlg>();
    generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, 1, 1);
    auto& split = model.Add<CSplitDlg>();
    split.SetOutputCount(1);
    split.m_copyCounts = {1000};
    auto& queue = model.Add<CQueueDlg>();
    auto& device = model.Add<CDeviceDlg>();
    device.m_law = CFlowLaw(CFlowLaw::kDeterministic, 10000, 10000);
    auto& terminator = model.Add<CTerminateDlg>();
    const std::vector<CBlockDlg*> chain = {&generator, &split, &queue, &device, &terminator};
    for (std::size_t i = 0; i < chain.size(); ++i) {
        chain[i]->SetName("B" + std::to_string(i));
        chain[i]->SetOutLink(0, i + 1 < chain.size() ? chain[i + 1] : nullptr);
    }
    model.m_experiment = {CExperimentParams::kByTime, 30000, 30000};
    ASSERT_TRUE(SaveModel(model, scratch / "growing.mrd"));
    const SRun run =
        RunProgram(MARDO_OOM_PROBE_PATH, "256 '" + (scratch / "growing.mrd").string() + "'");
    // Its own status, after which LeakSanitizer (in the sanitizer build) found nothing left;
    // the reason on the error stream and in the log.
    const std::string strReason = "Недостаточно памяти для моделирования: в модели ";
    EXPECT_EQ(run.nStatus, kOutOfMemory) << run.strErr;
    EXPECT_EQ(run.strErr.rfind("mardo-run: " + strReason, 0), 0u) << run.strErr;
    EXPECT_NE(run.strOut.find("] " + strReason), std::string::npos);
    // The figures up to that tick are reported.
    EXPECT_NE(run.strOut.find("\nОчереди\n"), std::string::npos);
}

TEST(BatchRunnerTest, MisuseExitsSixtyFour) {
    for (const char* pszArgs : {"", "--bogus x.mrd", "a.mrd b.mrd", "--html", "--html= x.mrd"}) {
        const SRun run = RunTool(pszArgs);
        EXPECT_EQ(run.nStatus, 64) << pszArgs;
        EXPECT_NE(run.strErr.find("usage: mardo-run"), std::string::npos) << pszArgs;
    }
    EXPECT_EQ(RunTool("--help").nStatus, 0);
}

TEST(BatchRunnerTest, HtmlWithAFixedClockIsAFixedPage) {
    CScratch scratch;
    const fs::path page = scratch / "r.html";
    const std::string strEnvironment = "SOURCE_DATE_EPOCH=1796677685 TZ=UTC";
    const SRun run = RunTool("--quiet --html='" + page.string() + "' " + Example("two-phases.mrd"),
                         strEnvironment);
    ASSERT_EQ(run.nStatus, 0);
    const auto bytes = CFileSystem::Standard().ReadAll(page);
    ASSERT_TRUE(bytes.has_value());
    const std::string strPage = Cp1251ToUtf8(std::string(bytes->begin(), bytes->end()));
    EXPECT_NE(strPage.find("&quottwo-phases.mrd&quot</TITLE>"), std::string::npos);
    EXPECT_NE(strPage.find("<I>7 декабря 2026 г., 21:08:05<TR>"), std::string::npos);
    // Two runs with the same clock write the same bytes.
    RunTool("--quiet --html '" + page.string() + "' " + Example("two-phases.mrd"), strEnvironment);
    EXPECT_EQ(CFileSystem::Standard().ReadAll(page), bytes);

    const SRun failed = RunTool("--html '" + (scratch / "no" / "r.html").string() + "' " +
                            Example("two-phases.mrd"));
    EXPECT_EQ(failed.nStatus, 74);
    EXPECT_EQ(failed.strErr, "Ошибка при сохранении протокола.\n");
}

// The figures over model time: every tick of every queue and device once, in intervals that
// follow each other, and following them changes no figure of the report.
TEST(BatchRunnerTest, TraceCoversEveryTickOfEachQueueAndDevice) {
    CScratch scratch;
    const fs::path trace = scratch / "trace.csv";
    const std::string strModel = Example("single-channel.mrd");
    const SRun plain = RunTool("--json " + strModel);
    const SRun traced = RunTool("--json --trace '" + trace.string() + "' " + strModel);
    ASSERT_EQ(traced.nStatus, 0) << traced.strErr;
    EXPECT_EQ(traced.strOut, plain.strOut);
    std::ifstream csv(trace);
    std::string strLine;
    std::getline(csv, strLine);
    EXPECT_EQ(strLine, "block,figure,firstTick,lastTick,min,max,mean");
    std::map<std::string, std::uint64_t> reached;  // the last tick of each block's series
    while (std::getline(csv, strLine)) {
        std::istringstream row(strLine);
        std::vector<std::string> cells;
        for (std::string strCell; std::getline(row, strCell, ',');) {
            cells.push_back(strCell);
        }
        ASSERT_EQ(cells.size(), 7u) << strLine;
        EXPECT_EQ(std::stoull(cells[2]), reached[cells[0]] + 1) << strLine;
        reached[cells[0]] = std::stoull(cells[3]);
        const double dMean = std::stod(cells[6]);
        EXPECT_TRUE(std::stod(cells[4]) <= dMean + 5e-4 && dMean <= std::stod(cells[5]) + 5e-4);
    }
    const auto nTime = std::stoull(plain.strOut.substr(plain.strOut.find("\"modelTime\": ") + 13));
    EXPECT_EQ(reached, (std::map<std::string, std::uint64_t>{{"Q1", nTime}, {"D1", nTime}}));
}

// The text without its layout, so that documents nested differently compare by content.
std::string Squeezed(const std::string& strText) {
    std::string strOut;
    for (const char ch : strText) {
        if (ch != ' ' && ch != '\n') {
            strOut += ch;
        }
    }
    return strOut;
}

std::string Quoted(const fs::path& path) { return "'" + path.string() + "'"; }

SExperimentRecord ReadRecord(const std::string& strJson) {
    std::string strError;
    std::optional<SExperimentRecord> record = ReadExperimentDoc(strJson, strError);
    EXPECT_TRUE(record.has_value()) << strError;
    return record.value_or(SExperimentRecord{});
}

TEST(ExperimentRunTest, ReplicationZeroIsTodaysRunAndJobsChangeNoByte) {
    CScratch scratch;
    const std::string strModel = Example("single-channel.mrd");
    const SRun today = RunTool("--json " + strModel);
    const SRun replications =
        RunTool("--json --generator exact --replications 3 --jobs 1 " + strModel);
    ASSERT_EQ(replications.nStatus, 0);
    // Today's figures, from the model time to the queues, are replication 0's.
    const std::string strToday = Squeezed(today.strOut);
    const std::string strFigures = strToday.substr(strToday.find("\"modelTime\""));
    EXPECT_NE(Squeezed(replications.strOut).find("\"index\":0,\"seed\":1,"), std::string::npos);
    EXPECT_NE(Squeezed(replications.strOut).find(strFigures.substr(0, strFigures.size() - 1)),
              std::string::npos);
    for (const char* pszOptions : {"--replications 5 --sweep D1.service=3,1..8 --warmup 700",
                                   "--replications 4 --replication 2 --set G1.interval=2..9"}) {
        const std::string strArgs = std::string("--json ") + pszOptions + " " + strModel;
        const SRun one = RunTool(strArgs + " --jobs 1");
        EXPECT_EQ(one.nStatus, 0);
        EXPECT_EQ(RunTool(strArgs + " --jobs 2").strOut, one.strOut) << pszOptions;
        EXPECT_EQ(RunTool(strArgs + " --jobs 3").strOut, one.strOut) << pszOptions;
    }
    // Ten runs draw about 37 000 numbers, more than a share of 100 000 replications.
    const SRun overdrawn = RunTool(
        "--generator exact --replications 100000 --replication 5 --set model.runs=10 " + strModel);
    EXPECT_NE(overdrawn.strOut.find("Внимание: прогоны 5 взяли у генератора больше 26544 чисел"),
              std::string::npos);
    // The streams are the default of experiments, and documents of the two never merge.
    const fs::path exact = scratch / "exact.json";
    const fs::path streams = scratch / "streams.json";
    ASSERT_EQ(RunTool("--json --generator exact --replications 2 --replication 0 " + strModel +
                      " > " + Quoted(exact)).nStatus, 0);
    ASSERT_EQ(RunTool("--json --replications 2 --replication 1 " + strModel + " > " +
                      Quoted(streams)).nStatus, 0);
    EXPECT_EQ(ReadRecord(replications.strOut).generator, EGenerator::kExact);
    EXPECT_EQ(ReadRecord(RunTool("--json --replications 2 " + strModel).strOut).generator,
              EGenerator::kStreams);
    EXPECT_EQ(RunTool("--merge " + Quoted(exact) + " " + Quoted(streams)).nStatus, 2);
    EXPECT_EQ(RunTool("--merge --generator exact " + Quoted(exact) + " " + Quoted(streams)).nStatus,
              2);
    EXPECT_EQ(RunTool("--merge " + Quoted(streams)).nStatus, 0);
    EXPECT_EQ(RunTool("--generator fast " + strModel).nStatus, 64);
}

TEST(ExperimentRunTest, SetAndSweepEqualTheValueWrittenIntoTheFile) {
    CScratch scratch;
    fs::create_directories(scratch / "written");
    CModel model;
    ASSERT_TRUE(LoadModel(model, fs::path(MARDO_SOURCE_DIR) / "examples" / "single-channel.mrd")
                    .IsLoaded());
    static_cast<CDeviceDlg*>(model.FindBlock("D1"))->m_law = CFlowLaw(CFlowLaw::kUniform, 2, 6);
    static_cast<CQueueDlg*>(model.FindBlock("Q1"))->m_params = {CQueueParams::kLifo, 1, 4};
    ASSERT_TRUE(SaveModel(model, scratch / "written" / "single-channel.mrd"));
    const std::string strReplications = "--json --replications 3 ";
    const std::string strWritten =
        RunTool(strReplications + Quoted(scratch / "written" / "single-channel.mrd")).strOut;
    const std::string strSet = RunTool(strReplications +
                                       "--set D1.service=2..6 --set Q1.discipline=lifo "
                                       "--set Q1.limit=4 " + Example("single-channel.mrd"))
                                   .strOut;
    EXPECT_EQ(strSet, strWritten);
    const SExperimentRecord swept =
        ReadRecord(RunTool(strReplications + "--set Q1.discipline=lifo --sweep Q1.limit=off,4 "
                           "--sweep D1.service=2..6,1..8 " + Example("single-channel.mrd"))
                       .strOut);
    ASSERT_EQ(swept.points.size(), 4u);
    EXPECT_EQ(swept.points[1].settings,
              (std::vector<SSetting>{{"Q1.limit", "off"}, {"D1.service", "1..8"}}));
    const SExperimentRecord written = ReadRecord(strWritten);
    ASSERT_EQ(written.points.size(), 1u);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(swept.points[2].replications[k].tables, written.points[0].replications[k].tables);
    }
}

TEST(ExperimentRunTest, KnownFiguresLieInTheirIntervals) {
    CScratch scratch;
    // Deterministic laws: every replication alike, no deviation anywhere.
    CModel model;
    const auto named = [&model](auto& block, const char* pszName) -> auto& {
        block.SetName(pszName);
        return block;
    };
    auto& generator = named(model.Add<CGenerateDlg>(), "G");
    auto& queue = named(model.Add<CQueueDlg>(), "Q");
    auto& device = named(model.Add<CDeviceDlg>(), "D");
    generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, 4, 4);
    device.m_law = CFlowLaw(CFlowLaw::kDeterministic, 3, 3);
    generator.SetOutLink(0, &queue);
    queue.SetOutLink(0, &device);
    device.SetOutLink(0, &named(model.Add<CTerminateDlg>(), "T"));
    model.m_experiment = {CExperimentParams::kByTime, 10000, 1};
    ASSERT_TRUE(SaveModel(model, scratch / "fixed.mrd"));
    const SRun fixed = RunTool("--json --replications 5 --warmup 100 " + Quoted(scratch / "fixed.mrd"));
    EXPECT_NE(fixed.strOut.find("\"stdev\": 0"), std::string::npos);
    EXPECT_EQ(fixed.strOut.find("\"stdev\": 0."), std::string::npos);
    EXPECT_EQ(fixed.strOut.find("\"stdev\": 1"), std::string::npos);

    // Uniform 1..10 arrivals: 10000 ticks hold 10000 / 5.5 of them, within the interval.
    generator.m_law = CFlowLaw(CFlowLaw::kUniform, 1, 10);
    ASSERT_TRUE(SaveModel(model, scratch / "uniform.mrd"));
    const SExperimentRecord uniform =
        ReadRecord(RunTool("--json --replications 30 " + Quoted(scratch / "uniform.mrd")).strOut);
    const std::optional<SSummary> summary =
        Summarize(uniform.points.at(0).replications, ReplicationShare(30));
    ASSERT_TRUE(summary.has_value());
    EXPECT_GT(summary->departed.dCi95, 0.0);
    EXPECT_LT(std::abs(summary->departed.dMean - 10000 / 5.5), summary->departed.dCi95);

    // Little's law in every replication, after a warm-up too.
    const SExperimentRecord queued = ReadRecord(
        RunTool("--json --replications 10 --warmup 2500 " + Example("single-channel.mrd")).strOut);
    for (const SReplication& replication : queued.points.at(0).replications) {
        const auto& queue = replication.tables.at(2).rows.at(0);
        const auto number = [](const SFigure& figure) {
            return std::holds_alternative<double>(figure) ? std::get<double>(figure)
                                                          : double(std::get<std::int64_t>(figure));
        };
        // Each figure is the content-time sum over a count, exactly: both give the sum back.
        const double dByContent = number(queue[6]) * replication.nModelTime;
        const double dByEntries = number(queue[7]) * number(queue[2]);
        EXPECT_DOUBLE_EQ(dByContent, dByEntries);
        EXPECT_EQ(std::llround(dByContent), std::llround(dByEntries));
        EXPECT_EQ(replication.nModelTime, 7500u);
    }
}

// Arrivals every 2 ticks, service 3, 20 ticks: the queue's waits are 0, 1, ..., 6, in every
// replication alike; JSON, CSV and the text all carry them.
TEST(ExperimentRunTest, WaitPercentilesAndSharesReachEveryOutput) {
    CScratch scratch;
    CModel model;
    auto& generator = model.Add<CGenerateDlg>();
    auto& queue = model.Add<CQueueDlg>();
    auto& device = model.Add<CDeviceDlg>();
    auto& terminator = model.Add<CTerminateDlg>();
    generator.SetName("G");
    queue.SetName("Q");
    device.SetName("D");
    terminator.SetName("T");
    generator.m_law = CFlowLaw(CFlowLaw::kDeterministic, 2, 2);
    device.m_law = CFlowLaw(CFlowLaw::kDeterministic, 3, 3);
    generator.SetOutLink(0, &queue);
    queue.SetOutLink(0, &device);
    device.SetOutLink(0, &terminator);
    model.m_experiment = {CExperimentParams::kByTime, 20, 1};
    ASSERT_TRUE(SaveModel(model, scratch / "waits.mrd"));
    const std::string strModel = Quoted(scratch / "waits.mrd");
    const SRun json = RunTool("--json --replications 3 --wait-over 4 --wait-over 10 --csv " +
                              Quoted(scratch / "waits.csv") + " " + strModel);
    ASSERT_EQ(json.nStatus, 0) << json.strErr;
    const nlohmann::json doc = nlohmann::json::parse(json.strOut);
    const nlohmann::json& replicated = doc["replications"][2]["queues"][0];
    EXPECT_EQ(replicated["waitP50"], 3);
    EXPECT_EQ(replicated["waitP99"], 6);
    EXPECT_DOUBLE_EQ(replicated["waitOver"]["4"].get<double>(), 2.0 / 7.0);
    EXPECT_EQ(replicated["waitOver"]["10"], 0);
    const nlohmann::json& summarized = doc["summary"]["queues"][0];
    EXPECT_EQ(summarized["waitP90"]["mean"], 6);
    EXPECT_EQ(summarized["waitP90"]["ci95"], 0);
    EXPECT_DOUBLE_EQ(summarized["waitOver"]["4"]["mean"].get<double>(), 2.0 / 7.0);
    std::ifstream csvFile(scratch / "waits.csv");
    const std::string strCsv(std::istreambuf_iterator<char>(csvFile), {});
    EXPECT_NE(strCsv.find(",queues,Q,waitOver.4,"), std::string::npos) << strCsv.substr(0, 400);
    const SRun text = RunTool("--replications 3 --wait-over 4 " + strModel);
    EXPECT_NE(text.strOut.find("Доля ждавших"), std::string::npos) << text.strOut;
    EXPECT_NE(text.strOut.find("Ожидание, 95%"), std::string::npos);
    EXPECT_EQ(RunTool("--waits " + strModel).nStatus, 64);
}

TEST(ExperimentRunTest, SeparateRunsThroughParallelMergeToTheSameSummary) {
    if (std::system("parallel --version >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "GNU parallel is not installed";
    }
    CScratch scratch;
    const std::string strModel = Example("single-channel.mrd");
    const std::string strCommand =
        "parallel --jobs 2 \"'" + std::string(MARDO_RUN_PATH) +
        "' --json --replications 8 --warmup 50 --replication {} " + strModel + " > '" +
        (scratch / "r{}.json").string() + "'\" ::: 0 1 2 3 4 5 6 7";
    ASSERT_EQ(std::system(strCommand.c_str()), 0);
    std::string strFiles;
    for (int k = 7; k >= 0; --k) {
        strFiles += " " + Quoted(scratch / ("r" + std::to_string(k) + ".json"));
    }
    const std::string strAll = "--replications 8 --warmup 50 " + strModel;
    for (const char* pszForm : {"--json", ""}) {
        const SRun merged = RunTool(std::string(pszForm) + " --merge" + strFiles);
        EXPECT_EQ(merged.nStatus, 0);
        EXPECT_EQ(merged.strOut, RunTool(std::string(pszForm) + " " + strAll).strOut);
    }
    const SRun partial = RunTool("--merge" + strFiles.substr(0, strFiles.size() / 2));
    EXPECT_NE(partial.strErr.find("4 of 8 replications"), std::string::npos);
    EXPECT_EQ(RunTool("--merge" + strFiles + " " + Quoted(scratch / "r0.json")).nStatus, 2);
}

TEST(ExperimentRunTest, BadTargetsAndValuesExitSixtyFourNamingThem) {
    const std::string strModel = " " + Example("single-channel.mrd");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"--set D1.service=0..3", "D1.service"},
        {"--set Nobody.service=3", "Nobody.service"},
        {"--sweep Q1.limit=3,20001", "\"20001\" for Q1.limit"},
        {"--set model.stopRule=never", "model.stopRule"},
        {"--replication 3", "--replications"},
        {"--replications 2 --replication 2", "K below R"},
        {"--seed -1", "--seed"},
        {"--replications 2 --html r.html", "--html"},
        {"--merge --seed 2", "--merge"},
        {"--precision 5", "--replications MAX"},
        {"--replications 50 --precision 0", "--precision"},
        {"--replications 50 --precision 5 --generator exact", "streams"},
        {"--replications 5 --figures Q1.avgTimeAll", "--figures"},
        {"--replications 50 --precision 5 --figures Q9.avgTimeAll", "Q9.avgTimeAll"},
        {"--replications 5 --compare", "--compare"},
        {"--replications 5 --sweep D1.service=3 --compare-to-first", "--compare-to-first"}};
    for (const auto& [strArgs, strNamed] : cases) {
        const SRun run = RunTool(strArgs + strModel);
        EXPECT_EQ(run.nStatus, 64) << strArgs;
        EXPECT_NE(run.strErr.find(strNamed), std::string::npos) << strArgs << ": " << run.strErr;
    }
    const SRun listed = RunTool("--list-params" + strModel);
    EXPECT_NE(listed.strOut.find("model.stopRule=time\n"), std::string::npos);
    EXPECT_NE(listed.strOut.find("D1.service=1..8\n"), std::string::npos);
}

// Two alternatives against a base: a comparison each, in the summary's shape, the intervals
// widened for two; the CSV's difference rows; the precision's rounds the same on any threads.
TEST(ExperimentRunTest, CompareAndPrecisionInTheDocument) {
    CScratch scratch;
    const std::string strModel = Example("single-channel.mrd");
    const fs::path csv = scratch / "compare.csv";
    const SRun compared = RunTool("--json --replications 8 --csv " + Quoted(csv) + " --compare " +
                                  strModel + " " + Example("two-phases.mrd") + " " + strModel);
    ASSERT_EQ(compared.nStatus, 0) << compared.strErr;
    const auto doc = nlohmann::json::parse(compared.strOut);
    ASSERT_EQ(doc["comparisons"].size(), 2u);
    for (const auto& comparison : doc["comparisons"]) {
        EXPECT_EQ(comparison["against"], "single-channel.mrd");
        EXPECT_EQ(comparison["bonferroni"], 2);
        const auto& figures = comparison["figures"];
        for (const char* pszKey : {"mean", "stdev", "ci95", "significant"}) {
            EXPECT_TRUE(figures["modelTime"].contains(pszKey)) << pszKey;
        }
        EXPECT_EQ(figures["devices"][0]["name"], "D1");
        EXPECT_TRUE(figures["devices"][0]["utilization"]["ci95"].is_number());
    }
    EXPECT_EQ(doc["comparisons"][1]["model"], "single-channel.mrd");
    EXPECT_EQ(doc["comparisons"][1]["figures"]["devices"][0]["utilization"]["ci95"], 0);
    std::ifstream csvIn(csv);
    const std::string strCsv(std::istreambuf_iterator<char>(csvIn), {});
    EXPECT_NE(strCsv.find(",figure,value,stdev,ci95,ciLow,ciHigh,model,against\n"), std::string::npos);
    EXPECT_NE(strCsv.find(",difference,,devices,D1,utilization,0,0,0,0,0,single-channel.mrd,"
                          "single-channel.mrd\n"),
              std::string::npos);
    const std::string strPrecise = "--json --replications 300 --precision 2 " + strModel;
    const SRun one = RunTool(strPrecise + " --jobs 1");
    ASSERT_EQ(one.nStatus, 0) << one.strErr;
    EXPECT_EQ(RunTool(strPrecise + " --jobs 2").strOut, one.strOut);
    const auto precision = nlohmann::json::parse(one.strOut)["precision"];
    EXPECT_EQ(precision["met"], true);
    EXPECT_LT(precision["replications"], 300);
    EXPECT_EQ(precision["replications"], nlohmann::json::parse(one.strOut)["replicationCount"]);
}

TEST(ExperimentRunTest, AutomaticWarmupInTheDocumentAndTheText) {
    const std::string strAuto =
        "--json --replications 10 --warmup auto " + Example("single-channel.mrd");
    const SRun one = RunTool(strAuto + " --jobs 1");
    ASSERT_EQ(one.nStatus, 0) << one.strErr;
    EXPECT_EQ(RunTool(strAuto + " --jobs 2").strOut, one.strOut);
    const auto doc = nlohmann::json::parse(one.strOut);
    EXPECT_EQ(doc["warmupAuto"]["ticks"], doc["warmup"]);
    EXPECT_EQ(doc["warmupAuto"]["series"], "Q1");
    EXPECT_EQ(doc["warmupAuto"]["steady"], true);
    const SRun drifting =
        RunTool("--quiet --replications 20 --warmup auto " + Example("priorities.mrd"));
    ASSERT_EQ(drifting.nStatus, 0) << drifting.strErr;
    EXPECT_NE(drifting.strOut.find("(по очереди Q1)\nСтационарный режим не достигнут: длина "
                                   "очереди Q1 не установилась"),
              std::string::npos)
        << drifting.strOut;
}

TEST(CommandLineTest, OptionsEndAtTheDoubleDash) {
    const SParseResult parsed = ParseCommandLine({"--json", "--", "--quiet"});
    ASSERT_TRUE(parsed.options.has_value());
    EXPECT_TRUE(parsed.options->bJson);
    EXPECT_FALSE(parsed.options->bQuiet);
    EXPECT_EQ(parsed.options->strModelPath, "--quiet");
    EXPECT_EQ(ParseCommandLine({"--html", "p.html", "m.mrd"}).options->htmlPath, "p.html");
}

// Every refusal before or after a simulation: its status, its message, and no file lost.
TEST(ExperimentRunTest, RefusalsEndWithTheirStatusAndLoseNoFile) {
    CScratch scratch;
    const fs::path model = scratch / "model.mrd";
    fs::copy_file(fs::path(MARDO_SOURCE_DIR) / "examples" / "single-channel.mrd", model);
    const auto original = CFileSystem::Standard().ReadAll(model);
    {
        // Names that hold "=" and "." are still addressed.
        CModel named;
        ASSERT_TRUE(LoadModel(named, model).IsLoaded());
        named.FindBlock("D1")->SetName("D=1.x");
        ASSERT_TRUE(SaveModel(named, scratch / "named.mrd"));
    }
    ASSERT_TRUE(std::ofstream(scratch / "doc.json") << "{}");
    const bool bFullDevice = fs::is_character_file("/dev/full");
    const std::string m = " " + Quoted(model);
    const std::string strMany = " --sweep D1.service=1..2,1..3,1..4,1..5,1..6,1..7,1..8,1..9,1..10,"
                                "1..11,1..12 --replications 100000";
    struct SCase {
        std::string strArgs;
        int nStatus;
        std::string strSaid;  // in the standard error
    };
    std::vector<SCase> cases = {
        {"--csv" + m + m, 64, "would overwrite the input"},
        {"--replications 2 --csv " + Quoted(scratch / "." / "model.mrd") + m, 64, "would overwrite"},
        {"--merge " + Quoted(scratch / "doc.json") + " --csv " + Quoted(scratch / "doc.json"), 64,
         "would overwrite"},
        {"--html " + Quoted(scratch / "o.csv") + " --trace " + Quoted(scratch / "o.csv") + m, 64,
         "another output"},
        {"--html " + Quoted(scratch / "no" / "r.html") + m, 74, "Ошибка при сохранении"},
        {"--replications 2 --csv " + Quoted(scratch / "no" / "r.csv") + m, 74, "cannot write"},
        {"--replications 2 --csv " + Quoted(scratch / "no" / "..") + m, 74, "cannot write"},
        {"--trace " + Quoted(scratch / ".") + m, 74, "cannot write"},
        {strMany + m, 64, "more than 100000 simulations"},
        {"--sweep D1.service=2 --sweep Q1.limit=3 --sweep D1.service=3" + m, 64, "given twice"},
        {"--warmup 10000" + m, 64, "--warmup 10000 reaches the end"},
        {"--replications 2 --sweep model.stopValue=20000,300 --warmup 500" + m, 64, "reaches the end"},
        {"--replications 2 --set model.stopRule=count --set model.stopValue=1 --warmup 5000" + m, 64,
         "reaches the end"},
        {"--replications 2 --replication 1 --warmup auto" + m, 64, "--warmup auto chooses"},
        {"--warmup auto" + m, 64, "--warmup auto chooses"},
        {"--replications 2 --warmup automatic" + m, 64, "--warmup needs"},
        {"--set K1.probabilities=300,600 " + Example("routing-by-probability.mrd"), 64,
         "adding up to 1000"},
        {"--quiet --replications 2 --set D=1.x.service=2..4 " + Quoted(scratch / "named.mrd"), 0, ""}};
    if (bFullDevice) {
        cases.push_back({"--trace /dev/full" + m, 74, "cannot write /dev/full"});
        cases.push_back({"--replications 2" + m + " >/dev/full", 74, "standard output"});
        cases.push_back({"--json" + m + " >/dev/full", 74, "standard output"});
    }
    for (const SCase& test : cases) {
        const SRun run = RunTool(test.strArgs);
        EXPECT_EQ(run.nStatus, test.nStatus) << test.strArgs << ": " << run.strErr;
        EXPECT_NE(run.strErr.find(test.strSaid), std::string::npos) << test.strArgs << ": " << run.strErr;
        EXPECT_EQ(CFileSystem::Standard().ReadAll(model), original) << test.strArgs;
    }
    EXPECT_FALSE(fs::exists(scratch / "o.csv"));
    EXPECT_TRUE(fs::is_character_file("/dev/full") || !bFullDevice);

    // Quiet: no line per replication; the warning of overdrawn streams reaches a JSON reader's
    // standard error.
    EXPECT_EQ(RunTool("--quiet --replications 3" + m).strOut.find("Прогон "), std::string::npos);
    const SRun overdrawn = RunTool(
        "--json --generator exact --replications 100000 --replication 5 --set model.runs=10" + m);
    EXPECT_NE(overdrawn.strErr.find("Внимание: прогоны 5 взяли"), std::string::npos);
    EXPECT_NE(overdrawn.strOut.find("\"overdrawn\": [\n      5\n    ]"), std::string::npos);
}

// Every non-ASCII character of a UTF-8 text as a \u escape, as Python's json.dump writes it.
std::string EscapedAscii(const std::string& strText) {
    std::string strOut;
    for (std::size_t i = 0; i < strText.size();) {
        const auto b = static_cast<unsigned char>(strText[i]);
        if (b < 0x80) {
            strOut += strText[i++];
            continue;
        }
        // Two- and three-byte sequences are all these documents hold.
        const bool bThree = (b & 0xF0) == 0xE0;
        unsigned nCode = bThree ? b & 0x0F : b & 0x1F;
        for (std::size_t k = 1; k <= (bThree ? 2u : 1u); ++k) {
            nCode = (nCode << 6) | (static_cast<unsigned char>(strText[i + k]) & 0x3F);
        }
        i += bThree ? 3 : 2;
        char sz[8];
        std::snprintf(sz, sizeof sz, "\\u%04X", nCode);
        strOut += sz;
    }
    return strOut;
}

// Documents spelled otherwise (escapes, exponents) or older merge to the same bytes; figures out of
// their ranges, other blocks or other seeds are refused.
TEST(ExperimentRunTest, MergeReadsAnySpellingAndChecksEveryFigure) {
    CScratch scratch;
    const std::string strModel = " " + Example("single-channel.mrd");
    const std::string strRun = "--json --replications 2 --warmup 50";
    const std::string strFirst = RunTool(strRun + " --replication 0" + strModel).strOut;
    const std::string strSecond = RunTool(strRun + " --replication 1" + strModel).strOut;
    const auto write = [&scratch](const std::string& strName, const std::string& strText) {
        std::ofstream(scratch / strName, std::ios::binary) << strText;
        return " " + Quoted(scratch / strName);
    };
    const auto replaced = [](std::string strText, const std::string& strFrom, const std::string& strTo) {
        const std::size_t nAt = strText.find(strFrom);
        EXPECT_NE(nAt, std::string::npos) << strFrom;
        return nAt == std::string::npos ? strText : strText.replace(nAt, strFrom.size(), strTo);
    };
    const std::string strEscaped =
        replaced(EscapedAscii(strSecond), "\"modelTime\": 9950", "\"modelTime\": 9.95e3");
    ASSERT_NE(strEscaped.find("\\u0423"), std::string::npos);  // У
    // A document written before devices had channels has no such table and merges all the same.
    const std::string strOld = replaced(replaced(strFirst, ",\n      \"channels\": []", ""),
                                        "\n    \"channels\": [],", "");
    for (const std::string& strFiles : {write("a.json", strFirst) + write("b.json", strEscaped),
                                        write("o.json", strOld) + write("b.json", strEscaped)}) {
        for (const char* pszForm : {"--json", "--quiet"}) {
            const SRun merged = RunTool(std::string(pszForm) + " --merge" + strFiles);
            EXPECT_EQ(merged.nStatus, 0) << merged.strErr;
            EXPECT_EQ(merged.strOut, RunTool(std::string(pszForm) + " --replications 2 --warmup 50" + strModel).strOut);
        }
    }
    const std::vector<std::pair<std::string, std::string>> bad = {
        {replaced(strSecond, "\"seed\": 1,", "\"seed\": 1e23,"), "\"seed\""},
        {replaced(strSecond, "\"utilization\": 0.", "\"utilization\": 1."), "devices.utilization"},
        {replaced(strSecond, "\"left\": 1", "\"left\": -1"), "left"},
        {replaced(strSecond, "\"name\": \"D1\"", "\"name\": \"D2\""), "different blocks"},
        {replaced(strSecond, "\"index\": 1,\n      \"seed\": ", "\"index\": 1,\n      \"seed\": 7"), "seed"},
        {replaced(strSecond, "\"generator\": \"streams\"", "\"generator\": \"other\""),
         "neither"},
        {replaced(strSecond, "\"generator\": \"streams\"", "\"generator\": \"exact\""),
         "exact generator"}};
    for (const auto& [strText, strSaid] : bad) {
        const SRun run = RunTool("--merge" + write("a.json", strFirst) + write("c.json", strText));
        EXPECT_EQ(run.nStatus, 2) << strSaid;
        EXPECT_NE(run.strErr.find(strSaid), std::string::npos) << run.strErr;
    }
}

// A model file whose name is not UTF-8 still gives a valid JSON document.
TEST(ExperimentRunTest, ANameThatIsNotUtf8GivesValidJson) {
    CScratch scratch;
    const fs::path model = scratch / "\xEA\xE0\xF1\xF1\xE0.mrd";  // Windows-1251
    fs::copy_file(fs::path(MARDO_SOURCE_DIR) / "examples" / "single-channel.mrd", model);
    for (const char* pszArgs : {"--json ", "--json --replications 2 "}) {
        const SRun run = RunTool(pszArgs + Quoted(model));
        EXPECT_EQ(run.nStatus, 0);
        EXPECT_NE(run.strOut.find("\"model\": \"\xEF\xBF\xBD"), std::string::npos);  // U+FFFD
    }
    std::string strError;
    EXPECT_TRUE(ReadExperimentDoc(RunTool("--json --replications 2 " + Quoted(model)).strOut, strError))
        << strError;
}

}  // namespace
}  // namespace mardo::cli
