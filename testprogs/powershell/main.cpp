// The listing: powershell -NoProfile -NonInteractive -command "... get-hotfix", as the fixture says.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "HotfixFixture.h"

namespace {

std::string Pad(const std::string& text, size_t width)
{
    std::string padded = text;
    if (padded.size() < width)
        padded.append(width - padded.size(), ' ');
    return padded + " ";
}

std::string Row(const std::string& id, const std::string& description)
{
    return Pad("CORVINA-PC", 13) + Pad(description, 16) + Pad(id, 13) +
           Pad("NT AUTHORITY\\SYSTEM", 20) + "9/11/2019 12:00:00 AM\r\n";
}

std::string Table(const CHotfixFixture& fixture, unsigned long fillTo)
{
    std::string text = "\r\n" + Pad("Source", 13) + Pad("Description", 16) + Pad("HotFixID", 13) +
                       Pad("InstalledBy", 20) + "InstalledOn\r\n" + Pad("------", 13) +
                       Pad("-----------", 16) + Pad("--------", 13) + Pad("-----------", 20) +
                       "-----------\r\n";
    // Unknown updates first, so the known ones come at the very end of a long listing.
    for (unsigned long n = 0; text.size() < fillTo; ++n) {
        char id[16];
        snprintf(id, sizeof(id), "KB%07lu", 5000000 + n);
        text += Row(id, "Update");
    }
    for (size_t i = 0; i < fixture.updates.size(); ++i)
        text += Row(fixture.updates[i], fixture.descriptions[i]);
    return text + "\r\n\r\n";
}

void WriteOut(HANDLE handle, const void* data, size_t size)
{
    DWORD written = 0;
    WriteFile(handle, data, (DWORD)size, &written, nullptr);
}

// Rows of unknown updates, written without pause and without end, in blocks far larger than
// the pipe by four threads at once: while one starts its next write, the others' are waiting,
// so the reader never finds the pipe empty.
void WriteRowsForEver(HANDLE out)
{
    static std::string rows;
    for (unsigned long n = 6000000; rows.size() < 256 * 1024; ++n) {
        char id[16];
        snprintf(id, sizeof(id), "KB%07lu", n);
        rows += Row(id, "Update");
    }
    struct Writer {
        static DWORD WINAPI Run(LPVOID out)
        {
            for (;;)
                WriteOut(out, rows.data(), rows.size());
        }
    };
    for (int i = 0; i < 3; ++i)
        CreateThread(nullptr, 0, Writer::Run, out, 0, nullptr);
    Writer::Run(out);
}

// Hands the standard output to a process outside the listing's job, as a writer that the job
// does not hold: writes "<process id> <handle>" to the fixture's name plus ".handout" and waits,
// at most a minute, until the taker sets the event "CorvinaHandout-<process id>".
void HandOutOutput(HANDLE out)
{
    const DWORD self = GetCurrentProcessId();
    HANDLE taken = CreateEventW(nullptr, TRUE, FALSE,
                                (L"CorvinaHandout-" + std::to_wstring(self)).c_str());
    const std::string note = std::to_string(self) + " " + std::to_string((ULONG_PTR)out);
    HANDLE file = CreateFileW((FixturePath() + L".handout").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        WriteOut(file, note.data(), note.size());
        CloseHandle(file);
    }
    WaitForSingleObject(taken, 60000);
    CloseHandle(taken);
}

const wchar_t kLingerArgument[] = L"--linger";
// Far longer than any test waits for a listing's result.
const DWORD kLingerMs = 10 * 60 * 1000;

// A copy of this program that keeps the standard handles open long after this one has ended,
// as a process a real listing leaves behind would. It is waited for until it has journalled
// its start, so a test can count on seeing it.
void StartLingeringChild()
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    HANDLE started = CreateEventW(&inheritable, TRUE, FALSE, nullptr);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + kLingerArgument + L" " +
                               std::to_wstring((ULONG_PTR)started);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(self, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &process)) {
        HANDLE either[] = {started, process.hProcess};
        WaitForMultipleObjects(2, either, FALSE, 60000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(started);
}

// "--linger <event>": the lingering copy; 0 when this is not one.
HANDLE LingerEvent(int argc, wchar_t** argv)
{
    if (argc < 3 || wcscmp(argv[1], kLingerArgument) != 0)
        return nullptr;
    return (HANDLE)(ULONG_PTR)wcstoul(argv[2], nullptr, 10);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    CHotfixFixture fixture;
    LoadFixture(fixture);
    AppendJournal(fixture);

    if (HANDLE started = LingerEvent(argc, argv)) {
        SetEvent(started);
        Sleep(kLingerMs);
        return 0;
    }

    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const std::string& mode = fixture.powershellMode;
    if (mode == "nothing")
        return 0;
    if (mode == "fail") {
        static const char kError[] =
            "get-hotfix : Access is denied.\r\n"
            "    + FullyQualifiedErrorId : System.UnauthorizedAccessException\r\n";
        WriteOut(GetStdHandle(STD_ERROR_HANDLE), kError, sizeof(kError) - 1);
        return 1;
    }
    if (mode == "zeros") {
        // UTF-16 text, as a console set to Unicode output would give it.
        std::string table = Table(fixture, 0);
        std::wstring wide(table.begin(), table.end());
        WriteOut(out, wide.data(), wide.size() * sizeof(wchar_t));
        return 0;
    }
    std::string table = Table(fixture, mode == "flood" ? fixture.floodBytes : 0);
    // In pieces, as a real console program writes line by line.
    for (size_t at = 0; at < table.size(); at += 4000)
        WriteOut(out, table.data() + at, table.size() - at < 4000 ? table.size() - at : 4000);
    if (mode == "hang")
        Sleep(INFINITE);
    if (mode == "endless")
        WriteRowsForEver(out);
    if (mode == "linger")
        StartLingeringChild();
    if (mode == "handout")
        HandOutOutput(out);
    if (mode == "exit")
        return (int)fixture.powershellExit;
    return 0;
}
