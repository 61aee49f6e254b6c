#include <gtest/gtest.h>

#include "platform/host/HostLocale.h"
#include "settings/Language.h"

namespace {

struct Expected {
    const char* name;
    std::string* text;
    const char* english;
    const char* german;
};

// An independent copy of the texts as they must appear, composed texts fully written out.
// clang-format off
const Expected kExpected[] = {
    {"ABOUT", &lg_ABOUT, "About...", "Über..."},
    {"KALMOR", &lg_KALMOR, "Kalmor", "Kalmor"},
    {"HOMEPAGE", &lg_HOMEPAGE, "Homepage:", "Heimseite:"},
    {"ALREADY_STARTED", &lg_ALREADY_STARTED, " has already been started.", " ist bereits gestartet."},
    {"INIT_ASPI", &lg_INIT_ASPI, "initialize ASPI manager", "initialisiere ASPI-Manager"},
    {"ASPI_FAILED", &lg_ASPI_FAILED, "WinASPI32 doesn't work: ", "WinASPI32 konnte nicht initialisiert werden: "},
    {"NO_HOSTADAPTER", &lg_NO_HOSTADAPTER, "Cannot find host adaptor.", "Es wurde kein Hostadapter gefunden."},
    {"EXAMINE", &lg_EXAMINE, "examine ", "überprüfe "},
    {"INITIALIZE", &lg_INITIALIZE, "initialize ", "initialisiere "},
    {"VERSION", &lg_VERSION, "Version ", "Version "},
    {"CONFIG", &lg_CONFIG, "Configure", "Einstellen"},
    {"SPEED_EVALUATION", &lg_SPEED_EVALUATION, "Measure speeds", "Geschwindigkeiten messen"},
    {"START_AGAIN", &lg_START_AGAIN, "Restart", "Neu-Start"},
    {"DEBUG_INFO", &lg_DEBUG_INFO, "Debug information", "Debug-Info"},
    {"EXIT", &lg_EXIT, "E&xit", "B&eenden"},
    {"NO_DRIVES", &lg_NO_DRIVES, "Cannot find drives", "Es wurde kein Laufwerk gefunden"},
    {"CANNOT_SET_SPEED", &lg_CANNOT_SET_SPEED, "[cannot set speed]", "[Setzen nicht möglich]"},
    {"SPEED", &lg_SPEED, "Speed", "Geschwindigkeit"},
    {"CAV_HINT", &lg_CAV_HINT, "CAV - Constant Angular Velocity", "CAV - konstante Drehzahl"},
    {"PCAV_HINT", &lg_PCAV_HINT, "PCAV - Partial Constant Angular Velocity", "PCAV - \"innen\" konstante Drehzahl"},
    {"CLV_HINT", &lg_CLV_HINT, "CLV - Constant Linear Velocity", "CLV - konstante Transferrate"},
    {"GAMEMODE", &lg_GAMEMODE, "Game Mode", "Daddel-Modus"},
    {"GAMEMODE_HINT", &lg_GAMEMODE_HINT, "Drive doesn't slow down in case of copyprotected CDs", "Laufwerk wird nicht langsamer bei kopiergeschützten CDs"},
    {"TURBODAE", &lg_TURBODAE, "Turbo-DAE", "Turbo-DAE"},
    {"TURBODAE_HINT", &lg_TURBODAE_HINT, "Increases maximum DAE speed", "Erhöht die maximale Leserate bei Audio-CDs "},
    {"IDLE_CHECK_1", &lg_IDLE_CHECK_1, "\"", "Der Idle Timer kann nur verändert werden, wenn \""},
    {"IDLE_CHECK_2", &lg_IDLE_CHECK_2, "\" has to be checked before setting the idle timer. The reason for this little detour is that some drives may react in a strange way if this value is modified.", "\" gesetzt ist. Dieser kleine Umweg ist leider notwendig, da einige Laufwerke möglicherweise sehr ungehalten auf das Verändern des Idle Timers reagieren."},
    {"IDLE_HINT", &lg_IDLE_HINT, "time between latest media access and reduced spin", "Dauer zwischen dem letzten Zugriff und dem Reduzieren der Drehzahl"},
    {"IDLE_PLEXTOR", &lg_IDLE_PLEXTOR, "Idle timer", "Idle Timer"},
    {"IDLE_PLEXTOR_HINT", &lg_IDLE_PLEXTOR_HINT, "if checked the drive reduces spin a few seconds after media access", "Legt fest ob das Laufwerk wenige Sekunden nach dem letzten Zugriff die Drehzahl reduziert"},
    {"STANDBY_CHECK_1", &lg_STANDBY_CHECK_1, "\"", "Der Standby Timer kann nur verändert werden, wenn \""},
    {"STANDBY_CHECK_2", &lg_STANDBY_CHECK_2, "\" has to be checked before setting the standby timer. The reason for this little detour is that some drives may react in a strange way if this value is modified.", "\" gesetzt ist. Dieser kleine Umweg ist leider notwendig, da einige Laufwerke möglicherweise sehr ungehalten auf das Verändern des Standby Timers reagieren."},
    {"STANDBY_HINT", &lg_STANDBY_HINT, "time between latest media access and spin down", "Dauer zwischen dem letzten Zugriff und dem Stoppen der CD"},
    {"INACTIVITY_HINT", &lg_INACTIVITY_HINT, "time between latest media access and spin down", "Dauer zwischen dem letzten Zugriff und dem Stoppen der CD"},
    {"REGISTRY_FAILED", &lg_REGISTRY_FAILED, "Cannot apply changes to registry.", "Die Einstellungen konnten nicht in der Registry gespeichert werden!"},
    {"AUTOSTART_FAILED", &lg_AUTOSTART_FAILED, "Cannot set StartUp parameters.", "Der Auto-Start konnte nicht eingerichtet werden!"},
    {"CHECKLOCK", &lg_CHECKLOCK, "Lock current speed", "Geschwindigkeit feststellen"},
    {"CHECKLOCK_HINT", &lg_CHECKLOCK_HINT, "watch the drive's speed and restore current value if a change is detected", "Automatisches Überwachen und Korrigieren der Geschwindigkeit - z.B. nach Wechsel der CD"},
    {"CHECKINDIVIDUAL", &lg_CHECKINDIVIDUAL, "Drive Settings for current disc only", "Einstellung gilt nur für aktuelle CD"},
    {"MEDIACHANGE_1", &lg_MEDIACHANGE_1, "Media change detection for ", "CD-Wechsel beim "},
    {"MEDIACHANGE_2", &lg_MEDIACHANGE_2, "", " überwachen"},
    {"SETTINGSGROUP", &lg_SETTINGSGROUP, "Drive Settings", "Laufwerkseinstellung"},
    {"MODE_TRAY", &lg_MODE_TRAY, "starts with Windows and remains in the system tray", "startet mit Windows und verbleibt in der Task-Leiste"},
    {"MODE_TERMINATE", &lg_MODE_TERMINATE, "starts with Windows and terminates", "startet mit Windows und terminiert"},
    {"MODE_MANUAL", &lg_MODE_MANUAL, "is started by the user", "wird vom Benutzer gestartet"},
    {"TO_CLIPBOARD", &lg_TO_CLIPBOARD, "-> Clip&board", "-> &Ablage"},
    {"TO_FILE", &lg_TO_FILE, "-> &File", "-> &Text-Datei"},
    {"CLOSE", &lg_CLOSE, "&Close", "&Schließen"},
    {"EVAL_CAPTION", &lg_EVAL_CAPTION, "Measure speeds", "Geschwindigkeiten messen"},
    {"EVAL_DONE", &lg_EVAL_DONE, " Done.", " Fertig."},
    {"MEASURING_SPEED", &lg_MEASURING_SPEED, "measuring speed ", "überprüfe Geschwindigkeit "},
    {"NO_DISC", &lg_NO_DISC, "contains no disc", "enthält keine CD"},
    {"NEED_AUDIO_OR_DATA", &lg_NEED_AUDIO_OR_DATA, "an audio or data CD is needed for measuring speeds.", "für die Messung wird eine Audio- oder Daten-CD benötigt."},
    {"MIN_SECTORS_1", &lg_MIN_SECTORS_1, "the test CD should have at least ", "die verwendete CD sollte mindestens "},
    {"MIN_SECTORS_2", &lg_MIN_SECTORS_2, " sectors", " Sektoren enthalten"},
    {"MORE_SECTORS", &lg_MORE_SECTORS, "the test CD should have as many sectors as possible", "die verwendete CD sollte eine möglichst hohe Spielzeit haben."},
    {"READ_ERROR", &lg_READ_ERROR, "read error", "Testlauf wurde aufgrund eines Fehlers beendet"},
    {"TEST_CANCELLED", &lg_TEST_CANCELLED, "test was cancelled", "Testlauf wurde abgebrochen"},
    {"NO_EVALUATION", &lg_NO_EVALUATION, " -> evaluation not possible", " -> keine Bewertung möglich"},
    {"TERMINATING", &lg_TERMINATING, " .. terminated", " .. wird beendet"},
    {"SKIPSTEP", &lg_SKIPSTEP, "skip this speed", "überspringe Stufe"},
    {"SKIPDRIVE", &lg_SKIPDRIVE, "skip this drive", "überspringe Laufwerk"},
    {"TOC_FAILED", &lg_TOC_FAILED, "Couldn't read TOC", "TOC konnte nicht gelesen werden"},
    {"ASPI_VIRTUAL_DRIVE", &lg_ASPI_VIRTUAL_DRIVE, "ERROR: ASPI uses virtual drive. Do you want Kalmor to correct your configuration?", "FEHLER: der ASPI-Manager bietet Kalmor ein virtuelles Laufwerk an. Soll Kalmor Ihre Konfiguration automatisch korrigieren?"},
    {"ASPI_NO_ATAPI", &lg_ASPI_NO_ATAPI, "ATTENTION: ASPI doesn't control ATAPI devices. Do you want Kalmor to correct your configuration?", "ACHTUNG: der ASPI-Manager verwaltet gegenwärtig keine ATAPI-Laufwerke. Soll Kalmor Ihre Konfiguration automatisch korrigieren?"},
    {"RESTART_WINDOWS", &lg_RESTART_WINDOWS, "Please restart Windows.", "Sie sollten nun Windows neu starten, damit die Änderung wirksam wird."},
    {"MEASURE_FIRST", &lg_MEASURE_FIRST, "Measure actual speeds first?", "Tatsächliche Geschwindigkeiten vorher messen?"},
    {"NEEDS_WIN32", &lg_NEEDS_WIN32, "Kalmor needs Windows 95 or NT 4!", "Kalmor benötigt Windows 95 oder NT 4!"},
    {"SEARCHING", &lg_SEARCHING, "Kalmor searches for drives...", "Kalmor sucht nach Laufwerken..."},
    {"DETECTION_SLOW", &lg_DETECTION_SLOW, "Detection was slow. If you send the author Debug Information, the next version of Kalmor will be able to initialize this drive much faster.", "Die Erkennung hat sehr lang gedauert. Wenn Sie dem Author eine \"Debug-Info\" schicken, wird die nächste Version von Kalmor mit diesem Laufwerk verzögerungsfrei starten können."},
};

const char* const kTimerEnglish[] = {"default", "125 ms", "250 ms", "500 ms", "1 sec", "2 sec", "4 sec", "8 sec",
                                     "16 sec", "32 sec", "1 min", "2 min", "4 min", "8 min", "16 min", "32 min"};
const char* const kTimerGerman[] = {"Standard", "125 ms", "250 ms", "500 ms", "1 Sek", "2 Sek", "4 Sek", "8 Sek",
                                    "16 Sek", "32 Sek", "1 Min", "2 Min", "4 Min", "8 Min", "16 Min", "32 Min"};
// clang-format on

// The texts whose wording is ours rather than fixed.
std::string* const kOwnTexts[] = {&lg_AUTHOR, &lg_COPYRIGHT};

}  // namespace

TEST(Language, BothTablesHoldExactlyTheDesignedTexts)
{
    for (const uint8_t code : {1, 0, 2}) {
        for (const Expected& e : kExpected) e.text->clear();
        for (std::string* text : kOwnTexts) text->clear();
        AssignLanguageTexts(code);
        for (const Expected& e : kExpected) EXPECT_EQ(*e.text, code == 1 ? e.english : code == 0 ? e.german : "") << "lg_" << e.name;
        for (std::string* text : kOwnTexts) EXPECT_EQ(text->empty(), code == 2);
    }
    AssignLanguageTexts(0);
    EXPECT_EQ(lg_CLOSE, "&Schlie\xDF" "en");  // Windows-1252 for the ANSI controls
}

TEST(Language, OnlyAGermanPrimaryLanguageSelectsGermanAndTextBuildersFollow)
{
    // 0x0107 has German in its low byte only: the primary language is the low ten bits.
    const std::pair<uint16_t, bool> cases[] = {{0x0407, false}, {0x1407, false}, {0x0107, true},
                                               {0x040C, true},  {0x0807, false}, {0x0409, true}};
    for (const auto& [id, english] : cases) {
        platform::host::SetUserLanguageId(id);
        ChooseLanguage();
        EXPECT_EQ(std::tuple(LanguageId, IsEnglish(), lg_ABOUT), std::tuple(id, english, std::string(english ? "About..." : "Über...")))
            << std::hex << id;
    }
    for (int code = 0; code < 16; ++code) EXPECT_EQ(TimerValueName(code), kTimerEnglish[code]) << code;
    EXPECT_EQ(TimerValueName(16) + TimerValueName(-1), "[ERROR][ERROR]");
    EXPECT_EQ(LockedToText("8x") + "|" + MediaChangeCaption("PLEXTOR PX-40TS"), "locked to 8x|Media change detection for PLEXTOR PX-40TS");
    lg_INACTIVITY_HINT += "x";  // equal texts, yet separate variables
    EXPECT_EQ(lg_STANDBY_HINT, "time between latest media access and spin down");

    platform::host::SetUserLanguageId(0x0807);
    ChooseLanguage();
    for (int code = 0; code < 16; ++code) EXPECT_EQ(TimerValueName(code), kTimerGerman[code]) << code;
    EXPECT_EQ(TimerValueName(16) + "|" + LockedToText("8x") + "|" + MediaChangeCaption("E:"), "[FEHLER]|festgestellt auf 8x|CD-Wechsel beim E: überwachen");
}
