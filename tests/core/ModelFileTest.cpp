#include "core/persist/ModelFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/wait.h>

#include "AddressSpace.h"
#include "TestSupport.h"
#include "core/model/AssembleDlg.h"
#include "core/model/DeviceDlg.h"
#include "core/model/GatherDlg.h"
#include "core/model/GenerateDlg.h"
#include "core/model/MultiDeviceDlg.h"
#include "core/model/QueueDlg.h"
#include "core/model/SplitDlg.h"
#include "core/model/TerminateDlg.h"
#include "core/model/TransferDlg.h"
#include "core/persist/Cp1251.h"
#include "core/persist/Crc32.h"
#include "core/persist/Error.h"
#include "core/persist/FileModel.h"

namespace mardo {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::Link;

std::uint32_t Checksum(const std::string& strText) {
    return ComputeChecksum(reinterpret_cast<const std::uint8_t*>(strText.data()), strText.size());
}

Bytes WriteOrDie(const CModel& model) {
    std::optional<Bytes> bytes = WriteModelBytes(model);
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or(Bytes{});
}

// Rewrites the trailer (length and checksum) after a change to the content.
Bytes Resealed(Bytes bytes) {
    const std::size_t nContent = bytes.size() - 8;
    bytes.resize(nContent);
    CFileModel file(std::move(bytes));
    file.WriteInt(static_cast<std::int32_t>(nContent + 8));
    const Bytes& sealed = file.GetBytes();
    file.WriteInt(static_cast<std::int32_t>(ComputeChecksum(sealed.data(), sealed.size())));
    return file.GetBytes();
}

// Overwrites the 32-bit field at a byte offset and reseals the file.
Bytes WithField(const Bytes& bytes, std::size_t nOffset, std::int32_t nValue) {
    Bytes changed = bytes;
    for (int i = 0; i < 4; ++i) {
        changed[nOffset + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(static_cast<std::uint32_t>(nValue) >> (8 * i));
    }
    return Resealed(changed);
}

bool Reads(const Bytes& bytes) {
    CModel model;
    try {
        ReadModelBytes(model, bytes);
        return true;
    } catch (const CError&) {
        return false;
    }
}

TEST(Crc32Test, KnownValues) {
    EXPECT_EQ(Checksum("abc"), 0xCADBBE3Du);
    EXPECT_EQ(Checksum(""), 0xFFFFFFFFu);
}

TEST(Cp1251Test, EveryByteRoundTripsAndForeignCharactersAreRefused) {
    std::string strAll;
    for (int b = 1; b < 256; ++b) {
        strAll += static_cast<char>(b);
    }
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(strAll)), strAll);
    EXPECT_EQ(Cp1251ToUtf8("\xCE\xF7\xE5\xF0\xE5\xE4\xFC"), "Очередь");
    EXPECT_EQ(Utf8ToCp1251("№ “ё”"), std::optional<std::string>("\xB9 \x93\xB8\x94"));
    EXPECT_FALSE(Utf8ToCp1251("日本").has_value());
    EXPECT_FALSE(Utf8ToCp1251("\xFF").has_value());  // not UTF-8
    EXPECT_EQ(Utf8ToCp1251Lossy("a日b"), "a?b");
}

TEST(ModelFileTest, EmptyModelIsTwentyFourKnownBytes) {
    const CModel model;
    EXPECT_EQ(WriteOrDie(model), (Bytes{0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                                        0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                        0x18, 0x00, 0x00, 0x00, 0xFC, 0xC6, 0x4A, 0x50}));
}

// A model with one block of every kind, every parameter away from its default, links that
// point forward and backward, an unlinked output and switching conditions.
void BuildFullModel(CModel& model) {
    model.m_experiment = {CExperimentParams::kByCount, 250, 7};
    auto& generator = model.Add<CGenerateDlg>(CPoint{-30, 10000});
    generator.SetName("Генератор");
    generator.m_params = {1, 1, 1, 12, 40, 600};
    generator.m_law = CFlowLaw(CFlowLaw::kSpecial, 2, 9);
    generator.m_law.AddInterval(1, 10, 250);
    generator.m_law.AddInterval(20, 30, 750);
    auto& transfer = model.Add<CTransferDlg>(CPoint{5000, 4});
    transfer.SetName("K1");
    transfer.SetOutputCount(3);
    transfer.m_rule.SetOutputCount(3);
    transfer.m_rule.m_nKind = CTransferRule::kByState;
    transfer.m_rule.m_probabilities = {100, 200, 300};
    transfer.m_rule.m_conditionStates = {1, 0, 7};
    transfer.m_priority = {CPriorityChange::kLower, 3};
    auto& queue = model.Add<CQueueDlg>(CPoint{1, 2});
    queue.SetName("Q\"1\"");
    queue.m_params = {CQueueParams::kRandom, 1, 20000};
    queue.m_priority = {CPriorityChange::kRaise, 1000};
    auto& device = model.Add<CDeviceDlg>(CPoint{3, 4});
    device.SetName("D1");
    device.m_law = CFlowLaw(CFlowLaw::kUniform, 3, 17);
    auto& split = model.Add<CSplitDlg>(CPoint{5, 6});
    split.SetName("S1");
    split.SetOutputCount(3);
    split.m_copyCounts = {1, 1000, 5};
    auto& assemble = model.Add<CAssembleDlg>(CPoint{7, 8});
    assemble.SetName("A1");
    assemble.m_nWaitCount = 10000;
    auto& gather = model.Add<CGatherDlg>(CPoint{9, 10});
    gather.m_nWaitCount = -4;
    gather.m_priority = {CPriorityChange::kRaise, 2};
    auto& terminator = model.Add<CTerminateDlg>(CPoint{11, 12});
    terminator.SetName("T1");
    Link(generator, transfer);
    Link(transfer, queue, 0);
    Link(transfer, split, 2);
    transfer.m_rule.m_conditionBlocks = {&device, nullptr, &terminator};
    Link(queue, device);
    Link(device, terminator);
    Link(split, assemble, 0);
    Link(split, gather, 1);
    Link(split, terminator, 2);
    Link(assemble, terminator);
}

TEST(ModelFileTest, EveryKindRoundTrips) {
    CModel model;
    BuildFullModel(model);
    const Bytes bytes = WriteOrDie(model);
    CModel read;
    ReadModelBytes(read, bytes);
    ASSERT_EQ(read.GetBlockCount(), model.GetBlockCount());
    EXPECT_EQ(read.m_experiment, model.m_experiment);
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(model.GetBlockCount()); ++i) {
        const CBlockDlg& a = *model.BlockAt(i);
        const CBlockDlg& b = *read.BlockAt(i);
        EXPECT_EQ(a.GetKind(), b.GetKind());
        EXPECT_EQ(a.GetName(), b.GetName());
        EXPECT_EQ(a.GetPosition(), b.GetPosition());
        ASSERT_EQ(a.GetOutputCount(), b.GetOutputCount());
        for (std::int32_t k = 0; k < a.GetOutputCount(); ++k) {
            EXPECT_EQ(model.IndexOfBlock(a.GetOutLink(k)), read.IndexOfBlock(b.GetOutLink(k)));
        }
    }
    const auto& generator = static_cast<const CGenerateDlg&>(*read.BlockAt(0));
    EXPECT_EQ(generator.m_params, (CGenerateParams{1, 1, 1, 12, 40, 600}));
    EXPECT_EQ(generator.m_law, static_cast<const CGenerateDlg&>(*model.BlockAt(0)).m_law);
    const auto& transfer = static_cast<const CTransferDlg&>(*read.BlockAt(1));
    EXPECT_EQ(transfer.m_rule.m_nKind, CTransferRule::kByState);
    EXPECT_EQ(transfer.m_rule.m_probabilities, (std::vector<std::int32_t>{100, 200, 300}));
    EXPECT_EQ(transfer.m_rule.m_conditionStates, (std::vector<std::int32_t>{1, 0, 7}));
    EXPECT_EQ(transfer.m_rule.m_weights, (std::vector<std::int32_t>{333, 333, 333}));
    EXPECT_EQ(transfer.m_rule.m_conditionBlocks,
              (std::vector<CBlockDlg*>{read.BlockAt(3), nullptr, read.BlockAt(7)}));
    EXPECT_EQ(transfer.m_priority, (CPriorityChange{CPriorityChange::kLower, 3}));
    const auto& queue = static_cast<const CQueueDlg&>(*read.BlockAt(2));
    EXPECT_EQ(queue.m_params, (CQueueParams{CQueueParams::kRandom, 1, 20000}));
    EXPECT_EQ(static_cast<const CDeviceDlg&>(*read.BlockAt(3)).m_law.m_nMax, 17);
    EXPECT_EQ(static_cast<const CSplitDlg&>(*read.BlockAt(4)).m_copyCounts,
              (std::vector<std::int32_t>{1, 1000, 5}));
    EXPECT_EQ(static_cast<const CAssembleDlg&>(*read.BlockAt(5)).m_nWaitCount, 10000);
    EXPECT_EQ(static_cast<const CGatherDlg&>(*read.BlockAt(6)).m_nWaitCount, -4);
    // Writing what was read gives the same bytes.
    EXPECT_EQ(WriteOrDie(read), bytes);
}

TEST(ModelFileTest, OutputLinksAreWrittenFromTheLastOutput) {
    CModel model;
    auto& split = model.Add<CSplitDlg>();
    split.SetOutputCount(3);
    split.FitCopyCounts();
    for (int i = 0; i < 7; ++i) {
        model.Add<CTerminateDlg>();
    }
    Link(split, *model.BlockAt(5), 0);
    Link(split, *model.BlockAt(7), 1);
    Link(split, *model.BlockAt(2), 2);
    const Bytes bytes = WriteOrDie(model);
    // Fields: experiment 0..2, count 3, then the copying block: kind 4, outputs 5, counts 6..9,
    // priority 10..11, name 12, position 13..14, M 15, references 16..18.
    CFileModel file(bytes);
    std::vector<std::int32_t> fields(bytes.size() / 4);
    for (auto& n : fields) {
        file.ReadInt(n);
    }
    EXPECT_EQ(fields[15], 3);  // M
    EXPECT_EQ((std::vector<std::int32_t>{fields[16], fields[17], fields[18]}),
              (std::vector<std::int32_t>{2, 7, 5}));
}

TEST(ModelFileTest, SwitchingBlockWritesItsOutputCountThreeTimes) {
    CModel model;
    auto& transfer = model.Add<CTransferDlg>();
    transfer.SetOutputCount(3);
    transfer.m_rule.SetOutputCount(3);
    const Bytes bytes = WriteOrDie(model);
    // 40 + 16 n bytes for an unnamed switching block.
    EXPECT_EQ(bytes.size(), 24u + 40u + 16u * 3u);
    CFileModel file(bytes);
    std::vector<std::int32_t> fields(bytes.size() / 4);
    for (auto& n : fields) {
        file.ReadInt(n);
    }
    EXPECT_EQ(fields[5], 3);   // kind record
    EXPECT_EQ(fields[7], 3);   // transfer record
    EXPECT_EQ(fields[22], 3);  // M, after the three condition references
    EXPECT_EQ((std::vector<std::int32_t>{fields[19], fields[20], fields[21]}),
              (std::vector<std::int32_t>{-1, -1, -1}));
}

TEST(ModelFileTest, DamagedFilesAreRefused) {
    CModel model;
    BuildFullModel(model);
    const Bytes bytes = WriteOrDie(model);
    ASSERT_TRUE(Reads(bytes));
    for (std::size_t i = 0; i < bytes.size(); i += 7) {
        Bytes changed = bytes;
        changed[i] ^= 0x10;
        EXPECT_FALSE(Reads(changed)) << i;
    }
    Bytes appended = bytes;
    appended.push_back(0);
    EXPECT_FALSE(Reads(appended));
    EXPECT_FALSE(Reads(Bytes(bytes.begin(), bytes.begin() + 7)));
}

// Field offsets in a file with one block, right after the experiment record and the count.
constexpr std::size_t kFirstField = 16;

Bytes OneBlock(std::unique_ptr<CBlockDlg> pBlock) {
    CModel model;
    model.AddBlock(std::move(pBlock));
    return WriteOrDie(model);
}

TEST(ModelFileTest, RangesAreCheckedAtTheirBounds) {
    // The experiment record: stop rule 0..1, value and runs 0..30000.
    const Bytes empty = WriteOrDie(CModel{});
    EXPECT_TRUE(Reads(WithField(empty, 4, 0)));
    EXPECT_TRUE(Reads(WithField(empty, 8, 30000)));
    EXPECT_FALSE(Reads(WithField(empty, 8, 30001)));
    EXPECT_FALSE(Reads(WithField(empty, 0, 2)));
    EXPECT_TRUE(Reads(WithField(empty, 12, -5)));  // a count of 0 or less: no blocks

    // Position: x at most 5000, y at most 10000, no lower bound. Terminator: kind, name, x, y.
    const Bytes terminator = OneBlock(std::make_unique<CTerminateDlg>());
    const std::size_t nX = kFirstField + 8;
    EXPECT_TRUE(Reads(WithField(terminator, nX, 5000)));
    EXPECT_FALSE(Reads(WithField(terminator, nX, 5001)));
    EXPECT_TRUE(Reads(WithField(terminator, nX + 4, 10000)));
    EXPECT_FALSE(Reads(WithField(terminator, nX + 4, 10001)));
    EXPECT_TRUE(Reads(WithField(terminator, nX, -2000000)));
    EXPECT_FALSE(Reads(WithField(terminator, kFirstField, kBlockKindCount)));  // no such kind

    // Waiting block: any count; assembling block: 1..10000.
    const Bytes gather = OneBlock(std::make_unique<CGatherDlg>());
    EXPECT_TRUE(Reads(WithField(gather, kFirstField + 4, 0)));
    const Bytes assemble = OneBlock(std::make_unique<CAssembleDlg>());
    EXPECT_FALSE(Reads(WithField(assemble, kFirstField + 4, 0)));
    EXPECT_TRUE(Reads(WithField(assemble, kFirstField + 4, 10000)));
    EXPECT_FALSE(Reads(WithField(assemble, kFirstField + 4, 10001)));
    // Priority record: mode 0..2, value 0..1000.
    EXPECT_FALSE(Reads(WithField(assemble, kFirstField + 8, 3)));
    EXPECT_TRUE(Reads(WithField(assemble, kFirstField + 12, 1000)));
    EXPECT_FALSE(Reads(WithField(assemble, kFirstField + 12, 1001)));

    // Queue: discipline 0..3, limit 1..20000 even when the limit is off.
    const Bytes queue = OneBlock(std::make_unique<CQueueDlg>());
    EXPECT_FALSE(Reads(WithField(queue, kFirstField + 4, 4)));
    EXPECT_FALSE(Reads(WithField(queue, kFirstField + 12, 0)));
    EXPECT_TRUE(Reads(WithField(queue, kFirstField + 12, 20000)));
    EXPECT_FALSE(Reads(WithField(queue, kFirstField + 12, 20001)));
}

TEST(ModelFileTest, MultichannelDeviceIsADeviceEntryWithItsChannels) {
    auto device = std::make_unique<CDeviceDlg>();
    device->m_law = CFlowLaw(CFlowLaw::kUniform, 2, 5);
    device->m_priority = {CPriorityChange::kRaise, 30};
    auto channels = std::make_unique<CMultiDeviceDlg>(CPoint{40, 60});
    channels->m_law = device->m_law;
    channels->m_priority = device->m_priority;
    channels->m_nChannels = 7;
    channels->SetName("Касса");
    device->SetName("Касса");
    device->SetPosition(40, 60);
    const Bytes deviceBytes = OneBlock(std::move(device));
    const Bytes bytes = OneBlock(std::move(channels));
    // Kind, law (16 bytes), priority (8), then the channels, then the common part as a device's.
    const std::size_t nChannels = kFirstField + 4 + 16 + 8;
    ASSERT_EQ(bytes.size(), deviceBytes.size() + 4);
    EXPECT_EQ(bytes[kFirstField], 8);
    EXPECT_EQ(Bytes(bytes.begin() + kFirstField + 4, bytes.begin() + nChannels),
              Bytes(deviceBytes.begin() + kFirstField + 4, deviceBytes.begin() + nChannels));
    EXPECT_EQ(bytes[nChannels], 7);
    EXPECT_EQ(Bytes(bytes.begin() + nChannels + 4, bytes.end() - 8),
              Bytes(deviceBytes.begin() + nChannels, deviceBytes.end() - 8));

    CModel read;
    ReadModelBytes(read, bytes);
    const auto& back = static_cast<const CMultiDeviceDlg&>(*read.BlockAt(0));
    EXPECT_EQ(back.m_nChannels, 7);
    EXPECT_EQ(back.m_law.m_nMax, 5);
    EXPECT_EQ(back.m_priority.m_nValue, 30);
    EXPECT_EQ(WriteOrDie(read), bytes);

    EXPECT_FALSE(Reads(WithField(bytes, nChannels, 0)));
    EXPECT_TRUE(Reads(WithField(bytes, nChannels, 1)));
    EXPECT_TRUE(Reads(WithField(bytes, nChannels, 1000)));
    EXPECT_FALSE(Reads(WithField(bytes, nChannels, 1001)));
}

TEST(ModelFileTest, FlowLawsAreHeldToTheirInvariants) {
    auto device = std::make_unique<CDeviceDlg>();
    device->m_law = CFlowLaw(CFlowLaw::kSpecial, 1, 1);
    device->m_law.AddInterval(1, 10, 400);
    device->m_law.AddInterval(20, 30, 500);
    const Bytes bytes = OneBlock(std::move(device));
    // Law: kind, min, max, count, then (min, max, probability) per interval.
    const std::size_t nLaw = kFirstField + 4;
    EXPECT_TRUE(Reads(bytes));  // a sum below 1000 is accepted
    EXPECT_FALSE(Reads(WithField(bytes, nLaw, 3)));
    EXPECT_FALSE(Reads(WithField(bytes, nLaw + 4, 0)));
    EXPECT_FALSE(Reads(WithField(bytes, nLaw + 4, 10001)));
    EXPECT_FALSE(Reads(WithField(bytes, nLaw + 8, 0)));  // maximum below minimum
    EXPECT_TRUE(Reads(WithField(bytes, nLaw + 8, 10000)));
    EXPECT_TRUE(Reads(WithField(bytes, nLaw + 36, 600)));   // running sum exactly 1000
    EXPECT_FALSE(Reads(WithField(bytes, nLaw + 36, 601)));  // passes 1000
    EXPECT_FALSE(Reads(WithField(bytes, nLaw + 16, 0)));    // interval bound below 1
    EXPECT_FALSE(Reads(WithField(bytes, nLaw + 20, 10001)));
    EXPECT_FALSE(Reads(WithField(bytes, nLaw + 20, 0)));    // maximum below minimum
    EXPECT_FALSE(Reads(WithField(bytes, nLaw + 24, -1)));   // probability below 0
    EXPECT_FALSE(Reads(WithField(bytes, nLaw + 12, 1000000)));  // more intervals than bytes
}

TEST(ModelFileTest, InconsistentCountsAndReferencesAreRefused) {
    CModel model;
    auto& split = model.Add<CSplitDlg>();
    auto& terminator = model.Add<CTerminateDlg>();
    Link(split, terminator, 0);
    const Bytes bytes = WriteOrDie(model);
    // Copying block: kind, outputs, n, 2 counts, priority 2, name, x, y, M, 2 references.
    const std::size_t nOutputs = kFirstField + 4;
    EXPECT_FALSE(Reads(WithField(bytes, nOutputs, 3)));      // outputs differ from counts
    EXPECT_FALSE(Reads(WithField(bytes, nOutputs + 4, 1)));  // counts differ from outputs
    EXPECT_FALSE(Reads(WithField(bytes, kFirstField + 8, 1001)));  // a count above 1000
    const std::size_t nM = kFirstField + 40;
    EXPECT_FALSE(Reads(WithField(bytes, nM, 3)));          // M differs from the outputs
    EXPECT_FALSE(Reads(WithField(bytes, nM + 4, 2)));      // a reference past the last block
    EXPECT_FALSE(Reads(WithField(bytes, nM + 4, -2)));
    EXPECT_TRUE(Reads(WithField(bytes, nM + 4, 0)));       // a link to itself is a valid file
    EXPECT_FALSE(Reads(WithField(bytes, kFirstField + 28, -1)));  // negative name length
    EXPECT_FALSE(Reads(WithField(bytes, kFirstField + 28, 1000)));  // longer than the file

    CModel switching;
    switching.Add<CTransferDlg>();
    switching.Add<CTerminateDlg>();
    const Bytes transfer = WriteOrDie(switching);
    // Switching block: kind, outputs, rule kind, rule count, (probability, state) per output.
    EXPECT_FALSE(Reads(WithField(transfer, kFirstField + 12, 1)));  // rule shorter than outputs
    EXPECT_FALSE(Reads(WithField(transfer, kFirstField + 4, 1)));   // outputs fewer than rule
    const Bytes halves = WithField(WithField(transfer, kFirstField + 16, 500), kFirstField + 24, 500);
    EXPECT_TRUE(Reads(halves));
    EXPECT_FALSE(Reads(WithField(halves, kFirstField + 24, 501)));  // the sum passes 1000
}

// Reads the bytes in a child process that may map only 32 MB more than it has: an allocation
// made for a count or a length the bytes cannot hold fails there and ends the child, which
// otherwise exits with 0 when the bytes are refused.
void ExpectRefusedWithinMemory(const Bytes& bytes) {
    EXPECT_EXIT(
        {
            test::LimitAddressSpace(std::size_t{32} << 20);
            std::_Exit(Reads(bytes) ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(ModelFileTest, CountsTheFileCannotHoldAreRefusedBeforeAnythingIsAllocatedForThem) {
    // The limit itself: the child cannot take 64 MB (under a sanitizer it ends at once).
    EXPECT_EXIT(
        {
            test::LimitAddressSpace(std::size_t{32} << 20);
            try {
                std::vector<char> big(std::size_t{64} << 20);
                std::_Exit(big.empty() ? 2 : 0);
            } catch (const std::bad_alloc&) {
                std::_Exit(3);
            }
        },
        [](int nStatus) { return !WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0; }, "");

    for (const std::int32_t nHuge : {INT32_MAX, 10'000'000}) {
        // A block count: every entry takes at least 20 bytes.
        ExpectRefusedWithinMemory(WithField(WriteOrDie(CModel{}), 12, nHuge));
        // A name's length.
        ExpectRefusedWithinMemory(
            WithField(OneBlock(std::make_unique<CTerminateDlg>()), kFirstField + 4, nHuge));
        // A law's number of intervals: 12 bytes each.
        auto device = std::make_unique<CDeviceDlg>();
        device->m_law = CFlowLaw(CFlowLaw::kSpecial, 1, 1);
        ExpectRefusedWithinMemory(WithField(OneBlock(std::move(device)), kFirstField + 16, nHuge));
    }
}

class CTemporaryFolder {
public:
    CTemporaryFolder() {
        m_path = std::filesystem::temp_directory_path() /
                 ("mardo-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~CTemporaryFolder() { std::filesystem::remove_all(m_path); }
    const std::filesystem::path& Path() const { return m_path; }
    std::size_t FileCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(m_path),
                                                      std::filesystem::directory_iterator()));
    }

private:
    std::filesystem::path m_path;
};

TEST(ModelFileTest, LoadResetsTheModelOnEveryRefusal) {
    CTemporaryFolder folder;
    CModel model;
    BuildFullModel(model);
    const std::filesystem::path path = folder.Path() / "model.mrd";
    ASSERT_TRUE(SaveModel(model, path));

    CModel loaded;
    EXPECT_TRUE(LoadModel(loaded, path).IsLoaded());
    EXPECT_EQ(loaded.GetBlockCount(), 8u);

    // A format fault late in the file leaves a new empty model with the default conditions.
    Bytes bytes = WriteOrDie(model);
    bytes = WithField(bytes, bytes.size() - 12, 99);  // the last reference
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const SLoadResult refused = LoadModel(loaded, path);
    EXPECT_EQ(refused.nStatus, SLoadResult::kFormatError);
    EXPECT_EQ(refused.strMessage, "Неправильный формат открываемого файла!");
    EXPECT_EQ(loaded.GetBlockCount(), 0u);
    EXPECT_EQ(loaded.m_experiment, CExperimentParams{});

    // Shorter than the trailer, or missing: a file error naming the file.
    std::ofstream(path, std::ios::binary | std::ios::trunc).write("1234567", 7);
    const SLoadResult shortFile = LoadModel(loaded, path);
    EXPECT_EQ(shortFile.nStatus, SLoadResult::kFileError);
    EXPECT_NE(shortFile.strMessage.find("model.mrd"), std::string::npos);
    EXPECT_EQ(LoadModel(loaded, folder.Path() / "missing.mrd").nStatus, SLoadResult::kFileError);
}

TEST(ModelFileTest, FilesLongerThanAnyModelAreRefusedUnread) {
    // 3 GB, but sparse: no model file can be longer than its trailer's 32-bit length says.
    CTemporaryFolder folder;
    const std::filesystem::path huge = folder.Path() / "huge.mrd";
    std::ofstream(huge).close();
    std::filesystem::resize_file(huge, std::uintmax_t{3} << 30);
    EXPECT_EXIT(
        {
            test::LimitAddressSpace(std::size_t{32} << 20);
            CModel model;
            std::_Exit(LoadModel(model, huge).nStatus == SLoadResult::kFormatError ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    // A device never ends: reading stops one byte after the most the caller takes.
    EXPECT_EQ(CFileSystem::Standard().ReadAll("/dev/zero", 100)->size(), 101u);
    EXPECT_EQ(CFileSystem::Standard().ReadAll("/dev/zero", 0)->size(), 1u);
}

TEST(ModelFileTest, AModelLargerThanTheMemoryIsRefusedNotACrash) {
#ifdef MARDO_SANITIZED
    GTEST_SKIP() << "a sanitizer ends the process when its own allocator runs out";
#else
    // 300 000 blocks in an 8 MB file need several times that in memory; the child may take 64.
    CTemporaryFolder folder;
    const std::filesystem::path path = folder.Path() / "large.mrd";
    CModel model;
    for (int i = 0; i < 300000; ++i) {
        model.Add<CTerminateDlg>().SetName("T" + std::to_string(i));
    }
    // Not saved: a save reads the model back, and the memory that leaves free in this process
    // would let the child load it after all.
    ASSERT_TRUE(CFileSystem::Standard().CreateAndWrite(path, WriteModelBytes(model).value()));
    // The child is a fresh run of this test alone: a fork would inherit the room that earlier
    // tests' threads left reserved in the allocator, and load the model in it.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            test::LimitAddressSpace(std::size_t{64} << 20);
            CModel loaded;
            const SLoadResult result = LoadModel(loaded, path);
            const bool bRefused = result.nStatus == SLoadResult::kFileError &&
                                  result.strMessage.rfind("Недостаточно памяти", 0) == 0;
            std::_Exit(bRefused && loaded.GetBlockCount() == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
#endif
}

// The standard file system, with one step of saving made to fail.
class CFailingFileSystem : public CFileSystem {
public:
    enum EStep { kNothing, kCreate, kWrite, kReadBack, kReadBackDiffers, kRename };

    explicit CFailingFileSystem(EStep nStep) : m_nStep(nStep) {}

    bool CreateAndWrite(const std::filesystem::path& path, const Bytes& bytes) override {
        if (m_nStep == kCreate) {
            return false;
        }
        if (m_nStep == kWrite) {  // the disk fills up half way through
            const Bytes half(bytes.begin(), bytes.begin() + bytes.size() / 2);
            CFileSystem::CreateAndWrite(path, half);
            return false;
        }
        return CFileSystem::CreateAndWrite(path, bytes);
    }
    std::optional<Bytes> ReadAll(const std::filesystem::path& path, std::size_t nMost) override {
        if (m_nStep == kReadBack) {
            return std::nullopt;
        }
        std::optional<Bytes> bytes = CFileSystem::ReadAll(path, nMost);
        if (m_nStep == kReadBackDiffers && bytes && !bytes->empty()) {
            (*bytes)[bytes->size() / 2] ^= 0x01;
        }
        return bytes;
    }
    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        return m_nStep != kRename && CFileSystem::Rename(from, to);
    }

private:
    EStep m_nStep;
};

// A folder with a model file saved in it.
struct SSavedFile {
    SSavedFile() {
        CModel model;
        BuildFullModel(model);
        EXPECT_TRUE(SaveModel(model, path));
        before = CFileSystem::Standard().ReadAll(path).value_or(Bytes{});
    }

    CTemporaryFolder folder;
    const std::filesystem::path path = folder.Path() / "model.mrd";
    Bytes before;  // the file's bytes
};

TEST(ModelFileTest, AFailureAtAnyStepOfSavingKeepsThePreviousFile) {
    const SSavedFile saved;
    CModel changed;
    BuildFullModel(changed);
    changed.BlockAt(0)->SetName("Другой");

    for (const auto nStep : {CFailingFileSystem::kCreate, CFailingFileSystem::kWrite,
                             CFailingFileSystem::kReadBack, CFailingFileSystem::kReadBackDiffers,
                             CFailingFileSystem::kRename}) {
        CFailingFileSystem failing(nStep);
        EXPECT_FALSE(SaveModel(changed, saved.path, failing)) << nStep;
        EXPECT_EQ(*CFileSystem::Standard().ReadAll(saved.path), saved.before) << nStep;
        EXPECT_EQ(saved.folder.FileCount(), 1u) << nStep;  // no temporary file is left
        // Where there was no file, there is none afterwards.
        EXPECT_FALSE(SaveModel(changed, saved.folder.Path() / "new.mrd", failing)) << nStep;
        EXPECT_EQ(saved.folder.FileCount(), 1u) << nStep;
    }
    CFailingFileSystem working(CFailingFileSystem::kNothing);
    EXPECT_TRUE(SaveModel(changed, saved.path, working));
    EXPECT_EQ(CFileSystem::Standard().ReadAll(saved.path), WriteModelBytes(changed));
    EXPECT_EQ(saved.folder.FileCount(), 1u);
}

TEST(ModelFileTest, SaveRefusesNamesTheFileCannotHoldAndKeepsThePreviousFile) {
    const SSavedFile saved;
    CModel model;
    BuildFullModel(model);

    model.BlockAt(0)->SetName("名前");
    EXPECT_FALSE(WriteModelBytes(model).has_value());
    EXPECT_FALSE(SaveModel(model, saved.path));
    EXPECT_EQ(*CFileSystem::Standard().ReadAll(saved.path), saved.before);
    EXPECT_EQ(saved.folder.FileCount(), 1u);

    // A folder that does not exist: nothing is created anywhere.
    EXPECT_FALSE(SaveModel(CModel{}, saved.folder.Path() / "no" / "such.mrd"));
}

TEST(ModelFileTest, SavingThroughALinkReplacesTheFileItLeadsToAndKeepsTheLink) {
    const SSavedFile saved;
    const std::filesystem::path link = saved.folder.Path() / "link.mrd";
    std::filesystem::create_symlink("model.mrd", link);
    CModel changed;
    BuildFullModel(changed);
    changed.BlockAt(0)->SetName("Другой");
    ASSERT_TRUE(SaveModel(changed, link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(CFileSystem::Standard().ReadAll(saved.path), WriteModelBytes(changed));
    EXPECT_EQ(saved.folder.FileCount(), 2u);
    // A folder in the file's place is never renamed over.
    EXPECT_FALSE(SaveModel(changed, saved.folder.Path()));
}

TEST(ModelFileTest, SaveRefusesAModelThatOpenWouldRefuseAndKeepsThePreviousFile) {
    const SSavedFile saved;
    CModel model;
    BuildFullModel(model);
    model.Add<CQueueDlg>().m_params = {CQueueParams::kFifo, 0, CQueueParams::kMaxLimit + 1};
    EXPECT_FALSE(SaveModel(model, saved.path));
    EXPECT_EQ(*CFileSystem::Standard().ReadAll(saved.path), saved.before);
    EXPECT_EQ(saved.folder.FileCount(), 1u);
}

}  // namespace
}  // namespace mardo
