#pragma once
// The main window Form1: one fixed column of controls built from the layout, the handlers of its
// controls and popup menu, and its place in the notification area while hidden.

#include "app/application.h"
#include "app/language_flag.h"
#include "app/hints.h"
#include "app/layout.h"
#include "i18n/apply.h"
#include "messenger/editor.h"
#include "platform/handles.h"

#include <shellapi.h>
#include <windows.h>

#include <string>
#include <vector>

namespace app {

inline constexpr UINT WM_TRAYICON = WM_USER + 1;
inline constexpr UINT kTrayIconId = 105;
inline constexpr COLORREF kEditBackground = RGB(0, 0, 0);  // behind the two edit fields' yellow and aqua

class TForm1 {
public:
    explicit TForm1(Application& application);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Creates the window and its controls; FormCreate runs inside. The window is not shown yet.
    bool Create();
    void Show();

    HWND Handle() const { return m_handle; }
    HWND Control(ControlId id) const;
    HMENU PopupMenu() const { return m_popupMenu.get(); }
    HIMAGELIST Images() const { return m_images.get(); }
    HBITMAP FlagPicture() const { return m_flag.Bitmap(); }
    std::wstring Hint(ControlId id) const { return m_hints.Get(Control(id)); }
    const NOTIFYICONDATAA& TrayIcon() const { return TrayIconData; }

    // Events of the window.
    void FormCreate();
    void FormClose();
    void FormDestroy();
    void FormSysCommand(WPARAM command, LPARAM lParam);
    void TrayIconNotify(LPARAM mouseMessage);

    // Events of the controls and of the popup menu.
    void TntButton1Click();
    void TntButton2Click();
    void TntButton3Click();
    void TntComboBox1Change();
    void ComboBox2Click();
    void Image2Click();
    void TntImage1Click();
    void TntImage2Click();
    void Label3Click();
    void Label5Click();
    void Abrir2Click();
    void MSNValues1Click();
    void Creditos1Click();
    void Cerrar2Click();

    void ShowLanguageFlag(int index);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    HWND CreateControl(const ControlLayout& control);
    HFONT FontOf(ControlFont font) const;
    void AddHints();
    void CreatePopupMenu();
    i18n::TextTargets TextTargets();
    void ShowCurrentValues();
    void ShowWriteFailure();
    void ApplyEntryFrom(ControlId source, messenger::Entry kind);
    std::wstring WideText(ControlId id) const;

    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    LRESULT OnCtlColorEdit(HDC dc, HWND edit);
    LRESULT OnCtlColorText(UINT message, HDC dc, HWND control);
    LRESULT OnNotify(NMHDR& header);
    bool OnSetCursor(HWND control);
    void OnActivate(WPARAM state);
    void OnWindowPosChanged(const WINDOWPOS& position);
    void OnTaskbarCreated();
    void TrackPopupMenuAtCursor();


    Application& m_app;
    HWND m_handle = nullptr;
    std::vector<HWND> m_controls;  // in layout order: asking the system by id costs a server request each time
    int m_dpi = 96;
    HWND m_lastFocus = nullptr;
    UINT m_taskbarCreated = 0;

    platform::UniqueFont m_windowFont;
    platform::UniqueFont m_edit1Font;
    platform::UniqueFont m_edit2Font;
    platform::UniqueBrush m_editBrush;
    platform::UniqueIcon m_icon;
    platform::UniqueIcon m_helpIcon;
    platform::UniqueBitmap m_globe;
    platform::UniqueImageList m_images;  // ImageList1
    LanguageFlag m_flag;                 // Image2's picture
    platform::UniqueMenu m_popupMenu;    // TntPopupMenu1
    Hints m_hints;

    NOTIFYICONDATAA TrayIconData{};
};

}  // namespace app
