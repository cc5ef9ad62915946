// childprobe [stdin] [env NAME]...: CORVINA_PROBE_EVENT holds the value of an inheritable
// event handle of the test. When that handle is open here, the probe signals the event, so
// the test sees from its own side whether the handle arrived, and prints "event held", else
// "event not held". With "stdin" it then reads standard input: "stdin empty" when it ends at
// once, "stdin open" when it gives a byte, "stdin missing" when it cannot be read. Each
// "env NAME" prints "NAME=<value>" or "NAME absent": what of the environment reached it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    wchar_t value[32] = L"";
    GetEnvironmentVariableW(L"CORVINA_PROBE_EVENT", value, 32);
    HANDLE event = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(wcstoul(value, nullptr, 10)));
    printf(event && SetEvent(event) ? "event held\n" : "event not held\n");
    for (int i = 1; i < argc; ++i) {
        if (wcscmp(argv[i], L"stdin") == 0) {
            char byte = 0;
            DWORD read = 0;
            if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &read, nullptr))
                printf("stdin missing\n");
            else
                printf(read == 0 ? "stdin empty\n" : "stdin open\n");
        } else if (wcscmp(argv[i], L"env") == 0 && i + 1 < argc) {
            const wchar_t* name = argv[++i];
            wchar_t variable[4096];
            DWORD length = GetEnvironmentVariableW(name, variable, 4096);
            if (length == 0 || length >= 4096)
                printf("%ls absent\n", name);
            else
                printf("%ls=%ls\n", name, variable);
        }
    }
    return 0;
}
