// The built-in pass-through manager through the platform's device seam: which system binds
// it, the records it sends, how the answers complete the SRBs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "diag/DriveReport.h"
#include "diag/LineList.h"
#include "platform/DeviceIo.h"
#include "platform/host/Host.h"
#include "platform/host/HostDeviceIo.h"
#include "platform/host/HostSystemInfo.h"
#include "transport/AspiManager.h"
#include "transport/SptiRecords.h"
#include "transport/PassThroughTestSupport.h"
#include "transport/TransportTestSupport.h"

namespace {

// A CD-ROM device: its address, its adapter's limits, and the requests it was sent. Unless
// a test answers, the drive completes every command and sends its INQUIRY data.
struct FakeCdRom {
    std::optional<spti::ScsiAddress> address = spti::ScsiAddress{8, 1, 2, 3, 0};
    std::optional<spti::AdapterDescriptor> adapter;
    std::function<bool(spti::PassThroughWithSense&, uint32_t& error)> answer;
    std::vector<spti::PassThroughWithSense> requests;

    bool Control(uint32_t code, void* in, uint32_t inSize, void* out, uint32_t& returned, uint32_t& error)
    {
        if (code == spti::kIoctlScsiGetAddress && address) {
            std::memcpy(out, &*address, returned = sizeof(*address));
            return true;
        }
        if (code == spti::kIoctlStorageQueryProperty && adapter &&
            static_cast<spti::PropertyQuery*>(in)->PropertyId == spti::kStorageAdapterProperty) {
            std::memcpy(out, &*adapter, returned = sizeof(*adapter));
            return true;
        }
        if (code != spti::kIoctlScsiPassThroughDirect || inSize != sizeof(spti::PassThroughWithSense) || in != out)
            return false;
        auto& request = *static_cast<spti::PassThroughWithSense*>(in);
        requests.push_back(request);
        if (answer) return answer(request, error);
        const std::vector<uint8_t> inquiry = InquiryBytes();
        const size_t length = std::min<size_t>(inquiry.size(), request.sptd.DataTransferLength);
        if (request.sptd.DataIn == spti::kDataIn) std::memcpy(request.sptd.DataBuffer, inquiry.data(), length);
        return true;
    }
};

// The fields of a pass-through record but its data buffer and CDB.
std::vector<uint64_t> Fields(const spti::PassThroughDirect& r)
{
    return {r.Length, r.ScsiStatus, r.PathId,     r.TargetId,           r.Lun,           r.CdbLength,
            r.SenseInfoLength, r.DataIn, r.DataTransferLength, r.TimeOutValue, r.SenseInfoOffset};
}

// Windows 98 SE or Windows 2000 as the version record says.
void SetNt(bool nt)
{
    platform::OsVersionRecord record{4, 10, 2222, " A", 1};
    if (nt) record = {5, 0, 2195, "Service Pack 4", 2};
    platform::host::SetOsVersion(record);
}

class SptiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TearDown();
        SetNt(true);
    }
    void TearDown() override
    {
        UnloadASPI32();
        emu::UninstallNative();
        platform::host::Reset();
    }

    std::shared_ptr<FakeCdRom> AddCdRom(int n, uint32_t openError = 0)
    {
        return AddDeviceNode<FakeCdRom>("\\\\.\\CdRom" + std::to_string(n), openError);
    }

    SRB_ExecSCSICmd Execute(uint32_t timeoutMs = 5000, uint8_t direction = SRB_DIR_IN, uint32_t length = 8)
    {
        return ExecuteReadCapacity(buffer_, timeoutMs, direction, length);
    }

    uint8_t buffer_[8] = {};
};

TEST_F(SptiTest, BindsOnWindowsNtWhenNoManagerKnowsAnAdapter)
{
    const uint32_t kNoLibrary = 0, kAdapters = 0x0101;
    struct Case {
        bool nt;
        uint32_t library;  // the library's support info
        std::vector<std::pair<int, uint32_t>> devices;  // CdRom number, error opening it
        bool result, passThrough;
        int count;
        const char* status;
    };
    const Case cases[] = {
        {true, kNoLibrary, {{0, 0}, {2, 0}}, true, true, 2, ""},                  // numbers with a gap
        {true, 0xE800, {{0, 0}}, true, true, 1, ""},                              // SS_NO_ADAPTERS
        {true, 0x0100, {{0, 5}, {1, 0}}, true, true, 1, ""},                      // no adapter; one device denied
        {true, kNoLibrary, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}}, true, true, 8, ""},
        {true, kAdapters, {{0, 0}}, true, false, 1, ""},
        {true, 0xE400, {{0, 0}}, false, false, 0, "SS_FAILED_INIT"},
        {false, kNoLibrary, {{0, 0}}, false, false, 0, "not LoadASPI32"},          // Windows 98
        {true, kNoLibrary, {{32, 0}}, false, false, 0, "not LoadASPI32"},           // beyond the numbers tried
        {true, 0xE800, {{1, 5}, {2, 5}}, false, true, 0,
         "SS_SECURITY_VIOLATION (SCSI pass-through needs administrator rights: no read and write access to "
         "\\\\.\\CdRom1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "library " << c.library << ", " << c.devices.size() << " devices");
        TearDown();
        SetNt(c.nt);
        for (const auto& [n, error] : c.devices) AddCdRom(n, error);
        if (c.library != kNoLibrary) {
            auto manager = std::make_shared<emu::Manager>();
            manager->addHostAdapter("EMU_HA");
            manager->setSupportInfoOverride(c.library);
            emu::InstallNative(manager);
        }
        EXPECT_EQ(InitASPI32(), c.result);
        EXPECT_EQ(std::tuple(ASPIPassThrough(), HostAdaptorCount(), ASPIStatusText()), std::tuple(c.passThrough, c.count, std::string(c.status)));
        // The library gives way to the pass-through, whose devices stay open while it is bound.
        EXPECT_EQ(platform::host::LoadedModuleCount(), c.library == kNoLibrary || c.passThrough ? 0 : 1);
        EXPECT_EQ(platform::host::OpenDeviceCount(), c.passThrough ? c.count : 0);
        UnloadASPI32();
        EXPECT_EQ(platform::host::OpenDeviceCount(), 0);
    }
}

TEST_F(SptiTest, EachDeviceIsAnAdapterAndGetsThePassThroughRecordExactly)
{
    auto cdrom = AddCdRom(0);
    cdrom->adapter.emplace().MaximumTransferLength = 0x20000;
    cdrom->adapter->AlignmentMask = 1;
    AddCdRom(3)->address.reset();  // and no adapter query, as on Windows NT 4: the defaults
    ASSERT_TRUE(InitASPI32());
    TStringLineList header;
    ReportHeader(header);
    EXPECT_NE(std::find(header.Lines().begin(), header.Lines().end(), " ASPI-Manager:    SCSI-Pass-Through (SPTI)"),
              header.Lines().end());
    EXPECT_EQ(std::vector<std::string>({HostAdaptorName(0), HostAdaptorInfo(0), HostAdaptorName(1), HostAdaptorInfo(1)}),
              std::vector<std::string>({"SPTI-CdRom0", "HA=00, ID=07, MaxTLen=00020000, MaxTargets=08, Align=00000001", "SPTI-CdRom3",
                                        "HA=01, ID=07, MaxTLen=00010000, MaxTargets=08, Align=00000003"}));

    // The target's INQUIRY goes through the pass-through and its answer comes back; other
    // target ids and LUNs of the adapter find no device and reach no drive.
    auto target = std::make_unique<TTarget>(0, 0, 0, 0);
    ASSERT_TRUE(target->Initialised());
    EXPECT_EQ(target->Vendor(), "KALMORVN");
    EXPECT_FALSE(TTarget(0, 1, 0, 0).Initialised() || TTarget(0, 0, 1, 0).Initialised());
    ASSERT_EQ(cdrom->requests.size(), 1u);
    // The address from IOCTL_SCSI_GET_ADDRESS, the default 120000 ms in seconds, the sense
    // buffer right behind the record.
    const spti::PassThroughDirect& sptd = cdrom->requests[0].sptd;
    const uint64_t size = sizeof(spti::PassThroughDirect);
    EXPECT_EQ(Fields(sptd), std::vector<uint64_t>({size, 0, 2, 3, 0, 6, SENSE_LEN, spti::kDataIn, 96, 120, size}));
    EXPECT_EQ(offsetof(spti::PassThroughWithSense, sense), size);
    EXPECT_EQ(std::vector<uint8_t>(sptd.Cdb, sptd.Cdb + 8), Bytes({0x12, 0, 0, 0, 0x60, 0, 0, 0}));

    const struct {
        uint8_t direction;
        uint32_t length, ms;
        uint8_t dataIn;
        uint32_t seconds;  // whole seconds, rounded up, never 0
    } cases[] = {{SRB_DIR_IN, 8, 0, spti::kDataIn, 1},
                 {SRB_DIR_OUT, 4, 999, spti::kDataOut, 1},
                 {0, 0, 1000, spti::kDataUnspecified, 1},
                 {SRB_DIR_IN | SRB_DIR_OUT, 0, 1001, spti::kDataUnspecified, 2},
                 {SRB_DIR_IN, 8, 65500, spti::kDataIn, 66}};
    for (const auto& c : cases) {
        Execute(c.ms, c.direction, c.length);
        const spti::PassThroughDirect& sptd = cdrom->requests.back().sptd;
        EXPECT_EQ(std::vector<uint32_t>({sptd.DataIn, sptd.DataTransferLength, sptd.TimeOutValue, sptd.Cdb[0]}),
                  std::vector<uint32_t>({c.dataIn, c.length, c.seconds, kReadCapacity}));
        EXPECT_EQ(sptd.DataBuffer, buffer_);
    }
}

TEST_F(SptiTest, AnswersCompleteTheSrbAsAManagerDoes)
{
    auto cdrom = AddCdRom(0);
    ASSERT_TRUE(InitASPI32());
    struct Case {
        bool ok;
        uint32_t error;
        uint8_t scsiStatus, status, hostStatus, targetStatus;
    };
    const Case cases[] = {
        {true, 0, 0x00, SS_COMP, HASTAT_OK, 0},
        {true, 0, 0x02, SS_ERR, HASTAT_OK, 0x02},  // check condition: only here the sense travels
        {true, 0, 0x08, SS_ERR, HASTAT_OK, 0x08},  // busy
        {false, platform::kErrorSemTimeout, 0, SS_ERR, HASTAT_COMMAND_TIMEOUT, 0},
        {false, platform::kErrorDeviceNotConnected, 0, SS_ERR, HASTAT_SEL_TO, 0},
        {false, platform::kErrorNotReady, 0, SS_ERR, HASTAT_SEL_TO, 0},
        {false, platform::kErrorInvalidParameter, 0, SS_INVALID_SRB, HASTAT_OK, 0},
        {false, platform::kErrorAccessDenied, 0, SS_ERR, HASTAT_OK, 0},
    };
    const uint8_t sense[18] = {0xF0, 0, 0x06, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x28};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "error " << c.error << ", SCSI status " << int(c.scsiStatus));
        cdrom->answer = [&](spti::PassThroughWithSense& request, uint32_t& error) {
            request.sptd.ScsiStatus = c.scsiStatus;
            std::memcpy(request.sense, sense, sizeof(sense));
            request.sense[25] = 0xEE;  // beyond the sense area of the SRB
            error = c.error;
            return c.ok;
        };
        const SRB_ExecSCSICmd srb = Execute();
        EXPECT_EQ(std::vector<int>({srb.SRB_Status, srb.SRB_HaStat, srb.SRB_TargStat}),
                  std::vector<int>({c.status, c.hostStatus, c.targetStatus}));
        uint8_t expected[SENSE_LEN] = {};
        if (c.targetStatus == 0x02) std::memcpy(expected, sense, sizeof(sense));
        EXPECT_EQ(std::memcmp(srb.SenseArea, expected, SENSE_LEN), 0);
    }
}

}  // namespace
