#include "app/LumbraLayout.h"

#include "skin/SkinScale.h"
#include "skin/TextMeasure.h"

LumbraLayout ComputeLumbraLayout(const RECT& R, float scale, int n, int v)
{
    const double s = scale;
    const int W = R.right - R.left;
    const int H = R.bottom - R.top;
    LumbraLayout out{};

    int l = Truncated(R.right - 31.2 * s);
    out.close = RECT{l, R.top, Truncated(l + 26 * s), Truncated(R.top + 34 * s)};

    l = Truncated(R.right - 59.8 * s);
    out.minimize = RECT{l, R.top, Truncated(l + 26 * s), Truncated(R.top + 34 * s)};

    l = R.left + Scaled(188, scale);
    int t = R.top + Scaled(16, scale);
    out.version = RECT{l, t, l + Scaled(40, scale), t + Scaled(15, scale)};

    // Only the scale-1 client is 400 wide or less; there both forms agree.
    if (W > 400) {
        l = R.left + Truncated(400 * s / 2 - 284 * s / 2);
        t = R.top + Truncated(600 * s / 2 - 60 * s);
        out.repair = RECT{l, t, l + Scaled(284, scale), t + Scaled(85, scale)};
        out.repairHotMargin = Scaled(19, scale);

        l = R.left + Scaled(45, scale);
        t = R.bottom - Scaled(60, scale);
        out.moreTools = RECT{l, t, l + Scaled(58, scale), t + Scaled(18, scale)};
        out.moreToolsBackdrop = RECT{45, 540, 103, 558};
    } else {
        l = R.left + W / 2 - 142;
        t = R.top + H / 2 - 60;
        out.repair = RECT{l, t, l + 284, t + 85};
        out.repairHotMargin = 19;

        l = R.left + 45;
        t = R.bottom - 60;
        out.moreTools = RECT{l, t, l + 58, t + 18};
        out.moreToolsBackdrop = out.moreTools;
    }

    l = Scaled(8, scale);
    t = Truncated(R.bottom - 25 * s);
    out.agree = RECT{l, t, Truncated(l + 16 * s + 2 * n + 2), Truncated(t + 20 * s)};

    l = out.agree.right + 6;
    out.agreementLink = RECT{l, t, l + 14 * n, Truncated(t + 20 * s)};

    int w2 = Truncated(v + 4 * s + 2 + 6);
    l = R.right - w2 - 6;
    out.feedbackLink = RECT{l, t, l + w2, Truncated(t + 20 * s)};
    return out;
}

LumbraLayout LayoutForPanel(HWND panel, float scale)
{
    RECT client{};
    ::GetClientRect(panel, &client);
    int agreeUnit = 0;
    int feedbackWidth = 0;
    if (HDC dc = ::GetDC(panel)) {
        HWND frame = ::GetParent(panel);
        agreeUnit = MeasureTextWidth(frame, dc, L"同意《Halvex服务工具使用许可协议》") / 14;
        feedbackWidth = MeasureTextWidth(frame, dc, L"反馈问题");
        ::ReleaseDC(panel, dc);
    }
    return ComputeLumbraLayout(client, scale, agreeUnit, feedbackWidth);
}
