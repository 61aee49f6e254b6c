#pragma once
// Emulated systems described in JSON: host adapters, the devices behind their target ids,
// mode pages in the four page controls, faults and the completion mode.
//
// A later device feature (a disc, speed steps, a command-set family) gets its own section
// of a target: read it in ReadTarget (ScenarioLoader.cpp) from the target's fields.
#include <memory>
#include <string>

#include "emu/Emulator.h"

namespace emu {

// Either a manager or the reason there is none: "<file>: <field>: <problem>".
struct ScenarioResult {
    std::shared_ptr<Manager> manager;
    std::string error;
};

ScenarioResult LoadScenario(const std::string& path);
// fileName only names the text in error messages.
ScenarioResult ParseScenario(const std::string& text, const std::string& fileName);
// The system of scenarios/default.json, built into the library so that nothing needs the file.
std::shared_ptr<Manager> DefaultScenario();

}  // namespace emu
