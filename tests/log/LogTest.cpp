#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "log/LogFolder.h"
#include "log/LogLine.h"
#include "log/LogSave.h"
#include "log/LogSaveCloseFile.h"

#include "support/TestFiles.h"

namespace {

// The engine's two entries and a file name, in code page 936.
const char kRepairFailed[] =
    "\xBC\xFC\xC5\xCC\xCE\xDE\xB7\xA8\xCA\xB9\xD3\xC3\xD0\xDE\xB8\xB4\xCA\xA7\xB0\xDC";
const char kThreadFailed[] =
    "\xB4\xB4\xBD\xA8\xBC\xFC\xC5\xCC\xCE\xDE\xB7\xA8\xCA\xB9\xD3\xC3\xD0\xDE\xB8\xB4"
    "\xCF\xDF\xB3\xCC\xCA\xA7\xB0\xDC";
const char kGbkFileName[] = "\xC8\xD5\xD6\xBE.txt";  // 日志.txt
const size_t kStampLength = 30;
const long long kLimit = 6020000;

long long SizeOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void RemoveTree(const std::wstring& folder)
{
    std::wstring from = folder;
    if (!from.empty() && from.back() == L'\\')
        from.pop_back();
    from.append(2, L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

// "[dddd-dd-dd dd:dd:dd dddms]   ": only the digits may differ.
bool IsStamp(const std::string& text)
{
    static const char kPattern[] = "[dddd-dd-dd dd:dd:dd dddms]   ";
    if (text.size() != kStampLength)
        return false;
    for (size_t i = 0; i < kStampLength; ++i) {
        if (kPattern[i] == 'd' ? !isdigit(static_cast<unsigned char>(text[i])) : text[i] != kPattern[i])
            return false;
    }
    return true;
}

// Splits a log file into lines, each with its CR LF; a missing final line end leaves a piece
// without one.
std::vector<std::string> Lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        end = end == std::string::npos ? bytes.size() : end + 2;
        lines.push_back(bytes.substr(start, end - start));
        start = end;
    }
    return lines;
}

::testing::AssertionResult IsEntry(const std::string& line, const std::string& content)
{
    if (line.size() != kStampLength + content.size() + 2)
        return ::testing::AssertionFailure() << "length " << line.size() << ": " << line;
    if (!IsStamp(line.substr(0, kStampLength)))
        return ::testing::AssertionFailure() << "stamp: " << line;
    if (line.compare(kStampLength, content.size(), content) != 0)
        return ::testing::AssertionFailure() << "content: " << line;
    if (line.compare(line.size() - 2, 2, "\r\n") != 0)
        return ::testing::AssertionFailure() << "line end: " << line;
    return ::testing::AssertionSuccess();
}

std::wstring NewFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    std::wstring folder = std::wstring(temp) + L"corvina-log-" +
                          std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

class LogFolderTest : public ::testing::Test {
protected:
    void SetUp() override { m_base = NewFolder(); }
    void TearDown() override { RemoveTree(m_base); }

    std::wstring LogDir() const { return m_base + L"ToolLog\\"; }

    void WriteConfig(const std::string& text)
    {
        CreateDirectoryW((m_base + L"ToolLog").c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(LogDir() + L"logCfg.ini", text));
    }

    std::wstring m_base;
};

// The log's bytes do not depend on the system's code page.
class LogBytes : public LogFolderTest {};

TEST_F(LogBytes, RunsUnderTheCodePageItWasStartedFor)
{
    const char* expected = getenv("CORVINA_EXPECT_ACP");
    ASSERT_NE(nullptr, expected);
    EXPECT_EQ(static_cast<UINT>(atoi(expected)), GetACP());
}

TEST_F(LogBytes, EngineEntriesAreStampedGbkLines)
{
    SYSTEMTIME before;
    GetLocalTime(&before);
    CLogSave log(m_base);
    log.WriteLog(kRepairFailed, "Tovrane.txt", true);
    log.WriteLog(kThreadFailed, "Tovrane.txt", true);
    SYSTEMTIME after;
    GetLocalTime(&after);

    std::string bytes = ReadFileBytes(LogDir() + L"Tovrane.txt");
    std::vector<std::string> lines = Lines(bytes);
    ASSERT_EQ(2u, lines.size());
    EXPECT_TRUE(IsEntry(lines[0], kRepairFailed));
    EXPECT_TRUE(IsEntry(lines[1], kThreadFailed));
    EXPECT_EQ(kStampLength + 20 + 2 + kStampLength + 28 + 2, bytes.size());

    // The stamp is the local time of the write.
    int year, month, day, hour, minute, second, ms;
    ASSERT_EQ(7, sscanf(lines[0].c_str(), "[%4d-%2d-%2d %2d:%2d:%2d %3dms]", &year, &month, &day,
                        &hour, &minute, &second, &ms));
    auto seconds = [](int h, int m, int s) { return (h * 60 + m) * 60 + s; };
    int at = seconds(hour, minute, second);
    EXPECT_EQ(before.wYear, year);
    EXPECT_EQ(before.wMonth, month);
    EXPECT_EQ(before.wDay, day);
    EXPECT_LE(seconds(before.wHour, before.wMinute, before.wSecond), at);
    EXPECT_GE(seconds(after.wHour, after.wMinute, after.wSecond), at);
    EXPECT_LT(ms, 1000);
}

TEST_F(LogBytes, FileNameIsReadAsGbk)
{
    CLogSave log(m_base);
    log.WriteLog("entry", kGbkFileName, true);
    std::wstring wideName = L"\x65E5\x5FD7.txt";  // 日志.txt
    std::vector<std::string> lines = Lines(ReadFileBytes(LogDir() + wideName));
    ASSERT_EQ(1u, lines.size());
    EXPECT_TRUE(IsEntry(lines[0], "entry"));
}

TEST_F(LogBytes, BytesThatAreNoGbkTextStillReachTheFileUnchanged)
{
    std::string odd = "\x80\xFF\x81 half";
    CLogSave log(m_base);
    log.WriteLog(odd, "odd.txt", true);
    std::vector<std::string> lines = Lines(ReadFileBytes(LogDir() + L"odd.txt"));
    ASSERT_EQ(1u, lines.size());
    EXPECT_TRUE(IsEntry(lines[0], odd));
}

TEST(LogLine, FormatsStampTextAndLineEnd)
{
    SYSTEMTIME time = {};
    time.wYear = 2019;
    time.wMonth = 10;
    time.wDay = 8;
    time.wHour = 9;
    time.wMinute = 5;
    time.wSecond = 3;
    time.wMilliseconds = 7;
    EXPECT_EQ(std::string("[2019-10-08 09:05:03 007ms]   ") + kRepairFailed + "\r\n",
              FormatLogLine(time, kRepairFailed));
    EXPECT_EQ("[2019-10-08 09:05:03 007ms]   \r\n", FormatLogLine(time, ""));
}

TEST(LogLine, HexDumpItems)
{
    const unsigned char bytes[] = {0x0A, 0xFF, 0x00};
    EXPECT_EQ("0A FF 00 ", FormatHexDump(bytes, 3));
    EXPECT_EQ("", FormatHexDump(bytes, 0));
    EXPECT_EQ("", FormatHexDump(bytes, -4));
}

TEST(PacketLog, DefaultEmptyAndCopiedMemberwise)
{
    CPacketLog packet;
    EXPECT_EQ("", packet.GetFileName());
    EXPECT_EQ("", packet.GetContent());
    packet.SetFileName("a.txt");
    packet.SetContent(kRepairFailed);
    CPacketLog copy = packet;
    packet.SetContent("changed");
    EXPECT_EQ("a.txt", copy.GetFileName());
    EXPECT_EQ(kRepairFailed, copy.GetContent());
}

// Configuration: which entries reach the file.
struct ConfigCase {
    const char* name;
    const char* config;  // nullptr: no logCfg.ini
    bool ordinaryWritten;
};

class LogConfigTest : public LogFolderTest, public ::testing::WithParamInterface<ConfigCase> {};

TEST_P(LogConfigTest, ForcedAlwaysOrdinaryOnlyWhenPrintIsOne)
{
    const ConfigCase& c = GetParam();
    if (c.config)
        WriteConfig(c.config);
    CLogSave log(m_base);
    log.WriteLog("ordinary", "cfg.txt", false);
    log.WriteLog("forced", "cfg.txt", true);
    std::vector<std::string> lines = Lines(ReadFileBytes(LogDir() + L"cfg.txt"));
    ASSERT_EQ(c.ordinaryWritten ? 2u : 1u, lines.size());
    if (c.ordinaryWritten) {
        EXPECT_TRUE(IsEntry(lines[0], "ordinary"));
    }
    EXPECT_TRUE(IsEntry(lines.back(), "forced"));
}

INSTANTIATE_TEST_SUITE_P(
    Values, LogConfigTest,
    ::testing::Values(ConfigCase{"Missing", nullptr, false},
                      ConfigCase{"One", "[Log]\r\nprint=1\r\n", true},
                      ConfigCase{"SpaceOne", "[Log]\r\nprint= 1\r\n", true},
                      ConfigCase{"OneAbc", "[Log]\r\nprint=1abc\r\n", true},
                      ConfigCase{"Zero", "[Log]\r\nprint=0\r\n", false},
                      ConfigCase{"MinusOne", "[Log]\r\nprint=-1\r\n", false},
                      ConfigCase{"Word", "[Log]\r\nprint=yes\r\n", false},
                      ConfigCase{"Eleven", "[Log]\r\nprint=11\r\n", false},
                      ConfigCase{"OtherSection", "[Other]\r\nprint=1\r\n", false},
                      ConfigCase{"OtherKey", "[Log]\r\nprinted=1\r\n", false}),
    [](const ::testing::TestParamInfo<ConfigCase>& info) { return std::string(info.param.name); });

class LogFilesTest : public LogFolderTest {};

TEST_F(LogFilesTest, FolderIsCreatedAndEndsInABackslash)
{
    ASSERT_FALSE(FileExists(m_base + L"ToolLog"));
    CLogSave log(m_base);
    EXPECT_EQ(LogDir(), log.GetLogDir());
    DWORD attributes = GetFileAttributesW((m_base + L"ToolLog").c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(LogFilesTest, ExistingFolderIsUsedAsItIs)
{
    WriteConfig("[Log]\r\nprint=1\r\n");
    ASSERT_TRUE(WriteFileBytes(LogDir() + L"other.txt", "keep me"));
    CLogSave log(m_base);
    log.WriteLog("ordinary", "new.txt", false);
    EXPECT_EQ("keep me", ReadFileBytes(LogDir() + L"other.txt"));
    EXPECT_EQ(1u, Lines(ReadFileBytes(LogDir() + L"new.txt")).size());
}

TEST_F(LogFilesTest, EntriesAppendEachOnItsOwnLine)
{
    CLogSave log(m_base);
    log.WriteLog("first", "Tovrane.txt", true);
    log.WriteLog("", "Tovrane.txt", true);
    log.WriteLog("third", "Tovrane.txt", true);
    std::vector<std::string> lines = Lines(ReadFileBytes(LogDir() + L"Tovrane.txt"));
    ASSERT_EQ(3u, lines.size());
    EXPECT_TRUE(IsEntry(lines[0], "first"));
    EXPECT_TRUE(IsEntry(lines[1], ""));
    EXPECT_TRUE(IsEntry(lines[2], "third"));
}

TEST_F(LogFilesTest, DeletedFileIsCreatedAgain)
{
    CLogSave log(m_base);
    log.WriteLog("one", "Tovrane.txt", true);
    ASSERT_TRUE(DeleteFileW((LogDir() + L"Tovrane.txt").c_str()));
    log.WriteLog("two", "Tovrane.txt", true);
    std::vector<std::string> lines = Lines(ReadFileBytes(LogDir() + L"Tovrane.txt"));
    ASSERT_EQ(1u, lines.size());
    EXPECT_TRUE(IsEntry(lines[0], "two"));
}

TEST_F(LogFilesTest, MissingFolderLosesTheEntryUntilItIsBack)
{
    CLogSave log(m_base);
    ASSERT_TRUE(RemoveDirectoryW((m_base + L"ToolLog").c_str()));
    log.WriteLog("lost", "Tovrane.txt", true);
    EXPECT_FALSE(FileExists(m_base + L"ToolLog"));
    ASSERT_TRUE(CreateDirectoryW((m_base + L"ToolLog").c_str(), nullptr));
    log.WriteLog("found", "Tovrane.txt", true);
    std::vector<std::string> lines = Lines(ReadFileBytes(LogDir() + L"Tovrane.txt"));
    ASSERT_EQ(1u, lines.size());
    EXPECT_TRUE(IsEntry(lines[0], "found"));
}

TEST_F(LogFilesTest, FileNamedToolLogInTheWay)
{
    ASSERT_TRUE(WriteFileBytes(m_base + L"ToolLog", "not a folder"));
    CLogSave log(m_base);
    log.WriteLog("nowhere", "Tovrane.txt", true);
    log.WriteLog("nowhere", "Tovrane.txt", false);
    EXPECT_EQ("not a folder", ReadFileBytes(m_base + L"ToolLog"));
    EXPECT_FALSE(GetFileAttributesW((m_base + L"ToolLog").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(LogFilesTest, HexDumpEntries)
{
    CLogSaveCloseFile writer(m_base);
    const unsigned char bytes[] = {0x0A, 0xFF, 0x00};
    writer.WriteHex(bytes, 3, "hex.txt");
    writer.WriteHex(bytes, 0, "hex.txt");
    std::vector<std::string> lines = Lines(ReadFileBytes(m_base + L"hex.txt"));
    ASSERT_EQ(2u, lines.size());
    EXPECT_TRUE(IsEntry(lines[0], "0A FF 00 "));
    EXPECT_TRUE(IsEntry(lines[1], ""));
}

// Records what reaches WritePacket instead of writing it.
class CRecordingWriter : public CLogSaveCloseFile {
public:
    CRecordingWriter() : CLogSaveCloseFile(L"") {}
    void WritePacket(const CPacketLog& packet) override { m_packets.push_back(packet); }
    std::vector<CPacketLog> m_packets;
};

TEST(LogWriter, TextAndHexGoThroughTheVirtualWritePacket)
{
    CRecordingWriter writer;
    CLogBase& base = writer;
    base.WriteText("some text", "text.txt");
    const unsigned char bytes[] = {0x01, 0xAB};
    base.WriteHex(bytes, 2, "hex.txt");
    ASSERT_EQ(2u, writer.m_packets.size());
    EXPECT_EQ("some text", writer.m_packets[0].GetContent());
    EXPECT_EQ("text.txt", writer.m_packets[0].GetFileName());
    EXPECT_EQ("01 AB ", writer.m_packets[1].GetContent());
    EXPECT_EQ("hex.txt", writer.m_packets[1].GetFileName());
}

// Rotation: the file is moved aside once it is larger than the limit after a write.
class LogRotationTest : public LogFolderTest {
protected:
    void SetUp() override
    {
        LogFolderTest::SetUp();
        m_path = m_base + L"Tovrane.txt";
        m_backup = m_base + L"Tovrane.txtbak";
        m_pWriter.reset(new CLogSaveCloseFile(m_base));
    }

    // A file of exactly size bytes, in lines.
    void Prefill(long long size)
    {
        std::string bytes(static_cast<size_t>(size), 'a');
        for (size_t at = 99; at < bytes.size(); at += 100) {
            bytes[at - 1] = '\r';
            bytes[at] = '\n';
        }
        ASSERT_TRUE(WriteFileBytes(m_path, bytes));
    }

    // An entry whose line is exactly 60 bytes.
    static std::string Content60() { return std::string(60 - kStampLength - 2, 'e'); }

    std::wstring m_path;
    std::wstring m_backup;
    std::unique_ptr<CLogSaveCloseFile> m_pWriter;
};

TEST_F(LogRotationTest, LimitIsTheFixedNumber)
{
    EXPECT_EQ(kLimit, CLogSaveCloseFile::kRotateLimit);
}

TEST_F(LogRotationTest, EntryAcrossTheLimitIsWrittenWholeThenMovedAside)
{
    Prefill(6019990);
    m_pWriter->WriteText(Content60(), "Tovrane.txt");
    EXPECT_FALSE(FileExists(m_path));
    ASSERT_EQ(6020050, SizeOf(m_backup));
    std::string backup = ReadFileBytes(m_backup);
    EXPECT_TRUE(IsEntry(backup.substr(backup.size() - 60), Content60()));

    m_pWriter->WriteText("next", "Tovrane.txt");
    std::vector<std::string> lines = Lines(ReadFileBytes(m_path));
    ASSERT_EQ(1u, lines.size());
    EXPECT_TRUE(IsEntry(lines[0], "next"));
    EXPECT_EQ(6020050, SizeOf(m_backup));
}

TEST_F(LogRotationTest, FileOfExactlyTheLimitStays)
{
    Prefill(kLimit - 60);
    m_pWriter->WriteText(Content60(), "Tovrane.txt");
    EXPECT_EQ(kLimit, SizeOf(m_path));
    EXPECT_FALSE(FileExists(m_backup));

    m_pWriter->WriteText(Content60(), "Tovrane.txt");
    EXPECT_FALSE(FileExists(m_path));
    EXPECT_EQ(kLimit + 60, SizeOf(m_backup));
}

TEST_F(LogRotationTest, RotationReplacesAnOldBackup)
{
    ASSERT_TRUE(WriteFileBytes(m_backup, "an old backup"));
    Prefill(6019990);
    m_pWriter->WriteText(Content60(), "Tovrane.txt");
    EXPECT_FALSE(FileExists(m_path));
    EXPECT_EQ(6020050, SizeOf(m_backup));
}

TEST_F(LogRotationTest, FileHeldOpenElsewhereKeepsGrowingUntilItCanMove)
{
    Prefill(6019990);
    // Another program reads the file and does not let it be moved.
    HANDLE reader = CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    m_pWriter->WriteText(Content60(), "Tovrane.txt");
    m_pWriter->WriteText(Content60(), "Tovrane.txt");
    EXPECT_EQ(6020110, SizeOf(m_path));
    EXPECT_FALSE(FileExists(m_backup));
    CloseHandle(reader);

    m_pWriter->WriteText(Content60(), "Tovrane.txt");
    EXPECT_FALSE(FileExists(m_path));
    EXPECT_EQ(6020170, SizeOf(m_backup));
}

// Several threads of one process write to one file at once.
class LogThreadsTest : public LogFolderTest {};

struct ThreadJob {
    CLogSave* log;
    int thread;
};

const int kThreads = 8;
const int kEntriesPerThread = 250;

std::string ThreadEntry(int thread, int entry)
{
    char text[64];
    snprintf(text, sizeof(text), "thread %d entry %04d ", thread, entry);
    return text + std::string(kRepairFailed);
}

DWORD WINAPI WriteEntries(LPVOID param)
{
    auto* job = static_cast<ThreadJob*>(param);
    for (int i = 0; i < kEntriesPerThread; ++i)
        job->log->WriteLog(ThreadEntry(job->thread, i), "Tovrane.txt", true);
    return 0;
}

TEST_F(LogThreadsTest, LinesNeverInterleave)
{
    CLogSave log(m_base);
    ThreadJob jobs[kThreads];
    HANDLE threads[kThreads];
    for (int t = 0; t < kThreads; ++t) {
        jobs[t] = {&log, t};
        threads[t] = CreateThread(nullptr, 0, WriteEntries, &jobs[t], 0, nullptr);
        ASSERT_NE(nullptr, threads[t]);
    }
    WaitForMultipleObjects(kThreads, threads, TRUE, INFINITE);
    for (HANDLE thread : threads)
        CloseHandle(thread);

    std::vector<std::string> lines = Lines(ReadFileBytes(LogDir() + L"Tovrane.txt"));
    ASSERT_EQ(static_cast<size_t>(kThreads * kEntriesPerThread), lines.size());
    int next[kThreads] = {};
    for (const std::string& line : lines) {
        int thread = -1, entry = -1;
        ASSERT_EQ(2, sscanf(line.c_str() + kStampLength, "thread %d entry %d", &thread, &entry))
            << line;
        ASSERT_TRUE(thread >= 0 && thread < kThreads) << line;
        // Each thread's entries arrive whole and in its own order.
        ASSERT_EQ(next[thread], entry) << line;
        ASSERT_TRUE(IsEntry(line, ThreadEntry(thread, entry)));
        ++next[thread];
    }
}

struct PlantCase {
    const char* name;
    bool afterStart;        // planted once the log object has checked its folder
    const wchar_t* link;    // in the base folder; "ToolLog" replaces the real folder
    const wchar_t* target;  // in the folder "outside", which holds a Tovrane.txt and its backup
    bool hard;
    bool fullLog;  // ToolLog\Tovrane.txt is 6,019,990 bytes: the entry is written, then rotated
};

class LogPlantTest : public LogFolderTest, public ::testing::WithParamInterface<PlantCase> {
protected:
    bool Plant(const PlantCase& c)
    {
        std::wstring link = m_base + c.link, target = m_base + L"outside\\" + c.target;
        if (link == m_base + L"ToolLog" && !RemoveDirectoryW(link.c_str()))
            return false;
        if (c.hard)
            return CreateHardLinkW(link.c_str(), target.c_str(), nullptr) != FALSE;
        return MakeSymbolicLink(target, link);
    }
};

TEST_P(LogPlantTest, NothingIsWrittenThroughIt)
{
    const PlantCase& c = GetParam();
    std::wstring outside = m_base + L"outside\\";
    ASSERT_TRUE(CreateDirectoryW((m_base + L"ToolLog").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(outside.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(outside + L"Tovrane.txt", "victim"));
    ASSERT_TRUE(WriteFileBytes(outside + L"Tovrane.txtbak", "old"));
    ASSERT_TRUE(!c.fullLog || WriteFileBytes(LogDir() + L"Tovrane.txt", std::string(6019990, 'a')));

    ASSERT_TRUE(c.afterStart || Plant(c));
    CLogSave log(m_base);
    ASSERT_TRUE(!c.afterStart || Plant(c));
    log.WriteLog("forced", "Tovrane.txt", true);
    log.WriteLog("forced", "new.txt", true);

    EXPECT_EQ("victim", ReadFileBytes(outside + L"Tovrane.txt"));
    EXPECT_EQ("old", ReadFileBytes(outside + L"Tovrane.txtbak"));
    EXPECT_FALSE(FileExists(outside + L"new.txt") || FileExists(outside + L"absent.txt"));
    std::string backup = ReadFileBytes(LogDir() + L"Tovrane.txtbak");
    EXPECT_EQ(c.fullLog, backup.size() > 6019990 && IsEntry(backup.substr(6019990), "forced"));
}

INSTANTIATE_TEST_SUITE_P(
    Plants, LogPlantTest,
    ::testing::Values(
        PlantCase{"FolderLink", false, L"ToolLog", L"", false, false},
        PlantCase{"FolderLinkAfterStart", true, L"ToolLog", L"", false, false},
        PlantCase{"FileLink", false, L"ToolLog\\Tovrane.txt", L"Tovrane.txt", false, false},
        PlantCase{"DanglingFileLink", false, L"ToolLog\\Tovrane.txt", L"absent.txt", false, false},
        PlantCase{"HardLink", false, L"ToolLog\\Tovrane.txt", L"Tovrane.txt", true, false},
        PlantCase{"BackupLink", false, L"ToolLog\\Tovrane.txtbak", L"Tovrane.txtbak", false, true}),
    [](const ::testing::TestParamInfo<PlantCase>& info) { return std::string(info.param.name); });

TEST_F(LogFilesTest, NoBaseFolderNoLogInTheCurrentFolder)
{
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    ASSERT_TRUE(SetCurrentDirectoryW(m_base.c_str()));
    CLogSave(L"").WriteLog("nowhere", "Tovrane.txt", true);
    SetCurrentDirectoryW(current);
    EXPECT_FALSE(FileExists(m_base + L"ToolLog"));
}

TEST(LogFolderOwner, AdministratorsSystemOrTheOwnerOfTheFolderAbove)
{
    const wchar_t* user = L"S-1-5-21-1-2-3-1001";
    struct { const wchar_t* owner; const wchar_t* parentOwner; bool trusted; } cases[] = {
        {L"BA", L"SY", true}, {L"SY", L"SY", true}, {user, L"SY", false}, {L"BU", L"SY", false},
        {user, user, true},   {L"S-1-5-21-1-2-3-1002", user, false}};
    for (const auto& c : cases) {
        PSID owner = nullptr, parent = nullptr;
        ASSERT_TRUE(ConvertStringSidToSidW(c.owner, &owner) && ConvertStringSidToSidW(c.parentOwner, &parent));
        EXPECT_EQ(c.trusted, IsTrustedLogFolderOwner(owner, parent)) << c.owner << L" in " << c.parentOwner;
        LocalFree(owner);
        LocalFree(parent);
    }
}

// Wine keeps no descriptor of its own for a file: it answers from the Unix mode, with the user it
// runs as for owner and for Administrators. What the mode keeps shows: nobody else, nothing
// inherited; the owner, the Users entry and the protection show only on Windows.
TEST_F(LogFilesTest, CreatedFolderCarriesItsOwnDescriptor)
{
    CLogSave log(m_base);
    PSID owner = nullptr, baseOwner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr, baseDescriptor = nullptr;
    ASSERT_EQ(0u, GetNamedSecurityInfoW((m_base + L"ToolLog").c_str(), SE_FILE_OBJECT,
                                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                        &owner, nullptr, &dacl, nullptr, &descriptor));
    ASSERT_EQ(0u, GetNamedSecurityInfoW(m_base.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION,
                                        &baseOwner, nullptr, nullptr, nullptr, &baseDescriptor));
    CLocalSecurityDescriptor hold(descriptor), holdBase(baseDescriptor);
    EXPECT_TRUE(IsTrustedLogFolderOwner(owner, baseOwner));
    ASSERT_TRUE(dacl && dacl->AceCount > 0);
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
        PSID sid = &ace->SidStart;
        EXPECT_FALSE(ace->Header.AceFlags & INHERITED_ACE);
        if (IsWellKnownSid(sid, WinBuiltinUsersSid)) {
            EXPECT_EQ(0u, ace->Mask & ~FILE_GENERIC_READ);
        } else {
            EXPECT_TRUE(IsWellKnownSid(sid, WinLocalSystemSid) || EqualSid(sid, owner) ||
                        IsWellKnownSid(sid, WinBuiltinAdministratorsSid)) << "entry " << i;
        }
    }
}

// The process's own log object, in the all-users application-data folder. The first call
// below is the first one of this process.
TEST(GetLogSave, OneObjectInTheCommonAppDataFolderConfigReadOnce)
{
    wchar_t common[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, common, CSIDL_COMMON_APPDATA, FALSE));
    std::wstring dir = std::wstring(common) + L"\\ToolLog\\";
    CreateDirectoryW((std::wstring(common) + L"\\ToolLog").c_str(), nullptr);
    std::wstring config = dir + L"logCfg.ini";
    bool hadConfig = FileExists(config);
    std::string oldConfig = ReadFileBytes(config);
    ASSERT_TRUE(WriteFileBytes(config, "[Log]\r\nprint=1\r\n"));
    std::wstring file = dir + L"getlogsave-test.txt";
    DeleteFileW(file.c_str());

    CLogSave& log = GetLogSave();
    EXPECT_EQ(&log, &GetLogSave());
    EXPECT_EQ(dir, log.GetLogDir());

    log.WriteLog("ordinary one", "getlogsave-test.txt", false);
    ASSERT_TRUE(WriteFileBytes(config, "[Log]\r\nprint=0\r\n"));
    GetLogSave().WriteLog("ordinary two", "getlogsave-test.txt", false);

    std::vector<std::string> lines = Lines(ReadFileBytes(file));
    ASSERT_EQ(2u, lines.size());
    EXPECT_TRUE(IsEntry(lines[0], "ordinary one"));
    EXPECT_TRUE(IsEntry(lines[1], "ordinary two"));

    DeleteFileW(file.c_str());
    if (hadConfig)
        WriteFileBytes(config, oldConfig);
    else
        DeleteFileW(config.c_str());
}

}  // namespace
