// driver <command> ...: works the tool's windows from outside and reports on standard output.
//   windows <process>              top-level windows of the process and their children, as JSON
//   find <process> <title>     the window handle of a visible top-level window with that title
//   click <x> <y>            moves the pointer there and clicks the left button
//   drag <x1> <y1> <x2> <y2> presses at the first point, moves to the second, releases
//   key <virtual-key>        presses and releases a key (decimal code: 13 Enter, 27 Escape)
//   module <process> <name>    the full path of a loaded module of the process
//   load <name>              loads a library by its name into this program (0 or 1)
//   shot <file.png>          saves the screen
//   play <shots> <tool-folder> <user-file> <fixture> <commands-journal> <feedback-journal>
//                            plays the whole repair on the running tool (see Play.h), with a
//                            screenshot per step and shots\index.html; 1 when a step did not happen
//   shell                    stands in for the desktop's shell window (Wine has none), run as
//                            the desktop user, until this program is ended
// A process is given by its id or its executable's name.
// Exit code 0 on success, 1 on a failure, 2 on a usage error.
#include "DesktopShell.h"
#include "Driver.h"
#include "Play.h"

#include <cstdio>
#include <cwchar>

namespace {

void Print(const std::string& text)
{
    fputs(text.c_str(), stdout);
    fputs("\n", stdout);
}

int Windows(DWORD pid)
{
    std::string out = "[";
    bool first = true;
    for (const CWindowInfo& top : TopLevelWindows(pid)) {
        std::string one = ToJson(top);
        one.pop_back();
        out += (first ? "" : ",\n") + one + ",\"children\":" + ToJson(ChildWindows(top.hWnd)) + "}";
        first = false;
    }
    Print(out + "]");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    std::wstring command = argv[1];
    auto number = [&](int i) { return i < argc ? static_cast<int>(wcstol(argv[i], nullptr, 10)) : 0; };
    // A process is named by its id or by its executable's name.
    auto process = [&](int i) -> DWORD {
        wchar_t* end = nullptr;
        DWORD id = static_cast<DWORD>(wcstoul(argv[i], &end, 10));
        return *end ? FindProcessByName(argv[i]) : id;
    };

    if (command == L"windows" && argc == 3)
        return Windows(process(2));
    if (command == L"find" && argc == 4) {
        HWND found = FindVisibleWindow(process(2), argv[3]);
        printf("%p\n", static_cast<void*>(found));
        return found ? 0 : 1;
    }
    if (command == L"click" && argc == 4) {
        ClickAt(number(2), number(3));
        return 0;
    }
    if (command == L"drag" && argc == 6) {
        DragFromTo(POINT{number(2), number(3)}, POINT{number(4), number(5)});
        return 0;
    }
    if (command == L"key" && argc == 3) {
        PressKey(static_cast<WORD>(number(2)));
        return 0;
    }
    if (command == L"module" && argc == 4) {
        std::wstring path = LoadedModulePath(process(2), argv[3]);
        Print(Utf8(path));
        return path.empty() ? 1 : 0;
    }
    if (command == L"load" && argc == 3) {
        bool loaded = ::LoadLibraryW(argv[2]) != nullptr;
        printf("%d\n", loaded ? 1 : 0);
        return loaded ? 0 : 1;
    }
    if (command == L"shot" && argc == 3) {
        guitest::GdiplusSession gdiplus;
        return SaveScreenPng(argv[2]) ? 0 : 1;
    }
    if (command == L"shell" && argc == 2) {
        CDesktopShell shell;
        if (!shell.IsShown())
            return 1;
        ::Sleep(INFINITE);
    }
    if (command == L"play" && argc == 8)
        return PlayRepair(PlaySetup{argv[2], argv[3], argv[4], argv[5], argv[6], argv[7]});
    return 2;
}
