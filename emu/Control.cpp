#include "emu/Control.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "emu/CdromDrive.h"
#include "emu/DiscScenario.h"
#include "emu/JsonFields.h"

namespace emu {

namespace {

// A drive's power-on state: saved page values become current, the speed the fastest step.
void PowerCycle(CdromDrive& drive)
{
    ModePageStore& pages = drive.modePages();
    for (uint8_t code : pages.codes()) {
        ModePageStore::Values values;
        for (int control = 0; control < 4; ++control) values[size_t(control)] = pages.page(PageControl(control), code);
        values[size_t(PageControl::Current)] = values[size_t(PageControl::Saved)];
        pages.setPage(values);
    }
    SpeedModel model = drive.speedModel();
    if (!model.steps.empty()) model.current = model.steps.size() - 1;
    drive.setSpeedModel(model);
    drive.powerCycle();
}

std::string Insert(CdromDrive& drive, const std::string& json)
{
    try {
        const nlohmann::json value = nlohmann::json::parse(json);
        drive.disc().changeDisc(ReadDisc(JsonFields(value, "disc")));
    } catch (const ScenarioError& error) {
        return error.field + ": " + error.problem;
    } catch (const nlohmann::json::exception& error) {
        return std::string("disc: ") + error.what();
    }
    return "";
}

}  // namespace

std::string ApplyControl(Manager& manager, const std::string& line)
{
    std::istringstream words(line);
    std::string command;
    if (!(words >> command) || command[0] == '#') return "";
    int ha = -1;
    int target = -1;
    if (!(words >> ha >> target) || ha < 0 || ha > 255 || target < 0 || target > 255)
        return line + ": host adapter and target id expected";
    auto drive = std::dynamic_pointer_cast<CdromDrive>(manager.device(uint8_t(ha), uint8_t(target), 0));
    if (!drive) return line + ": no CD-ROM drive there";

    if (command == "eject") {
        drive->disc().changeDisc(nullptr);
        return "";
    }
    if (command == "insert") {
        std::string json;
        std::getline(words, json);
        const std::string error = Insert(*drive, json);
        return error.empty() ? "" : line + ": " + error;
    }
    if (command == "speed") {
        long kbps = -1;
        if (!(words >> kbps) || kbps < 0 || kbps > 0xFFFF) return line + ": KB/s 0..65535 expected";
        SpeedModel model = drive->speedModel();
        if (model.steps.empty()) return line + ": the drive has no speed steps";
        model.current = model.stepForRequest(uint32_t(kbps));
        drive->setSpeedModel(model);
        return "";
    }
    if (command == "power") {
        PowerCycle(*drive);
        return "";
    }
    return line + ": unknown command " + command;
}

std::vector<std::string> RunControlFile(Manager& manager, const std::string& path)
{
    std::vector<std::string> notes;
    std::ifstream in(path);
    if (!in) return notes;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string error = ApplyControl(manager, line);
        notes.push_back(error.empty() ? "control: " + line : "control error: " + error);
    }
    in.close();
    std::remove(path.c_str());
    return notes;
}

}  // namespace emu
