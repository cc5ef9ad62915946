// The application object: its InitInstance runs the whole life of the tool.
#pragma once

#include "framework/WinApp.h"

class CCorvinaApp : public CWinApp {
public:
    CCorvinaApp();

    // Always FALSE: the process ends when the main window's modal loop ends.
    BOOL InitInstance() override;
};

extern CCorvinaApp theApp;
