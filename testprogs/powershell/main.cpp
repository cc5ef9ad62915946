// powershell -command "get-hotfix", as the fixture says.
#include <windows.h>

#include <cstdio>
#include <string>

#include "HotfixFixture.h"

namespace {

std::string Pad(const std::string& text, size_t width)
{
    std::string padded = text;
    if (padded.size() < width)
        padded.append(width - padded.size(), ' ');
    return padded + " ";
}

std::string Row(const std::string& id, const std::string& description)
{
    return Pad("CORVINA-PC", 13) + Pad(description, 16) + Pad(id, 13) +
           Pad("NT AUTHORITY\\SYSTEM", 20) + "9/11/2019 12:00:00 AM\r\n";
}

std::string Table(const CHotfixFixture& fixture, unsigned long fillTo)
{
    std::string text = "\r\n" + Pad("Source", 13) + Pad("Description", 16) + Pad("HotFixID", 13) +
                       Pad("InstalledBy", 20) + "InstalledOn\r\n" + Pad("------", 13) +
                       Pad("-----------", 16) + Pad("--------", 13) + Pad("-----------", 20) +
                       "-----------\r\n";
    // Unknown updates first, so the known ones come at the very end of a long listing.
    for (unsigned long n = 0; text.size() < fillTo; ++n) {
        char id[16];
        snprintf(id, sizeof(id), "KB%07lu", 5000000 + n);
        text += Row(id, "Update");
    }
    for (size_t i = 0; i < fixture.updates.size(); ++i)
        text += Row(fixture.updates[i], fixture.descriptions[i]);
    return text + "\r\n\r\n";
}

void WriteOut(HANDLE handle, const void* data, size_t size)
{
    DWORD written = 0;
    WriteFile(handle, data, (DWORD)size, &written, nullptr);
}

}  // namespace

int wmain()
{
    CHotfixFixture fixture;
    LoadFixture(fixture);
    AppendJournal(fixture);

    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const std::string& mode = fixture.powershellMode;
    if (mode == "nothing")
        return 0;
    if (mode == "fail") {
        static const char kError[] =
            "get-hotfix : Access is denied.\r\n"
            "    + FullyQualifiedErrorId : System.UnauthorizedAccessException\r\n";
        WriteOut(GetStdHandle(STD_ERROR_HANDLE), kError, sizeof(kError) - 1);
        return 1;
    }
    if (mode == "zeros") {
        // UTF-16 text, as a console set to Unicode output would give it.
        std::string table = Table(fixture, 0);
        std::wstring wide(table.begin(), table.end());
        WriteOut(out, wide.data(), wide.size() * sizeof(wchar_t));
        return 0;
    }
    std::string table = Table(fixture, mode == "flood" ? fixture.floodBytes : 0);
    // In pieces, as a real console program writes line by line.
    for (size_t at = 0; at < table.size(); at += 4000)
        WriteOut(out, table.data() + at, table.size() - at < 4000 ? table.size() - at : 4000);
    return 0;
}
