// The main window's own drawing: the owner-drawn pictures and separator bars, the colours of the edit
// fields, the reading order handed to the labels and buttons, and the inner border around the client area.

#include "app/main_window.h"

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

void TForm1::OnDrawItem(const DRAWITEMSTRUCT& item) {
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

LRESULT TForm1::OnCtlColorEdit(HDC dc, HWND edit) {
    // Combo boxes ask too: only the two edit fields are yellow and aqua on black.
    if (edit != Control(kTntEdit1) && edit != Control(kTntEdit2))
        return DefWindowProcW(m_handle, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
    SetTextColor(dc, edit == Control(kTntEdit1) ? kEdit1Text : kEdit2Text);
    SetBkColor(dc, kEditBackground);
    return reinterpret_cast<LRESULT>(m_editBrush.get());
}

LRESULT TForm1::OnCtlColorText(UINT message, HDC dc, HWND control) {
    // Wine's labels and buttons draw without reading WS_EX_RTLREADING; the DC's text alignment carries
    // the control's reading order to them.
    const bool rightToLeft = (GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
    const UINT align = GetTextAlign(dc);
    SetTextAlign(dc, rightToLeft ? align | TA_RTLREADING : align & ~TA_RTLREADING);
    return DefWindowProcW(m_handle, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

LRESULT TForm1::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    // The inner border of the window lies outside its client area.
    const LRESULT result = DefWindowProcW(m_handle, WM_NCCALCSIZE, wParam, lParam);
    auto* client = reinterpret_cast<RECT*>(lParam);
    const int border = Scale(kInnerBorder, m_dpi);
    InflateRect(client, -border, -border);
    return result;
}

LRESULT TForm1::OnNcPaint(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcW(m_handle, WM_NCPAINT, wParam, lParam);
    RECT window;
    GetWindowRect(m_handle, &window);
    RECT client;
    GetClientRect(m_handle, &client);
    MapWindowPoints(m_handle, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    RECT ring = client;
    const int border = Scale(kInnerBorder, m_dpi);
    InflateRect(&ring, border, border);
    const HDC dc = GetWindowDC(m_handle);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    FillRect(dc, &ring, GetSysColorBrush(COLOR_BTNFACE));
    ReleaseDC(m_handle, dc);
    return result;
}

}  // namespace app
