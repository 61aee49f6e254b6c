#pragma once
#include "measure/EvaluateSpeeds.h"
#include "ui/win32/Win32View.h"

class TEvalView : public TWin32View {
public:
    explicit TEvalView(TFormEval& form);
};
