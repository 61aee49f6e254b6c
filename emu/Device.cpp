#include "emu/Emulator.h"
#include "transport/ScsiCodes.h"

namespace emu {

Reply Reply::Good(std::vector<uint8_t> data)
{
    Reply reply;
    reply.data = std::move(data);
    return reply;
}

Reply Reply::Check(uint8_t key, uint8_t asc, uint8_t ascq)
{
    Reply reply;
    reply.good = false;
    reply.senseKey = key;
    reply.asc = asc;
    reply.ascq = ascq;
    return reply;
}

Reply Reply::IllegalRequest() { return Check(kSenseIllegalRequest, kAscInvalidFieldInCdb); }

Reply Reply::InvalidOpcode() { return Check(kSenseIllegalRequest, kAscInvalidOpcode); }

Reply Device::handle(const Command& command)
{
    if (hung_) {
        Reply reply;
        reply.neverComplete = true;
        return reply;
    }
    if (unitAttention_.exchange(false)) return Reply::Check(kSenseUnitAttention, kAscPowerOnReset);
    return execute(command);
}

}  // namespace emu
