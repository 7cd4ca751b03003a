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
}  // namespace
}  // namespace qv
