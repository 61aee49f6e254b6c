#pragma once
// The program's version as its windows show it.
inline constexpr const char* kProgramVersion = "1.02";
