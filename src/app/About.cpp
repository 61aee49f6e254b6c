#include "app/About.h"

#include "app/Version.h"
#include "platform/Screen.h"
#include "platform/Shell.h"
#include "settings/Language.h"

TFormAbout::TFormAbout() : TForm(kClientWidth, kClientHeight) {}

void TFormAbout::FormCreate()
{
    Caption = lg_ABOUT;
    Author.Caption = lg_AUTHOR;
    Kalmor.Caption = lg_KALMOR;
    Kalmor.FontColor = TColor::Red;
    LabelVersion.Caption = lg_VERSION + kProgramVersion;
    Copyright.Caption = lg_COPYRIGHT;
    Homepage.Caption = lg_HOMEPAGE;
    Label2.Caption = kHomepageUrl;
    Label2.FontColor = TColor::Highlight;
    ButtonOK.Caption = "OK";
    Left = (platform::ScreenWidth() - Width) / 2;
    Top = (platform::ScreenHeight() - Height) / 2;
}

void TFormAbout::Label2Click() { platform::ShellOpen(Label2.Caption); }

void TFormAbout::Panel1Click() { Close(); }

void TFormAbout::Panel2Click() { Close(); }

void TFormAbout::ButtonOKClick() { CloseWith(mrOk); }
