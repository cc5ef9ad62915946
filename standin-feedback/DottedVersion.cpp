#include "DottedVersion.h"

#include <cwchar>

namespace {

// Longer texts are not versions anyone publishes; refusing them bounds the work.
const size_t kMaxVersionLength = 256;

bool IsDottedVersion(const wchar_t* text)
{
    if (!text)
        return false;
    size_t length = wcslen(text);
    if (length == 0 || length > kMaxVersionLength)
        return false;
    bool digitSeen = false;
    for (size_t i = 0; i < length; ++i)
    {
        wchar_t c = text[i];
        if (c >= L'0' && c <= L'9')
            digitSeen = true;
        else if (c == L'.' && digitSeen)
            digitSeen = false;
        else
            return false;
    }
    return digitSeen;
}

// One number of a version: the digits after any leading zeros.
struct Number
{
    const wchar_t* digits;
    size_t length;
};

// Reads the number at *cursor and moves past it and its dot; an exhausted text gives 0.
Number NextNumber(const wchar_t** cursor)
{
    const wchar_t* p = *cursor;
    while (*p == L'0')
        ++p;
    Number number = {p, 0};
    while (*p >= L'0' && *p <= L'9')
    {
        ++p;
        ++number.length;
    }
    if (*p == L'.')
        ++p;
    *cursor = p;
    return number;
}

int CompareNumbers(const Number& a, const Number& b)
{
    if (a.length != b.length)
        return a.length < b.length ? -1 : 1;
    for (size_t i = 0; i < a.length; ++i)
    {
        if (a.digits[i] != b.digits[i])
            return a.digits[i] < b.digits[i] ? -1 : 1;
    }
    return 0;
}

} // namespace

bool CompareDottedVersions(const wchar_t* a, const wchar_t* b, int* order)
{
    if (!order || !IsDottedVersion(a) || !IsDottedVersion(b))
        return false;
    while (*a || *b)
    {
        int result = CompareNumbers(NextNumber(&a), NextNumber(&b));
        if (result != 0)
        {
            *order = result;
            return true;
        }
    }
    *order = 0;
    return true;
}
