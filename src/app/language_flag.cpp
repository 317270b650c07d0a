#include "app/language_flag.h"

#include <commctrl.h>

namespace app {

void LanguageFlag::Show(HIMAGELIST images, int index) {
    const platform::UniqueDc canvas(CreateCompatibleDC(nullptr));
    // Before the first flag there is nothing to wipe.
    if (m_bitmap) {
        const HGDIOBJ previous = SelectObject(canvas.get(), m_bitmap.get());
        const RECT whole{0, 0, kFlagSize, kFlagSize};
        FillRect(canvas.get(), &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SelectObject(canvas.get(), previous);
    }
    if (index < 0 || index >= ImageList_GetImageCount(images)) return;
    if (!m_bitmap) {
        const HDC screen = GetDC(nullptr);
        m_bitmap.reset(CreateCompatibleBitmap(screen, kFlagSize, kFlagSize));
        ReleaseDC(nullptr, screen);
    }
    const HGDIOBJ previous = SelectObject(canvas.get(), m_bitmap.get());
    ImageList_Draw(images, index, canvas.get(), 0, 0, ILD_NORMAL);
    SelectObject(canvas.get(), previous);
}

}  // namespace app
