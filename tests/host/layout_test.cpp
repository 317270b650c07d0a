// The layout table and its scaling to the system's resolution.

#include "app/layout.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace app;

TEST(Layout, ScaleRoundsToNearestPixel) {
    const struct {
        int px96, dpi, scaled;
    } rows[] = {{243, 96, 243}, {243, 120, 304}, {243, 144, 365}, {11, 120, 14}, {9, 144, 14}, {0, 144, 0}, {1, 120, 1}, {2, 120, 3}};
    for (const auto& row : rows) EXPECT_EQ(Scale(Px96{row.px96}, row.dpi), row.scaled) << row.px96 << " at " << row.dpi;
}

TEST(Layout, EveryControlOnceInsideTheClientArea) {
    std::set<int> ids;
    int stores = 0;
    for (const ControlLayout& control : MainWindowLayout()) {
        EXPECT_TRUE(ids.insert(control.id).second) << control.name;
        EXPECT_GE(control.left.value, 0) << control.name;
        EXPECT_LE(control.left.value + control.width.value, kClientWidth.value) << control.name;
        EXPECT_LE(control.top.value + control.height.value, kClientHeight.value) << control.name;
        EXPECT_NE(control.id, 1) << "Enter would click it";
        EXPECT_NE(control.id, 2) << "Escape would click it";
        stores += control.kind == ControlKind::TextStore;
    }
    EXPECT_EQ(stores, 27);
    EXPECT_EQ(MainWindowLayout().size(), 19u + 27u);
}

}  // namespace
