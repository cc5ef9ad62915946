#include "framework/Strings.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <vector>

std::wstring FormatString(const wchar_t* format, ...)
{
    // vswprintf reports -1 when the buffer is too small; grow until it fits.
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        int written = std::vswprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (written >= 0 && static_cast<size_t>(written) < buffer.size())
            return std::wstring(buffer.data(), static_cast<size_t>(written));
        if (buffer.size() > (1u << 24))
            return std::wstring();
        buffer.resize(buffer.size() * 2);
    }
}

std::string FormatStringA(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (needed > 0) {
        result.resize(static_cast<size_t>(needed) + 1);
        std::vsnprintf(&result[0], result.size(), format, args);
        result.resize(static_cast<size_t>(needed));
    }
    va_end(args);
    return result;
}
