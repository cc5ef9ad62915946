// Addresses of the maker's knowledge base. The host is chosen when the program is built.
#pragma once

#ifndef CORVINA_KB_HOST
#error "CORVINA_KB_HOST must name the knowledge-base host (set by the build)"
#endif

// The article opened by the panel's "more tools" button.
inline constexpr wchar_t KB_ARTICLE_URL[] = L"https://" CORVINA_KB_HOST L"/detail/dc_172545.html";
// The home page opened by the feedback dialog's "more solutions" button.
inline constexpr wchar_t KB_HOME_URL[] = L"https://" CORVINA_KB_HOST L"/";
