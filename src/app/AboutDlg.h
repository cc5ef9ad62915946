// The About box of the main window's system menu: icon, name and version, and an OK button.
#pragma once

#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
