#pragma once
// A drive's speed steps, highest factor first, with their text form (12 hexadecimal digits a step).
#include <cstdint>
#include <string>

class TSpeedZoneInfo {
public:
    static constexpr int kCapacity = 200;

    void Clear() { count_ = 0; }
    int Count() const { return count_; }

    // Step i (0 = highest factor); i must be below Count().
    int Factor(int i) const;
    int SetSpeed(int i) const;
    int ReportedSpeed(int i) const;

    // Inserts the step in factor order, after steps of an equal factor. False, and nothing
    // changes, when the table is full or a value does not fit the text form (0..0xFFFF).
    bool Add(int factor, int setSpeed, int reportedSpeed);

    // SetSpeed of the step nearest to factor; at equal distance the slower step; -1 when empty.
    int LookupSetSpeed(int factor) const;

    // Factor of the first (highest) step whose reported speed is at most kbps; -1 when none.
    int FactorOfReportedSpeed(int kbps) const;

    // True when text is a loadable table: a multiple of 12 characters, all hexadecimal.
    static bool IsSpeedTableText(const std::string& text);

    // Replaces the table by the text's steps. The length must be a multiple of 12 (assertion);
    // a group that is not hexadecimal leaves the table empty and gives false.
    bool LoadFromText(const std::string& text);
    std::string SaveToText() const;

private:
    int32_t factor_[kCapacity] = {};
    int32_t reportedSpeed_[kCapacity] = {};
    int32_t setSpeed_[kCapacity] = {};
    int count_ = 0;
};
