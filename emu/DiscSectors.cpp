// Sector reads of the emulated drive: READ(6/10/12) in the current block size, READ CD by
// expected sector type and fields, and the vendor CD-DA reads.
#include <algorithm>
#include <utility>

#include "emu/CdromDrive.h"
#include "emu/DiscAccess.h"
#include "transport/Bytes.h"
#include "transport/ScsiCodes.h"

namespace emu {

namespace {

constexpr uint32_t kRead6LbaMask = 0x1FFFFF;

// READ CD byte 1, bits 2..4.
constexpr uint8_t kExpectAny = 0;
constexpr uint8_t kExpectCdda = 1;
constexpr uint8_t kExpectMode1 = 2;
constexpr uint8_t kExpectMode2Form1 = 4;

// READ CD byte 9.
constexpr uint8_t kFieldSync = 0x80;
constexpr uint8_t kFieldSubheader = 0x40;
constexpr uint8_t kFieldHeader = 0x20;
constexpr uint8_t kFieldUserData = 0x10;
constexpr uint8_t kFieldEdcEcc = 0x08;

constexpr uint32_t kSyncEnd = 12;
constexpr uint32_t kHeaderEnd = 16;
constexpr uint32_t kSubheaderEnd = 24;

constexpr uint64_t kSectorsPerSecondAt1x = 75;

// Milliseconds that count audio sectors take at a speed factor, rounded up.
uint32_t AudioTimeAt(uint32_t count, uint32_t factor)
{
    const uint64_t perSecond = kSectorsPerSecondAt1x * factor;
    return uint32_t((uint64_t(count) * 1000 + perSecond - 1) / perSecond);
}

bool TypeMatches(uint8_t expected, TrackKind kind)
{
    switch (expected) {
    case kExpectAny: return true;
    case kExpectCdda: return kind == TrackKind::Audio;
    case kExpectMode1: return kind == TrackKind::Mode1;
    case kExpectMode2Form1: return kind == TrackKind::Mode2Form1;
    default: return false;
    }
}

void Append(std::vector<uint8_t>& out, const uint8_t* raw, uint32_t from, uint32_t to)
{
    out.insert(out.end(), raw + from, raw + to);
}

}  // namespace

Reply DiscAccess::readBlocks(const Command& command) const
{
    const uint8_t* cdb = command.cdb.data();
    uint32_t lba = getBe32(cdb + 2);
    uint32_t count = 0;
    if (cdb[0] == kRead6) {
        lba = getBe24(cdb + 1) & kRead6LbaMask;
        count = cdb[4] ? cdb[4] : 256;
    } else if (cdb[0] == kRead10) {
        count = getBe16(cdb + 7);
    } else {
        count = getBe32(cdb + 6);
    }
    return transfer(lba, count, command.length, SectorRequest{});
}

Reply DiscAccess::readCd(const Command& command) const
{
    const uint8_t* cdb = command.cdb.data();
    if (cdb[10] & 0x07) return Reply::IllegalRequest();  // no subchannel data here
    SectorRequest request;
    request.source = SectorRequest::Source::ReadCd;
    request.expectedType = (cdb[1] >> 2) & 0x07;
    request.fields = cdb[9];
    return transfer(getBe32(cdb + 2), getBe24(cdb + 6), command.length, request);
}

Reply DiscAccess::readCdda(const Command& command) const
{
    const uint8_t* cdb = command.cdb.data();
    SectorRequest request;
    request.source = SectorRequest::Source::Cdda;
    if (command.cdb.size() == 10) {
        // The NEC drive reads audio with it only while its audio switch is on.
        if (!necAudioOn()) return Reply::Check(kSenseIllegalRequest, kAscIllegalModeForTrack);
        return transfer(getBe32(cdb + 2), getBe24(cdb + 6), command.length, request);
    }
    if (cdb[0] == kReadCddaD8 && cdb[10] != 0) return Reply::IllegalRequest();  // subchannel
    return transfer(getBe32(cdb + 2), getBe32(cdb + 6), command.length, request);
}

Reply DiscAccess::transfer(uint32_t lba, uint32_t count, uint32_t bufferLength, const SectorRequest& request) const
{
    const Disc& d = *disc();
    if (uint64_t(lba) + count > d.leadOut()) return Reply::Check(kSenseIllegalRequest, kAscLbaOutOfRange);
    std::vector<uint8_t> out;
    // A transfer length far beyond the buffer must not make the emulator produce it.
    for (uint32_t i = 0; i < count && out.size() < bufferLength; ++i) {
        const uint32_t at = lba + i;
        const DiscTrack* track = d.trackAt(at);
        Reply failed;
        if (!track) failed = Reply::Check(kSenseIllegalRequest, kAscLbaOutOfRange);
        else if (d.readError(at)) failed = Reply::Check(kSenseMediumError, kAscUnrecoveredReadError);
        else if (!appendSector(*track, at, request, out))
            failed = Reply::Check(kSenseIllegalRequest, kAscIllegalModeForTrack);
        if (!failed.good) {
            failed.data = std::move(out);
            return failed;
        }
    }
    Reply reply = Reply::Good(std::move(out));
    if (readTime) reply.busyMs = readTime(lba, count);
    // A DAE speed limit holds audio reads below it, however fast the drive turns.
    const uint32_t daeLimit = drive_.daeLimitFactor();
    if (daeLimit && count && d.trackAt(lba)->kind == TrackKind::Audio)
        reply.busyMs = std::max(reply.busyMs, AudioTimeAt(count, daeLimit));
    return reply;
}

bool DiscAccess::appendSector(const DiscTrack& track, uint32_t lba, const SectorRequest& request,
                              std::vector<uint8_t>& out) const
{
    const bool audio = track.kind == TrackKind::Audio;
    uint8_t raw[kRawSectorSize];
    disc()->rawSector(lba, raw);
    const uint32_t user = Disc::UserDataOffset(track.kind);

    switch (request.source) {
    case SectorRequest::Source::Cdda:
        if (!audio) return false;
        Append(out, raw, 0, kRawSectorSize);
        return true;
    case SectorRequest::Source::Block:
        if (blockLength_ == kBlockSize) {
            if (audio) return false;
            Append(out, raw, user, user + kBlockSize);
            return true;
        }
        if (!audio && density_ == kDensityAudio) return false;
        if (audio && commands_.audioBigEndian) {
            for (uint32_t i = 0; i + 1 < kRawSectorSize; i += 2) std::swap(raw[i], raw[i + 1]);
        }
        Append(out, raw, 0, kRawSectorSize);
        return true;
    case SectorRequest::Source::ReadCd:
        if (!TypeMatches(request.expectedType, track.kind)) return false;
        if (audio) {
            if (request.fields) Append(out, raw, 0, kRawSectorSize);
            return true;
        }
        if (request.fields & kFieldSync) Append(out, raw, 0, kSyncEnd);
        if (request.fields & kFieldHeader) Append(out, raw, kSyncEnd, kHeaderEnd);
        if ((request.fields & kFieldSubheader) && track.kind == TrackKind::Mode2Form1)
            Append(out, raw, kHeaderEnd, kSubheaderEnd);
        if (request.fields & kFieldUserData) Append(out, raw, user, user + kBlockSize);
        if (request.fields & kFieldEdcEcc) Append(out, raw, user + kBlockSize, kRawSectorSize);
        return true;
    }
    return false;
}

}  // namespace emu
