#pragma once
// Owners for the system's handles: one owner per handle, moved but never copied.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

namespace platform {

template <typename Handle, auto Release>
struct HandleReleaser {
    void operator()(Handle handle) const noexcept { Release(handle); }
};

template <typename Handle, auto Release>
using UniqueOf = std::unique_ptr<std::remove_pointer_t<Handle>, HandleReleaser<Handle, Release>>;

using UniqueHandle = UniqueOf<HANDLE, &CloseHandle>;
using UniqueKey = UniqueOf<HKEY, &RegCloseKey>;
using UniqueFont = UniqueOf<HFONT, &DeleteObject>;
using UniqueBrush = UniqueOf<HBRUSH, &DeleteObject>;
using UniqueBitmap = UniqueOf<HBITMAP, &DeleteObject>;
using UniqueIcon = UniqueOf<HICON, &DestroyIcon>;
using UniqueMenu = UniqueOf<HMENU, &DestroyMenu>;
using UniqueDc = UniqueOf<HDC, &DeleteDC>;
using UniqueImageList = UniqueOf<HIMAGELIST, &ImageList_Destroy>;

// Functions that fail with INVALID_HANDLE_VALUE (snapshots, files) hand over through this.
inline UniqueHandle OwnFileHandle(HANDLE handle) {
    return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

}  // namespace platform
