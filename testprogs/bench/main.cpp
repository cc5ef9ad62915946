// Prints how fast RunCommandCapture takes in output and what one log entry costs.
#include <windows.h>

#include <cstdio>
#include <string>

#include "log/LogSave.h"
#include "repair/CommandRunner.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

std::wstring TempFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"corvina-bench-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

void MeasureCapture(const std::wstring& folder, size_t size)
{
    std::string bytes(size, 'x');
    for (size_t at = 79; at < size; at += 80) {
        bytes[at - 1] = '\r';
        bytes[at] = '\n';
    }
    std::wstring file = folder + L"capture.txt";
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(handle, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(handle);

    std::string output;
    LARGE_INTEGER start = Now();
    bool ok = RunCommandCapture(L"type \"" + file + L"\"", output);
    double seconds = Seconds(start, Now());
    printf("capture %7zu bytes: %s, %zu bytes back, %.3f s, %.1f KB/s\n", size,
           ok ? "ran" : "NOT STARTED", output.size(), seconds, output.size() / 1024.0 / seconds);
    DeleteFileW(file.c_str());
}

void MeasureEmptyCommand()
{
    const int runs = 10;
    std::string output;
    LARGE_INTEGER start = Now();
    for (int i = 0; i < runs; ++i)
        RunCommandCapture(L"rem", output);
    printf("capture of an empty command: %.1f ms per run\n", Seconds(start, Now()) * 1000 / runs);
}

void MeasureLog(const std::wstring& folder)
{
    const int entries = 2000;
    CLogSave log(folder);
    const std::string text = "\xBC\xFC\xC5\xCC\xCE\xDE\xB7\xA8\xCA\xB9\xD3\xC3\xD0\xDE\xB8\xB4\xCA\xA7\xB0\xDC";
    LARGE_INTEGER start = Now();
    for (int i = 0; i < entries; ++i)
        log.WriteLog(text, "Tovrane.txt", true);
    double seconds = Seconds(start, Now());
    printf("log entry: %.1f us each (%d forced entries)\n", seconds * 1e6 / entries, entries);

    start = Now();
    for (int i = 0; i < entries; ++i)
        log.WriteLog(text, "Tovrane.txt", false);
    printf("dropped entry (print off): %.3f us each\n", Seconds(start, Now()) * 1e6 / entries);
    DeleteFileW((log.GetLogDir() + L"Tovrane.txt").c_str());
    RemoveDirectoryW((folder + L"ToolLog").c_str());
}

}  // namespace

int wmain()
{
    std::wstring folder = TempFolder();
    MeasureEmptyCommand();
    MeasureCapture(folder, 10000);
    MeasureCapture(folder, 100000);
    MeasureCapture(folder, 500000);
    MeasureLog(folder);
    RemoveDirectoryW(folder.c_str());
    return 0;
}
