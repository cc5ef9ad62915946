#include "StandinConfig.h"

#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// A configuration is a handful of lines; anything bigger is not one.
const DWORD kMaxConfigBytes = 64 * 1024;

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string LowerAscii(std::string text)
{
    for (char& c : text)
    {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// False for text that is not valid UTF-8, and for text with a NUL, which would cut it short.
bool Utf8ToWide(const std::string& text, std::wstring& wide)
{
    wide.clear();
    if (text.empty())
        return true;
    if (text.find('\0') != std::string::npos)
        return false;
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                     static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return false;
    wide.resize(length);
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        &wide[0], length);
    return true;
}

bool IsTrue(const std::string& value)
{
    std::string lower = LowerAscii(value);
    return lower == "1" || lower == "yes" || lower == "true" || lower == "on";
}

bool IsHostName(const std::wstring& host)
{
    if (host.empty() || host.size() > 253)
        return false;
    for (wchar_t c : host)
    {
        bool allowed = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                       (c >= L'0' && c <= L'9') || c == L'.' || c == L'-' || c == L':';
        if (!allowed)
            return false;
    }
    return true;
}

bool ParseInt(const std::string& text, int& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    long long parsed = strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool IsAbsolutePath(const std::wstring& path)
{
    return (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) ||
           (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\');
}

void ApplyServiceKey(const std::string& key, const std::string& value, const std::wstring& wide,
                     const std::wstring& folder, StandinConfig& config)
{
    if (key == "host")
    {
        if (IsHostName(wide))
            config.host = wide;
    }
    else if (key == "home")
        config.homePage = wide;
    else if (key == "feedback")
        config.feedbackPage = wide;
    else if (key == "init")
        config.initFails = LowerAscii(value) == "fail";
    else if (key == "record_only")
        config.recordOnly = IsTrue(value);
    else if (key == "journal")
    {
        if (wide.empty())
            config.journalPath.clear();
        else
            config.journalPath = IsAbsolutePath(wide) ? wide : folder + L'\\' + wide;
    }
}

void ApplyLine(const std::string& section, const std::string& rawKey, const std::string& value,
               const std::wstring& folder, StandinConfig& config)
{
    std::wstring wideKey;
    std::wstring wide;
    if (!Utf8ToWide(rawKey, wideKey) || !Utf8ToWide(value, wide) || rawKey.empty())
        return;
    if (section == "service")
        ApplyServiceKey(LowerAscii(rawKey), value, wide, folder, config);
    else if (section == "newest")
        config.newestVersion[wideKey] = wide;
    else if (section == "download")
        config.downloadPage[wideKey] = wide;
    else if (section == "block")
    {
        if (!wide.empty())
            config.blockUntil[wideKey] = wide;
    }
    else if (section == "answers")
    {
        int answer = 0;
        if (ParseInt(value, answer))
            config.answers[wideKey] = answer;
    }
}

} // namespace

void ParseStandinConfig(const std::string& text, const std::wstring& folder, StandinConfig& config)
{
    size_t position = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        position = 3;
    std::string section;
    while (position < text.size())
    {
        size_t end = text.find('\n', position);
        if (end == std::string::npos)
            end = text.size();
        std::string line = Trim(text.substr(position, end - position));
        position = end + 1;

        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[')
        {
            size_t close = line.find(']');
            section = close == std::string::npos ? std::string()
                                                 : LowerAscii(Trim(line.substr(1, close - 1)));
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        ApplyLine(section, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), folder,
                  config);
    }
}

StandinConfig LoadStandinConfig(const std::wstring& folder)
{
    StandinConfig config;
    config.host = L"" CORVINA_KB_HOST;

    std::wstring path = folder + L'\\' + STANDIN_CONFIG_NAME;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return config;
    std::string text;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && size.QuadPart <= kMaxConfigBytes)
    {
        text.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (text.empty() || !ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &read, nullptr))
            read = 0;
        text.resize(read);
    }
    CloseHandle(file);
    ParseStandinConfig(text, folder, config);
    return config;
}
