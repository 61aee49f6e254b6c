#pragma once
// Recognises known drive models from their inquiry strings.
#include <functional>
#include <string>

// The inquiry strings the rules test. Each field is cut at its first zero byte and at its
// width (vendor 8, product 16, revision 4), so raw inquiry bytes may be passed as they are.
struct DriveInquiry {
    std::string vendor;
    std::string product;
    std::string revision;
    std::string vendorText; // vendor-specific inquiry text, already filtered to printable characters
};

struct DriveMatch {
    int family = 0; // 0 when no matching rule named one
    int model = 0;  // 0 when no rule matched
    bool acceptSlowTopStep = false;
    bool c2Supported = false;
    // The caller must read byte 2 of vendor mode page 0x20 (current values) and, when that
    // succeeds, write back Xm5701SpeedPageByte(old) with current only, ignoring the result.
    bool xm5701Command = false;
};

// The maximum read speed factor from the capabilities page's default values, -1 when the page
// cannot be read. Called at most once, and only for the drives whose rules test it.
using MaxFactorReader = std::function<int()>;

// Runs every rule in order; a later matching rule overwrites what an earlier one set.
DriveMatch MatchDriveDatabase(const DriveInquiry& inquiry, const MaxFactorReader& readMaxFactor);

inline int Xm5701SpeedPageByte(int old) { return (old & 0x0F) + 0x10; }
