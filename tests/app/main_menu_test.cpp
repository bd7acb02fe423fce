#include <gtest/gtest.h>

#include <vector>

#include "app/main_menu.h"

namespace {

std::vector<int> SeparatorsFor(const std::vector<int>& groups) {
    bool flags[64];
    PlaceSeparators(groups.data(), static_cast<int>(groups.size()), flags);
    std::vector<int> positions;
    for (size_t i = 0; i < groups.size(); ++i)
        if (flags[i]) positions.push_back(static_cast<int>(i));
    return positions;
}

TEST(MainMenuSeparators, StandBetweenGroupsThatShowAnItem) {
    // The built-in groups: 0-1, 2-3, 4-7, 8-11, 12-14, 15-17.
    std::vector<int> all = {1, 1, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 7, 7, 7};
    EXPECT_EQ(SeparatorsFor(all), (std::vector<int>{2, 4, 8, 12, 15}));

    std::vector<int> lastGroupHidden = all;
    for (int i = 15; i < 18; ++i) lastGroupHidden[i] = -1;
    EXPECT_EQ(SeparatorsFor(lastGroupHidden), (std::vector<int>{2, 4, 8, 12})) << "no trailing separator";

    std::vector<int> middleHidden = all;
    for (int i = 8; i < 12; ++i) middleHidden[i] = -1;
    EXPECT_EQ(SeparatorsFor(middleHidden), (std::vector<int>{2, 4, 12, 15})) << "never two in a row";

    std::vector<int> firstHidden = all;
    firstHidden[0] = firstHidden[1] = -1;
    EXPECT_EQ(SeparatorsFor(firstHidden), (std::vector<int>{4, 8, 12, 15})) << "no leading separator";

    std::vector<int> none(18, -1);
    EXPECT_TRUE(SeparatorsFor(none).empty());
}

}  // namespace
