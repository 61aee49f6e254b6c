#include "teac/TeacEEPROM.h"

#include "platform/Assert.h"
#include "platform/MessageBox.h"
#include "settings/Language.h"
#include "settings/Store.h"
#include "transport/Text.h"

namespace {

constexpr int kWidth = 379;
constexpr int kHeight = 407;

const char* const kStaticTexts[TFormTeacEEPROM::kStaticTextCount] = {
    "Festlegen der maximalen DAE-Geschwindigkeit",
    "Dieses Laufwerk unterstützt das Festlegen einer oberen Grenze",
    "für die DAE-Geschwindigkeit (Digitale Audio Extraction).",
    "Wird diese obere Grenze auf 4x/CLV (Werksvorgabe) gesetzt,",
    "so werden Audio-Tracks auch immer mit dieser Geschwindigkeit",
    "gelesen.",
    "Wählt man jedoch eine höhere Geschwindigkeit als obere Grenze,",
    "so hängt die DAE-Geschwindigkeit von der aktuellen Stellung",
    "von Kalmor's Schieber ab.",
    "Die Einstellung wird im nicht-flüchtigen Speicher des Laufwerks",
    "abgelegt und erst nach einem Neustart aktiv.",
};

}  // namespace

TFormTeacEEPROM::TFormTeacEEPROM() : TForm(kWidth, kHeight)
{
    Caption = "Einstellungen - Teac";
    for (int i = 0; i < kStaticTextCount; ++i) StaticText[i].Caption = kStaticTexts[i];
    Button32.Caption = "32x CAV";
    Button4.Caption = "4x CLV";
    ButtonExit.Caption = "Schließen";
    FormCreate();
}

void TFormTeacEEPROM::FormCreate()
{
    KALMOR_ASSERT(TeacEepromDrive >= 0 && TeacEepromDrive < numDrives, "TeacEEPROM", "");
    const TCDROM& drive = *Drives[TeacEepromDrive].CDROM;
    GroupBox1.Caption = drive.Vendor() + drive.Product();
    if (BeginsWith("CD-532E-B", drive.Product())) {
        MiddleSpeed = 10;
        Button16.Caption = "10x CAV";
    } else {
        MiddleSpeed = 16;
        Button16.Caption = "16x PCAV";
    }
}

void TFormTeacEEPROM::WriteLimit(int32_t speed)
{
    if (Drives[TeacEepromDrive].CDROM->WriteTeacEEPROM(uint32_t(speed)) == speed)
        platform::ShowMessage(platform::MessageKind::Information,
                              "Die neue Einstellung wird erst nach dem nächsten Neustart aktiv", lg_KALMOR);
    else
        platform::ShowMessage(platform::MessageKind::Error, "Fehler beim Schreiben ins EEPROM", lg_KALMOR);
}

void TFormTeacEEPROM::Button32Click() { WriteLimit(32); }

void TFormTeacEEPROM::Button16Click() { WriteLimit(MiddleSpeed); }

void TFormTeacEEPROM::Button4Click() { WriteLimit(4); }

void TFormTeacEEPROM::ButtonExitClick() { Close(); }
