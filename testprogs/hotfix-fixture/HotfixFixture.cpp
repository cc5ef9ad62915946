#include "HotfixFixture.h"

#include <windows.h>

#include <cstdlib>

namespace {

std::string ReadAll(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

std::wstring Widen(const std::string& text)
{
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), &wide[0], size);
    return wide;
}

std::string Narrow(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0,
                                   nullptr, nullptr);
    std::string narrow(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &narrow[0], size, nullptr,
                        nullptr);
    return narrow;
}

std::string Trim(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return std::string();
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

void SplitKey(const std::string& line, std::string& key, std::string& value)
{
    std::string trimmed = Trim(line);
    size_t space = trimmed.find_first_of(" \t");
    key = trimmed.substr(0, space);
    value = space == std::string::npos ? std::string() : Trim(trimmed.substr(space));
}

}  // namespace

std::wstring FixturePath()
{
    wchar_t path[1024] = {};
    DWORD length = GetEnvironmentVariableW(L"CORVINA_HOTFIX_FIXTURE", path, 1024);
    if (length == 0 || length >= 1024)
        return std::wstring();
    return path;
}

bool LoadFixture(CHotfixFixture& fixture)
{
    std::wstring path = FixturePath();
    if (path.empty())
        return false;
    std::string text = ReadAll(path);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        fixture.lines.push_back(line);
        start = end + 1;

        std::string key, value;
        SplitKey(line, key, value);
        if (key.empty() || key[0] == '#')
            continue;
        if (key == "update") {
            std::string id, description;
            SplitKey(value, id, description);
            fixture.updates.push_back(id);
            fixture.descriptions.push_back(description.empty() ? "Update" : description);
        } else if (key == "powershell") {
            fixture.powershellMode = value;
        } else if (key == "flood-bytes") {
            fixture.floodBytes = strtoul(value.c_str(), nullptr, 10);
        } else if (key == "powershell-exit") {
            fixture.powershellExit = strtoul(value.c_str(), nullptr, 10);
        } else if (key == "wusa-exit") {
            fixture.wusaExit = strtoul(value.c_str(), nullptr, 10);
        } else if (key == "wusa") {
            fixture.wusaMode = value;
        } else if (key == "journal") {
            fixture.journal = Widen(value);
        }
    }
    if (fixture.journal.empty()) {
        wchar_t journal[1024] = {};
        DWORD length = GetEnvironmentVariableW(L"CORVINA_TOOL_JOURNAL", journal, 1024);
        if (length > 0 && length < 1024)
            fixture.journal = journal;
    }
    return true;
}

bool RemoveUpdate(const std::string& id)
{
    CHotfixFixture fixture;
    if (!LoadFixture(fixture))
        return false;
    std::string kept;
    bool removed = false;
    for (const std::string& line : fixture.lines) {
        std::string key, value, lineId, rest;
        SplitKey(line, key, value);
        SplitKey(value, lineId, rest);
        if (key == "update" && lineId == id) {
            removed = true;
            continue;
        }
        kept += line + "\r\n";
    }
    if (!removed)
        return false;
    HANDLE file = CreateFileW(FixturePath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, kept.data(), (DWORD)kept.size(), &written, nullptr);
    CloseHandle(file);
    return true;
}

void AppendJournal(const CHotfixFixture& fixture)
{
    wchar_t program[1024] = {};
    GetModuleFileNameW(nullptr, program, 1024);
    AppendJournalNote(fixture, Narrow(program) + "\t" + Narrow(GetCommandLineW()));
}

void AppendJournalNote(const CHotfixFixture& fixture, const std::string& note)
{
    if (fixture.journal.empty())
        return;
    std::string entry = note + "\r\n";
    // Appends from several processes land whole: FILE_APPEND_DATA writes at the end.
    HANDLE file = CreateFileW(fixture.journal.c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, entry.data(), (DWORD)entry.size(), &written, nullptr);
    CloseHandle(file);
}
