// The placement arithmetic from tables: stored rectangles, fitting to a work
// area, closing and sliding steps.
#include <gtest/gtest.h>

#include "forms/FormPlacement.h"

using namespace quillon::placement;

namespace {

TEST(Placement, StoredRectanglesAreUsedOnlyWhenWhole)
{
    const std::pair<const wchar_t*, Rect> usable[] = {
        {L"-150|38400| 6495 |4800", {-150, 38400, 6495, 4800}},
        {L"1200|900|6495|4800|junk", {1200, 900, 6495, 4800}},
    };
    for (const auto& [text, expected] : usable) {
        Rect rect;
        EXPECT_TRUE(parseRectangle(text, rect)) << text;
        EXPECT_EQ(expected, rect) << text;
    }
    for (const wchar_t* text : {L"Center", L"", L"1200|900|6495", L"1200|9x0|6495|4800", L"1200|900|6495|",
                                L"1200|900|0|4800", L"1200|900|6495|-5", L"1200|900|99999999999|4800"}) {
        Rect rect;
        EXPECT_FALSE(parseRectangle(text, rect)) << text;
    }
    EXPECT_EQ(L"-30|40000|6495|4800", formatRectangle({-30, 40000, 6495, 4800}));
}

TEST(Placement, AStoredRectangleLargerThanItsWorkAreaIsCentredThereAtTheAreasSize)
{
    const Rect area{0, 0, 19200, 15000};
    EXPECT_EQ((Rect{6353, 0, 6495, 15000}), fittedTo({100, 100, 6495, 20000}, area));
    EXPECT_EQ((Rect{-19200, 7495, 19200, 10}), fittedTo({-19000, 5, 30000, 10}, {-19200, 0, 19200, 15000}))
        << "a monitor left of the main one";
}

TEST(Placement, CloseStepsForEachStyle)
{
    const Rect start{1000, 500, 2000, 400};
    struct Case {
        long style, speed;
        std::vector<Rect> steps;
    } cases[] = {
        {3, 150, {{1150, 500, 1850, 400}, {1300, 500, 1700, 400}}},
        {5, 100, {{1100, 500, 1800, 400}}},
        {1, 150, {{1000, 500, 2000, 250}, {1000, 500, 2000, 100}}},
        {2, 200, {{1000, 700, 2000, 200}, {1000, 900, 2000, 0}}},
        {0, 150, {}},
        {6, 150, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.steps, closeSteps(c.style, start, c.speed)) << "style " << c.style;
    EXPECT_EQ(320u, closeSteps(4, {0, 0, 2000, 10}, 0).size()) << "a speed of 0 steps by 1 twip and ends";
    EXPECT_EQ(320u, closeSteps(4, {0, 0, 2000, 10}, -150).size());
}

// Every step stays on the screen (growing both ways may pass its bottom by 275 twips, never its top), a height
// that is its own target stays at every step, and a speed of 0 still ends.
TEST(Placement, SlideStepsReachTheTargetAndKeepTheFormOnTheScreen)
{
    const struct {
        Slide slide;
        Rect last;
        bool keepsPlace;
    } cases[] = {
        {{{100, 100, 3000, 2000}, 3400, 2000, 20000, 15000, 150}, {100, 100, 3400, 2000}, false},
        {{{100, 100, 3000, 2000}, 2000, 1000, 20000, 15000, 400}, {100, 100, 2000, 1000}, true},
        {{{100, 14000, 3000, 2000}, 2000, 9000, 20000, 15000, 500}, {100, 6000, 2000, 9000}, false},
        {{{100, 14000, 3000, 2000}, 2000, 40000, 20000, 15000, 500}, {100, 0, 2000, 15500}, false},
        {{{19000, 14000, 3000, 2000}, 5000, 4000, 20000, 15000, 150}, {15000, 11175, 5000, 4000}, false},
        {{{0, 0, 3000, 2000}, 3010, 2000, 20000, 15000, 0}, {0, 0, 3010, 2000}, false},
    };
    for (const auto& c : cases) {
        bool keepsPlace = !c.keepsPlace;
        const std::vector<Rect> steps = slideSteps(c.slide, keepsPlace);
        ASSERT_FALSE(steps.empty());
        EXPECT_EQ(c.last, steps.back()) << c.slide.endWidth << "x" << c.slide.endHeight;
        EXPECT_EQ(c.keepsPlace, keepsPlace) << c.slide.endWidth << "x" << c.slide.endHeight;
        for (const Rect& r : steps) {
            EXPECT_GE(r.top, 0);
            const long screen = c.slide.screenHeight;
            EXPECT_TRUE(r.height > screen || r.top + r.height <= screen + 275) << r.top << "+" << r.height;
            EXPECT_TRUE(c.slide.endHeight != c.slide.form.height || r.height == c.slide.form.height) << r.height;
        }
    }
}

} // namespace
