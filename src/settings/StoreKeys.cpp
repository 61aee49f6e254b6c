#include "settings/StoreKeys.h"

namespace regnames {

std::string DriveKey(uint8_t ha, uint8_t target)
{
    return std::string(kProductKey) + "\\HA" + std::to_string(ha) + "_ID" + std::to_string(target);
}

std::string ProfileKey(uint8_t ha, uint8_t target, const std::string& profile)
{
    return DriveKey(ha, target) + "\\" + profile;
}

std::string SpeedValue(int n) { return "Speed_" + std::to_string(n); }

std::string ProbedSpeedValue(const std::string& discType, int n) { return discType + " " + SpeedValue(n); }

std::string MeasurementValue(int n, bool audio) { return SpeedValue(n) + (audio ? "_audio" : "_data"); }

std::string MeasurementInfoValue(int n, bool audio) { return MeasurementValue(n, audio) + "_inf"; }

}  // namespace regnames
