#include "platform/win32/Win32Gdi.h"

#include "platform/win32/ComLibrary.h"

#include <algorithm>
#include <cstring>

namespace win32 {
namespace {

struct GlobalTraits {
    using Handle = HGLOBAL;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle handle) { return handle != nullptr; }
    static void Close(Handle handle) { ::GlobalFree(handle); }
};

}  // namespace

GdiBitmap BitmapFromImage(const platform::Image& image) {
    const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() < count) return GdiBitmap();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top row first, as the picture holds it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    // 0x00RRGGBB read little-endian is the B, G, R, 0 byte order of a 32-bit DIB.
    if (bitmap && bits) std::memcpy(bits, image.pixels.data(), count * sizeof(std::uint32_t));
    return bitmap;
}

GdiBitmap StretchedCopy(HBITMAP source, int sourceWidth, int sourceHeight, int width, int height) {
    if (!source || width <= 0 || height <= 0) return GdiBitmap();
    const WindowDc screen(nullptr);
    GdiBitmap target(::CreateCompatibleBitmap(screen.Get(), width, height));
    const MemoryDc from(::CreateCompatibleDC(screen.Get()));
    const MemoryDc to(::CreateCompatibleDC(screen.Get()));
    if (!target || !from || !to) return GdiBitmap();
    const Selection fromSelection(from.Get(), source);
    const Selection toSelection(to.Get(), target.Get());
    if (sourceWidth == width && sourceHeight == height) {
        ::BitBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, SRCCOPY);
    } else {
        ::SetStretchBltMode(to.Get(), HALFTONE);
        ::SetBrushOrgEx(to.Get(), 0, 0, nullptr);
        ::StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, sourceWidth, sourceHeight, SRCCOPY);
    }
    return target;
}

void FillGradient(HDC dc, const RECT& area, COLORREF top, COLORREF bottom) {
    // GDI takes each component with 16 bits.
    const auto corner = [](LONG x, LONG y, COLORREF colour) {
        return TRIVERTEX{x, y, static_cast<COLOR16>(GetRValue(colour) << 8), static_cast<COLOR16>(GetGValue(colour) << 8),
                         static_cast<COLOR16>(GetBValue(colour) << 8), 0};
    };
    TRIVERTEX corners[2] = {corner(area.left, area.top, top), corner(area.right, area.bottom, bottom)};
    GRADIENT_RECT rect = {0, 1};
    ::GradientFill(dc, corners, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

GdiBitmap GradientBitmap(int width, int height, COLORREF top, COLORREF bottom) {
    if (width <= 0 || height <= 0) return GdiBitmap();
    const WindowDc screen(nullptr);
    GdiBitmap target(::CreateCompatibleBitmap(screen.Get(), width, height));
    const MemoryDc to(::CreateCompatibleDC(screen.Get()));
    if (!target || !to) return GdiBitmap();
    const Selection selection(to.Get(), target.Get());
    FillGradient(to.Get(), RECT{0, 0, width, height}, top, bottom);
    return target;
}

SharedPicture::SharedPicture(const platform::Image& image) : image_(image), bitmap_(BitmapFromImage(image)) {}

bool SharedPicture::Shows(const platform::Image& image) const {
    return image.width == image_.width && image.height == image_.height && image.pixels == image_.pixels;
}

std::shared_ptr<const GdiBitmap> SharedPicture::At(int width, int height) {
    const auto found = std::find_if(sizes_.begin(), sizes_.end(),
                                    [&](const Sized& sized) { return sized.width == width && sized.height == height; });
    if (found != sizes_.end()) {
        std::rotate(sizes_.begin(), found, found + 1);
        return sizes_.front().bitmap;
    }
    auto bitmap =
        std::make_shared<const GdiBitmap>(StretchedCopy(bitmap_.Get(), image_.width, image_.height, width, height));
    // A window that still shows a size dropped here keeps its own share of it.
    if (sizes_.size() == kKeptSizes) sizes_.pop_back();
    sizes_.insert(sizes_.begin(), {width, height, bitmap});
    return bitmap;
}

std::optional<platform::Image> DecodePicture(const void* bytes, size_t size) {
    if (!bytes || size == 0 || size > 0x7FFFFFFF) return std::nullopt;
    const ComScope scope;
    const ComLibrary* com = scope.Get();
    if (!com) return std::nullopt;
    UniqueHandle<GlobalTraits> memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) return std::nullopt;
    void* copy = ::GlobalLock(memory.Get());
    if (!copy) return std::nullopt;
    std::memcpy(copy, bytes, size);
    ::GlobalUnlock(memory.Get());
    IStream* rawStream = nullptr;
    if (FAILED(com->createStreamOnHGlobal(memory.Get(), TRUE, &rawStream))) return std::nullopt;
    memory.Release();  // the stream frees it
    const ComPtr<IStream> stream(rawStream);
    IPicture* rawPicture = nullptr;
    if (FAILED(com->oleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                                   reinterpret_cast<void**>(&rawPicture)))) {
        return std::nullopt;
    }
    const ComPtr<IPicture> picture(rawPicture);
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(picture.Get()->get_Type(&type)) || type != PICTYPE_BITMAP ||
        FAILED(picture.Get()->get_Handle(&handle))) {
        return std::nullopt;
    }
    // The picture keeps its bitmap; its pixels are copied out.
    const HBITMAP bitmap = reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle));
    BITMAP shape = {};
    if (!::GetObjectW(bitmap, sizeof(shape), &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0) return std::nullopt;
    platform::Image image{shape.bmWidth, shape.bmHeight, {}};
    image.pixels.resize(static_cast<size_t>(shape.bmWidth) * static_cast<size_t>(shape.bmHeight));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = shape.bmWidth;
    info.bmiHeader.biHeight = -shape.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const WindowDc screen(nullptr);
    if (::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(shape.bmHeight), image.pixels.data(), &info,
                    DIB_RGB_COLORS) != shape.bmHeight) {
        return std::nullopt;
    }
    for (std::uint32_t& pixel : image.pixels) pixel &= 0x00FFFFFF;
    return image;
}

COLORREF ResolveColour(platform::Colour colour) {
    if (colour & 0x80000000u) return ::GetSysColor(static_cast<int>(colour & 0xFF));
    return static_cast<COLORREF>(colour & 0x00FFFFFF);
}

}  // namespace win32
