#include "emu/SpeedScenario.h"
#include "transport/ScsiCodes.h"

namespace emu {

namespace {

constexpr size_t kLongestFeatureData = 252;
constexpr int64_t kFastestFactor = 72;

int64_t Required(JsonFields& fields, const char* name, int64_t min, int64_t max)
{
    if (!fields.has(name)) fields.fail(name, "missing");
    return fields.integer(name, min, max, min);
}

Rotation ReadRotation(JsonFields fields)
{
    if (!fields.has("kind")) fields.fail("kind", "missing");
    const size_t kind = fields.choice("kind", {"CLV", "CAV", "PCAV"}, 0);
    Rotation rotation;
    if (kind == 0) {
        rotation.kind = RotationKind::Clv;
        rotation.from = double(Required(fields, "factor", 1, kFastestFactor));
    } else {
        rotation.kind = kind == 1 ? RotationKind::Cav : RotationKind::Pcav;
        const int64_t from = Required(fields, "from", 1, kFastestFactor - 1);
        rotation.from = double(from);
        rotation.to = double(Required(fields, "to", from + 1, kFastestFactor));
    }
    fields.finish();
    return rotation;
}

SpeedStep ReadStep(JsonFields fields, size_t position, bool vendor)
{
    SpeedStep step;
    step.lowestRequest = uint32_t(fields.integer("request", 0, 0xFFFF, int64_t(position)));
    step.reportedKBps = uint32_t(fields.integer("reported", 0, 0xFFFF, 0));
    step.code = int(fields.integer("code", -1, 255, -1));
    if (vendor && step.code < 0) fields.fail("code", "a vendor drive's step needs its code");
    if (fields.has("rotation")) step.rotation = ReadRotation(fields.object("rotation"));
    if (fields.has("audioRotation")) {
        if (step.rotation.kind == RotationKind::None) fields.fail("audioRotation", "the step needs a rotation as well");
        step.audioRotation = ReadRotation(fields.object("audioRotation"));
    }
    fields.finish();
    return step;
}

SpeedCodeByte ReadCodeByte(JsonFields fields)
{
    SpeedCodeByte where;
    where.page = uint8_t(fields.integer("page", 1, 0x3E, kPageVendorSpeed));
    where.index = uint8_t(fields.integer("index", 2, 255, 2));
    where.mask = uint8_t(fields.integer("mask", 1, 255, 0xFF));
    fields.finish();
    return where;
}

}  // namespace

void ReadSpeedSection(JsonFields& target, CdromDrive& drive)
{
    if (!target.has("speed")) return;
    JsonFields fields = target.object("speed");
    SpeedModel model;
    const bool vendor = fields.has("codeByte");
    if (vendor) model.codeByte = ReadCodeByte(fields.object("codeByte"));
    model.answersSetCdSpeed = fields.boolean("setCdSpeed", !vendor);
    model.keepsStepOnSetCdSpeed = fields.boolean("ignoresSetCdSpeed", false);
    model.answersSetStreaming = fields.boolean("setStreaming", false);
    for (const auto& [value, path] : fields.array("steps"))
        model.steps.push_back(ReadStep(JsonFields(*value, path), model.steps.size(), vendor));
    if (model.steps.empty()) fields.fail("steps", "a drive needs at least one step");
    for (size_t i = 1; i < model.steps.size(); ++i) {
        if (model.steps[i].lowestRequest <= model.steps[i - 1].lowestRequest)
            fields.fail("steps", "requests must rise from step to step");
    }
    model.current = size_t(fields.integer("current", 0, int64_t(model.steps.size()) - 1, 0));
    for (const auto& [value, path] : fields.array("keeps")) {
        JsonFields keep(*value, path);
        const auto written = uint8_t(keep.integer("written", 0, 255, 0));
        model.keeps[written] = uint8_t(keep.integer("stored", 0, 255, 0));
        keep.finish();
    }
    for (const auto& [value, path] : fields.array("features")) {
        JsonFields feature(*value, path);
        model.features.push_back({uint16_t(feature.integer("code", 0, 0xFFFF, 0)),
                                  feature.hex("data", kLongestFeatureData, {})});
        feature.finish();
    }
    model.performanceDescriptors = uint16_t(fields.integer("performanceDescriptors", 0, 0xFFFF, 0));
    model.mechanismStatus = fields.boolean("mechanismStatus", true);
    model.mechanismState = uint8_t(fields.integer("mechanismState", 0, 7, 0));
    model.mechanismLba = uint32_t(fields.integer("mechanismLba", 0, 0xFFFFFF, 0));
    model.commandMs = uint32_t(fields.integer("commandMs", 0, 10000, 2));
    model.spinUpMs = uint32_t(fields.integer("spinUpMs", 0, 60000, 0));
    model.seekMs = uint32_t(fields.integer("seekMs", 0, 10000, 0));
    model.retryMs = uint32_t(fields.integer("retryMs", 0, 60000, 0));
    fields.finish();
    drive.setSpeedModel(model);
}

}  // namespace emu
