// Drives CFeedbackDll from a folder of its own, as the tool does beside its library.
// Each argument group is one call; the answers go to probe-report.txt beside the program,
// one "name=answer" line each.
//   load | init | question ID VER | url URL | feedbackex ID VER CODE TIME | newversion ID VER
//   | download | module
//   | start-check (the check the tool starts with its process) | verdict (waits for it)
//   | replace FILE (moves FILE into the library's place; 1 when that was let through)
#include <windows.h>

#include <cstdlib>
#include <string>

#include "feedback/FeedbackDll.h"
#include "feedback/FeedbackLibraryCheck.h"

namespace {

std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                     nullptr, 0, nullptr, nullptr);
    std::string out(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], length,
                        nullptr, nullptr);
    return out;
}

// Where, if anywhere, a library of the feedback library's name came from.
std::wstring LoadedLibraryPath()
{
    HMODULE module = GetModuleHandleW(L"HalvexFeedbackInformation.dll");
    if (!module)
        return L"none";
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    return std::wstring(path, length);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    CFeedbackDll feedback;
    std::string report;
    auto note = [&report](const char* name, int answer) {
        report += std::string(name) + "=" + std::to_string(answer) + "\n";
    };
    for (int i = 1; i < argc; ++i)
    {
        std::wstring command = argv[i];
        int left = argc - i - 1;
        if (command == L"load")
            note("load", feedback.Load());
        else if (command == L"init")
            note("init", feedback.InitFreedbackDll());
        else if (command == L"question" && left >= 2)
        {
            note("question", feedback.FeedbackQuestion(argv[i + 1], argv[i + 2]));
            i += 2;
        }
        else if (command == L"url" && left >= 1)
            note("url", feedback.OpenUrl(argv[++i]));
        else if (command == L"feedbackex" && left >= 4)
        {
            note("feedbackex", feedback.CustomerFeedbackEx(argv[i + 1], argv[i + 2],
                                                           _wtoi(argv[i + 3]), argv[i + 4]));
            i += 4;
        }
        else if (command == L"newversion" && left >= 2)
        {
            note("newversion", feedback.GetToolIsNewVersion(argv[i + 1], argv[i + 2]));
            i += 2;
        }
        else if (command == L"download")
            note("download", feedback.OpenToolDownUrl());
        else if (command == L"start-check")
            StartFeedbackLibraryCheck();
        else if (command == L"verdict")
            report += std::string("verdict=") + LibraryTrustName(WaitFeedbackLibraryCheck()) + "\n";
        else if (command == L"replace" && left >= 1)
            note("replace", MoveFileExW(argv[++i], FeedbackLibraryPath().c_str(), MOVEFILE_REPLACE_EXISTING) ? 1 : 0);
        else if (command == L"module")
            report += "module=" + Utf8(LoadedLibraryPath()) + "\n";
        else
            return 2;
    }
    report += "done\n";

    std::wstring reportPath = OwnFolder() + L"\\probe-report.txt";
    HANDLE file = CreateFileW(reportPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    DWORD written = 0;
    WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
