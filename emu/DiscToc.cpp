// The TOC answers of an emulated disc: format 0 (track descriptors) and format 2 (full TOC).
#include "emu/Disc.h"
#include "transport/Bytes.h"

namespace emu {

namespace {

constexpr uint8_t kAdrPosition = 0x10;  // ADR 1 in the high nibble
constexpr uint8_t kControlData = 0x04;
constexpr uint8_t kLeadOutTrack = 0xAA;
constexpr uint8_t kPointFirstTrack = 0xA0;
constexpr uint8_t kPointLastTrack = 0xA1;
constexpr uint8_t kPointLeadOut = 0xA2;
constexpr uint8_t kDiscTypeCdda = 0x00;
constexpr uint8_t kDiscTypeXa = 0x20;
constexpr uint32_t kPregapFrames = 150;

uint8_t AdrControl(const DiscTrack& t)
{
    return kAdrPosition | (t.kind == TrackKind::Audio ? 0 : kControlData);
}

// Binary minutes, seconds and frames of an LBA.
void PutMsf(uint8_t* p, uint32_t lba)
{
    const uint32_t address = lba + kPregapFrames;
    p[0] = uint8_t(address / (60 * 75));
    p[1] = uint8_t(address / 75 % 60);
    p[2] = uint8_t(address % 75);
}

void AppendTrackDescriptor(std::vector<uint8_t>& out, uint8_t adrControl, uint8_t number, uint32_t lba, bool msf)
{
    uint8_t d[8] = {0, adrControl, number, 0, 0, 0, 0, 0};
    if (msf) PutMsf(d + 5, lba);
    else putBe32(d + 4, lba);
    out.insert(out.end(), d, d + sizeof(d));
}

void AppendFullTocDescriptor(std::vector<uint8_t>& out, uint8_t session, uint8_t adrControl, uint8_t point,
                             const uint8_t pointField[3])
{
    const uint8_t d[11] = {session, adrControl, 0, point, 0, 0, 0, 0, pointField[0], pointField[1], pointField[2]};
    out.insert(out.end(), d, d + sizeof(d));
}

}  // namespace

std::vector<uint8_t> Disc::toc(bool msf, uint8_t startingTrack) const
{
    if (!tocAnswer_.empty()) return tocAnswer_;
    std::vector<uint8_t> out(4, 0);
    if (!tracks_.empty()) {
        out[2] = tracks_.front().number;
        out[3] = tracks_.back().number;
    }
    for (const DiscTrack& t : tracks_) {
        if (t.number >= startingTrack) AppendTrackDescriptor(out, AdrControl(t), t.number, t.start, msf);
    }
    const uint8_t leadOutControl = tracks_.empty() ? kAdrPosition : AdrControl(tracks_.back());
    AppendTrackDescriptor(out, leadOutControl, kLeadOutTrack, leadOut(), msf);
    putBe16(out.data(), uint32_t(out.size() - 2));
    return out;
}

std::vector<uint8_t> Disc::fullToc() const
{
    if (!fullTocAnswer_.empty()) return fullTocAnswer_;
    std::vector<uint8_t> out(4, 0);
    if (tracks_.empty()) {
        putBe16(out.data(), 2);
        return out;
    }
    out[2] = tracks_.front().session;
    out[3] = tracks_.back().session;
    for (int s = out[2]; s <= out[3]; ++s) {
        std::vector<const DiscTrack*> inSession;
        for (const DiscTrack& t : tracks_) {
            if (t.session == s) inSession.push_back(&t);
        }
        if (inSession.empty()) continue;
        const DiscTrack& first = *inSession.front();
        const DiscTrack& last = *inSession.back();
        const uint8_t a0[3] = {first.number, xa_ ? kDiscTypeXa : kDiscTypeCdda, 0};
        const uint8_t a1[3] = {last.number, 0, 0};
        uint8_t a2[3];
        PutMsf(a2, last.start + last.length);
        AppendFullTocDescriptor(out, uint8_t(s), AdrControl(first), kPointFirstTrack, a0);
        AppendFullTocDescriptor(out, uint8_t(s), AdrControl(last), kPointLastTrack, a1);
        AppendFullTocDescriptor(out, uint8_t(s), AdrControl(last), kPointLeadOut, a2);
        for (const DiscTrack* t : inSession) {
            uint8_t start[3];
            PutMsf(start, t->start);
            AppendFullTocDescriptor(out, uint8_t(s), AdrControl(*t), t->number, start);
        }
    }
    putBe16(out.data(), uint32_t(out.size() - 2));
    return out;
}

}  // namespace emu
