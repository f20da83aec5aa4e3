#include "services/NumberText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

TEST(NumberText, SpellsEveryNumberAsToWstringDoes) {
    for (const std::int64_t value :
         {std::int64_t{0}, std::int64_t{7}, std::int64_t{-7}, std::int64_t{1234567890},
          std::int64_t{-2147483648}, std::numeric_limits<std::int64_t>::max(),
          std::numeric_limits<std::int64_t>::min()}) {
        EXPECT_EQ(services::NumberText(value), std::to_wstring(value)) << value;
    }
}

} // namespace
