#pragma once
// The main window Form1: one fixed column of controls built from the layout, the routing of its messages
// to the handlers of its controls and popup menu, and its place in the notification area while hidden.

#include "app/application.h"
#include "app/controls.h"
#include "app/single_instance.h"
#include "app/tray_icon.h"
#include "messenger/client.h"
#include "platform/handles.h"
#include "platform/window.h"

#include <windows.h>

namespace app {

class TForm1 : public platform::Window<TForm1> {
public:
    explicit TForm1(Application& application);
    ~TForm1();

    // Creates the window and its controls; FormCreate runs inside. The window is not shown yet.
    bool Create();
    void Show();

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

    // What the tests look at, read only: the window's parts.
    HWND Control(ControlId id) const { return m_controls[id]; }
    const Controls& Parts() const { return m_controls; }
    const TrayIcon& Tray() const { return m_tray; }
    const messenger::Client& Client() const { return m_client; }

private:
    friend class platform::Window<TForm1>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColorText(UINT message, HDC dc, HWND control);
    bool OnSetCursor(HWND control) const;
    void OnActivate(WPARAM state);
    void TrackPopupMenuAtCursor();
    void ShowCurrentValues();
    void ShowWriteFailure();
    void ApplyEntryFrom(ControlId source, messenger::Entry kind);

    Application& m_app;
    platform::UniqueIcon m_icon;  // the class's and the notification area's
    platform::WindowClass m_class;
    int m_dpi = 96;
    HWND m_lastFocus = nullptr;
    Controls m_controls;
    TrayIcon m_tray;
    InstanceHook m_instanceHook;
    messenger::Client m_client;
};

}  // namespace app
