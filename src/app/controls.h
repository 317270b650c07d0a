#pragma once
// The main window's controls and what they are drawn with: every control of the layout by its id, the
// window's fonts, the edit fields' brush, the pictures, the image list of the language list's flags with
// Image2's flag drawn from it, the hints and the popup menu TntPopupMenu1.

#include "app/hints.h"
#include "app/language_flag.h"
#include "app/layout.h"
#include "platform/handles.h"

#include <windows.h>

#include <array>
#include <string>

namespace app {

inline constexpr COLORREF kEditBackground = RGB(0, 0, 0);  // behind the two edit fields' yellow and aqua

class Controls {
public:
    // The fonts, pictures, hint control and popup menu, then every control of the layout in `parent` at
    // `dpi`, then the labels' texts and the two lists' items. The text stores are left empty.
    void Create(HWND parent, HINSTANCE instance, int dpi);
    // The hint tools, once the lists are filled (see controls.cpp), and the labels' hints.
    void AddHints();
    // The handles went with the window.
    void Forget() { m_handles.fill(nullptr); }

    HWND operator[](ControlId id) const;
    HMENU PopupMenu() const { return m_popupMenu.get(); }
    HIMAGELIST Images() const { return m_images.get(); }
    HBITMAP FlagPicture() const { return m_flag.Bitmap(); }

    std::wstring Hint(ControlId id) const { return m_hints.Get((*this)[id]); }
    void SetHint(ControlId id, const std::wstring& text, i18n::ReadingOrder order = i18n::ReadingOrder::LeftToRight);
    // The tooltip's notifications, which the window passes on.
    LRESULT OnNotify(NMHDR& header) const;

    // Wipes Image2's picture and draws flag `index` into it.
    void ShowFlag(int index);

    // Drawing (painting.cpp): the owner-drawn pictures and separator bars, and the edit fields' colours;
    // no brush for any other edit control, which draws as the system does.
    void Draw(const DRAWITEMSTRUCT& item) const;
    HBRUSH ColourEdit(HDC dc, HWND edit) const;

private:
    HWND Create(HWND parent, HINSTANCE instance, const ControlLayout& control) const;
    HFONT FontOf(ControlFont font) const;
    void CreatePopupMenu();
    void FillLists();

    std::array<HWND, kControlCount> m_handles{};  // by id, from kFirstControlId: asking the system by id costs a server request
    int m_dpi = 96;
    platform::UniqueFont m_windowFont;
    platform::UniqueFont m_edit1Font;
    platform::UniqueFont m_edit2Font;
    platform::UniqueBrush m_editBrush;
    platform::UniqueIcon m_helpIcon;
    platform::UniqueBitmap m_globe;
    platform::UniqueImageList m_images;  // ImageList1
    LanguageFlag m_flag;                 // Image2's picture
    platform::UniqueMenu m_popupMenu;    // TntPopupMenu1
    Hints m_hints;
};

}  // namespace app
