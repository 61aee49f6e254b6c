// kalmor list: the drives of the drive table, without a command beyond the start-up's.
#include "cli/Commands.h"
#include "cli/Output.h"
#include "drive/DriveModels.h"
#include "settings/Store.h"
#include "transport/Text.h"

namespace cli {

int ListCommand(Session& session)
{
    Json drives = Json::Array();
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < numDrives; ++i) {
        const TCDROM& cd = *Drives[i].CDROM;
        const std::string vendor = TrimSpaces(cd.Vendor()), product = TrimSpaces(cd.Product()),
                          revision = TrimSpaces(cd.Revision());
        rows.push_back({std::to_string(i), session.DeviceName(i), vendor + " " + product + " " + revision,
                        cd.FamilyName(), cd.ModelName()});
        drives.Add(Json::Object()
                       .Set("index", i)
                       .Set("device", session.DeviceName(i))
                       .Set("adapter", int32_t(cd.HaId()))
                       .Set("target", int32_t(cd.TargetId()))
                       .Set("vendor", vendor)
                       .Set("product", product)
                       .Set("revision", revision)
                       .Set("name", Drives[i].DriveName)
                       .Set("family", cd.FamilyName())
                       .Set("model", cd.ModelName()));
    }
    Print(session.Json() ? drives.Dump() + "\n" : Table({"#", "Device", "Drive", "Family", "Model"}, rows));
    return kExitOk;
}

}  // namespace cli
