#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ChromeTestSupport.h"
#include "PngFile.h"
#include "controls/PngImageButton.h"

namespace qv::test {
namespace {

// An RGBA picture of one colour.
TPNGObject SolidPng(int width, int height, TColor colour, std::uint8_t alpha = 255) {
    TPNGObject png = TPNGObject::CreateBlank(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* rgb = png.ColorRow(y);
        std::uint8_t* a = png.AlphaRow(y);
        for (int x = 0; x < width; ++x) {
            rgb[3 * x] = colour & 0xFF;
            rgb[3 * x + 1] = (colour >> 8) & 0xFF;
            rgb[3 * x + 2] = (colour >> 16) & 0xFF;
            a[x] = alpha;
        }
    }
    return png;
}

// Rows of colours from top to bottom: {count, colour}.
TPNGObject BandedPng(int width, std::initializer_list<std::pair<int, TColor>> bands) {
    int height = 0;
    for (const auto& band : bands) height += band.first;
    TPNGObject png = TPNGObject::CreateBlank(width, height);
    int y = 0;
    for (const auto& [rows, colour] : bands) {
        for (int k = 0; k < rows; ++k, ++y) {
            for (int x = 0; x < width; ++x) {
                png.ColorRow(y)[3 * x] = colour & 0xFF;
                png.ColorRow(y)[3 * x + 1] = (colour >> 8) & 0xFF;
                png.ColorRow(y)[3 * x + 2] = (colour >> 16) & 0xFF;
                png.AlphaRow(y)[x] = 255;
            }
        }
    }
    return png;
}

// A palette PNG file of width x height pixels all of palette index 1 (red), index 0 black.
std::string PalettePngFile(int width, int height) {
    const std::string palette{0, 0, 0, static_cast<char>(255), 0, 0};
    return PngFileBytes(width, height, 3, palette,
                        std::vector<std::string>(height, std::string(width, 1)));
}

TEST(DisabledPicture, EveryKindFadesToAThird) {
    TPNGObject palette;
    const std::string file = PalettePngFile(4, 3);
    ASSERT_EQ(palette.LoadFromMemory(file.data(), file.size()), PngError::None);
    ASSERT_EQ(palette.ColorType(), PngColorType::Palette);
    struct Case {
        const char* what;
        TPNGObject source;
        std::uint8_t expectedAlpha;
        TColor expectedColour;
    } cases[] = {
        {"opaque RGBA", SolidPng(4, 3, clRed), 85, clRed},
        {"half transparent RGBA", SolidPng(4, 3, clLime, 90), 30, clLime},
        // A palette picture has one alpha per entry; fading it pixel by pixel needs RGBA.
        {"palette", std::move(palette), 85, clRed},
    };
    for (Case& c : cases) {
        TPNGObject disabled;
        MakeDisabledPng(c.source, disabled);
        ASSERT_EQ(disabled.Width(), 4) << c.what;
        for (POINT p : {POINT{0, 0}, POINT{3, 2}}) {
            const PngPixel px = disabled.Pixel(p.x, p.y);
            EXPECT_EQ(px.a, c.expectedAlpha) << c.what;
            EXPECT_EQ(RGBColor(px.r, px.g, px.b), c.expectedColour) << c.what;
        }
    }
}

class ImageButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = MakeForm<HostForm>(nullptr, 150, 150, 320, 200);
        ASSERT_TRUE(ShowInFront(*form));
        MoveMouseTo({5, 5});
    }
    void TearDown() override { MouseButton(MOUSEEVENTF_LEFTUP); }

    template <class B = TPNGImageButton>
    B* AddButton(int left, int top) {
        auto* button = new B(form.get());
        button->SetParent(form.get());
        button->SetLeft(left);
        button->SetTop(top);
        return button;
    }
    TColor Shown(int x, int y) {
        form->Repaint();
        return WindowImage(form->Handle()).At(x, y);
    }
    std::unique_ptr<HostForm> form;
};

TEST_F(ImageButtonTest, WithoutAPictureDrawsADashedPlaceholder) {
    TPNGImageButton* button = AddButton(20, 20);
    button->SetBounds(20, 20, 40, 30);
    form->Repaint();
    const WindowImage image(form->Handle());
    EXPECT_EQ(image.At(20, 20), clBlack);
    EXPECT_EQ(image.At(40, 35), clWhite) << "no fill";
    int black = 0, white = 0;
    for (int x = 20; x < 60; ++x) (image.At(x, 20) == clBlack ? black : white)++;
    EXPECT_GT(black, 5);
    EXPECT_GT(white, 5) << "the pen is dashed";
}

TEST_F(ImageButtonTest, PictureIsCentredClippedAndSizesTheButton) {
    TPNGImageButton* button = AddButton(20, 20);
    button->SetPngImg(SolidPng(30, 27, clRed));
    EXPECT_EQ(button->Width(), 30);
    EXPECT_EQ(button->Height(), 27);
    EXPECT_EQ(Shown(20, 20), clRed) << "exact fit: drawn at (0, 0)";
    button->SetPngOver(SolidPng(40, 20, clLime));
    EXPECT_EQ(button->Width(), 40) << "a larger hover picture enlarges the button";
    EXPECT_EQ(button->Height(), 27);
    button->SetPngDown(SolidPng(10, 10, clBlue));
    EXPECT_EQ(button->Width(), 40) << "a smaller one does not shrink it";
    button->SetAutoSize(false);
    button->SetBounds(20, 20, 31, 27);
    EXPECT_EQ(Shown(20, 20), clWhite) << "one pixel wider: drawn from x 1";
    EXPECT_EQ(Shown(21, 20), clRed);
    EXPECT_EQ(Shown(50, 46), clRed);
    button->SetBounds(20, 20, 12, 9);
    EXPECT_EQ(Shown(20, 20), clRed) << "a larger picture is squeezed into the client";
    EXPECT_EQ(Shown(31, 28), clRed);
    EXPECT_EQ(Shown(32, 20), clWhite);
}

TEST_F(ImageButtonTest, RealMouseWalksThroughThePictures) {
    TPNGImageButton* button = AddButton(40, 40);
    button->SetPngImg(SolidPng(30, 27, clRed));
    button->SetPngOver(SolidPng(30, 27, clLime));
    std::vector<std::string> events;
    button->OnMouseEnter = [&](TComponent*) { events.push_back("enter"); };
    button->OnMouseLeave = [&](TComponent*) { events.push_back("leave"); };
    button->OnMouseDown = [&](TComponent*, TMouseButton, TShiftState, int, int) {
        events.push_back("down");
    };
    button->OnMouseUp = [&](TComponent*, TMouseButton, TShiftState, int, int) {
        events.push_back("up");
    };
    button->OnClick = [&](TComponent*) { events.push_back("click"); };
    const POINT centre = CentreOf(*button);

    MoveMouseTo(centre);
    ASSERT_TRUE(WaitUntil([&] { return button->CurrentImage() == TButtonImage::Over; }));
    EXPECT_EQ(Shown(55, 50), clLime);
    for (DWORD down : {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN}) {
        MouseButton(down);
        MouseButton(down << 1);  // the matching button-up flag
    }
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitUntil([&] { return events.size() >= 2; }));
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitUntil([&] { return button->CurrentImage() == TButtonImage::Img; }));
    EXPECT_EQ(Shown(55, 50), clRed) << "after a click the normal picture shows under the pointer";
    MoveMouseTo({5, 5});
    ASSERT_TRUE(WaitUntil([&] { return events.back() == "leave"; }));
    MoveMouseTo(centre);
    ASSERT_TRUE(WaitUntil([&] { return button->CurrentImage() == TButtonImage::Over; }));
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "down", "up", "click", "leave", "enter"}))
        << "right and middle presses fire nothing";
}

TEST_F(ImageButtonTest, DisablingShowsTheNormalPictureAtAThird) {
    TPNGImageButton* button = AddButton(20, 20);
    button->SetPngImg(SolidPng(30, 27, clRed));
    button->SetEnabled(false);
    EXPECT_EQ(button->CurrentImage(), TButtonImage::Disabled);
    EXPECT_FALSE(button->PngDisabled().Empty()) << "kept for the next disabling";
    const TColor faded = Shown(30, 30);  // red at alpha 85 over white
    EXPECT_EQ(faded & 0xFF, 0xFF);
    EXPECT_NEAR((faded >> 8) & 0xFF, 170, 2);
    EXPECT_NEAR((faded >> 16) & 0xFF, 170, 2);
    button->SetEnabled(true);
    EXPECT_EQ(Shown(30, 30), clRed);
}

TEST_F(ImageButtonTest, StretchKeepsFixedEndCapsOnlyWhenTheyFit) {
    const TPNGObject banded = BandedPng(10, {{5, clRed}, {2, clLime}, {5, clBlue}});
    struct Case {
        int height;
        std::vector<std::pair<int, TColor>> rows;  // row, colour expected there
    } cases[] = {
        // The middle rows 5..6 are stretched over rows 5..34 by nearest row, rounded: from row
        // 28 on the nearest source row is 7, the first row of the bottom cap.
        {40,
         {{0, clRed},
          {4, clRed},
          {5, clLime},
          {27, clLime},
          {28, clBlue},
          {35, clBlue},
          {39, clBlue}}},
        {11, {{4, clRed}, {5, clLime}, {6, clBlue}, {10, clBlue}}},
    };
    int left = 10;
    for (const Case& c : cases) {
        TPNGImageButton* button = AddButton(left, 10);
        button->SetAutoSize(false);
        button->SetPngImg(banded);
        button->SetStretch(true);
        button->SetFixedHeight(5);
        button->SetBounds(left, 10, 10, c.height);
        for (const auto& [row, colour] : c.rows)
            EXPECT_EQ(Shown(left + 5, 10 + row), colour) << "height " << c.height << " row " << row;
        left += 20;
    }
    // At height 10 the caps do not fit (2 x 5 is not less than 10): plain scaling.
    TPNGImageButton* capped = AddButton(100, 10);
    TPNGImageButton* plain = AddButton(120, 10);
    for (TPNGImageButton* b : {capped, plain}) {
        b->SetAutoSize(false);
        b->SetPngImg(banded);
        b->SetStretch(true);
        b->SetBounds(b->Left(), 10, 10, 10);
    }
    capped->SetFixedHeight(5);
    for (int row = 0; row < 10; ++row) EXPECT_EQ(Shown(105, 10 + row), Shown(125, 10 + row)) << row;
}

TEST_F(ImageButtonTest, LatchedGroupReleasesTheOtherToItsNormalPicture) {
    auto* first = AddButton<TPNGImageButtonEx>(20, 40);
    auto* second = AddButton<TPNGImageButtonEx>(80, 40);
    int ups = 0;
    for (TPNGImageButtonEx* b : {first, second}) {
        b->SetPngImg(SolidPng(30, 27, clRed));
        b->SetPngDown(SolidPng(30, 27, clBlue));
        b->SetGroupIndex(1);
        b->OnMouseUp = [&](TComponent*, TMouseButton, TShiftState, int, int) { ++ups; };
    }
    auto press = [&](TPNGImageButtonEx* b) {
        MoveMouseTo(CentreOf(*b));
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        MouseButton(MOUSEEVENTF_LEFTUP);
        return WaitUntil([&] { return b->Down(); });
    };
    ASSERT_TRUE(press(first));
    EXPECT_EQ(first->CurrentImage(), TButtonImage::Down);
    EXPECT_EQ(Shown(35, 50), clBlue);
    ASSERT_TRUE(press(second));
    EXPECT_FALSE(first->Down());
    EXPECT_EQ(first->CurrentImage(), TButtonImage::Img);
    EXPECT_EQ(Shown(35, 50), clRed);
    EXPECT_EQ(Shown(95, 50), clBlue);
    EXPECT_EQ(ups, 0) << "a latched button ignores releases";
}

TEST_F(ImageButtonTest, DisabledCaptionIsGrey) {
    auto* button = AddButton<TPNGImageButtonEx>(20, 20);
    button->SetPngImg(SolidPng(90, 40, clWhite));
    button->Font().SetName(L"微软雅黑");
    button->Font().SetHeight(-20);
    button->Font().SetStyle(fsBold);
    button->SetCaption(L"关闭");
    form->Repaint();
    EXPECT_TRUE(WindowImage(form->Handle()).Contains(clBlack));
    button->SetEnabled(false);
    form->Repaint();
    const WindowImage image(form->Handle());
    EXPECT_TRUE(image.Contains(static_cast<TColor>(GetSysColor(COLOR_GRAYTEXT))));
    EXPECT_FALSE(image.Contains(clBlack));
}

}  // namespace
}  // namespace qv::test
