// startup-bench <bare-dialog.exe> <Corvina.exe> [starts]
// Times, as the median of several starts after a warm-up, the time from process creation to
// the first visible window of a bare dialog program and to the visible panel of the tool, and
// prints both, their ratio and the tool's private bytes once it has started.
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

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const std::wstring bare = argv[1];
    const std::wstring tool = argv[2];
    const int starts = argc > 3 ? _wtoi(argv[3]) : 9;

    // Warm-up: the first starts load Wine's own libraries and caches for both.
    for (int i = 0; i < 2; ++i) {
        TimeOneStart(bare, false, false);
        TimeOneStart(tool, true, false);
    }
    // Taken in turns, so that a load on the machine falls on both alike, and each goes first
    // every other time: the start that follows another one is a little faster.
    std::vector<double> bareTimes, toolTimes;
    SIZE_T privateBytes = 0;
    for (int i = 0; i < starts; ++i) {
        StartResult b, t;
        if (i % 2 == 0) {
            b = TimeOneStart(bare, false, false);
            t = TimeOneStart(tool, true, i == 0);
        } else {
            t = TimeOneStart(tool, true, false);
            b = TimeOneStart(bare, false, false);
        }
        if (b.ms < 0 || t.ms < 0) {
            fprintf(stderr, "a start showed no window (bare %.1f ms, tool %.1f ms)\n", b.ms, t.ms);
            return 1;
        }
        bareTimes.push_back(b.ms);
        toolTimes.push_back(t.ms);
        if (t.privateBytes)
            privateBytes = t.privateBytes;
    }
    const double bareMedian = Median(bareTimes);
    const double toolMedian = Median(toolTimes);
    printf("Process creation to the first visible window, median of %d starts after a warm-up:\n", starts);
    printf("  bare dialog program: %7.1f ms  (%.1f .. %.1f)\n", bareMedian,
           *std::min_element(bareTimes.begin(), bareTimes.end()), *std::max_element(bareTimes.begin(), bareTimes.end()));
    printf("  Corvina, its panel:  %7.1f ms  (%.1f .. %.1f)\n", toolMedian,
           *std::min_element(toolTimes.begin(), toolTimes.end()), *std::max_element(toolTimes.begin(), toolTimes.end()));
    printf("  ratio:               %7.2f\n", toolMedian / bareMedian);
    printf("Corvina's private bytes after start: %.2f MB (%lu bytes)\n", privateBytes / 1048576.0,
           static_cast<unsigned long>(privateBytes));
    return 0;
}
