// A desktop shell for a test: desktopshell.exe, started with the un-elevated token that
// Windows links to this process's elevated one, as a user's desktop runs. Ended when the
// object goes.
#pragma once

#include <windows.h>

class CDesktopShell {
public:
    CDesktopShell();
    ~CDesktopShell();
    CDesktopShell(const CDesktopShell&) = delete;
    CDesktopShell& operator=(const CDesktopShell&) = delete;

    // True once the shell window belongs to the stand-in.
    bool IsShown() const;

private:
    PROCESS_INFORMATION m_process{};
};
