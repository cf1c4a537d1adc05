#include "app/window_wording.h"

#include <gtest/gtest.h>

namespace treadkey {
namespace {

TEST(WindowWording, KeyDelayLineInBothLanguages) {
    EXPECT_EQ(KeyDelayLogLine(true, 300), "按键延时响应时间: 300 ms");
    EXPECT_EQ(KeyDelayLogLine(false, 0), "Key Delay:  0 ms");
    EXPECT_EQ(KeyDelayLogLine(false, 65535), "Key Delay:  65535 ms");
}

} // namespace
} // namespace treadkey
