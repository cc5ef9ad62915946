// timeout /t <seconds> [/nobreak]: waits that many seconds and exits with 0.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    long seconds = -2;
    for (int i = 1; i < argc; ++i) {
        const wchar_t* arg = argv[i];
        if ((arg[0] == L'/' || arg[0] == L'-') && (arg[1] == L't' || arg[1] == L'T') && !arg[2] &&
            i + 1 < argc) {
            wchar_t* end = nullptr;
            seconds = wcstol(argv[++i], &end, 10);
            if (*end)
                seconds = -2;
        } else if (_wcsicmp(arg, L"/nobreak") != 0 && _wcsicmp(arg, L"-nobreak") != 0) {
            seconds = -2;
            break;
        }
    }
    if (seconds < 0 || seconds > 99999) {
        fprintf(stderr, "ERROR: Invalid syntax. Use timeout /t <seconds> [/nobreak].\n");
        return 1;
    }
    Sleep((DWORD)seconds * 1000);
    return 0;
}
