#include "controls/ShadowImage.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

std::vector<int> ColumnAlpha(PixelView v, int x, int y0, int y1) {
    std::vector<int> out;
    for (int y = y0; y <= y1; ++y) out.push_back(v.at(x, y).a);
    return out;
}

std::vector<int> RowAlpha(PixelView v, int y, int x0, int x1) {
    std::vector<int> out;
    for (int x = x0; x <= x1; ++x) out.push_back(v.at(x, y).a);
    return out;
}

TEST(AlphaTable, IsTruncatedProductOver255) {
    const AlphaTableType& t = AlphaTable();
    struct Case {
        int i, j, expected;
    } cases[] = {{0, 0, 0},      {255, 255, 255}, {255, 7, 7},
                 {128, 128, 64}, {1, 254, 0},     {200, 100, 78}};
    for (const Case& c : cases) EXPECT_EQ(t[c.i][c.j], c.expected) << c.i << " x " << c.j;
}

TEST(ShadowTemplate, DefaultTemplateHasTheShortTopAndLongBottomEdge) {
    PixelBuffer templ = BuildShadowTemplate(RGB(0, 0, 0), kDefaultBlurPasses);
    PixelView v = templ.view();
    ASSERT_EQ(v.width, 135);
    ASSERT_EQ(v.height, 135);
    EXPECT_EQ(ColumnAlpha(v, 65, 0, 15),
              (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 63, 95, 143}));
    EXPECT_EQ(ColumnAlpha(v, 65, 119, 134),
              (std::vector<int>{86, 58, 44, 29, 22, 14, 11, 7, 5, 3, 2, 1, 1, 0, 0, 0}));
    const std::vector<int> left{0, 0, 0, 0, 0, 0, 0, 1, 1, 4, 7, 17, 28, 60, 77, 116};
    EXPECT_EQ(RowAlpha(v, 65, 0, 15), left);
    std::vector<int> right(left.rbegin(), left.rend());
    EXPECT_EQ(RowAlpha(v, 65, 119, 134), right);
}
TEST(RectShadow, CutFromCornersAndRepeatedMiddleOfTheTemplate) {
    PixelBuffer templ = BuildShadowTemplate(RGB(0, 0, 0), kDefaultBlurPasses);
    const PixelView t = templ.view();
    const int T = 135;
    struct Case {
        const char* what;
        int width, height;
        // pixel of the shadow, pixel of the template it must hold
        std::vector<std::pair<POINT, POINT>> pixels;
    } cases[] = {
        {"wide and high: corners and four bands",
         652,
         448,
         {{{0, 0}, {0, 0}},
          {{31, 5}, {65, 5}},  // the top band starts over the corner's last column
          {{300, 14}, {65, 14}},
          {{620, 16}, {65, 16}},
          {{300, 447}, {65, 134}},
          {{300, 431}, {65, 118}},
          {{3, 30}, {3, 65}},         // the left band starts one row above the right band
          {{640, 30}, {T - 12, 30}},  // ... which still shows the top-right corner there
          {{640, 31}, {T - 12, 65}},
          {{651, 200}, {T - 1, 65}},
          {{635, 200}, {T - 17, 65}},
          {{651, 447}, {T - 1, T - 1}}}},
        // 20 pixels wide: the two top corners overlap and no top or bottom band is drawn; the
        // right corner, copied later, wins where they overlap.
        {"narrow: corners only across",
         52,
         200,
         {{{5, 5}, {5, 5}},
          {{19, 5}, {19, 5}},
          {{21, 5}, {T - 32 + 1, 5}},
          {{30, 199}, {T - 32 + 10, T - 1}},
          {{3, 100}, {3, 65}}}},
        {"low: corners only down the sides",
         200,
         62,
         {{{3, 20}, {3, 20}},
          {{3, 31}, {3, T - 32 + 1}},
          {{100, 5}, {65, 5}},
          {{199, 40}, {T - 1, T - 32 + 10}}}},
    };
    for (const Case& c : cases) {
        PixelBuffer shadow(c.width, c.height);
        CutRectShadow(t, shadow.view());
        for (const auto& [at, from] : c.pixels) {
            EXPECT_EQ(shadow.view().at(at.x, at.y), t.at(from.x, from.y))
                << c.what << ": (" << at.x << "," << at.y << ")";
        }
    }
}

TEST(RectShadow, TinyFormsStayInsideTheImage) {
    PixelBuffer templ = BuildShadowTemplate(RGB(0, 0, 0), kDefaultBlurPasses);
    for (int size : {1, 2, 15, 31, 32}) {
        PixelBuffer shadow(size + 32, size + 32);
        CutRectShadow(templ.view(), shadow.view());  // must not write outside the buffer
        EXPECT_EQ(shadow.view().at(0, 0), templ.view().at(0, 0)) << size;
        EXPECT_EQ(shadow.view().at(size + 31, size + 31), templ.view().at(134, 134)) << size;
    }
}

TEST(ShadowTemplate, ColourIsPremultipliedByTheEdgeAlpha) {
    PixelBuffer templ = BuildShadowTemplate(RGB(200, 100, 50), kDefaultBlurPasses);
    const PixelView v = templ.view();
    for (POINT p : {POINT{65, 15}, POINT{65, 119}, POINT{13, 65}, POINT{0, 0}}) {
        const Bgra px = v.at(p.x, p.y);
        EXPECT_EQ(px.r, 200 * px.a / 255) << p.x << "," << p.y;
        EXPECT_EQ(px.g, 100 * px.a / 255) << p.x << "," << p.y;
        EXPECT_EQ(px.b, 50 * px.a / 255) << p.x << "," << p.y;
    }
}

}  // namespace
}  // namespace qv
