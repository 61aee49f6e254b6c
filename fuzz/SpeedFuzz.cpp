// Speed reading and setting by family, the current step and its zone texts, speed-step
// detection (built-in table or probing), and speed-table texts as the store keeps them.
#include <algorithm>

#include "drive/CDROM.h"
#include "fuzz/FuzzRun.h"

namespace {

constexpr size_t kMaxTextLength = 60;

std::string Step(TCDROM& drive)
{
    const int32_t factor = drive.CurrentSpeedStep();
    return std::to_string(factor) + "/" + drive.ZoneDescription + "/" + drive.DaeZoneDescription + " ";
}

std::string Speed(fuzz::Conversation& conversation)
{
    TCDROM drive(0, 0, 0);
    if (!drive.Exists) return "no drive";
    std::string seen = std::to_string(drive.CurrentReadSpeed()) + " " + std::to_string(drive.MaxReadSpeed()) + " " +
                       std::to_string(drive.MaxSpeedFactor()) + " " + Step(drive);
    uint8_t factor = 0, how = 0, length = 0, c = 0;
    if (conversation.choice(factor)) seen += std::to_string(drive.SetCDSpeed(std::max<int>(1, factor))) + Step(drive);
    if (conversation.choice(how)) {
        seen += std::to_string(drive.DetectSpeedSteps((how & 1) != 0, (how & 2) != 0)) + drive.SpeedTableText() + " " +
                Step(drive);
    }
    // A stored text: mostly hexadecimal digits, some bytes as they come.
    std::string text;
    conversation.choice(length);
    while (text.size() < length % (kMaxTextLength + 1) && conversation.choice(c))
        text += (c & 0x80) ? char(c) : "0123456789ABCDEF"[c & 15];
    seen += std::to_string(drive.LoadSpeedTable(text)) + drive.SpeedTableText() + " " + Step(drive);
    if (conversation.choice(factor)) seen += std::to_string(drive.SetCDSpeed(std::max<int>(1, factor)));
    return seen;
}

// 8x, a probing scan downwards, the stored table "0018 1080 1080 0010 0B00 0B00", then 16x.
const std::vector<uint8_t> kPlan = {8, 2, 24, 0, 0, 1, 8, 1, 0, 8, 0, 1, 0, 8, 0, 0, 0, 1, 0, 0, 11, 0, 0, 0, 11, 0, 0, 16};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::RecordSeedsIfAsked(Speed, kPlan);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunDifferential(data, size, Speed);
    return 0;
}
