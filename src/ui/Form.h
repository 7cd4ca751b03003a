// A borderless top-level window holding a layout.
//
// Building a form: derive from TForm, create the controls in the constructor (owner = the form,
// then SetParent), and create the form through Application().CreateForm<T>() or MakeForm<T>(),
// which call AfterConstruction: the layout is scaled to the screen's text size (when Scaled)
// and OnCreate runs.
//
// Showing: Show() / Hide(), or ShowModal(), which disables the program's other windows, runs a
// message loop until ModalResult is set (or the form is closed: mrCancel, or the application is
// asked to quit: mrCancel at once), then hides the form and answers the result.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <utility>

#include "ui/CustomControl.h"

namespace qv {

enum class TPosition { poDesigned, poScreenCenter, poDesktopCenter, poMainFormCenter };
using enum TPosition;
enum class TFormStyle { fsNormal, fsStayOnTop };
using enum TFormStyle;
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TComponent* sender, bool& canClose)>;
using TPaintEvent = TNotifyEvent;

class TForm : public TCustomControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // Scales the layout (when Scaled) and runs DoCreate / OnCreate. Called once, by the
    // creation helpers below, after the most derived constructor has built the layout.
    void AfterConstruction();

    // --- placement -------------------------------------------------------------------------
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    // The layout's resolution; with Scaled on the layout is scaled by screen / design.
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }
    bool Scaled() const { return scaled_; }
    void SetScaled(bool on) { scaled_ = on; }

    // --- state -----------------------------------------------------------------------------
    void SetVisible(bool visible) override;
    bool Showing() const override;
    POINT ClientOrigin() const override;
    bool Active() const;
    void Close();
    // Destroys the form later, from the message loop (the form must not be owned by anything
    // that would delete it again, such as a std::unique_ptr).
    void Release();

    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    bool Modal() const { return modal_; }

    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool on) { keyPreview_ = on; }
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);

    // Colour keying and constant transparency of the whole window (layered window).
    bool TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(bool on);
    TColor TransparentColorValue() const { return transparentColorValue_; }
    void SetTransparentColorValue(TColor color);
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool on);
    BYTE AlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(BYTE value);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual bool CloseQuery();
    void ActiveChanged(bool active);

private:
    friend class TWinControl;
    void ShowingChanged();
    void PlaceAtFirstShow();
    void ApplyLayering();
    void ScaleToScreen();
    void FocusFirstControl();

    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    int pixelsPerInch_ = 96;
    bool scaled_ = true;
    bool created_ = false;
    bool placed_ = false;
    bool keyPreview_ = false;
    bool modal_ = false;
    TModalResult modalResult_ = mrNone;
    TWinControl* activeControl_ = nullptr;
    bool transparentColor_ = false;
    TColor transparentColorValue_ = clBlack;
    bool alphaBlend_ = false;
    BYTE alphaBlendValue_ = 255;
};

// Creates a form owned by the caller, with AfterConstruction run.
template <class F, class... Args>
std::unique_ptr<F> MakeForm(Args&&... args) {
    auto form = std::make_unique<F>(std::forward<Args>(args)...);
    form->AfterConstruction();
    return form;
}

}  // namespace qv
