// The built-in pass-through manager through the platform's device seam: which system binds
// it, the records it sends, how the answers complete the SRBs.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "platform/DeviceIo.h"
#include "platform/Event.h"
#include "platform/host/Host.h"
#include "platform/host/HostDeviceIo.h"
#include "transport/AspiManager.h"
#include "transport/SptiRecords.h"
#include "transport/TransportTestSupport.h"

namespace {

// A CD-ROM device as the system shows it: its address, its adapter's limits, and a drive
// behind it that answers pass-through requests (an emulated device unless a test answers).
struct FakeCdRom {
    std::optional<spti::ScsiAddress> address = spti::ScsiAddress{8, 1, 2, 3, 0};
    std::optional<spti::AdapterDescriptor> adapter;
    std::shared_ptr<ScriptedDevice> drive = std::make_shared<ScriptedDevice>();
    std::function<bool(spti::PassThroughWithSense&, uint32_t& error)> answer;
    std::vector<spti::PassThroughWithSense> requests;  // as sent, before the answer

    bool Control(uint32_t code, void* in, uint32_t inSize, void* out, uint32_t outSize, uint32_t& returned,
                 uint32_t& error)
    {
        if (code == spti::kIoctlScsiGetAddress && address && outSize >= sizeof(*address)) {
            std::memcpy(out, &*address, returned = sizeof(*address));
            return true;
        }
        if (code == spti::kIoctlStorageQueryProperty && adapter && inSize == sizeof(spti::PropertyQuery) &&
            static_cast<spti::PropertyQuery*>(in)->PropertyId == spti::kStorageAdapterProperty) {
            std::memcpy(out, &*adapter, returned = sizeof(*adapter));
            return true;
        }
        if (code != spti::kIoctlScsiPassThroughDirect || inSize != sizeof(spti::PassThroughWithSense) || in != out) {
            error = platform::kErrorNotSupported;
            return false;
        }
        auto& request = *static_cast<spti::PassThroughWithSense*>(in);
        requests.push_back(request);
        returned = sizeof(request);
        return answer ? answer(request, error) : Emulate(request);
    }

    bool Emulate(spti::PassThroughWithSense& request)
    {
        spti::PassThroughDirect& sptd = request.sptd;
        emu::Command command;
        command.cdb.assign(sptd.Cdb, sptd.Cdb + sptd.CdbLength);
        command.length = sptd.DataTransferLength;
        const emu::Reply reply = drive->handle(command);
        auto* data = static_cast<uint8_t*>(sptd.DataBuffer);
        if (sptd.DataIn == spti::kDataIn)
            std::memcpy(data, reply.data.data(), std::min<size_t>(reply.data.size(), command.length));
        sptd.ScsiStatus = reply.good ? 0 : kStatusCheckCondition;
        if (!reply.good) {
            request.sense[0] = 0x70;
            request.sense[2] = reply.senseKey;
            request.sense[12] = reply.asc;
        }
        return true;
    }
};

spti::AdapterDescriptor Adapter(uint32_t maxTransfer, uint32_t alignmentMask)
{
    spti::AdapterDescriptor adapter{};
    adapter.Version = adapter.Size = sizeof(adapter);
    adapter.MaximumTransferLength = maxTransfer;
    adapter.AlignmentMask = alignmentMask;
    return adapter;
}

class SptiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::host::Reset();
        UnloadASPI32();
        platform::host::SetWindowsNt(true);
    }

    void TearDown() override
    {
        UnloadASPI32();
        emu::UninstallNative();
        platform::host::Reset();
    }

    std::shared_ptr<FakeCdRom> AddCdRom(int n, uint32_t openError = 0)
    {
        auto cdrom = std::make_shared<FakeCdRom>();
        platform::host::HostDevice device;
        device.openError = openError;
        device.control = [cdrom](uint32_t code, void* in, uint32_t inSize, void* out, uint32_t outSize,
                                 uint32_t& returned, uint32_t& error) {
            return cdrom->Control(code, in, inSize, out, outSize, returned, error);
        };
        platform::host::AddDevice("\\\\.\\CdRom" + std::to_string(n), device);
        return cdrom;
    }

    // An execute SRB for the drive of adapter 0, sent straight to the bound manager.
    SRB_ExecSCSICmd Execute(uint32_t timeoutMs = 5000, uint8_t flags = SRB_DIR_IN, uint32_t length = 8)
    {
        SRB_ExecSCSICmd srb{};
        srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
        srb.SRB_Flags = flags;
        srb.SRB_BufLen = length;
        srb.SRB_BufPointer = buffer_;
        srb.SRB_SenseLen = SENSE_LEN;
        srb.SRB_CDBLen = 10;
        srb.CDBByte[0] = kReadCapacity;
        ASPISendCommand(&srb, timeoutMs);
        return srb;
    }

    uint8_t buffer_[8] = {};
};

TEST_F(SptiTest, BindsOnWindowsNtWhenNoManagerKnowsAnAdapter)
{
    enum class Dll { None, NoAdapters, CountZero, Adapters, FailedInit };
    struct Case {
        const char* what;
        bool nt;
        Dll dll;
        std::vector<std::pair<int, uint32_t>> devices;  // device number, error opening it
        bool result, passThrough;
        int count;
        const char* status;
    };
    const Case cases[] = {
        {"no manager, gap in the numbers", true, Dll::None, {{0, 0}, {2, 0}}, true, true, 2, ""},
        {"manager without adapters", true, Dll::NoAdapters, {{0, 0}}, true, true, 1, ""},
        {"manager counting no adapter", true, Dll::CountZero, {{0, 0}}, true, true, 1, ""},
        {"more devices than adapters", true, Dll::None,
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {31, 0}}, true, true, 8, ""},
        {"some devices refuse access", true, Dll::None, {{0, 5}, {1, 0}}, true, true, 1, ""},
        {"working manager", true, Dll::Adapters, {{0, 0}}, true, false, 1, ""},
        {"failed manager", true, Dll::FailedInit, {{0, 0}}, false, false, 0, "SS_FAILED_INIT"},
        {"Windows 98", false, Dll::None, {{0, 0}}, false, false, 0, "not LoadASPI32"},
        {"Windows 98 manager without adapters", false, Dll::NoAdapters, {{0, 0}}, false, false, 0, "SS_NO_ADAPTERS"},
        {"no CD-ROM device", true, Dll::None, {{32, 0}}, false, false, 0, "not LoadASPI32"},
        {"no CD-ROM device, manager without adapters", true, Dll::NoAdapters, {}, false, false, 0, "SS_NO_ADAPTERS"},
        {"devices opened by administrators only", true, Dll::NoAdapters, {{1, 5}, {2, 5}}, false, true, 0,
         "SS_SECURITY_VIOLATION (SCSI pass-through needs administrator rights: no read and write access to "
         "\\\\.\\CdRom1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::host::Reset();
        platform::host::SetWindowsNt(c.nt);
        for (const auto& [n, error] : c.devices) AddCdRom(n, error);
        if (c.dll != Dll::None) {
            auto manager = std::make_shared<emu::Manager>();
            manager->addHostAdapter("EMU_HA");
            if (c.dll == Dll::NoAdapters) manager->setSupportInfoOverride(0xE800);
            if (c.dll == Dll::CountZero) manager->setSupportInfoOverride(0x0100);
            if (c.dll == Dll::FailedInit) manager->setSupportInfoOverride(0xE400);
            emu::InstallNative(manager);
        }
        EXPECT_EQ(InitASPI32(), c.result);
        EXPECT_EQ(ASPIPassThrough(), c.passThrough);
        EXPECT_EQ(HostAdaptorCount(), c.count);
        EXPECT_EQ(ASPIStatusText(), c.status);
        // The library gives way to the pass-through and is not kept loaded.
        if (c.passThrough) {
            EXPECT_EQ(platform::host::LoadedModuleCount(), 0);
        }
        EXPECT_EQ(platform::host::OpenDeviceCount(), c.result && c.passThrough ? c.count : 0);
        UnloadASPI32();
        emu::UninstallNative();
        EXPECT_EQ(platform::host::OpenDeviceCount(), 0);
    }
}

TEST_F(SptiTest, EachDeviceIsAnAdapterWithItsPortsLimits)
{
    AddCdRom(0)->adapter = Adapter(0x20000, 1);
    auto bare = AddCdRom(3);
    bare->address.reset();
    AddCdRom(4)->adapter = Adapter(0x20000, 0x1FF);
    ASSERT_TRUE(InitASPI32());
    ASSERT_EQ(HostAdaptorCount(), 3);
    EXPECT_EQ(HostAdaptorName(0), "SPTI-CdRom0");
    EXPECT_EQ(HostAdaptorInfo(0), "HA=00, ID=07, MaxTLen=00020000, MaxTargets=08, Align=00000001");
    // Without address and adapter query (Windows NT 4): the safe defaults.
    EXPECT_EQ(HostAdaptorName(1), "SPTI-CdRom3");
    EXPECT_EQ(HostAdaptorInfo(1), "HA=01, ID=07, MaxTLen=00010000, MaxTargets=08, Align=00000003");
    // A mask the program's table does not trust is passed on as it is, and dumped there.
    EXPECT_NE(HostAdaptorInfo(2).find("Align=00000003, HA_Unique= FF.01.00.08."), std::string::npos);

    SRB_HAInquiry inquiry{};
    inquiry.SRB_HaId = 3;
    EXPECT_EQ(ASPISendCommand(&inquiry, 0), SS_INVALID_HA);
}

TEST_F(SptiTest, ExecuteSendsThePassThroughRecordExactly)
{
    auto cdrom = AddCdRom(0);
    ASSERT_TRUE(InitASPI32());
    // The target's INQUIRY goes through the pass-through, and its answer comes back.
    auto target = std::make_unique<TTarget>(0, 0, 0, 0);
    ASSERT_TRUE(target->Initialised());
    EXPECT_EQ(target->Vendor(), "KALMORVN");
    ASSERT_EQ(cdrom->requests.size(), 1u);
    const spti::PassThroughDirect& sptd = cdrom->requests[0].sptd;
    EXPECT_EQ(sptd.Length, sizeof(spti::PassThroughDirect));
    EXPECT_EQ(sptd.ScsiStatus, 0);
    EXPECT_EQ(sptd.PathId, 2);
    EXPECT_EQ(sptd.TargetId, 3);
    EXPECT_EQ(sptd.Lun, 0);
    EXPECT_EQ(sptd.CdbLength, 6);
    EXPECT_EQ(std::vector<uint8_t>(sptd.Cdb, sptd.Cdb + 16),
              Bytes({0x12, 0, 0, 0, 0x60, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(sptd.SenseInfoLength, SENSE_LEN);
    EXPECT_EQ(sptd.SenseInfoOffset, offsetof(spti::PassThroughWithSense, sense));
    EXPECT_EQ(sptd.SenseInfoOffset, sizeof(spti::PassThroughDirect));
    EXPECT_EQ(sptd.DataIn, spti::kDataIn);
    EXPECT_EQ(sptd.DataTransferLength, 96u);
    EXPECT_NE(sptd.DataBuffer, nullptr);
    EXPECT_EQ(sptd.TimeOutValue, 120u);  // the default 120000 ms

    const struct {
        uint8_t flags;
        uint32_t length;
        uint8_t dataIn;
    } directions[] = {{SRB_DIR_IN, 8, spti::kDataIn}, {SRB_DIR_OUT, 4, spti::kDataOut}, {0, 0, spti::kDataUnspecified},
                      {SRB_DIR_IN | SRB_DIR_OUT, 0, spti::kDataUnspecified}};
    for (const auto& d : directions) {
        Execute(5000, d.flags, d.length);
        EXPECT_EQ(cdrom->requests.back().sptd.DataIn, d.dataIn);
        EXPECT_EQ(cdrom->requests.back().sptd.DataTransferLength, d.length);
        EXPECT_EQ(cdrom->requests.back().sptd.DataBuffer, buffer_);
        EXPECT_EQ(cdrom->requests.back().sptd.CdbLength, 10);
    }

    const std::pair<uint32_t, uint32_t> timeouts[] = {{0, 1}, {1, 1}, {999, 1}, {1000, 1}, {1001, 2}, {65500, 66}};
    for (const auto& [ms, seconds] : timeouts) {
        Execute(ms);
        EXPECT_EQ(cdrom->requests.back().sptd.TimeOutValue, seconds) << ms << " ms";
    }
}

TEST_F(SptiTest, AnswersCompleteTheSrbAsAManagerDoes)
{
    auto cdrom = AddCdRom(0);
    ASSERT_TRUE(InitASPI32());
    struct Case {
        bool ok;
        uint32_t error;
        uint8_t scsiStatus;
        uint8_t status, hostStatus, targetStatus;
        bool sense;
    };
    const Case cases[] = {
        {true, 0, 0x00, SS_COMP, HASTAT_OK, 0, false},
        {true, 0, 0x02, SS_ERR, HASTAT_OK, 0x02, true},  // check condition: the sense travels with it
        {true, 0, 0x08, SS_ERR, HASTAT_OK, 0x08, false},  // busy
        {false, platform::kErrorSemTimeout, 0, SS_ERR, HASTAT_COMMAND_TIMEOUT, 0, false},
        {false, platform::kErrorDeviceNotConnected, 0, SS_ERR, HASTAT_SEL_TO, 0, false},
        {false, platform::kErrorNotReady, 0, SS_ERR, HASTAT_SEL_TO, 0, false},
        {false, platform::kErrorInvalidParameter, 0, SS_INVALID_SRB, HASTAT_OK, 0, false},
        {false, platform::kErrorAccessDenied, 0, SS_ERR, HASTAT_OK, 0, false},
    };
    const uint8_t sense[18] = {0xF0, 0, 0x06, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x28, 0x00, 0, 0, 0, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "error " << c.error << " status " << int(c.scsiStatus));
        cdrom->answer = [&](spti::PassThroughWithSense& request, uint32_t& error) {
            request.sptd.ScsiStatus = c.scsiStatus;
            std::memcpy(request.sense, sense, sizeof(sense));
            request.sense[25] = 0xEE;  // beyond what the SRB asked for
            error = c.error;
            return c.ok;
        };
        const SRB_ExecSCSICmd srb = Execute();
        EXPECT_EQ(srb.SRB_Status, c.status);
        EXPECT_EQ(srb.SRB_HaStat, c.hostStatus);
        EXPECT_EQ(srb.SRB_TargStat, c.targetStatus);
        uint8_t expected[SENSE_LEN] = {};
        if (c.sense) std::memcpy(expected, sense, sizeof(sense));
        EXPECT_EQ(std::memcmp(srb.SenseArea, expected, SENSE_LEN), 0);
    }

    // The caller's event is signalled by the time the call returns.
    cdrom->answer = nullptr;
    platform::Event completion(false, false);
    SRB_ExecSCSICmd srb{};
    srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
    srb.SRB_Flags = SRB_EVENT_NOTIFY;
    srb.SRB_CDBLen = 6;
    srb.SRB_PostProc = completion.handle();
    EXPECT_EQ(ASPISendCommand(&srb, 1000), SS_COMP);
    EXPECT_TRUE(completion.wait(0));
}

TEST_F(SptiTest, RequestsOutsideTheDeviceReachNoDevice)
{
    auto cdrom = AddCdRom(0);
    ASSERT_TRUE(InitASPI32());
    SRB_GDEVBlock type{};
    type.SRB_Cmd = SC_GET_DEV_TYPE;
    EXPECT_EQ(ASPISendCommand(&type, 0), SS_COMP);
    EXPECT_EQ(type.SRB_DeviceType, kDeviceTypeCdRom);
    type.SRB_Target = 1;
    EXPECT_EQ(ASPISendCommand(&type, 0), SS_NO_DEVICE);

    const struct {
        uint8_t ha, target, lun, cdbLength, command, status;
    } cases[] = {
        {1, 0, 0, 6, SC_EXEC_SCSI_CMD, SS_INVALID_HA}, {0, 1, 0, 6, SC_EXEC_SCSI_CMD, SS_NO_DEVICE},
        {0, 0, 1, 6, SC_EXEC_SCSI_CMD, SS_NO_DEVICE},  {0, 0, 0, 0, SC_EXEC_SCSI_CMD, SS_INVALID_SRB},
        {0, 0, 0, 17, SC_EXEC_SCSI_CMD, SS_INVALID_SRB}, {0, 0, 0, 6, 0x05, SS_INVALID_CMD},
    };
    for (const auto& c : cases) {
        SRB_ExecSCSICmd srb{};
        srb.SRB_Cmd = c.command;
        srb.SRB_HaId = c.ha;
        srb.SRB_Target = c.target;
        srb.SRB_Lun = c.lun;
        srb.SRB_CDBLen = c.cdbLength;
        EXPECT_EQ(ASPISendCommand(&srb, 1000), c.status);
        EXPECT_EQ(srb.SRB_Status, c.status);
    }
    EXPECT_TRUE(cdrom->requests.empty());
}

}  // namespace
