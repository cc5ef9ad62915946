// The stand-in's configuration: HalvexFeedbackInformation.ini beside the library.
#pragma once

#include <map>
#include <string>

struct StandinConfig
{
    std::wstring host;          // knowledge-base host of the default pages
    std::wstring homePage;      // empty: https://<host>/
    std::wstring feedbackPage;  // empty: https://<host>/feedback
    bool initFails = false;
    bool recordOnly = false;
    std::wstring journalPath;   // full path; empty: no journal
    std::map<std::wstring, std::wstring> newestVersion;  // tool id -> version text
    std::map<std::wstring, std::wstring> downloadPage;   // tool id -> address
    std::map<std::wstring, int> answers;                 // export name -> answer (recording build)
    std::map<std::wstring, std::wstring> blockUntil;     // export name -> event that releases it
};

const wchar_t* const STANDIN_CONFIG_NAME = L"HalvexFeedbackInformation.ini";

// Reads the UTF-8 text of a configuration into config; lines it cannot use are skipped.
// Relative journal paths are taken from folder (no trailing backslash).
void ParseStandinConfig(const std::string& text, const std::wstring& folder, StandinConfig& config);

// The configuration file in folder; the defaults when it is missing, unreadable or too large.
StandinConfig LoadStandinConfig(const std::wstring& folder);
