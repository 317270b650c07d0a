#include "app/layout.h"

#include <array>

namespace app {
namespace {

using enum ControlKind;
using enum ControlFont;

constexpr ControlLayout Store(int index) {
    return {static_cast<ControlId>(kTntComboBox2 + index), "TntComboBox", TextStore, {0}, {208}, {17}, {23}};
}

template <size_t... I>
constexpr auto MakeLayout(std::index_sequence<I...>) {
    return std::array<ControlLayout, 19 + sizeof...(I)>{{
        {kLabel3, "Label3", AnsiLabel, {56}, {376}, {60}, {15}, Window, true},
        {kLabel5, "Label5", AnsiLabel, {116}, {376}, {127}, {15}, Window, true},
        {kImage2, "Image2", Image, {16}, {328}, {25}, {17}, Window, true},
        {kTntImage1, "TntImage1", Image, {8}, {360}, {33}, {33}, Window, true},
        {kTntImage2, "TntImage2", Image, {200}, {328}, {25}, {33}},
        {kPanel1, "Panel1", Panel, {0}, {96}, {241}, {9}},
        {kPanel2, "Panel2", Panel, {0}, {312}, {241}, {9}},
        {kPanel3, "Panel3", Panel, {1}, {192}, {240}, {9}},
        {kPanel4, "Panel4", Panel, {0}, {264}, {241}, {9}},
        {kComboBox2, "ComboBox2", AnsiDropDown, {40}, {328}, {145}, {23}},
        {kTntButton1, "TntButton1", Button, {0}, {64}, {241}, {25}, Window, true},
        {kTntButton2, "TntButton2", Button, {0}, {280}, {241}, {25}, Window, true},
        {kTntButton3, "TntButton3", Button, {0}, {160}, {241}, {25}, Window, true},
        // A screen reader names a field by the text just before it in this order: each prompt comes
        // directly before its field. Labels take no focus, so they leave the Tab order alone.
        {kTntLabel1, "TntLabel1", Label, {0}, {0}, {243}, {15}},
        {kTntEdit1, "TntEdit1", Edit, {0}, {16}, {241}, {41}, Edit1, true},
        {kTntLabel2, "TntLabel2", Label, {3}, {112}, {240}, {15}},
        {kTntEdit2, "TntEdit2", Edit, {0}, {128}, {241}, {29}, Edit2, true},
        {kTntLabel4, "TntLabel4", Label, {3}, {208}, {240}, {15}},
        {kTntComboBox1, "TntComboBox1", DropDown, {64}, {232}, {121}, {23}, Window, true},
        Store(I)...,
    }};
}

constexpr auto kLayout = MakeLayout(std::make_index_sequence<i18n::kTextStoreCount>{});

}  // namespace

std::span<const ControlLayout> MainWindowLayout() { return kLayout; }

int Scale(Px96 length, int dpi) {
    // Rounded to the nearest pixel, as MulDiv does.
    const long long scaled = static_cast<long long>(length.value) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96));
}

}  // namespace app
