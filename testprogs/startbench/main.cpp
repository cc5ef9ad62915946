// startup-bench <bare-dialog.exe> <bare-dialog-checked.exe> <Corvina.exe> [starts]
// Times, as the median of several starts after a warm-up, the time from process creation to
// the first visible window of a bare dialog program, of the same program that first checks the
// feedback library beside it, and to the visible panel of the tool; prints the three, the
// tool's ratio against each floor and its private bytes once it has started.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const int IDC_BTN_REPAIR = 1013;  // only the tool's panel has this control

struct Search {
    DWORD pid;
    bool wantPanel;
    bool found;
};

BOOL CALLBACK Visit(HWND hWnd, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hWnd, &owner);
    if (owner != search->pid || !::IsWindowVisible(hWnd))
        return TRUE;
    if (search->wantPanel && !::GetDlgItem(hWnd, IDC_BTN_REPAIR))
        return TRUE;
    search->found = true;
    return FALSE;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct StartResult {
    double ms = -1;             // -1: no window within the time allowed
    SIZE_T privateBytes = 0;
};

// Starts the program in its own folder and waits for the window; ends it afterwards.
StartResult TimeOneStart(const std::wstring& exe, bool wantPanel, bool measureMemory)
{
    StartResult result;
    std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start, now;
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &process))
        return result;
    Search search{process.dwProcessId, wantPanel, false};
    for (;;) {
        ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
        ::QueryPerformanceCounter(&now);
        if (search.found) {
            result.ms = Milliseconds(start, now);
            break;
        }
        if (Milliseconds(start, now) > 20000 || ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        ::Sleep(1);
    }
    if (measureMemory && search.found) {
        // Once the start has settled: the start-up check and its notice have come.
        ::Sleep(1500);
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof(counters);
        if (::GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                   sizeof(counters)))
            // Wine leaves PrivateUsage empty; the commit charge is the same figure there.
            result.privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ::Sleep(200);
    return result;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n == 0 ? -1 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

}  // namespace

// One program's starts.
struct Program {
    const char* label;
    std::wstring exe;
    bool wantPanel;
    std::vector<double> times;
};

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
        return 2;
    Program programs[] = {
        {"bare dialog program:", argv[1], false, {}},
        {"bare, library first:", argv[2], false, {}},
        {"Corvina, its panel:", argv[3], true, {}},
    };
    const int count = static_cast<int>(sizeof programs / sizeof programs[0]);
    Program& tool = programs[count - 1];
    const int starts = argc > 4 ? _wtoi(argv[4]) : 9;

    // Warm-up: the first starts load Wine's own libraries and caches for all of them.
    for (int i = 0; i < 2; ++i)
        for (Program& p : programs)
            TimeOneStart(p.exe, p.wantPanel, false);
    // Taken in turns, so that a load on the machine falls on all alike, and each goes first in
    // its turn: the start that follows another one is a little faster.
    SIZE_T privateBytes = 0;
    for (int i = 0; i < starts; ++i) {
        for (int k = 0; k < count; ++k) {
            Program& p = programs[(i + k) % count];
            StartResult r = TimeOneStart(p.exe, p.wantPanel, &p == &tool && privateBytes == 0);
            if (r.ms < 0) {
                fprintf(stderr, "a start of %ls showed no window\n", p.exe.c_str());
                return 1;
            }
            p.times.push_back(r.ms);
            if (r.privateBytes)
                privateBytes = r.privateBytes;
        }
    }
    printf("Process creation to the first visible window, median of %d starts after a warm-up:\n", starts);
    for (const Program& p : programs)
        printf("  %-21s %7.1f ms  (%.1f .. %.1f)\n", p.label, Median(p.times),
               *std::min_element(p.times.begin(), p.times.end()), *std::max_element(p.times.begin(), p.times.end()));
    const double toolMedian = Median(tool.times);
    printf("  ratio to the bare dialog:          %5.2f\n", toolMedian / Median(programs[0].times));
    printf("  ratio to the bare, library first:  %5.2f\n", toolMedian / Median(programs[1].times));
    printf("Corvina's private bytes after start: %.2f MB (%lu bytes)\n", privateBytes / 1048576.0,
           static_cast<unsigned long>(privateBytes));
    return 0;
}
