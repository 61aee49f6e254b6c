#pragma once
// Runs a drive-level fuzz body against the fuzzing ASPI manager.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fuzz/FuzzAspi.h"

namespace fuzz {

// A body drives the program with the conversation's answers and returns what the program
// made of them (identity, texts, values), so that two runs can be compared.
using DriveBody = std::function<std::string(Conversation&)>;

// The oracle for bytes a caller sees that the drive never wrote: the body runs twice on the
// same input, once on an adapter that needs no buffer alignment (every buffer goes to the
// drive as it is) and once on one that needs 256-byte alignment (most buffers go through the
// target's double buffer). The commands sent and the results must be the same; any
// difference aborts with both runs described.
void RunDifferential(const uint8_t* data, size_t size, const DriveBody& body);

struct RunResult {
    std::string seen;                // the body's result
    std::vector<Transfer> commands;  // what the program sent
};

// One run on an adapter with the given alignment mask.
RunResult RunOnce(Conversation& conversation, uint16_t alignMask, const DriveBody& body);

// Seeds: with KALMOR_FUZZ_RECORD=<folder> and KALMOR_FUZZ_SCENARIOS=<scenario files>, records
// one input per scenario (its first CD-ROM drive answering, the plan giving the choices, the
// prefix in front) into the folder and ends the process. Call from LLVMFuzzerInitialize.
void RecordSeedsIfAsked(const DriveBody& body, const std::vector<uint8_t>& plan,
                        const std::vector<uint8_t>& prefix = {});

// Ends the process with a message that the fuzzer reports as a finding.
[[noreturn]] void Finding(const std::string& what);

}  // namespace fuzz
