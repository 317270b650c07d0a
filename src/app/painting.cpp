// The controls' own drawing: the owner-drawn pictures and separator bars, and the colours of the edit fields.

#include "app/controls.h"

#include <algorithm>

namespace app {
namespace {

constexpr COLORREF kEdit1Text = RGB(255, 255, 0);  // yellow
constexpr COLORREF kEdit2Text = RGB(0, 255, 255);  // aqua

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// Draws a bitmap at the box's top-left, leaving out every pixel of the colour of its bottom-left pixel.
// A bitmap larger than the box is shrunk in proportion when `shrink` is set, otherwise cut to the box.
void DrawTransparent(HDC target, const RECT& box, HBITMAP bitmap, bool shrink) {
    const SIZE size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0) return;
    const platform::UniqueDc source(CreateCompatibleDC(target));
    const HGDIOBJ previous = SelectObject(source.get(), bitmap);
    const COLORREF transparent = GetPixel(source.get(), 0, size.cy - 1);
    const int boxWidth = box.right - box.left;
    const int boxHeight = box.bottom - box.top;
    int width = size.cx;
    int height = size.cy;
    int sourceWidth = size.cx;
    int sourceHeight = size.cy;
    if (shrink && (width > boxWidth || height > boxHeight)) {
        const bool byWidth = static_cast<long long>(boxWidth) * size.cy <= static_cast<long long>(boxHeight) * size.cx;
        width = byWidth ? boxWidth : MulDiv(size.cx, boxHeight, size.cy);
        height = byWidth ? MulDiv(size.cy, boxWidth, size.cx) : boxHeight;
    } else if (!shrink) {
        width = sourceWidth = std::min<int>(size.cx, boxWidth);
        height = sourceHeight = std::min<int>(size.cy, boxHeight);
    }
    GdiTransparentBlt(target, box.left, box.top, width, height, source.get(), 0, 0, sourceWidth, sourceHeight, transparent);
    SelectObject(source.get(), previous);
}

// Two lowered bevels, the outer at the edge and the inner just inside it.
void DrawPanel(HDC dc, const RECT& box) {
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    RECT edge = box;
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&edge, -1, -1);
    DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
}

}  // namespace

void Controls::Draw(const DRAWITEMSTRUCT& item) const {
    const HDC dc = item.hDC;
    const RECT& box = item.rcItem;
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    switch (item.CtlID) {
        case kImage2: if (m_flag.Bitmap()) DrawTransparent(dc, box, m_flag.Bitmap(), true); break;
        case kTntImage1: DrawIconEx(dc, box.left, box.top, m_helpIcon.get(), 0, 0, 0, nullptr, DI_NORMAL); break;
        case kTntImage2: DrawTransparent(dc, box, m_globe.get(), false); break;
        default: DrawPanel(dc, box); break;
    }
}

HBRUSH Controls::ColourEdit(HDC dc, HWND edit) const {
    // Combo boxes ask too: only the two edit fields are yellow and aqua on black.
    if (edit != (*this)[kTntEdit1] && edit != (*this)[kTntEdit2]) return nullptr;
    SetTextColor(dc, edit == (*this)[kTntEdit1] ? kEdit1Text : kEdit2Text);
    SetBkColor(dc, kEditBackground);
    return m_editBrush.get();
}

}  // namespace app
