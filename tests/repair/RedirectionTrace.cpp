#include "repair/RedirectionTrace.h"

#include <map>

#include "support/TestFiles.h"

namespace {

bool Has(const std::string& text, const char* piece)
{
    return text.find(piece) != std::string::npos;
}

// "0104:Call KERNEL32.CreateProcessW(...)": the function's name, after the module's.
std::string CalledFunction(const std::string& call)
{
    size_t dot = call.find('.');
    size_t open = call.find('(');
    if (dot == std::string::npos || open == std::string::npos || open < dot)
        return std::string();
    return call.substr(dot + 1, open - dot - 1);
}

}  // namespace

CRedirectionTraceVerdict JudgeRedirectionTrace(const std::string& trace)
{
    CRedirectionTraceVerdict verdict;
    // Per thread id: the line that turned the redirection off, while it is off.
    std::map<std::string, std::string> off;
    for (const std::string& line : TextLines(trace)) {
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string thread = line.substr(0, colon);
        const std::string rest = line.substr(colon + 1);
        const bool isOff = off.count(thread) != 0;
        if (rest.compare(0, 4, "Ret ") == 0) {
            if (Has(rest, ".Wow64DisableWow64FsRedirection(") && Has(rest, " retval=00000001")) {
                ++verdict.switchesOff;
                off[thread] = line;
            }
        } else if (rest.compare(0, 5, "Call ") == 0) {
            const std::string function = CalledFunction(rest);
            if (function == "Wow64RevertWow64FsRedirection")
                off.erase(thread);
            else if (isOff && function == "CreateProcessW")
                ++verdict.startsWhileOff;
            else if (isOff && function != "Wow64DisableWow64FsRedirection")
                verdict.faults.push_back(line);
        } else if (isOff && Has(rest, "trace:loaddll:") && Has(rest, " Loaded ")) {
            verdict.faults.push_back(line);
        }
    }
    for (const auto& left : off)
        verdict.faults.push_back(left.second);
    return verdict;
}
