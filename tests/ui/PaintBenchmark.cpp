// Prints how long the toolkit takes to build the proving window's whole face off-screen, to
// paint it on screen, and to create and destroy the form. Run by hand:
//     wine build/tests/ui/ui_paint_bench.exe
#include <windows.h>

#include <cstdio>

#include "ProvingWindow.h"
#include "ui/Application.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

}  // namespace

int main() {
    using namespace qv;
    constexpr int kRounds = 200;
    auto form = MakeForm<TfrmProving>(nullptr);
    form->tmrPages->SetEnabled(false);
    form->Show();
    Application().ProcessMessages();

    TBitmap target(form->Width(), form->Height());
    LARGE_INTEGER start = Now();
    for (int i = 0; i < kRounds; ++i) form->PaintTo(target.Canvas().Handle(), 0, 0);
    const double offScreen = Milliseconds(start, Now()) / kRounds;

    start = Now();
    for (int i = 0; i < kRounds; ++i) {
        RedrawWindow(form->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    const double onScreen = Milliseconds(start, Now()) / kRounds;
    form.reset();

    constexpr int kForms = 50;
    start = Now();
    for (int i = 0; i < kForms; ++i) {
        auto cycle = MakeForm<TfrmProving>(nullptr);
        cycle->Show();
        Application().ProcessMessages();
    }
    const double cycle = Milliseconds(start, Now()) / kForms;

    std::printf("proving window %dx%d\n", proving::kWidth, proving::kHeight);
    std::printf("  whole face with children into a bitmap (PaintTo): %.2f ms\n", offScreen);
    std::printf("  repaint of the shown window and its child windows: %.2f ms\n", onScreen);
    std::printf("  create, show, destroy the form:                   %.2f ms\n", cycle);
    return 0;
}
