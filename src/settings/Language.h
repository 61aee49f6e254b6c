#pragma once
// The bilingual user texts: one global text per message, filled once at start in German or
// English, plus the language test and three small text builders.
#include <cstdint>
#include <string>

// Windows language identifier of the current user, set once by ChooseLanguage.
extern uint16_t LanguageId;

// The homepage the main and about windows link to (follows lg_HOMEPAGE).
inline constexpr const char* kHomepageUrl = "https://kalmor.invalid/";

extern std::string lg_ABOUT;
extern std::string lg_AUTHOR;
extern std::string lg_KALMOR;
extern std::string lg_COPYRIGHT;
extern std::string lg_HOMEPAGE;
extern std::string lg_ALREADY_STARTED;
extern std::string lg_INIT_ASPI;
extern std::string lg_ASPI_FAILED;
extern std::string lg_NO_HOSTADAPTER;
extern std::string lg_EXAMINE;
extern std::string lg_INITIALIZE;
extern std::string lg_VERSION;
extern std::string lg_CONFIG;
extern std::string lg_SPEED_EVALUATION;
extern std::string lg_START_AGAIN;
extern std::string lg_DEBUG_INFO;
extern std::string lg_EXIT;
extern std::string lg_NO_DRIVES;
extern std::string lg_CANNOT_SET_SPEED;
extern std::string lg_SPEED;
extern std::string lg_CAV_HINT;
extern std::string lg_PCAV_HINT;
extern std::string lg_CLV_HINT;
extern std::string lg_GAMEMODE;
extern std::string lg_GAMEMODE_HINT;
extern std::string lg_TURBODAE;
extern std::string lg_TURBODAE_HINT;
extern std::string lg_IDLE_CHECK_1;
extern std::string lg_IDLE_CHECK_2;
extern std::string lg_IDLE_HINT;
extern std::string lg_IDLE_PLEXTOR;
extern std::string lg_IDLE_PLEXTOR_HINT;
extern std::string lg_STANDBY_CHECK_1;
extern std::string lg_STANDBY_CHECK_2;
extern std::string lg_STANDBY_HINT;
extern std::string lg_INACTIVITY_HINT;
extern std::string lg_REGISTRY_FAILED;
extern std::string lg_AUTOSTART_FAILED;
extern std::string lg_CHECKLOCK;
extern std::string lg_CHECKLOCK_HINT;
extern std::string lg_CHECKINDIVIDUAL;
extern std::string lg_MEDIACHANGE_1;
extern std::string lg_MEDIACHANGE_2;
extern std::string lg_SETTINGSGROUP;
extern std::string lg_MODE_TRAY;
extern std::string lg_MODE_TERMINATE;
extern std::string lg_MODE_MANUAL;
extern std::string lg_TO_CLIPBOARD;
extern std::string lg_TO_FILE;
extern std::string lg_CLOSE;
extern std::string lg_EVAL_CAPTION;
extern std::string lg_EVAL_DONE;
extern std::string lg_MEASURING_SPEED;
extern std::string lg_NO_DISC;
extern std::string lg_NEED_AUDIO_OR_DATA;
extern std::string lg_MIN_SECTORS_1;
extern std::string lg_MIN_SECTORS_2;
extern std::string lg_MORE_SECTORS;
extern std::string lg_READ_ERROR;
extern std::string lg_TEST_CANCELLED;
extern std::string lg_NO_EVALUATION;
extern std::string lg_TERMINATING;
extern std::string lg_SKIPSTEP;
extern std::string lg_SKIPDRIVE;
extern std::string lg_TOC_FAILED;
extern std::string lg_ASPI_VIRTUAL_DRIVE;
extern std::string lg_ASPI_NO_ATAPI;
extern std::string lg_RESTART_WINDOWS;
extern std::string lg_MEASURE_FIRST;
extern std::string lg_NEEDS_WIN32;
extern std::string lg_SEARCHING;
extern std::string lg_DETECTION_SLOW;

// True unless the primary language of LanguageId (its low 10 bits) is German, so every
// German sub-language selects German.
bool IsEnglish();

// Fills every lg_ text: code 0 German, 1 English. Any other code assigns nothing.
void AssignLanguageTexts(uint8_t code);

// Sets LanguageId from the user's language and assigns the texts of that language. Runs once,
// before any window exists.
void ChooseLanguage();

// Display name of an inactivity timer code 0..15 in the language IsEnglish selects;
// "[ERROR]" ("[FEHLER]") for any other code.
std::string TimerValueName(int code);

// "locked to " / "festgestellt auf " followed by value.
std::string LockedToText(const std::string& value);

// Caption of a drive's media-change check box: lg_MEDIACHANGE_1 + driveName + lg_MEDIACHANGE_2.
std::string MediaChangeCaption(const std::string& driveName);
