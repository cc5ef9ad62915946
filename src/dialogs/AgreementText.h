// The tool's user agreement, kept as the list of pieces it is assembled from: every heading,
// paragraph, clause, item and empty line is one piece, each ending with CR LF except the last.
#pragma once

#include <string>
#include <vector>

// The agreement's title, as the panel's agreement link shows it without its brackets.
extern const wchar_t kAgreementTitle[];

const std::vector<std::wstring>& AgreementPieces();

// All pieces appended one after another.
std::wstring BuildAgreementText();
