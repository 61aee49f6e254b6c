#pragma once
// Speed tables built into the program for known MMC models, held as speed-table texts.
#include <string>

struct BuiltInSpeedTable {
    int model;
    const char* revisions[4]; // revision prefixes, case-sensitive; none means every revision
    const char* parts[3];     // the text is these parts in order (a row may continue another's)
};

extern const BuiltInSpeedTable kBuiltInSpeedTables[];
extern const int kBuiltInSpeedTableCount;

// The row's whole speed-table text.
std::string SpeedTableText(const BuiltInSpeedTable& table);

// The built-in text for a model and firmware revision; false when there is none.
bool FindBuiltInSpeedTable(int model, const std::string& revision, std::string& text);
