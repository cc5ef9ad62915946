#include "Journal.h"

#include <windows.h>

#include <cstdio>

namespace {

void AppendUtf8(std::string& out, unsigned long codePoint)
{
    if (codePoint < 0x80)
        out += static_cast<char>(codePoint);
    else if (codePoint < 0x800)
    {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    else if (codePoint < 0x10000)
    {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

void AppendEscape(std::string& out, unsigned unit)
{
    char escape[8];
    snprintf(escape, sizeof escape, "\\u%04X", unit & 0xFFFF);
    out += escape;
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

std::string QuoteForJournal(const wchar_t* text)
{
    if (!text)
        return "null";
    std::string out = "\"";
    for (const wchar_t* p = text; *p; ++p)
    {
        wchar_t c = *p;
        switch (c)
        {
        case L'"': out += "\\\""; continue;
        case L'\\': out += "\\\\"; continue;
        case L'\r': out += "\\r"; continue;
        case L'\n': out += "\\n"; continue;
        case L'\t': out += "\\t"; continue;
        default: break;
        }
        if (c < 0x20 || c == 0x7F)
            AppendEscape(out, c);
        else if (IsHighSurrogate(c) && IsLowSurrogate(p[1]))
        {
            AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00));
            ++p;
        }
        else if (IsHighSurrogate(c) || IsLowSurrogate(c))
            AppendEscape(out, c);
        else
            AppendUtf8(out, c);
    }
    out += '"';
    return out;
}

CJournalLine::CJournalLine(const char* function) : m_line(function), m_bFirst(true)
{
    m_line += '(';
}

void CJournalLine::Separate()
{
    if (!m_bFirst)
        m_line += ", ";
    m_bFirst = false;
}

CJournalLine& CJournalLine::Text(const wchar_t* text)
{
    Separate();
    m_line += QuoteForJournal(text);
    return *this;
}

CJournalLine& CJournalLine::Number(int value)
{
    Separate();
    m_line += std::to_string(value);
    return *this;
}

std::string CJournalLine::Finish(int answer) const
{
    return m_line + ") = " + std::to_string(answer) + "\r\n";
}

void AppendToJournal(const std::wstring& path, const std::string& line)
{
    if (path.empty())
        return;
    // Append-only access keeps whole lines together when several processes write.
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}
