// What the screen shows, and the display's DPI.
#include "Robot.h"

namespace robot {

namespace {

const char DESKTOP_KEY[] = "Control Panel\\Desktop";

}  // namespace

ScreenImage::ScreenImage()
{
    HDC screen = GetDC(nullptr);
    width_ = GetSystemMetrics(SM_CXSCREEN);
    height_ = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info;
    ZeroMemory(&info, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;   // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    if (bitmap && memory) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY)) {
            GdiFlush();
            const DWORD *row = static_cast<const DWORD *>(bits);
            pixels_.assign(row, row + size_t(width_) * height_);
        }
        SelectObject(memory, previous);
    }
    if (memory)
        DeleteDC(memory);
    if (bitmap)
        DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    if (pixels_.empty())
        width_ = height_ = 0;
}

COLORREF ScreenImage::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    DWORD pixel = pixels_[size_t(y) * width_ + x];   // 0x00RRGGBB
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

RECT ScreenImage::Bounds(const RECT &area, COLORREF colour) const
{
    RECT found = {0, 0, 0, 0};
    bool any = false;
    for (int y = area.top > 0 ? area.top : 0; y < area.bottom && y < height_; y++)
        for (int x = area.left > 0 ? area.left : 0; x < area.right && x < width_; x++) {
            if (At(x, y) != colour)
                continue;
            if (!any) {
                found = {x, y, x + 1, y + 1};
                any = true;
            }
            found.left = x < found.left ? x : found.left;
            found.right = x + 1 > found.right ? x + 1 : found.right;
            found.bottom = y + 1;
        }
    return found;
}

void SetDisplayDpi(DWORD dpi)
{
    DWORD earlier = 0;
    bool had = RegReadDword(HKEY_CURRENT_USER, DESKTOP_KEY, "LogPixels", &earlier);
    AtEnd([had, earlier]() {
        if (had)
            RegSetDword(HKEY_CURRENT_USER, DESKTOP_KEY, "LogPixels", earlier);
        else
            RegRemoveValue(HKEY_CURRENT_USER, DESKTOP_KEY, "LogPixels");
    });
    RegSetDword(HKEY_CURRENT_USER, DESKTOP_KEY, "LogPixels", dpi);
}

}  // namespace robot
