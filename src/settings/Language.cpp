#include "settings/Language.h"

#include <iterator>

#include "platform/Locale.h"

uint16_t LanguageId = 0;

std::string lg_ABOUT, lg_AUTHOR, lg_KALMOR, lg_COPYRIGHT, lg_HOMEPAGE, lg_ALREADY_STARTED;
std::string lg_INIT_ASPI, lg_ASPI_FAILED, lg_NO_HOSTADAPTER, lg_EXAMINE, lg_INITIALIZE, lg_VERSION;
std::string lg_CONFIG, lg_SPEED_EVALUATION, lg_START_AGAIN, lg_DEBUG_INFO, lg_EXIT, lg_NO_DRIVES;
std::string lg_CANNOT_SET_SPEED, lg_SPEED, lg_CAV_HINT, lg_PCAV_HINT, lg_CLV_HINT;
std::string lg_GAMEMODE, lg_GAMEMODE_HINT, lg_TURBODAE, lg_TURBODAE_HINT;
std::string lg_IDLE_CHECK_1, lg_IDLE_CHECK_2, lg_IDLE_HINT, lg_IDLE_PLEXTOR, lg_IDLE_PLEXTOR_HINT;
std::string lg_STANDBY_CHECK_1, lg_STANDBY_CHECK_2, lg_STANDBY_HINT, lg_INACTIVITY_HINT;
std::string lg_REGISTRY_FAILED, lg_AUTOSTART_FAILED, lg_CHECKLOCK, lg_CHECKLOCK_HINT, lg_CHECKINDIVIDUAL;
std::string lg_MEDIACHANGE_1, lg_MEDIACHANGE_2, lg_SETTINGSGROUP;
std::string lg_MODE_TRAY, lg_MODE_TERMINATE, lg_MODE_MANUAL, lg_TO_CLIPBOARD, lg_TO_FILE, lg_CLOSE;
std::string lg_EVAL_CAPTION, lg_EVAL_DONE, lg_MEASURING_SPEED, lg_NO_DISC, lg_NEED_AUDIO_OR_DATA;
std::string lg_MIN_SECTORS_1, lg_MIN_SECTORS_2, lg_MORE_SECTORS, lg_READ_ERROR, lg_TEST_CANCELLED;
std::string lg_NO_EVALUATION, lg_TERMINATING, lg_SKIPSTEP, lg_SKIPDRIVE, lg_TOC_FAILED;
std::string lg_ASPI_VIRTUAL_DRIVE, lg_ASPI_NO_ATAPI, lg_RESTART_WINDOWS, lg_MEASURE_FIRST;
std::string lg_NEEDS_WIN32, lg_SEARCHING, lg_DETECTION_SLOW;

namespace {

constexpr uint8_t kGerman = 0;
constexpr uint8_t kEnglish = 1;
constexpr uint16_t kPrimaryLanguageMask = 0x3FF;
constexpr uint16_t kLangGerman = 0x07;

// Stands for the product name (lg_KALMOR) inside composed texts.
constexpr const char* kProduct = "{KALMOR}";

struct TextRow {
    std::string* text;
    const char* english;
    const char* german;
};

// clang-format off
const TextRow kTexts[] = {
    {&lg_ABOUT,              "About...", "Über..."},
    {&lg_AUTHOR,             "Kalmor developers", "Kalmor developers"},
    {&lg_KALMOR,             "Kalmor", "Kalmor"},
    {&lg_COPYRIGHT,          "Copyright (C) 2026 the Kalmor developers", "Copyright (C) 2026 the Kalmor developers"},
    {&lg_HOMEPAGE,           "Homepage:", "Heimseite:"},
    {&lg_ALREADY_STARTED,    " has already been started.", " ist bereits gestartet."},
    {&lg_INIT_ASPI,          "initialize ASPI manager", "initialisiere ASPI-Manager"},
    {&lg_ASPI_FAILED,        "WinASPI32 doesn't work: ", "WinASPI32 konnte nicht initialisiert werden: "},
    {&lg_NO_HOSTADAPTER,     "Cannot find host adaptor.", "Es wurde kein Hostadapter gefunden."},
    {&lg_EXAMINE,            "examine ", "überprüfe "},
    {&lg_INITIALIZE,         "initialize ", "initialisiere "},
    {&lg_VERSION,            "Version ", "Version "},
    {&lg_CONFIG,             "Configure", "Einstellen"},
    {&lg_SPEED_EVALUATION,   "Measure speeds", "Geschwindigkeiten messen"},
    {&lg_START_AGAIN,        "Restart", "Neu-Start"},
    {&lg_DEBUG_INFO,         "Debug information", "Debug-Info"},
    {&lg_EXIT,               "E&xit", "B&eenden"},
    {&lg_NO_DRIVES,          "Cannot find drives", "Es wurde kein Laufwerk gefunden"},
    {&lg_CANNOT_SET_SPEED,   "[cannot set speed]", "[Setzen nicht möglich]"},
    {&lg_SPEED,              "Speed", "Geschwindigkeit"},
    {&lg_CAV_HINT,           "CAV - Constant Angular Velocity", "CAV - konstante Drehzahl"},
    {&lg_PCAV_HINT,          "PCAV - Partial Constant Angular Velocity", "PCAV - \"innen\" konstante Drehzahl"},
    {&lg_CLV_HINT,           "CLV - Constant Linear Velocity", "CLV - konstante Transferrate"},
    {&lg_GAMEMODE,           "Game Mode", "Daddel-Modus"},
    {&lg_GAMEMODE_HINT,      "Drive doesn't slow down in case of copyprotected CDs", "Laufwerk wird nicht langsamer bei kopiergeschützten CDs"},
    {&lg_TURBODAE,           "Turbo-DAE", "Turbo-DAE"},
    {&lg_TURBODAE_HINT,      "Increases maximum DAE speed", "Erhöht die maximale Leserate bei Audio-CDs "},
    {&lg_IDLE_CHECK_1,       "\"", "Der Idle Timer kann nur verändert werden, wenn \""},
    {&lg_IDLE_CHECK_2,       "\" has to be checked before setting the idle timer. The reason for this little detour is that some drives may react in a strange way if this value is modified.", "\" gesetzt ist. Dieser kleine Umweg ist leider notwendig, da einige Laufwerke möglicherweise sehr ungehalten auf das Verändern des Idle Timers reagieren."},
    {&lg_IDLE_HINT,          "time between latest media access and reduced spin", "Dauer zwischen dem letzten Zugriff und dem Reduzieren der Drehzahl"},
    {&lg_IDLE_PLEXTOR,       "Idle timer", "Idle Timer"},
    {&lg_IDLE_PLEXTOR_HINT,  "if checked the drive reduces spin a few seconds after media access", "Legt fest ob das Laufwerk wenige Sekunden nach dem letzten Zugriff die Drehzahl reduziert"},
    {&lg_STANDBY_CHECK_1,    "\"", "Der Standby Timer kann nur verändert werden, wenn \""},
    {&lg_STANDBY_CHECK_2,    "\" has to be checked before setting the standby timer. The reason for this little detour is that some drives may react in a strange way if this value is modified.", "\" gesetzt ist. Dieser kleine Umweg ist leider notwendig, da einige Laufwerke möglicherweise sehr ungehalten auf das Verändern des Standby Timers reagieren."},
    {&lg_STANDBY_HINT,       "time between latest media access and spin down", "Dauer zwischen dem letzten Zugriff und dem Stoppen der CD"},
    {&lg_INACTIVITY_HINT,    "time between latest media access and spin down", "Dauer zwischen dem letzten Zugriff und dem Stoppen der CD"},
    {&lg_REGISTRY_FAILED,    "Cannot apply changes to registry.", "Die Einstellungen konnten nicht in der Registry gespeichert werden!"},
    {&lg_AUTOSTART_FAILED,   "Cannot set StartUp parameters.", "Der Auto-Start konnte nicht eingerichtet werden!"},
    {&lg_CHECKLOCK,          "Lock current speed", "Geschwindigkeit feststellen"},
    {&lg_CHECKLOCK_HINT,     "watch the drive's speed and restore current value if a change is detected", "Automatisches Überwachen und Korrigieren der Geschwindigkeit - z.B. nach Wechsel der CD"},
    {&lg_CHECKINDIVIDUAL,    "Drive Settings for current disc only", "Einstellung gilt nur für aktuelle CD"},
    {&lg_MEDIACHANGE_1,      "Media change detection for ", "CD-Wechsel beim "},
    {&lg_MEDIACHANGE_2,      "", " überwachen"},
    {&lg_SETTINGSGROUP,      "Drive Settings", "Laufwerkseinstellung"},
    {&lg_MODE_TRAY,          "starts with Windows and remains in the system tray", "startet mit Windows und verbleibt in der Task-Leiste"},
    {&lg_MODE_TERMINATE,     "starts with Windows and terminates", "startet mit Windows und terminiert"},
    {&lg_MODE_MANUAL,        "is started by the user", "wird vom Benutzer gestartet"},
    {&lg_TO_CLIPBOARD,       "-> Clip&board", "-> &Ablage"},
    {&lg_TO_FILE,            "-> &File", "-> &Text-Datei"},
    {&lg_CLOSE,              "&Close", "&Schließen"},
    {&lg_EVAL_CAPTION,       "Measure speeds", "Geschwindigkeiten messen"},
    {&lg_EVAL_DONE,          " Done.", " Fertig."},
    {&lg_MEASURING_SPEED,    "measuring speed ", "überprüfe Geschwindigkeit "},
    {&lg_NO_DISC,            "contains no disc", "enthält keine CD"},
    {&lg_NEED_AUDIO_OR_DATA, "an audio or data CD is needed for measuring speeds.", "für die Messung wird eine Audio- oder Daten-CD benötigt."},
    {&lg_MIN_SECTORS_1,      "the test CD should have at least ", "die verwendete CD sollte mindestens "},
    {&lg_MIN_SECTORS_2,      " sectors", " Sektoren enthalten"},
    {&lg_MORE_SECTORS,       "the test CD should have as many sectors as possible", "die verwendete CD sollte eine möglichst hohe Spielzeit haben."},
    {&lg_READ_ERROR,         "read error", "Testlauf wurde aufgrund eines Fehlers beendet"},
    {&lg_TEST_CANCELLED,     "test was cancelled", "Testlauf wurde abgebrochen"},
    {&lg_NO_EVALUATION,      " -> evaluation not possible", " -> keine Bewertung möglich"},
    {&lg_TERMINATING,        " .. terminated", " .. wird beendet"},
    {&lg_SKIPSTEP,           "skip this speed", "überspringe Stufe"},
    {&lg_SKIPDRIVE,          "skip this drive", "überspringe Laufwerk"},
    {&lg_TOC_FAILED,         "Couldn't read TOC", "TOC konnte nicht gelesen werden"},
    {&lg_ASPI_VIRTUAL_DRIVE, "ERROR: ASPI uses virtual drive. Do you want {KALMOR} to correct your configuration?", "FEHLER: der ASPI-Manager bietet {KALMOR} ein virtuelles Laufwerk an. Soll {KALMOR} Ihre Konfiguration automatisch korrigieren?"},
    {&lg_ASPI_NO_ATAPI,      "ATTENTION: ASPI doesn't control ATAPI devices. Do you want {KALMOR} to correct your configuration?", "ACHTUNG: der ASPI-Manager verwaltet gegenwärtig keine ATAPI-Laufwerke. Soll {KALMOR} Ihre Konfiguration automatisch korrigieren?"},
    {&lg_RESTART_WINDOWS,    "Please restart Windows.", "Sie sollten nun Windows neu starten, damit die Änderung wirksam wird."},
    {&lg_MEASURE_FIRST,      "Measure actual speeds first?", "Tatsächliche Geschwindigkeiten vorher messen?"},
    {&lg_NEEDS_WIN32,        "{KALMOR} needs Windows 95 or NT 4!", "{KALMOR} benötigt Windows 95 oder NT 4!"},
    {&lg_SEARCHING,          "{KALMOR} searches for drives...", "{KALMOR} sucht nach Laufwerken..."},
    {&lg_DETECTION_SLOW,     "Detection was slow. If you send the author Debug Information, the next version of {KALMOR} will be able to initialize this drive much faster.", "Die Erkennung hat sehr lang gedauert. Wenn Sie dem Author eine \"Debug-Info\" schicken, wird die nächste Version von {KALMOR} mit diesem Laufwerk verzögerungsfrei starten können."},
};

struct TimerRow {
    const char* english;
    const char* german;
};

// Inactivity timer multiplier codes 0..15 of the CD parameters mode page.
const TimerRow kTimerNames[] = {
    {"default", "Standard"},
    {"125 ms", "125 ms"},
    {"250 ms", "250 ms"},
    {"500 ms", "500 ms"},
    {"1 sec", "1 Sek"},
    {"2 sec", "2 Sek"},
    {"4 sec", "4 Sek"},
    {"8 sec", "8 Sek"},
    {"16 sec", "16 Sek"},
    {"32 sec", "32 Sek"},
    {"1 min", "1 Min"},
    {"2 min", "2 Min"},
    {"4 min", "4 Min"},
    {"8 min", "8 Min"},
    {"16 min", "16 Min"},
    {"32 min", "32 Min"},
};
// clang-format on

// Puts the product name where a composed text holds its placeholder.
void InsertProductName(std::string& text)
{
    const std::string placeholder = kProduct;
    for (size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + lg_KALMOR.size())) {
        text.replace(at, placeholder.size(), lg_KALMOR);
    }
}

}  // namespace

bool IsEnglish() { return (LanguageId & kPrimaryLanguageMask) != kLangGerman; }

void AssignLanguageTexts(uint8_t code)
{
    if (code != kGerman && code != kEnglish) return;
    for (const TextRow& row : kTexts) *row.text = code == kEnglish ? row.english : row.german;
    // Composed texts only once lg_KALMOR holds the product name of this language.
    for (const TextRow& row : kTexts) InsertProductName(*row.text);
}

void ChooseLanguage()
{
    LanguageId = platform::UserLanguageId();
    AssignLanguageTexts(IsEnglish() ? kEnglish : kGerman);
}

std::string TimerValueName(int code)
{
    const bool english = IsEnglish();
    if (code < 0 || code >= int(std::size(kTimerNames))) return english ? "[ERROR]" : "[FEHLER]";
    return english ? kTimerNames[code].english : kTimerNames[code].german;
}

std::string LockedToText(const std::string& value)
{
    return (IsEnglish() ? "locked to " : "festgestellt auf ") + value;
}

std::string MediaChangeCaption(const std::string& driveName)
{
    return lg_MEDIACHANGE_1 + driveName + lg_MEDIACHANGE_2;
}
