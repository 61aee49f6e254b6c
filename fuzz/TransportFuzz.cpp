// ExecSCSICmd itself, with the oracle for bytes a caller sees that the drive never wrote: every
// call gets a buffer full of a canary pattern (another one each call, so that bytes left over
// from an earlier call show), at an offset, length and direction the input chooses, on an
// adapter whose alignment mask the input chooses. After the call the caller's buffer must hold
// exactly the bytes the manager transferred followed by the canary, and nothing around the
// buffer may have changed.
#include <algorithm>
#include <vector>

#include "fuzz/FuzzRun.h"
#include "transport/ScsiCodes.h"
#include "transport/Target.h"

namespace {

constexpr int kMaxCalls = 8;
constexpr size_t kGuard = 64;
const uint16_t kAlignMasks[] = {0, 1, 3, 7, 15, 31, 63, 127, 255};

// The first index from `from` whose byte is not the canary, or `to`.
size_t FirstChanged(const uint8_t* bytes, size_t from, size_t to, uint8_t canary)
{
    while (from < to && bytes[from] == canary) ++from;
    return from;
}

std::string Call(TTarget& target, fuzz::Conversation& conversation, int call)
{
    uint8_t how = 0, offset = 0, high = 0, low = 0, cdbLength = 0;
    if (!conversation.choice(how) || !conversation.choice(offset) || !conversation.choice(high) ||
        !conversation.choice(low) || !conversation.choice(cdbLength))
        return "";
    uint8_t cdb[16] = {};
    cdbLength = uint8_t(1 + cdbLength % 16);
    for (uint8_t i = 0; i < cdbLength; ++i) conversation.choice(cdb[i]);
    const auto direction = DataDirection((how & 0x0F) % 3);
    uint32_t length = uint32_t(high) << 8 | low;
    if (how & 0x10) length += 0xFF00;  // past the double buffer now and then
    // Data out beyond the double buffer is a caller's error (an assertion), not the drive's.
    if (direction == DataDirection::Out) length = std::min(length, TTarget::kDoubleBufferSize);

    const uint8_t canary = uint8_t(0x5A + call * 29);
    const size_t start = kGuard + offset % 16;
    std::vector<uint8_t> memory(start + length + kGuard, canary);
    uint8_t* buffer = memory.data() + start;
    const size_t before = fuzz::Transfers().size();
    const bool ok = target.ExecSCSICmd(cdb, cdbLength, buffer, length, direction, (how & 0x20) != 0, 0);
    const fuzz::Transfer* sent = fuzz::Transfers().size() > before ? &fuzz::Transfers().back() : nullptr;

    const std::string where = "call " + std::to_string(call) + ", length " + std::to_string(length) +
                              ", direction " + std::to_string(int(direction)) + ": ";
    if (FirstChanged(memory.data(), 0, start, canary) != start ||
        FirstChanged(memory.data(), start + length, memory.size(), canary) != memory.size())
        fuzz::Finding(where + "a byte around the buffer changed");
    size_t written = 0;
    if (ok && direction == DataDirection::In) {
        if (!sent) fuzz::Finding(where + "success without a command");
        written = sent->dataIn.size();
        if (!std::equal(sent->dataIn.begin(), sent->dataIn.end(), buffer))
            fuzz::Finding(where + "the data differ from what the drive sent");
    }
    const size_t changed = FirstChanged(buffer, written, length, canary);
    if (changed != length) {
        fuzz::Finding(where + "byte " + std::to_string(changed) + " was not sent by the drive (" +
                      std::to_string(written) + " were)");
    }
    if (sent && direction == DataDirection::Out && sent->dataOut != std::vector<uint8_t>(length, canary))
        fuzz::Finding(where + "the drive was sent other bytes than the caller's");
    return std::to_string(ok) + ":" + std::to_string(written) + " ";
}

std::string Transport(fuzz::Conversation& conversation)
{
    TTarget target(0, 0, 0, 0);
    if (!target.Initialised()) return "absent";
    std::string seen;
    for (int call = 0; call < kMaxCalls; ++call) seen += Call(target, conversation, call);
    return seen;
}

constexpr uint8_t kOddOffset = 1;

// On a 256-byte aligned adapter: INQUIRY, READ TOC, MODE SENSE(10) and READ(10) into odd
// buffers, MODE SELECT(6) from one, TEST UNIT READY.
const std::vector<uint8_t> kPlan = {
    0, kOddOffset, 0x00, 0x60, 5, kInquiry, 0, 0, 0, 0x60, 0,
    0, kOddOffset, 0x03, 0x24, 9, kReadToc, 0, 0, 0, 0, 0, 0, 0x03, 0x24, 0,
    0, 3, 0x04, 0x00, 9, kModeSense10, 0, 0x3F, 0, 0, 0, 0, 0x04, 0x00, 0,
    1, kOddOffset, 0x00, 0x0C, 5, kModeSelect6, 0x10, 0, 0, 0x0C, 0,
    2, 0, 0, 0, 5, kTestUnitReady, 0, 0, 0, 0, 0,
    0, kOddOffset, 0x08, 0x00, 9, kRead10, 0, 0, 0, 0, 0x10, 0, 0, 0x01, 0,
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::RecordSeedsIfAsked(Transport, kPlan, {uint8_t(std::size(kAlignMasks) - 1)});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    fuzz::InputConversation conversation(data + 1, size - 1);
    fuzz::RunOnce(conversation, kAlignMasks[data[0] % std::size(kAlignMasks)], Transport);
    return 0;
}
