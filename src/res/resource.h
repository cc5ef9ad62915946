// Resource ids of the program: dialog templates, controls, images, strings, menu commands.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX                 100
#define IDD_CORVINA_DIALOG           102
#define IDD_EXECUTE_PROMPT_CHILD     129
#define IDD_EXECUTE_PROMPT           130
#define IDD_FEEDBACK_CHILD           131
#define IDD_FEEDBACK                 132
#define IDD_PROMPT_CHILD             133
#define IDD_PROMPT                   134
#define IDD_TOOLTIP_CHILD            135
#define IDD_TOOLTIP                  136
#define IDD_LUMBRA_DIALOG            137

// Icon, strings, system menu
#define IDR_MAINFRAME                128
#define IDS_ABOUTBOX                 101
#define IDM_ABOUTBOX                 0x0010

// PNG images (resource type "PNG")
#define IDB_MAIN_BACKGROUND          138
#define IDB_MAIN_PANEL               139
#define IDB_CHECKBOX                 140
#define IDB_MAIN_CLOSE_NORMAL        141
#define IDB_MAIN_CLOSE_HOVER         142
#define IDB_MAIN_CLOSE_PRESSED       143
#define IDB_MAIN_CLOSE_DISABLED      144
#define IDB_PROGRESS_BACKGROUND      145
#define IDB_PROGRESS_PANEL           146
#define IDB_MAIN_MIN_NORMAL          147
#define IDB_MAIN_MIN_HOVER           148
#define IDB_MAIN_MIN_PRESSED         149
#define IDB_MAIN_MIN_DISABLED        150
#define IDB_REPAIR_NORMAL            151
#define IDB_REPAIR_HOVER             152
#define IDB_REPAIR_PRESSED           153
#define IDB_REPAIR_DISABLED          154
#define IDB_PROMPT_BACKGROUND        155
#define IDB_PROMPT_PANEL             156
#define IDB_PROMPT_CANCEL_NORMAL     157
#define IDB_PROMPT_CANCEL_HOVER      158
#define IDB_PROMPT_CANCEL_PRESSED    159
#define IDB_PROMPT_CLOSE_NORMAL      160
#define IDB_PROMPT_CLOSE_HOVER       161
#define IDB_PROMPT_CLOSE_PRESSED     162
#define IDB_PROMPT_NO_NORMAL         163
#define IDB_PROMPT_NO_HOVER          164
#define IDB_PROMPT_NO_PRESSED        165
#define IDB_PROMPT_CONFIRM_NORMAL    166
#define IDB_PROMPT_CONFIRM_HOVER     167
#define IDB_PROMPT_CONFIRM_PRESSED   168
#define IDB_PROMPT_YES_NORMAL        169
#define IDB_PROMPT_YES_HOVER         170
#define IDB_PROMPT_YES_PRESSED       171
#define IDB_FEEDBACK_BACKGROUND      172
#define IDB_FEEDBACK_PANEL           173
#define IDB_FEEDBACK_CLOSE_NORMAL    174
#define IDB_FEEDBACK_CLOSE_HOVER     175
#define IDB_FEEDBACK_CLOSE_PRESSED   176
#define IDB_FEEDBACK_CLOSE_DISABLED  177
#define IDB_SKIN_SCROLLBAR           178   // an ordinary bitmap, not a PNG
#define IDB_SOLVED_NORMAL            179
#define IDB_SOLVED_HOVER             180
#define IDB_SOLVED_PRESSED           181
#define IDB_SOLVED_DISABLED          182
#define IDB_TOOLTIP_BUBBLE           183
#define IDB_UNSOLVED_NORMAL          184
#define IDB_UNSOLVED_HOVER           185
#define IDB_UNSOLVED_PRESSED         186
#define IDB_UNSOLVED_DISABLED        187
#define IDB_MORE_PLANS_NORMAL        188
#define IDB_MORE_PLANS_HOVER         189
#define IDB_MORE_PLANS_PRESSED       190
#define IDB_MORE_PLANS_DISABLED      191
#define IDB_MORE_TOOLS_NORMAL        192
#define IDB_MORE_TOOLS_HOVER         193
#define IDB_MORE_TOOLS_PRESSED       194
#define IDB_MORE_TOOLS_DISABLED      195

// Controls
#define IDC_STATIC_PROGRESS_TEXT     1000
#define IDC_BTN_FEEDBACK_CLOSE       1001
#define IDC_BTN_SOLVED               1002
#define IDC_BTN_UNSOLVED             1003
#define IDC_BTN_CLOSE                1004
#define IDC_STATIC_PROMPT_TEXT       1005
#define IDC_BTN_OK                   1006
#define IDC_BTN_CANCEL               1007
#define IDC_RICHEDIT_AGREEMENT       1008
#define IDC_BTN_MINIMIZE             1010
#define IDC_STATIC_VERSION           1011
#define IDC_CHECK_AGREE              1012
#define IDC_BTN_REPAIR               1013
#define IDC_STATIC_AGREEMENT_LINK    1014
#define IDC_STATIC_FEEDBACK_LINK     1015
#define IDC_BTN_MORE_PLANS           1016
#define IDC_BTN_MORE_TOOLS           1017
