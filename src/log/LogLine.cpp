#include "log/LogLine.h"

#include <cstdio>

std::string FormatLogLine(const SYSTEMTIME& time, const std::string& content)
{
    char stamp[64];
    snprintf(stamp, sizeof(stamp), "[%04d-%02d-%02d %02d:%02d:%02d %03dms]   ",
             time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond,
             time.wMilliseconds);
    std::string line(stamp);
    line += content;
    line += "\r\n";
    return line;
}

std::string FormatHexDump(const unsigned char* data, int length)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 0; i < length; ++i) {
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0x0F];
        text += ' ';
    }
    return text;
}

std::wstring WideFromGbk(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int kGbk = 936;
    int size = MultiByteToWideChar(kGbk, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(kGbk, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}
