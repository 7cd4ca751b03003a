#include "controls/FormShadow.h"

#include <exception>

namespace qv {

namespace {

constexpr UINT kShowDelayMs = 20;
constexpr UINT kRefreshDelayMs = 200;
constexpr UINT kWatchdogMs = 5000;
constexpr int kMinShownBitmap = 6;  // smaller shadow images are never shown
constexpr UINT kVisibilityOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT kShowInPlace = SWP_SHOWWINDOW | kVisibilityOnly;  // 0x57

void TraceException(const char* where, const std::exception& error) {
    OutputDebugStringA(where);
    OutputDebugStringA(error.what());
    OutputDebugStringA("\n");
}

}  // namespace

TFormShadow::TFormShadow(TComponent* owner) : TWinControl(owner) {
    FTimer = new TTimer(this);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(1000);
    FTimer->OnTimer = [this](TComponent* sender) { ShowDelayTimer(sender); };
    FShadowBitmap.SetPixelFormat(pf32bit);
    SetVisible(false);
}

TFormShadow::~TFormShadow() {
    BeginDestruction();
    FTimer->SetEnabled(false);
    AttachForm(nullptr);
}

void TFormShadow::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WndParent = nullptr;
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE;
    params.WinClassName = L"QvFormShadow";
    params.WindowClassStyle = CS_DBLCLKS | CS_OWNDC;
    params.X = -1000;
    params.Width = 0;
    params.Height = 0;
}

void TFormShadow::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_NCHITTEST:
            message.Result = HTTRANSPARENT;
            return;
        case WM_ERASEBKGND:
            TWinControl::WndProc(message);
            message.Result = 1;
            return;
        default:
            TWinControl::WndProc(message);
    }
}

void TFormShadow::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FForm) {
        PlaceShadow(false);
        AttachForm(nullptr);
    }
}

// --- public operations ----------------------------------------------------------------------

void TFormShadow::SetShadowVisible(bool value) {
    if (value == FShadowVisible) return;
    FShadowVisible = value;
    if (value) {
        RunTimer(kShowDelayMs, &TFormShadow::ShowDelayTimer);
    } else {
        FActive = false;
        FTimer->SetEnabled(false);
        PlaceShadow(false);
    }
}

void TFormShadow::AttachForm(TForm* form) {
    if (form == FForm) return;
    if (FForm && FOldWndProc) {
        FForm->WindowProc = std::move(FOldWndProc);
        FOldWndProc = nullptr;
        FFormHandle = nullptr;
        FTracking = false;
        FTimer->SetEnabled(false);
    }
    if (FForm) FForm->RemoveFreeNotification(this);
    FForm = form;
    if (FForm) {
        FOldWndProc = FForm->WindowProc;
        FForm->WindowProc = [this](TMessage& message) { FormWndProc(message); };
        FFormKeyColor = FForm->TransparentColorValue();
        FForm->SetDoubleBuffered(true);
        FFormHandle = FForm->Handle();
        FTracking = true;
        SetBounds(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
        FForm->FreeNotification(this);
    }
    FDirty = true;
    RefreshFormFrame(0);
}

void TFormShadow::SetShadowOffset(int value) {
    if (value == FShadowOffset) return;
    FShadowOffset = value;
    RefreshFormFrame(0);
}

void TFormShadow::SetShadowColor(TColor value) {
    if (value == FShadowColor) return;
    FShadowColor = value;
    UpdateLayer();
}

void TFormShadow::SetBlurPasses(int value) {
    FBlurPasses = value;
}

// --- the form's window procedure -------------------------------------------------------------

void TFormShadow::FormWndProc(TMessage& message) {
    // The form's own handling runs inside; nothing may escape into the window procedure.
    try {
        if (!FActive)
            PassOn(message);
        else
            HandleFormMessage(message);
    } catch (const std::exception& error) {
        TraceException("[TFormShadow.FormWndProc] ", error);
    }
}

void TFormShadow::HandleFormMessage(TMessage& message) {
    switch (message.Msg) {
        case WM_DESTROY:
            PlaceShadow(false);
            PassOn(message);
            return;
        case WM_SIZE:
            if (FormShowing()) {
                FormResized(message);
            } else {
                PassOn(message);
                PlaceShadow(false);
            }
            return;
        case WM_ACTIVATE:
            PassOn(message);
            PlaceShadow(true);
            return;
        case WM_WINDOWPOSCHANGING:
            PassOn(message);
            if (FormShowing())
                FormPosChanging(message);
            else
                PlaceShadow(false);
            return;
        case WM_WINDOWPOSCHANGED:
            PassOn(message);
            if (FormShowing())
                FormPosChanged(message);
            else
                PlaceShadow(false);
            return;
        case CM_SHOWINGCHANGED:
            PassOn(message);
            PlaceShadow(FormShowing());
            return;
        default:
            PassOn(message);
    }
}

void TFormShadow::PassOn(TMessage& message) {
    if (FOldWndProc) FOldWndProc(message);
}

void TFormShadow::FormResized(TMessage& message) {
    PassOn(message);
    switch (message.WParam) {
        case SIZE_RESTORED:
            PlaceShadow(true);
            break;
        case SIZE_MINIMIZED:
        case SIZE_MAXIMIZED:
            PlaceShadow(false);
            break;
        default:
            break;
    }
}

void TFormShadow::FormPosChanging(TMessage& message) {
    const WINDOWPOS& pos = *reinterpret_cast<const WINDOWPOS*>(message.LParam);
    if (!FActive || !FormStateNormal() || (pos.flags & SWP_HIDEWINDOW)) {
        PlaceShadow(false);
        return;
    }
    if (!pos.hwndInsertAfter && pos.cx == 0 && pos.cy == 0) {
        if (FShadowBitmap.Width() >= kMinShownBitmap && FShadowBitmap.Height() >= kMinShownBitmap) {
            PlaceShadow(true);
            FTracking = true;
        }
        return;
    }
    const RECT form = FormRect();
    if (pos.cx >= form.right - form.left && pos.cy >= form.bottom - form.top) return;
    if (pos.cx > 0 && pos.cy > 0) {
        // The form is about to shrink: make the shadow small enough before it does.
        BuildRectShadow(pos.cx, pos.cy);
        MoveShadowBelowForm(pos.x, pos.y);
        FPosFlags = 0;
        ScheduleRefresh();
        FTracking = true;
    }
}

void TFormShadow::FormPosChanged(TMessage& message) {
    const WINDOWPOS& pos = *reinterpret_cast<const WINDOWPOS*>(message.LParam);
    const RECT form = FormRect();
    const int width = form.right - form.left, height = form.bottom - form.top;
    const bool fits = FShadowBitmap.Width() == width + 2 * kShadowSize &&
                      FShadowBitmap.Height() == height + 2 * kShadowSize;
    if (!(pos.flags & SWP_NOMOVE) && fits) {
        FPosFlags |= pos.flags & SWP_HIDEWINDOW;
        if (FPosFlags == 0) FPosFlags = kShowInPlace;
        MoveShadowBelowForm(pos.x, pos.y);
        ApplyPosFlags();
        FTracking = true;
        FPosFlags = 0;
        return;
    }
    if (width == FBuiltWidth && height == FBuiltHeight) return;
    if (FormStateNormal()) {
        if (!FRegion) FRegion.reset(CreateRectRgn(0, 0, 1, 1));
        if (FRegion && GetWindowRgn(FormWindow(), FRegion.get()) == COMPLEXREGION)
            BuildRegionShadow();
        else
            BuildRectShadow(width, height);
    }
    FPosFlags |= pos.flags & SWP_HIDEWINDOW;
    if (FPosFlags == 0) FPosFlags = pos.flags & SWP_SHOWWINDOW;
    MoveShadowBelowForm(form.left, form.top);
    ApplyPosFlags();
    ScheduleRefresh();
    FTracking = true;
    FPosFlags = 0;
}

// --- placing the shadow window ----------------------------------------------------------------

void TFormShadow::PlaceShadow(bool show) {
    SetShadowPos(SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE |
                 (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TFormShadow::SetShadowPos(UINT flags) {
    if (HandleAllocated() || (flags & SWP_SHOWWINDOW))
        SetWindowPos(Handle(), FormWindow(), 0, 0, 0, 0, flags);
}

void TFormShadow::MoveShadowBelowForm(int left, int top) {
    const HWND shadow = Handle();
    if (!shadow) return;
    SetWindowPos(shadow, FormWindow(), left - kShadowSize + FShadowOffset,
                 top - kShadowSize + FShadowOffset, FShadowBitmap.Width(), FShadowBitmap.Height(),
                 SWP_NOACTIVATE);
}

void TFormShadow::ApplyPosFlags() {
    SetShadowPos(FPosFlags | kVisibilityOnly);
}

void TFormShadow::RefreshFormFrame(UINT flags) {
    if (!FForm || !FForm->HandleAllocated()) return;
    SetWindowPos(
        FForm->Handle(), nullptr, 0, 0, 0, 0,
        flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// --- the timer in its three roles ---------------------------------------------------------------

void TFormShadow::RunTimer(UINT interval, void (TFormShadow::*handler)(TComponent*)) {
    FTimer->SetEnabled(false);
    FTimer->SetInterval(interval);
    FTimer->OnTimer = [this, handler](TComponent* sender) { (this->*handler)(sender); };
    FTimer->SetEnabled(true);
}

void TFormShadow::ShowDelayTimer(TComponent*) {
    FTimer->SetEnabled(false);
    FActive = FShadowVisible;
    if (FForm && FForm->HandleAllocated() && FForm->Showing()) RefreshFormFrame(SWP_SHOWWINDOW);
    ScheduleRefresh();
}

void TFormShadow::ScheduleRefresh() {
    RunTimer(kRefreshDelayMs, &TFormShadow::RefreshTimer);
}

void TFormShadow::RefreshTimer(TComponent*) {
    FTimer->SetEnabled(false);
    RefreshFormImage();
    RunTimer(kWatchdogMs, &TFormShadow::WatchdogTimer);
}

void TFormShadow::WatchdogTimer(TComponent*) {
    if (!FTracking || !FFormHandle) return;
    const bool gone = !FForm || !FForm->HandleAllocated() || !IsWindow(FFormHandle) ||
                      !IsWindowVisible(FFormHandle);
    if (gone) {
        PlaceShadow(false);
        FTracking = false;
    }
}

// --- building the image -------------------------------------------------------------------------

bool TFormShadow::CanBuildImage() {
    return FActive && FForm && FForm->HandleAllocated() && !FForm->Parent();
}

bool TFormShadow::PrepareShadowBitmap(int width, int height) {
    const int w = width + 2 * kShadowSize, h = height + 2 * kShadowSize;
    if (FShadowBitmap.Width() == w && FShadowBitmap.Height() == h) {
        if (FForm->TransparentColor() && FForm->TransparentColorValue() != FFormKeyColor)
            FDirty = true;
    } else {
        FDirty = true;
        FShadowBitmap.SetSize(w, h);
    }
    return FDirty && !FShadowBitmap.Empty();
}

PixelView TFormShadow::ShadowPixels() {
    FShadowBitmap.FlushCanvas();
    return {reinterpret_cast<Bgra*>(FShadowBitmap.ScanLine(0)), FShadowBitmap.Width(),
            FShadowBitmap.Height()};
}

void TFormShadow::BuildRectShadow(int width, int height) {
    if (!FTemplateBuilt) {
        FDirty = true;
        FTemplate = BuildShadowTemplate(ColorToRGB(FShadowColor), FBlurPasses);
        FTemplateBuilt = true;
    }
    if (!CanBuildImage() || !PrepareShadowBitmap(width, height)) return;
    FRegionMode = false;
    FDirty = false;
    FBuiltWidth = width;
    FBuiltHeight = height;
    ++FBuildCount;
    CutRectShadow(FTemplate.view(), ShadowPixels());
    UpdateLayer();
}

void TFormShadow::BuildRegionShadow() {
    const RECT form = FormRect();
    const int width = form.right - form.left, height = form.bottom - form.top;
    if (!CanBuildImage() || !PrepareShadowBitmap(width, height)) return;
    FRegionMode = true;
    FDirty = false;
    FBuiltWidth = width;
    FBuiltHeight = height;
    ++FBuildCount;

    const RECT whole{0, 0, FShadowBitmap.Width(), FShadowBitmap.Height()};
    FillPixels(ShadowPixels(), whole, Bgra{0, 0, 0, 0});
    OffsetRgn(FRegion.get(), kShadowSize, kShadowSize);
    HDC dc = FShadowBitmap.Canvas().Handle();
    {
        ScopedSaveDC saved(dc);
        SelectClipRgn(dc, FRegion.get());
        RECT box{};
        GetRgnBox(FRegion.get(), &box);
        ScopedBrush white(CreateSolidBrush(RGB(255, 255, 255)));
        ::FillRect(dc, &box, white.get());
        PaintFormImage(FShadowBitmap);
    }
    SelectClipRgn(dc, nullptr);
    BlurBitmap(FShadowBitmap, FBlurPasses);
    HRGN region = FRegion.get();
    TintOutside(ShadowPixels(), ColorToRGB(FShadowColor),
                [region](int x, int y) { return PtInRegion(region, x, y) != FALSE; });
    // Pushed at once, like the rectangular build: the refresh that follows may leave the image
    // alone, and the frame must not wait for the next size change.
    UpdateLayer();
}

void TFormShadow::BlurBitmap(TBitmap& bitmap, int passes) {
    if (bitmap.PixelFormat() != pf32bit || bitmap.Empty()) return;
    bitmap.FlushCanvas();
    qv::BlurBitmap({reinterpret_cast<Bgra*>(bitmap.ScanLine(0)), bitmap.Width(), bitmap.Height()},
                   passes);
}

void TFormShadow::PaintFormImage(TBitmap& target) {
    const POINT origin = FForm->ClientOrigin();
    const RECT form = FormRect();
    FFormImage.SetPixelFormat(pf24bit);
    FFormImage.SetSize(FForm->ClientWidth(), FForm->ClientHeight());
    if (FFormImage.Empty()) return;
    FForm->PaintTo(FFormImage.Canvas().Handle(), 0, 0);
    HDC targetDC = target.Canvas().Handle();
    if (FForm->TransparentColor()) {
        // Monochrome mask: the key colour becomes 1, the rest 0; copied with black background
        // and white text it lands white where the form is opaque.
        HDC source = FFormImage.Canvas().Handle();
        ScopedCreatedDC maskDC(CreateCompatibleDC(source));
        ScopedBitmap maskBitmap(
            CreateBitmap(FFormImage.Width(), FFormImage.Height(), 1, 1, nullptr));
        ScopedSelectObject selected(maskDC.get(), maskBitmap.get());
        SetBkColor(source, ColorToRGB(FForm->TransparentColorValue()));
        BitBlt(maskDC.get(), 0, 0, FFormImage.Width(), FFormImage.Height(), source, 0, 0, SRCCOPY);
        SetBkColor(targetDC, RGB(0, 0, 0));
        SetTextColor(targetDC, RGB(255, 255, 255));
        BitBlt(targetDC, origin.x - form.left + kShadowSize, origin.y - form.top + kShadowSize,
               FFormImage.Width(), FFormImage.Height(), maskDC.get(), 0, 0, SRCCOPY);
        return;
    }
    SetBkColor(targetDC, RGB(0, 0, 0));
    SetTextColor(targetDC, RGB(255, 255, 255));
    BitBlt(targetDC, origin.x - form.left + kShadowSize, origin.y - form.top + kShadowSize,
           FFormImage.Width(), FFormImage.Height(), FFormImage.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TFormShadow::RefreshFormImage() {
    if (!FForm || !FForm->HandleAllocated()) return;
    const RECT form = FormRect();
    const int width = form.right - form.left, height = form.bottom - form.top;
    if (FFormImage.PixelFormat() == pf24bit && FFormImage.Width() == width &&
        FFormImage.Height() == height)
        return;
    FFormImage.SetPixelFormat(pf24bit);
    FFormImage.SetSize(width, height);
    if (FFormImage.Empty()) return;
    {
        ScopedGetDC formDC(FormWindow());
        BitBlt(FFormImage.Canvas().Handle(), 0, 0, width, height, formDC.get(), 0, 0, SRCCOPY);
    }
    ++FSnapshotCount;
    if (FShadowBitmap.Width() <= FFormImage.Width() + 17 ||
        FShadowBitmap.Height() <= FFormImage.Height() + 17)
        return;
    try {
        CopySnapshotIntoShadow();
    } catch (const std::exception& error) {
        TraceException("[TFormShadow.RefreshFormImage] ", error);
    }
    UpdateLayer();
}

void TFormShadow::CopySnapshotIntoShadow() {
    FFormImage.FlushCanvas();
    PixelView shadow = ShadowPixels();
    ScopedRegion region;
    if (FRegionMode) {
        // Only the form's own shape takes the snapshot; the frame outside it stays as built.
        region.reset(CreateRectRgn(0, 0, 1, 1));
        if (GetWindowRgn(FormWindow(), region.get()) == ERROR) region.reset();
    }
    for (int j = 0; j < FFormImage.Height(); ++j) {
        const std::uint8_t* row = FFormImage.ScanLine(j);
        for (int i = 0; i < FFormImage.Width(); ++i) {
            if (region && !PtInRegion(region.get(), i, j)) continue;
            shadow.at(kShadowSize + i, kShadowSize + j) = {row[3 * i], row[3 * i + 1],
                                                           row[3 * i + 2], 255};
        }
    }
}

void TFormShadow::UpdateLayer() {
    FBlend.SourceConstantAlpha =
        (FForm && FForm->TransparentColor()) ? FForm->AlphaBlendValue() : 255;
    const HWND shadow = Handle();
    if (!shadow || FShadowBitmap.Empty()) return;
    SIZE size{FShadowBitmap.Width(), FShadowBitmap.Height()};
    POINT source{0, 0};
    FShadowBitmap.FlushCanvas();
    UpdateLayeredWindow(shadow, nullptr, nullptr, &size, FShadowBitmap.Canvas().Handle(), &source,
                        0, &FBlend, ULW_ALPHA);
}

// --- the form -----------------------------------------------------------------------------------

HWND TFormShadow::FormWindow() const {
    return (FForm && FForm->HandleAllocated()) ? FForm->Handle() : nullptr;
}

RECT TFormShadow::FormRect() const {
    RECT r{};
    if (const HWND form = FormWindow()) GetWindowRect(form, &r);
    return r;
}

bool TFormShadow::FormShowing() const {
    return FForm && FForm->Showing();
}

bool TFormShadow::FormStateNormal() const {
    const HWND form = FormWindow();
    return form && !IsIconic(form) && !IsZoomed(form);
}

}  // namespace qv
