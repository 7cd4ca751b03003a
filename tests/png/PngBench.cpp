// Prints how long the PNG unit takes for the program's largest pictures: decoding them and
// drawing them with alpha, unscaled and scaled. Run by hand:
//     wine build/tests/png/png_bench.exe
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "png/PngObject.h"
#include "res/ArtworkIds.h"
#include "res/ArtworkLoader.h"

namespace qv {
namespace {

template <class Work>
double MicrosecondsPerRun(int runs, Work work) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) work();
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / runs;
}

void Measure(const char* name, int id) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(id), RT_RCDATA);
    const void* data = LockResource(LoadResource(self, found));
    const DWORD size = SizeofResource(self, found);
    const TPNGObject picture = LoadPngResource(id);

    const double decode = MicrosecondsPerRun(50, [&] {
        TPNGObject p;
        (void)p.LoadFromMemory(data, size);
    });

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 800;
    info.bmiHeader.biHeight = -300;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    ScopedBitmap surface(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedCreatedDC dc(CreateCompatibleDC(nullptr));
    ScopedSelectObject select(dc.get(), surface.get());
    const RECT natural{0, 0, picture.Width(), picture.Height()};
    const RECT scaled{0, 0, 551, 19};
    const double premultiply = MicrosecondsPerRun(200, [&] { picture.ToPremultipliedBitmap(); });
    const double draw = MicrosecondsPerRun(200, [&] { picture.Draw(dc.get(), natural); });
    const double drawScaled = MicrosecondsPerRun(200, [&] { picture.Draw(dc.get(), scaled); });
    std::printf(
        "%-15s %3d x %-3d %6u bytes  decode %7.1f us  premultiply %7.1f us  draw %7.1f us  "
        "draw to 551x19 %7.1f us\n",
        name, picture.Width(), picture.Height(), unsigned(size), decode, premultiply, draw,
        drawScaled);
}

}  // namespace
}  // namespace qv

int main() {
    qv::Measure("banner", IDR_PNG_BANNER);
    qv::Measure("progress track", IDR_PNG_PROGRESS_TRACK);
    qv::Measure("progress fill", IDR_PNG_PROGRESS_FILL);
    qv::Measure("close hover", IDR_PNG_CLOSE_HOVER);
    return 0;
}
