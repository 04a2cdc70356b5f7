#include "tests/e2e/window_picture.h"

namespace velmora::test {

Picture pictureOf(HWND window) {
    Picture picture;
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return picture;
    picture.width = rect.right - rect.left;
    picture.height = rect.bottom - rect.top;
    if (picture.width <= 0 || picture.height <= 0) return {};
    // Let the program finish painting before the screen is copied.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(300);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> bgra(static_cast<size_t>(picture.width) * picture.height * 4);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(picture.height), bgra.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    for (size_t i = 0, j = 0; i < bgra.size(); i += 4, j += 3) {
        picture.rgb[j] = bgra[i + 2];
        picture.rgb[j + 1] = bgra[i + 1];
        picture.rgb[j + 2] = bgra[i];
    }
    return picture;
}

}  // namespace velmora::test
