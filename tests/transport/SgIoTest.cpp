// The SG_IO manager through the platform's device seam: the records against the kernel's
// headers, which devices become adapters, the sg_io_hdr each SRB becomes and how the kernel's
// answers complete the SRBs; then whole commands against emulated drives answering SG_IO.
#include <gtest/gtest.h>
#include <scsi/scsi.h>
#include <scsi/sg.h>
#include <linux/fs.h>

#include <cerrno>
#include <cstring>

#include "emu/Scenario.h"
#include "emu/SgIoDevice.h"
#include "platform/Time.h"
#include "platform/host/Host.h"
#include "platform/host/HostDeviceIo.h"
#include "transport/AspiManager.h"
#include "transport/SgIoManager.h"
#include "transport/SgIoRecords.h"
#include "transport/PassThroughTestSupport.h"
#include "transport/TransportTestSupport.h"

namespace {

#define SAME_FIELD(field) \
    static_assert(offsetof(sgio::SgIoHeader, field) == offsetof(sg_io_hdr_t, field), #field)
SAME_FIELD(interface_id);
SAME_FIELD(dxfer_direction);
SAME_FIELD(cmd_len);
SAME_FIELD(mx_sb_len);
SAME_FIELD(iovec_count);
SAME_FIELD(dxfer_len);
SAME_FIELD(dxferp);
SAME_FIELD(cmdp);
SAME_FIELD(sbp);
SAME_FIELD(timeout);
SAME_FIELD(flags);
SAME_FIELD(pack_id);
SAME_FIELD(usr_ptr);
SAME_FIELD(status);
SAME_FIELD(masked_status);
SAME_FIELD(msg_status);
SAME_FIELD(sb_len_wr);
SAME_FIELD(host_status);
SAME_FIELD(driver_status);
SAME_FIELD(resid);
SAME_FIELD(duration);
SAME_FIELD(info);
static_assert(sizeof(sgio::SgIoHeader) == sizeof(sg_io_hdr_t));
static_assert(sgio::kSgIo == SG_IO && sgio::kScsiIoctlGetIdLun == SCSI_IOCTL_GET_IDLUN && sgio::kBlkSectGet == BLKSECTGET);
static_assert(sgio::kDxferNone == SG_DXFER_NONE && sgio::kDxferToDev == SG_DXFER_TO_DEV &&
              sgio::kDxferFromDev == SG_DXFER_FROM_DEV);

// A device node: its address, its block layer's limit, and the requests it was sent. Unless a
// test answers, every command completes and an INQUIRY gets the drive's data.
struct FakeNode {
    int32_t address = 0x01000002;  // host 1, target 2
    uint16_t sectors = 0;          // BLKSECTGET; 0: not answered
    uint8_t type = 5;
    std::function<bool(sgio::SgIoHeader&, uint32_t& error)> answer;
    std::vector<sgio::SgIoHeader> requests;
    std::vector<std::vector<uint8_t>> cdbs;

    bool Control(uint32_t code, void* in, uint32_t inSize, void* out, uint32_t& returned, uint32_t& error)
    {
        if (code == sgio::kScsiIoctlGetIdLun) {
            const sgio::IdLun idLun{address, 1};
            std::memcpy(out, &idLun, returned = sizeof(idLun));
            return true;
        }
        if (code == sgio::kBlkSectGet && sectors) {
            std::memcpy(out, &sectors, returned = sizeof(sectors));
            return true;
        }
        if (code != sgio::kSgIo || inSize != sizeof(sgio::SgIoHeader) || in != out) {
            error = ENOTTY;
            return false;
        }
        auto& header = *static_cast<sgio::SgIoHeader*>(in);
        requests.push_back(header);
        cdbs.emplace_back(header.cmdp, header.cmdp + header.cmd_len);
        if (answer) return answer(header, error);
        if (header.cmdp[0] == kInquiry) {
            std::vector<uint8_t> inquiry = InquiryBytes();
            inquiry[0] = type;
            std::memcpy(header.dxferp, inquiry.data(), std::min<size_t>(inquiry.size(), header.dxfer_len));
        }
        return true;
    }
};

class SgIoTest : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        UnloadASPI32();
        SetSgIoManager(nullptr);
        platform::host::UnregisterModule(kModule);
        platform::host::Reset();
    }

    std::shared_ptr<FakeNode> AddNode(const std::string& path, uint32_t openError = 0)
    {
        return AddDeviceNode<FakeNode>(path, openError);
    }

    // What the Linux program does when no emulator is asked for.
    bool Bind()
    {
        SetSgIoManager(std::make_shared<SgIoManager>());
        platform::host::RegisterModule(kModule, SgIoEntryPoints());
        return InitASPI32();
    }

    SRB_ExecSCSICmd Execute(uint32_t timeoutMs = 5000, uint8_t direction = SRB_DIR_IN, uint32_t length = 8)
    {
        return ExecuteReadCapacity(buffer_, timeoutMs, direction, length);
    }

    static constexpr const char* kModule = "C:\\windows\\system32\\WNASPI32.DLL";
    uint8_t buffer_[8] = {};
};

TEST_F(SgIoTest, CdRomDevicesBecomeAdaptersOnce)
{
    struct Node {
        const char* path;
        uint32_t openError;
        int32_t address;
        uint8_t type;
    };
    struct Case {
        std::vector<Node> nodes;
        bool result;
        std::vector<std::string> adapters;
        const char* status;
    };
    const Case cases[] = {
        // sr numbers with a gap; sg0 is sr0's own node, sg1 a disk, sg3 a drive without sr
        {{{"/dev/sr0", 0, 0x0100, 5}, {"/dev/sr2", 0, 0x0200, 5}, {"/dev/sg0", 0, 0x0100, 5},
          {"/dev/sg1", 0, 0x0300, 0}, {"/dev/sg3", 0, 0x0400, 4}},
         true, {"SG_IO-sr0", "SG_IO-sr2", "SG_IO-sg3"}, ""},
        {{{"/dev/sr0", EACCES, 0, 5}, {"/dev/sr1", 0, 0x0100, 5}}, true, {"SG_IO-sr1"}, ""},
        {{{"/dev/sr0", EACCES, 0, 5}, {"/dev/sg0", EACCES, 0, 5}}, false, {}, "SS_SECURITY_VIOLATION"},
        {{{"/dev/sg0", EACCES, 0, 5}}, false, {}, "SS_NO_ADAPTERS"},  // perhaps a disk's node
        {{{"/dev/sr32", 0, 0, 5}}, false, {}, "SS_NO_ADAPTERS"},       // beyond the numbers tried
        {{{"/dev/sr0", 0, 0, 5}, {"/dev/sr1", 0, 1, 5}, {"/dev/sr2", 0, 2, 5}, {"/dev/sr3", 0, 3, 5},
          {"/dev/sr4", 0, 4, 5}, {"/dev/sr5", 0, 5, 5}, {"/dev/sr6", 0, 6, 5}, {"/dev/sr7", 0, 7, 5},
          {"/dev/sr8", 0, 8, 5}},
         true, {"SG_IO-sr0", "SG_IO-sr1", "SG_IO-sr2", "SG_IO-sr3", "SG_IO-sr4", "SG_IO-sr5", "SG_IO-sr6", "SG_IO-sr7"},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nodes.size() << " nodes, first " << c.nodes[0].path);
        TearDown();
        std::vector<std::shared_ptr<FakeNode>> nodes;
        for (const Node& n : c.nodes) {
            nodes.push_back(AddNode(n.path, n.openError));
            nodes.back()->address = n.address;
            nodes.back()->type = n.type;
        }
        EXPECT_EQ(Bind(), c.result);
        EXPECT_EQ(ASPIStatusText(), c.status);
        std::vector<std::string> adapters;
        for (uint8_t ha = 0; ha < HostAdaptorCount(); ++ha) adapters.push_back(HostAdaptorName(ha));
        EXPECT_EQ(adapters, c.adapters);
        // Only a generic node not known as an sr device is asked what it is.
        for (size_t i = 0; i < nodes.size(); ++i) {
            const bool asked = std::string(c.nodes[i].path).find("/dev/sg") == 0 && !c.nodes[i].openError &&
                               c.nodes[i].address != 0x0100;
            EXPECT_EQ(nodes[i]->cdbs.size(), asked ? 1u : 0u) << c.nodes[i].path;
            if (asked) {
                EXPECT_EQ(nodes[i]->cdbs[0], Bytes({kInquiry, 0, 0, 0, 36, 0}));
            }
        }
        EXPECT_EQ(platform::host::OpenDeviceCount(), int(c.adapters.size()));
    }
    const std::shared_ptr<SgIoManager> manager = CurrentSgIoManager();
    EXPECT_EQ(manager->DeniedDevice(), "");
    EXPECT_EQ(manager->DevicePath(7), "/dev/sr7");
}

TEST_F(SgIoTest, EachSrbBecomesTheHeaderExactly)
{
    auto node = AddNode("/dev/sr0");
    node->sectors = 256;
    ASSERT_TRUE(Bind());
    EXPECT_EQ(HostAdaptorInfo(0), "HA=00, ID=07, MaxTLen=00020000, MaxTargets=08, Align=00000000");

    // The target's INQUIRY, with its default time-out of 120000 ms.
    auto target = std::make_unique<TTarget>(0, 0, 0, 0);
    ASSERT_TRUE(target->Initialised());
    EXPECT_EQ(target->Vendor(), "KALMORVN");
    EXPECT_FALSE(TTarget(0, 1, 0, 0).Initialised());
    EXPECT_FALSE(TTarget(0, 0, 1, 0).Initialised());
    ASSERT_EQ(node->requests.size(), 1u);
    const sgio::SgIoHeader& inquiry = node->requests[0];
    EXPECT_EQ(std::vector<int64_t>({inquiry.interface_id, inquiry.dxfer_direction, inquiry.cmd_len, inquiry.mx_sb_len,
                                    inquiry.iovec_count, inquiry.dxfer_len, inquiry.timeout, inquiry.flags}),
              std::vector<int64_t>({'S', SG_DXFER_FROM_DEV, 6, SENSE_LEN, 0, 96, 120000, 0}));
    EXPECT_EQ(node->cdbs[0], Bytes({0x12, 0, 0, 0, 0x60, 0}));

    const struct {
        uint8_t direction;
        uint32_t length, ms;
        int32_t dxfer;
        uint32_t dxferLength;
        bool buffer;
    } cases[] = {{SRB_DIR_IN, 8, 1, SG_DXFER_FROM_DEV, 8, true},
                 {SRB_DIR_OUT, 4, 999, SG_DXFER_TO_DEV, 4, true},
                 {0, 8, 65500, SG_DXFER_NONE, 0, false},
                 {SRB_DIR_IN | SRB_DIR_OUT, 8, 0, SG_DXFER_NONE, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << int(c.direction));
        Execute(c.ms, c.direction, c.length);
        const sgio::SgIoHeader& header = node->requests.back();
        EXPECT_EQ(std::vector<int64_t>({header.dxfer_direction, header.dxfer_len, header.timeout, header.cmd_len}),
                  std::vector<int64_t>({c.dxfer, c.dxferLength, c.ms, 10}));
        EXPECT_EQ(header.dxferp, c.buffer ? buffer_ : nullptr);
        EXPECT_EQ(node->cdbs.back(), Bytes({kReadCapacity, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    }
}

TEST_F(SgIoTest, AnswersCompleteTheSrbAsAManagerDoes)
{
    auto node = AddNode("/dev/sr0");
    ASSERT_TRUE(Bind());
    struct Case {
        bool ok;
        uint32_t error;
        uint8_t scsiStatus;
        uint16_t hostStatus, driverStatus;
        uint8_t senseWritten;
        uint8_t status, aspiHostStatus, targetStatus;
        uint8_t refused;  // opcode the manager remembers as refused by the kernel
    };
    const Case cases[] = {
        {true, 0, 0x00, 0x00, 0x00, 0, SS_COMP, HASTAT_OK, 0, 0},
        {true, 0, 0x02, 0x00, 0x08, 18, SS_ERR, HASTAT_OK, 0x02, 0},  // check condition with its sense
        {true, 0, 0x02, 0x00, 0x08, 8, SS_ERR, HASTAT_OK, 0x02, 0},   // as much sense as was written
        {true, 0, 0x08, 0x00, 0x00, 0, SS_ERR, HASTAT_OK, 0x08, 0},   // busy
        {true, 0, 0x18, 0x00, 0x00, 0, SS_ERR, HASTAT_OK, 0x18, 0},   // reservation conflict
        {true, 0, 0x00, 0x03, 0x00, 0, SS_ERR, HASTAT_COMMAND_TIMEOUT, 0, 0},
        {true, 0, 0x00, 0x00, 0x06, 0, SS_ERR, HASTAT_COMMAND_TIMEOUT, 0, 0},  // older kernels' driver time-out
        {true, 0, 0x00, 0x00, 0x04, 0, SS_ERR, HASTAT_OK, 0, 0},               // driver error
        {true, 0, 0x00, 0x01, 0x00, 0, SS_ERR, HASTAT_SEL_TO, 0, 0},
        {true, 0, 0x00, 0x02, 0x00, 0, SS_ERR, HASTAT_TIMEOUT, 0, 0},
        {true, 0, 0x00, 0x04, 0x00, 0, SS_ERR, HASTAT_SEL_TO, 0, 0},
        {true, 0, 0x00, 0x05, 0x00, 0, SS_ABORTED, HASTAT_OK, 0, 0},
        {true, 0, 0x00, 0x06, 0x00, 0, SS_ERR, HASTAT_PARITY_ERROR, 0, 0},
        {true, 0, 0x00, 0x07, 0x00, 0, SS_ERR, HASTAT_OK, 0, 0},  // DID_ERROR: no counterpart
        {true, 0, 0x00, 0x08, 0x00, 0, SS_ERR, HASTAT_BUS_RESET, 0, 0},
        {true, 0, 0x00, 0x0E, 0x00, 0, SS_ERR, HASTAT_SEL_TO, 0, 0},
        {false, ENODEV, 0, 0, 0, 0, SS_ERR, HASTAT_SEL_TO, 0, 0},
        {false, EINVAL, 0, 0, 0, 0, SS_INVALID_SRB, HASTAT_OK, 0, 0},
        {false, ENOMEM, 0, 0, 0, 0, SS_INVALID_SRB, HASTAT_OK, 0, 0},
        {false, EBUSY, 0, 0, 0, 0, SS_ERR, HASTAT_OK, 0, 0},
        {false, EPERM, 0, 0, 0, 0, SS_ERR, HASTAT_OK, 0, kReadCapacity},
    };
    const uint8_t sense[24] = {0x70, 0, 0x06, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x28, 0, 0, 0, 0, 0, 0, 0, 0xEE, 0xEE, 0xEE};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "errno " << c.error << ", status " << int(c.scsiStatus) << ", host "
                                        << c.hostStatus << ", driver " << c.driverStatus);
        node->answer = [&](sgio::SgIoHeader& header, uint32_t& error) {
            header.status = c.scsiStatus;
            header.host_status = c.hostStatus;
            header.driver_status = c.driverStatus;
            header.sb_len_wr = c.senseWritten;
            std::memcpy(header.sbp, sense, std::min<size_t>(header.mx_sb_len, sizeof(sense)));
            error = c.error;
            return c.ok;
        };
        const SRB_ExecSCSICmd srb = Execute();
        EXPECT_EQ(std::vector<int>({srb.SRB_Status, srb.SRB_HaStat, srb.SRB_TargStat}),
                  std::vector<int>({c.status, c.aspiHostStatus, c.targetStatus}));
        uint8_t expected[SENSE_LEN] = {};
        std::memcpy(expected, sense, c.senseWritten);
        EXPECT_EQ(std::vector<uint8_t>(srb.SenseArea, srb.SenseArea + SENSE_LEN),
                  std::vector<uint8_t>(expected, expected + SENSE_LEN));
        EXPECT_EQ(CurrentSgIoManager()->LastRefusal().opcode, c.refused);
        EXPECT_EQ(CurrentSgIoManager()->LastRefusal().device, c.refused ? "/dev/sr0" : "");
    }
}

// The default emulated system's drives as the kernel would show them: commands travel as
// sg_io_hdr records and come back through the same code as a real drive's answers.
TEST_F(SgIoTest, EmulatedDrivesAnswerThroughSgIo)
{
    const std::shared_ptr<emu::Manager> manager = emu::DefaultScenario();
    std::vector<std::string> paths;
    for (const emu::SgIoNode& node : emu::SgIoNodes(manager)) {
        paths.push_back(node.path);
        platform::host::AddDevice(node.path, {0, [device = node.device](uint32_t code, void* in, uint32_t inSize,
                                                                        void* out, uint32_t outSize,
                                                                        uint32_t& returned, uint32_t& error) {
                                                  return device->Control(code, in, inSize, out, outSize, returned,
                                                                         error);
                                              }});
    }
    EXPECT_EQ(paths, std::vector<std::string>({"/dev/sg0", "/dev/sr0", "/dev/sg1", "/dev/sr1", "/dev/sg2",
                                               "/dev/sr2", "/dev/sg3"}));
    ASSERT_TRUE(Bind());
    ASSERT_EQ(HostAdaptorCount(), 3);
    // The disk stays out: its generic node was asked and is no CD-ROM device.
    EXPECT_EQ(CurrentSgIoManager()->DevicePath(2), "/dev/sr2");

    TTarget plextor(2, 0, 0, 0);
    ASSERT_TRUE(plextor.Initialised());
    EXPECT_EQ(plextor.Vendor(), "PLEXTOR ");
    // READ(10) of an audio CD's first block as data: the drive's sense comes back as it sent it.
    manager->clearLog();
    uint8_t block[2048];
    EXPECT_FALSE(plextor.Read10(0, 1, block, sizeof block));
    ASSERT_EQ(manager->log().size(), 1u);
    EXPECT_EQ(manager->log()[0].cdb, Bytes({0x28, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(manager->log()[0].length, 2048u);
    EXPECT_EQ(plextor.Sense().senseKey, manager->log()[0].sense[2] & 0x0F);
    EXPECT_NE(plextor.Sense().senseKey, 0);

    // A unit attention is answered once and the command repeated; a hung drive runs into the
    // caller's time-out, which the kernel reports as its host status.
    TTarget teac(0, 0, 0, 0);
    ASSERT_TRUE(teac.Initialised());
    manager->device(0, 1, 0)->setSenseResponseCode(0xF0);
    manager->device(0, 1, 0)->raiseUnitAttention();
    manager->clearLog();
    EXPECT_TRUE(teac.TestUnitReady());
    EXPECT_EQ(manager->log().size(), 2u);
    manager->device(0, 1, 0)->setHung(true);
    const uint32_t before = platform::TickCount();
    EXPECT_FALSE(teac.TestUnitReady());
    EXPECT_EQ(platform::TickCount() - before, 120000u);
    EXPECT_EQ(teac.LastStatus(), SS_ERR);
    EXPECT_TRUE(platform::host::TakeMessages().empty());  // the kernel ended it: no SS_PENDING box
}

}  // namespace
