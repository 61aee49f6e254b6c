#include <map>

#include "emu/CdromDrive.h"
#include "emu/DiscScenario.h"
#include "emu/JsonFields.h"
#include "emu/RegularFile.h"
#include "emu/Scenario.h"
#include "emu/SpeedScenario.h"
#include "emu/TeacEeprom.h"
#include "platform/Assert.h"

namespace emu {

namespace {

const char* const kDefaultScenario =
#include "emu/DefaultScenario.inc"
    ;

constexpr uint8_t kSenseFixed = 0x70;
constexpr uint8_t kSenseFixedValid = 0xF0;
constexpr uint32_t kCdBlocks = 333000;  // 74 minutes
constexpr uint32_t kDiskBlocks = 1000000;
constexpr size_t kVendorSpecificBytes = 20;
constexpr uint64_t kMaxScenarioBytes = 16u << 20;

enum DeviceKind : size_t { kCdrom, kDisk };

InquiryData ReadInquiry(JsonFields fields, DeviceKind kind)
{
    InquiryData data;
    data.peripheralType = uint8_t(fields.integer("peripheralType", 0, 31, kind == kCdrom ? 5 : 0));
    data.removable = fields.boolean("removable", kind == kCdrom);
    data.ansiVersion = uint8_t(fields.integer("ansiVersion", 0, 7, 2));
    data.vendor = fields.text("vendor", 8, "");
    data.product = fields.text("product", 16, "");
    data.revision = fields.text("revision", 4, "");
    data.vendorSpecific = fields.hex("vendorSpecific", kVendorSpecificBytes, {});
    data.additionalLength = uint8_t(fields.integer("additionalLength", 0, 255, data.vendorSpecific.empty() ? 31 : 51));
    fields.finish();
    return data;
}

void ReadModePage(JsonFields fields, ModePageStore& store)
{
    const std::vector<uint8_t> current = fields.hex("current", 257, {});
    if (current.size() < 2 || current.size() != size_t(current[1]) + 2)
        fields.fail("current", "page length byte does not match the page");
    std::vector<uint8_t> changeable(current.size(), 0xFF);
    changeable[0] = current[0];
    changeable[1] = current[1];
    const ModePageStore::Values values = {current, fields.hex("changeable", 257, changeable),
                                          fields.hex("default", 257, current), fields.hex("saved", 257, current)};
    const char* names[] = {"current", "changeable", "default", "saved"};
    for (size_t i = 1; i < values.size(); ++i) {
        if (values[i].size() != current.size() || (values[i][0] & 0x3F) != (current[0] & 0x3F))
            fields.fail(names[i], "page code or length differs from the current page");
    }
    if (!store.page(PageControl::Current, current[0]).empty()) fields.fail("current", "page given twice");
    if (!store.setPage(values)) fields.fail("current", "not a page a device can hold");
    fields.finish();
}

void ReadMode(JsonFields fields, GenericDevice& device)
{
    device.setMediumType(uint8_t(fields.integer("mediumType", 0, 255, 0)));
    device.setDeviceSpecific(uint8_t(fields.integer("deviceSpecific", 0, 255, 0)));
    device.setBlockDescriptor(fields.hex("blockDescriptor", 255, {}));
    for (const auto& [value, path] : fields.array("pages")) ReadModePage(JsonFields(*value, path), device.modePages());
    fields.finish();
}

void ReadFaults(JsonFields fields, GenericDevice& device)
{
    if (fields.boolean("unitAttention", false)) device.raiseUnitAttention();
    const auto code = uint8_t(fields.integer("senseResponseCode", 0, 255, kSenseFixed));
    if (code != kSenseFixed && code != kSenseFixedValid) fields.fail("senseResponseCode", "must be 112 (0x70) or 240 (0xF0)");
    device.setSenseResponseCode(code);
    device.setHung(fields.boolean("hung", false));
    ModeSenseFaults& faults = device.modeSenseFaults();
    faults.tenByteUnsupported = fields.boolean("modeSense10Unsupported", false);
    faults.pageLengthOverrun = uint8_t(fields.integer("pageLengthOverrun", 0, 255, 0));
    faults.sixByteHeaderIn10 = fields.boolean("sixByteHeaderIn10", false);
    faults.descendingPages = fields.boolean("descendingPages", false);
    fields.finish();
}

// A device feature with a section of its own reads it here.
std::shared_ptr<Device> ReadTarget(JsonFields& fields)
{
    const auto kind = DeviceKind(fields.choice("type", {"cdrom", "disk"}, kCdrom));
    const InquiryData inquiry = ReadInquiry(fields.object("inquiry"), kind);
    std::shared_ptr<GenericDevice> device;
    if (kind == kCdrom)
        device = std::make_shared<CdromDrive>(inquiry);
    else
        device = std::make_shared<GenericDevice>(inquiry);
    device->inquiry() = inquiry;  // the scenario may give a CD-ROM drive another type
    const auto blocks = uint32_t(fields.integer("blocks", 0, 0xFFFFFFFF, kind == kCdrom ? kCdBlocks : kDiskBlocks));
    device->setMedium(blocks ? std::make_shared<PatternMedium>(blocks) : nullptr);
    if (kind == kCdrom) ReadDiscSections(fields, static_cast<CdromDrive&>(*device));
    ReadMode(fields.object("mode"), *device);
    if (kind == kCdrom) ReadSpeedSection(fields, static_cast<CdromDrive&>(*device));
    if (kind == kCdrom) ReadTeacEepromSection(fields, static_cast<CdromDrive&>(*device));
    ReadFaults(fields.object("faults"), *device);
    return device;
}

void ReadHostAdapter(JsonFields fields, Manager& manager)
{
    const uint8_t ha = uint8_t(manager.hostAdapterCount());
    HostAdapter& adapter = manager.addHostAdapter(fields.text("identifier", 16, ""),
                                                  uint8_t(fields.integer("scsiId", 0, 15, 7)));
    if (fields.has("managerId")) {
        const std::string id = fields.text("managerId", 16, "");
        adapter.managerId.fill(0);
        std::copy(id.begin(), id.end(), adapter.managerId.begin());
    }
    if (fields.has("unique")) {
        const std::vector<uint8_t> unique = fields.hex("unique", 16, {});
        adapter.unique.fill(0);
        std::copy(unique.begin(), unique.end(), adapter.unique.begin());
    }
    adapter.maxTargets = uint8_t(fields.integer("maxTargets", 1, 16, 8));
    adapter.inquiryFails = fields.boolean("inquiryFails", false);

    std::map<std::pair<int, int>, std::string> seen;
    for (const auto& [value, path] : fields.array("targets")) {
        JsonFields target(*value, path);
        if (!target.has("id")) target.fail("id", "missing");
        const auto id = uint8_t(target.integer("id", 0, 15, 0));
        const auto lun = uint8_t(target.integer("lun", 0, 7, 0));
        auto [it, fresh] = seen.emplace(std::make_pair(id, lun), path);
        if (!fresh) target.fail("id", "target id and LUN already used by " + it->second);
        const bool present = target.boolean("present", true);
        std::shared_ptr<Device> device = ReadTarget(target);
        target.finish();
        if (present) manager.attach(ha, id, lun, device);
    }
    fields.finish();
}

std::shared_ptr<Manager> ReadScenario(const nlohmann::json& document)
{
    JsonFields fields(document, "");
    auto manager = std::make_shared<Manager>();
    if (fields.has("supportInfo"))
        manager->setSupportInfoOverride(uint32_t(fields.integer("supportInfo", 0, 0xFFFFFFFF, 0)));
    const size_t completion = fields.choice("completion", {"synchronous", "event"}, 0);
    manager->setCompletion(completion == 0 ? Completion::Synchronous : Completion::ByEventFromThread);
    for (const auto& [value, path] : fields.array("hostAdapters")) ReadHostAdapter(JsonFields(*value, path), *manager);
    fields.finish();
    return manager;
}

// "line L, column C" of a byte position (1-based, as the parser counts).
std::string Position(const std::string& text, size_t byte)
{
    size_t line = 1, column = 1;
    for (size_t i = 0; i + 1 < byte && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

ScenarioResult ParseScenario(const std::string& text, const std::string& fileName)
{
    // The host that loaded the manager must survive any text: every error becomes a result.
    try {
        return {ReadScenario(ParseJsonText(text)), ""};
    } catch (const nlohmann::json::parse_error& e) {
        return {nullptr, fileName + ": malformed JSON at " + Position(text, e.byte)};
    } catch (const ScenarioError& e) {
        return {nullptr, fileName + ": " + (e.field.empty() ? "" : "field " + e.field + ": ") + e.problem};
    } catch (const nlohmann::json::exception& e) {
        return {nullptr, fileName + ": " + e.what()};
    }
}

ScenarioResult LoadScenario(const std::string& path)
{
    std::vector<uint8_t> bytes;
    const std::string problem = ReadRegularFile(path, kMaxScenarioBytes, bytes);
    if (!problem.empty()) return {nullptr, path + ": " + problem};
    return ParseScenario(std::string(bytes.begin(), bytes.end()), path);
}

std::shared_ptr<Manager> DefaultScenario()
{
    ScenarioResult result = ParseScenario(kDefaultScenario, "default.json");
    KALMOR_ASSERT(result.manager, "Emulator", result.error.c_str());
    return result.manager;
}

}  // namespace emu
