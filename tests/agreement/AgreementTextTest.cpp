// The agreement's pieces and their structure: title, notice, six sections of clauses and items.
#include "dialogs/AgreementText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::wstring kCrLf = L"\r\n";
const std::wstring kIndent = L"    ";

bool EndsWithCrLf(const std::wstring& s)
{
    return s.size() >= 2 && s.compare(s.size() - 2, 2, kCrLf) == 0;
}

// The text of a piece without its line end.
std::wstring Body(const std::wstring& piece)
{
    return EndsWithCrLf(piece) ? piece.substr(0, piece.size() - 2) : piece;
}

// What each section holds after its heading: clause numbers and item letters, in order.
struct Section {
    std::wstring numeral;
    std::vector<std::wstring> labels;
};

std::vector<std::wstring> Numbers(int from, int to)
{
    std::vector<std::wstring> labels;
    for (int i = from; i <= to; ++i)
        labels.push_back(std::to_wstring(i));
    return labels;
}

std::vector<std::wstring> Letters(wchar_t from, wchar_t to)
{
    std::vector<std::wstring> labels;
    for (wchar_t c = from; c <= to; ++c)
        labels.push_back(std::wstring(1, c));
    return labels;
}

std::vector<std::wstring> Join(std::initializer_list<std::vector<std::wstring>> parts)
{
    std::vector<std::wstring> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<Section>& ExpectedSections()
{
    static const std::vector<Section> sections{
        {L"一", Numbers(1, 2)},
        {L"二", Numbers(1, 2)},
        {L"三", Join({{L"1"}, Letters(L'A', L'G'), Numbers(2, 6)})},
        {L"四", Join({Numbers(1, 2), {L"3"}, Letters(L'A', L'C'), {L"4"}, Letters(L'A', L'E'), {L"5"},
                      Letters(L'A', L'D'), Numbers(6, 7)})},
        {L"五", Numbers(1, 7)},
        {L"六", Numbers(1, 2)},
    };
    return sections;
}

TEST(AgreementText, HasSixtyThreePiecesEachOneLine)
{
    const auto& pieces = AgreementPieces();
    ASSERT_EQ(63u, pieces.size());
    for (size_t i = 0; i < pieces.size(); ++i) {
        const std::wstring body = Body(pieces[i]);
        EXPECT_EQ(std::wstring::npos, body.find_first_of(L"\r\n")) << i;
        if (i + 1 < pieces.size()) {
            EXPECT_TRUE(EndsWithCrLf(pieces[i])) << i;
        }
    }
    EXPECT_FALSE(EndsWithCrLf(pieces.back()));
    EXPECT_NE(L'\n', pieces.back().back());

    std::wstring joined;
    for (const auto& piece : pieces)
        joined += piece;
    EXPECT_EQ(joined, BuildAgreementText());
}

TEST(AgreementText, OpensWithTheTitleOfTheLinkAndTheImportantNotice)
{
    const auto& pieces = AgreementPieces();
    ASSERT_GE(pieces.size(), 6u);
    // The panel's link shows the same title in 《》 brackets.
    const std::wstring link = L"《Halvex服务工具使用许可协议》";
    EXPECT_EQ(link.substr(1, link.size() - 2) + kCrLf, pieces[0]);
    EXPECT_EQ(std::wstring(kAgreementTitle) + kCrLf, pieces[0]);
    EXPECT_EQ(kCrLf, pieces[1]);
    EXPECT_EQ(L"重要提示" + kCrLf, pieces[2]);
    for (size_t i = 3; i < 6; ++i) {
        const std::wstring body = Body(pieces[i]);
        ASSERT_GT(body.size(), 8u) << i;
        EXPECT_EQ(kIndent, body.substr(0, 4)) << i;
        EXPECT_NE(L' ', body[4]) << i;
        EXPECT_FALSE(iswdigit(body[4]) && body[5] == L'.') << i;  // a paragraph, not a clause
    }
}

TEST(AgreementText, SectionsHoldTheirClausesAndItemsInOrder)
{
    const auto& pieces = AgreementPieces();
    size_t at = 6;
    for (const Section& section : ExpectedSections()) {
        ASSERT_LT(at + 1, pieces.size());
        EXPECT_EQ(kCrLf, pieces[at]) << "an empty line before section " << at;
        const std::wstring heading = Body(pieces[at + 1]);
        const std::wstring prefix = section.numeral + L". ";
        ASSERT_GT(heading.size(), prefix.size());
        EXPECT_EQ(prefix, heading.substr(0, prefix.size())) << at;
        EXPECT_NE(L' ', heading[prefix.size()]);
        at += 2;
        for (const std::wstring& label : section.labels) {
            ASSERT_LT(at, pieces.size());
            const std::wstring body = Body(pieces[at]);
            const std::wstring start = kIndent + label + L".";
            ASSERT_GT(body.size(), start.size()) << at;
            EXPECT_EQ(start, body.substr(0, start.size())) << "piece " << at;
            EXPECT_NE(L' ', body[start.size()]) << "no space after the label, piece " << at;
            ++at;
        }
    }
    EXPECT_EQ(pieces.size(), at);
}

}  // namespace

TEST(AgreementText, TellsThatOnlyTheToolsOwnFilesAndAnEmptyFolderAreRemoved)
{
    const std::wstring text = BuildAgreementText();
    EXPECT_EQ(std::wstring::npos, text.find(L"删除它所在的文件夹。")) << "the whole folder is not removed";
    EXPECT_NE(std::wstring::npos, text.find(L"本工具会删除它自带的文件；如果它所在的文件夹因此变空，也会删除这个文件夹。"));
    EXPECT_NE(std::wstring::npos, text.find(L"您放在这个文件夹中的其他文件不会被删除。"));
}
