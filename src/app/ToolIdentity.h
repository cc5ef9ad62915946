// Who this tool is to the maker's feedback service; the version is also shown on the panel.
#pragma once

#include "feedback/FeedbackDll.h"

inline constexpr wchar_t TOOL_ID[] = L"10056";
inline constexpr wchar_t TOOL_VERSION[] = L"1.0.4";
inline constexpr ToolIdentity CORVINA_TOOL{TOOL_ID, TOOL_VERSION};
