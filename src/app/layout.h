#pragma once
// The main window's layout: every control once, in 96-dpi pixels, in creation (and tab) order.

#include "i18n/catalogue.h"

#include <span>

namespace app {

enum ControlId : int {
    // Ids 1 and 2 stay unused: the dialog manager turns Enter and Escape into commands for them.
    kLabel3 = 100,
    kLabel5,
    kImage2,
    kTntLabel1,
    kTntLabel2,
    kTntLabel4,
    kTntImage1,
    kTntImage2,
    kPanel1,
    kPanel2,
    kPanel3,
    kPanel4,
    kComboBox2,
    kTntButton1,
    kTntButton2,
    kTntButton3,
    kTntEdit1,
    kTntEdit2,
    kTntComboBox1,
    kTntComboBox2,  // first of the 27 hidden text stores, one for each set the catalogue keeps in a store
    kTntComboBox28 = kTntComboBox2 + i18n::kTextStoreCount - 1,
};

inline constexpr int kFirstControlId = kLabel3;
inline constexpr int kControlCount = kTntComboBox28 - kFirstControlId + 1;

// Menu item ids of the popup menu.
enum MenuId : int { kAbrir2 = 200, kMSNValues1, kCreditos1, kCerrar2 };

enum class ControlKind {
    Label,           // wide static text
    AnsiLabel,       // 8-bit static text, clickable, with a hint
    Image,           // owner-drawn picture box
    Panel,           // separator bar
    AnsiDropDown,    // 8-bit drop-down list
    Button,          // wide push button
    Edit,            // wide single-line edit
    DropDown,        // wide drop-down list
    TextStore,       // hidden combo box holding one language's texts
};

enum class ControlFont { Window, Edit1, Edit2 };  // the window's face at 11, 24 and 16 pixels

struct Px96 {
    int value;  // pixels at 96 dpi
};

struct ControlLayout {
    ControlId id;
    const char* name;
    ControlKind kind;
    Px96 left, top, width, height;  // a label's width is the room it may take, up to the window's right edge
    ControlFont font = ControlFont::Window;
    bool hint = false;  // shows a tooltip (possibly empty)
};

inline constexpr Px96 kClientWidth{243};
inline constexpr Px96 kClientHeight{393};
inline constexpr Px96 kInnerBorder{4};
inline constexpr int kWindowLeft = 251;  // screen position, as designed
inline constexpr int kWindowTop = 63;
inline constexpr Px96 kItemHeight{15};

std::span<const ControlLayout> MainWindowLayout();

// Pixels at 96 dpi to pixels at the system's resolution.
int Scale(Px96 length, int dpi);

}  // namespace app
