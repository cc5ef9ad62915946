// Where the panel's controls go, from the panel's client rectangle and the display scale.
#pragma once

#include <windows.h>

struct LumbraLayout {
    RECT close;
    RECT minimize;
    RECT version;
    RECT repair;
    RECT moreTools;
    RECT moreToolsBackdrop;  // source rectangle in the panel image behind the more-tools button
    RECT agree;
    RECT agreementLink;
    RECT feedbackLink;
    int repairHotMargin;
};

// agreeUnit: the width of "同意《Halvex服务工具使用许可协议》" in the dialog font divided by
// 14 (integer division); feedbackWidth: the width of "反馈问题".
LumbraLayout ComputeLumbraLayout(const RECT& client, float scale, int agreeUnit, int feedbackWidth);

// The same for the panel window: its client rectangle, and the two texts measured in the
// frame's font (the panel's own dialog font) on the panel's device context.
LumbraLayout LayoutForPanel(HWND panel, float scale);
