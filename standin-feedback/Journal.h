// The journal: one UTF-8 line per call into the library, with its exact arguments and answer.
#pragma once

#include <string>

// Builds a line such as  CustomerFeedbackEx("10056", "1.0.4", 1, "1700000000") = 1
class CJournalLine
{
public:
    explicit CJournalLine(const char* function);
    CJournalLine& Text(const wchar_t* text);
    CJournalLine& Number(int value);
    // The finished line, ending in CR LF.
    std::string Finish(int answer) const;

private:
    void Separate();

    std::string m_line;
    bool m_bFirst;
};

// Strings as a quoted text: \" \\ \r \n \t escaped, other control characters and unpaired
// surrogates as \uXXXX, everything else in UTF-8; a null pointer as  null.
std::string QuoteForJournal(const wchar_t* text);

// Appends line to the file at path; nothing happens when path is empty or cannot be written.
void AppendToJournal(const std::wstring& path, const std::string& line);
