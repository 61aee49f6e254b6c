#pragma once
// An ASPI manager for fuzzing: one host adapter whose drive at target 0 answers every command
// as a conversation decides, either from the fuzzer's input or, to record seeds, from an
// emulated drive of a scenario (written in the same encoding the input is read in).
//
// Input encoding, read in the order the program asks:
//   device type   1 byte: 0xFF no device, else the peripheral type (low 5 bits)
//   each command  1 byte kind (bit 7: completes through the SRB's event), then by kind & 3:
//                 0 good:  2 bytes length (big-endian) and that many data bytes, of which
//                          the manager transfers what the SRB's buffer takes
//                 1 CHECK CONDITION: sense byte 0 flag (bit 0: 0xF0, else 0x70), key, ASC, ASCQ
//                 2 never completes
//                 3 fails without sense: the host adapter status byte
//   a choice      1 byte the harness decides by (which operation, which page, ...)
// When the input is used up, the next kAnswersAfterInput commands fail with NOT READY, medium
// not present, and the command after them ends the run.
#include <cstdint>
#include <string>
#include <vector>

#include "emu/Emulator.h"

namespace fuzz {

struct Answer {
    enum Kind : uint8_t { Good = 0, Check = 1, Hung = 2, Failed = 3 };
    Kind kind = Failed;
    bool byEvent = false;
    std::vector<uint8_t> data;  // data in
    uint8_t senseCode = 0x70;
    uint8_t key = 0, asc = 0, ascq = 0;
    uint8_t haStat = 0;
};

class Conversation {
public:
    virtual ~Conversation() = default;
    // The device type GET DEVICE TYPE reports at target 0, or -1 for none.
    virtual int deviceType() = 0;
    virtual Answer answer(const emu::Command& command) = 0;
    // A byte for the harness; false when there is nothing more to decide by.
    virtual bool choice(uint8_t& value) = 0;
};

class InputConversation : public Conversation {
public:
    InputConversation(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    int deviceType() override;
    Answer answer(const emu::Command& command) override;
    bool choice(uint8_t& value) override;

private:
    uint8_t next();
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    size_t answersAfterInput_ = 0;
};

// Answers with an emulated device and records each answer and choice as input bytes.
class RecordingConversation : public Conversation {
public:
    RecordingConversation(emu::Device& device, std::vector<uint8_t> plan) : device_(device), plan_(std::move(plan)) {}
    int deviceType() override;
    Answer answer(const emu::Command& command) override;
    bool choice(uint8_t& value) override;
    const std::vector<uint8_t>& recorded() const { return recorded_; }

private:
    emu::Device& device_;
    std::vector<uint8_t> plan_;
    size_t planPos_ = 0;
    std::vector<uint8_t> recorded_;
};

// One execute SRB as the manager carried it out.
struct Transfer {
    std::vector<uint8_t> cdb;
    emu::Direction direction = emu::Direction::None;
    uint32_t length = 0;
    std::vector<uint8_t> dataOut;  // the bytes the drive was sent
    std::vector<uint8_t> dataIn;   // the bytes the drive wrote into the SRB's buffer
    uint8_t status = 0;
};

// Thrown by the manager to end a run: after kCommandBudget commands, or kAnswersAfterInput
// commands after the input was used up. Fuzzing stays fast where a drive's answers make the
// program probe for long (a speed scan up to 64 MB/s sends some 12,000 commands), and the
// fuzzer spells out a failing tail it wants explored.
struct RunEnds {};
constexpr size_t kCommandBudget = 4000;
constexpr size_t kAnswersAfterInput = 64;

// Registers the manager as the system's WNASPI32.DLL and runs InitASPI32 on it. The adapter
// asks for the given buffer alignment mask. False when the binding failed.
bool InstallManager(Conversation& conversation, uint16_t alignMask);
// Unregisters the manager and hands over the run's commands.
std::vector<Transfer> UninstallManager();
// The commands of the run so far.
const std::vector<Transfer>& Transfers();

}  // namespace fuzz
