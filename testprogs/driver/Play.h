// The tool's main job played as a person would do it, with real input: confirm the usage
// notice, untick and tick the agree box, open and close the agreement, repair twice, close and
// answer the feedback question, then see the tool's files go.  Each step leaves a screenshot;
// an index page shows them in order.
#pragma once

#include <string>

struct PlaySetup {
    std::wstring shots;            // folder for the screenshots and index.html
    std::wstring toolFolder;       // where the running Corvina.exe lies
    std::wstring userFile;         // a user's file beside the tool, which must stay
    std::wstring fixture;          // the stand-ins' fixture: installed updates, wusa's exit code
    std::wstring commandsJournal;  // programs the tool ran
    std::wstring feedbackJournal;  // calls the feedback library received
};

// Plays every step, writes the index and prints a summary; 0 when every step happened.
int PlayRepair(const PlaySetup& setup);
