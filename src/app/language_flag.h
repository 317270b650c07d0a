#pragma once
// Image2's picture: one flag of the language list's image list, drawn onto a bitmap of its own that
// is wiped before each new flag. Empty until the first flag.

#include "platform/handles.h"

#include <windows.h>

namespace app {

inline constexpr int kFlagSize = 16;  // each picture of the language list, square

class LanguageFlag {
public:
    // Wipes the picture and draws image `index`; an index outside the list leaves it wiped.
    void Show(HIMAGELIST images, int index);
    HBITMAP Bitmap() const { return m_bitmap.get(); }

private:
    platform::UniqueBitmap m_bitmap;
};

}  // namespace app
