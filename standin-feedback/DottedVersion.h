// Comparison of version texts made of dot-separated decimal numbers ("1.0.10").
#pragma once

// Sets *order below, at or above zero as a is older than, equal to or newer than b.
// Missing trailing numbers count as 0 ("1.0" equals "1.0.0"). Numbers of any length compare
// by value. False, leaving *order alone, when either text is not such a version.
bool CompareDottedVersions(const wchar_t* a, const wchar_t* b, int* order);
