#pragma once
// TFormAbout: product name, version, the maker's lines and a link to the homepage.
#include "ui/Controls.h"
#include "ui/Form.h"

class TFormAbout : public TForm {
public:
    // Client area 289 x 319; the view reports the outer size.
    static constexpr int kClientWidth = 289;
    static constexpr int kClientHeight = 319;

    TFormAbout();

    void FormCreate();
    void Label2Click();
    // A click on the window's background closes it.
    void Panel1Click();
    void Panel2Click();
    void ButtonOKClick();

    TPanel Panel1;
    TPanel Panel2;
    TLabel Author;
    TLabel Kalmor;
    TLabel LabelVersion;
    TLabel Copyright;
    TPanel Panel3;
    TLabel Homepage;
    TLabel Label2;
    TButton ButtonOK;
};
