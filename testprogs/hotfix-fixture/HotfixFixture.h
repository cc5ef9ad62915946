#pragma once

#include <string>
#include <vector>

// The fixture file named by CORVINA_HOTFIX_FIXTURE (see testprogs/README.md): the installed
// updates and how the stand-ins behave. The stand-ins run with the machine's environment, so
// tests and the demo set that variable (and CORVINA_TOOL_JOURNAL) for the whole machine.
struct CHotfixFixture {
    std::vector<std::string> lines;  // as read, so a rewrite keeps everything else
    std::vector<std::string> updates;
    std::vector<std::string> descriptions;
    std::string powershellMode = "table";
    unsigned long floodBytes = 200000;
    unsigned long wusaExit = 0;
    std::string wusaMode = "quiet";  // "window": asks in a window of its own, as the real one
    unsigned long powershellExit = 0;  // for the "exit" mode
    std::wstring journal;
};

std::wstring FixturePath();
bool LoadFixture(CHotfixFixture& fixture);
// Writes the fixture back without the update's line; false when it was not listed.
bool RemoveUpdate(const std::string& id);
// Appends "<program path>\t<command line>\r\n" (UTF-8) to the journal, if one is named.
void AppendJournal(const CHotfixFixture& fixture);
// Appends a line of its own (no tab, so it names no call) to the journal, if one is named.
void AppendJournalNote(const CHotfixFixture& fixture, const std::string& note);
