// READ TOC and disc classification: the TOC and full TOC answers, the track accessors, the
// ISO 9660 label, the disc type and identity, and sector reads of the family's commands.
#include <algorithm>
#include <numeric>
#include <vector>

#include "drive/CDROM.h"
#include "fuzz/FuzzRun.h"

namespace {

constexpr int kMaxReads = 4;
constexpr uint32_t kRawSector = 2352;

std::string Toc(fuzz::Conversation& conversation)
{
    TCDROM drive(0, 0, 0);
    if (!drive.Exists) return "no drive";
    if (!drive.ReadTOC()) return "no disc";
    std::string seen = std::to_string(drive.FirstTrack()) + "-" + std::to_string(drive.LastTrack()) + ":";
    const int first = std::max(1, int(drive.FirstTrack()));
    const int last = std::min(99, int(drive.LastTrack()));
    for (int t = first; t <= last; ++t) {
        seen += " " + std::to_string(drive.IsAudioTrack(t)) + "/" + std::to_string(drive.TrackStart(t)) + "/" +
                std::to_string(drive.TrackEnd(t)) + "/" + std::to_string(drive.IsISO9660Track(t));
    }
    seen += "|" + drive.DiscTypeText() + "|" + drive.GetVolumeLabel() + "|" + drive.DiscIdentity(80) + "|" +
            std::to_string(drive.IsXaDisc());
    uint8_t length = 0, kind = 0, lba = 0;
    if (conversation.choice(length)) seen += "|" + drive.DiscIdentity(length);
    for (int i = 0; i < kMaxReads && conversation.choice(kind) && conversation.choice(lba); ++i) {
        std::vector<uint8_t> sector(kRawSector, 0);
        bool read = false;
        switch (kind % 3) {
        case 0: read = drive.ReadData(lba, 1, sector.data(), kRawSector); break;
        case 1: read = drive.ReadAudio(lba, 1, sector.data(), kRawSector); break;
        case 2: read = drive.ReadRaw(lba, 1, sector.data(), kRawSector); break;
        }
        seen += "|" + std::to_string(read) + ":" + std::to_string(std::accumulate(sector.begin(), sector.end(), 0));
    }
    return seen;
}

// The identity cut to 40 characters, then a data, an audio and a raw read.
const std::vector<uint8_t> kPlan = {40, 0, 16, 1, 0, 2, 0};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::RecordSeedsIfAsked(Toc, kPlan);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunDifferential(data, size, Toc);
    return 0;
}
