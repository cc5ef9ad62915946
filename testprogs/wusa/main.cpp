// wusa /uninstall /kb:NNNNNNN, as the fixture says.
#include <windows.h>

#include <cwctype>
#include <string>

#include "HotfixFixture.h"

namespace {

// The number after "/kb:" (any case), or empty.
std::string KbNumber(const std::wstring& commandLine)
{
    std::wstring lower;
    for (wchar_t c : commandLine)
        lower += (wchar_t)towlower(c);
    size_t at = lower.find(L"/kb:");
    if (at == std::wstring::npos)
        return std::string();
    std::string number;
    for (size_t i = at + 4; i < lower.size() && iswdigit(lower[i]); ++i)
        number += (char)lower[i];
    return number;
}

bool IsSuccess(unsigned long code)
{
    return code == 0 || code == 3010 || code == 1641 || code == 0x00240007;
}

}  // namespace

int wmain()
{
    CHotfixFixture fixture;
    LoadFixture(fixture);
    AppendJournal(fixture);

    std::wstring commandLine = GetCommandLineW();
    std::string number = KbNumber(commandLine);
    if (commandLine.find(L"/uninstall") == std::wstring::npos || number.empty())
        return 87;
    if (IsSuccess(fixture.wusaExit))
        RemoveUpdate("KB" + number);
    return (int)fixture.wusaExit;
}
