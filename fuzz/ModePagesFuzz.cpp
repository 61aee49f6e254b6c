// Mode page handling: MODE SENSE with its fallbacks and repairs, byte and bit writes, dumps,
// and the timers and vendor features built on them, in an order the input chooses.
#include "drive/CDROM.h"
#include "fuzz/FuzzRun.h"

namespace {

constexpr int kMaxOperations = 24;

std::string ModePages(fuzz::Conversation& conversation)
{
    TCDROM drive(0, 0, 0);
    if (!drive.Exists) return "no drive";
    std::string seen;
    auto add = [&seen](int value) { seen += std::to_string(value) + " "; };
    uint8_t op = 0, a = 0, b = 0, v = 0;
    for (int i = 0; i < kMaxOperations && conversation.choice(op) && conversation.choice(a) && conversation.choice(b) &&
                    conversation.choice(v);
         ++i) {
        const uint8_t page = a & 0x3F;
        const uint8_t control = a >> 6;
        const int index = b % 48;
        const bool current = (v & 1) != 0;
        bool on = false;
        switch (op % 12) {
        case 0: add(drive.GetModeByte(control, page, index)); break;
        case 1: add(drive.SetModeByte(current, page, index, v)); break;
        case 2: add(drive.GetModeBit(control, page, v & 7, index)); break;
        case 3: add(drive.SetModeBit(current, page, index, v & 7, (v & 8) != 0)); break;
        case 4: seen += drive.ModePageDump(page, control, "[", " "); break;
        case 5:
            add(drive.GetInactivity(current));
            add(drive.GetInactivityMask());
            break;
        case 6: add(drive.SetInactivity(v & 0x0F)); break;
        case 7:
            add(drive.GetIdle(current));
            add(drive.GetIdleLimit());
            break;
        case 8: add(drive.SetIdle(v * 60)); break;
        case 9:
            add(drive.GetStandby(current));
            add(drive.GetStandbyLimit());
            break;
        case 10: add(drive.SetStandby(v * 60)); break;
        case 11:
            add(drive.PlextorIdleSupported());
            add(drive.GetPlextorIdle(on) ? on : -1);
            add(drive.SetPlextorIdle(current));
            add(drive.PlextorSpeedModeSupported());
            add(drive.GetPlextorSpeedMode(on) ? on : -1);
            add(drive.SetPlextorSpeedMode(current));
            break;
        }
    }
    return seen + drive.SenseStatistics();
}

// Every operation once on the pages drives carry: CD parameters, capabilities, vendor pages.
const std::vector<uint8_t> kPlan = {
    0, 0x0D, 3, 0,    1, 0x0D, 3, 0x05, 2, 0x2A, 2, 0x03, 3, 0x0D, 3, 0x09, 4, 0x3F, 0, 0,    5, 0, 0, 0,
    6, 0, 0, 0x07,    7, 0, 0, 1,       8, 0, 0, 2,       9, 0, 0, 0,       10, 0, 0, 3,      11, 0, 0, 1,
    4, 0x31, 0, 0,    4, 0xAA, 0, 0,    0, 0xE0, 2, 0,    1, 0x1A, 7, 0x10,
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::RecordSeedsIfAsked(ModePages, kPlan);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunDifferential(data, size, ModePages);
    return 0;
}
