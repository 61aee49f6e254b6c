#include "emu/DiscScenario.h"

#include "emu/DiscAccess.h"

namespace emu {

namespace {

const std::vector<std::string> kFamilyNames = {"UNKNOWN", "CDDA12", "TEACSCSI", "PLEXTOR", "MMC",
                                               "TOSHIBA", "PHILIPS_CDD2000", "PHILIPS_CDD2600", "MATSHITA", "NEC"};
constexpr int64_t kMaxLba = 0xFFFFFF;

void ReadTrack(JsonFields fields, Disc& disc)
{
    const auto kind = TrackKind(fields.choice("type", {"audio", "mode1", "mode2form1"}, 1));
    const int64_t start = fields.integer("start", 0, kMaxLba, -1);
    if (fields.has("image")) {
        const std::string path = fields.text("image", 4096, "");
        const std::string problem = disc.addImageTrack(path, kind);
        if (!problem.empty()) fields.fail("image", path + ": " + problem);
        DiscTrack& track = disc.tracks().back();
        if (start >= 0) track.start = uint32_t(start);
        track.length = uint32_t(fields.integer("length", 1, kMaxLba, track.length));
    } else {
        disc.addTrack(kind, uint32_t(fields.integer("length", 1, kMaxLba, 1)), start);
    }
    DiscTrack& track = disc.tracks().back();
    track.session = uint8_t(fields.integer("session", 1, 99, track.session));
    track.volumeId = fields.text("volumeId", 32, "");
    fields.finish();
}

}  // namespace

std::shared_ptr<Disc> ReadDisc(JsonFields fields)
{
    auto disc = std::make_shared<Disc>();
    disc->setXa(fields.boolean("xa", false));
    disc->setBecomingReady(fields.boolean("becomingReady", false));
    disc->setVelocity(double(fields.integer("velocity", 1200, 1400, int64_t(kNominalVelocity))));
    for (const auto& [value, path] : fields.array("tracks")) ReadTrack(JsonFields(*value, path), *disc);
    if (disc->tracks().size() > 99) fields.fail("tracks", "more than 99 tracks");
    for (const auto& [value, path] : fields.array("readErrors")) {
        JsonFields range(*value, path);
        const auto first = uint32_t(range.integer("first", 0, kMaxLba, 0));
        disc->addReadError(first, uint32_t(range.integer("last", first, kMaxLba, first)));
        range.finish();
    }
    for (const auto& [value, path] : fields.array("sectorsWithoutSync")) {
        JsonFields sector(*value, path);
        disc->addSectorWithoutSync(uint32_t(sector.integer("lba", 0, kMaxLba, 0)));
        sector.finish();
    }
    fields.finish();
    return disc;
}

void ReadDiscSections(JsonFields& target, CdromDrive& drive)
{
    drive.disc().commands() = DiscReadCommandsOfFamily(uint8_t(target.choice("sectorReads", kFamilyNames, kFamilyMmc)));
    if (target.has("disc")) drive.setMedium(ReadDisc(target.object("disc")));
}

}  // namespace emu
