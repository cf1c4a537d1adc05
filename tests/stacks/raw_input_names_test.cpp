#include "stacks/windows/raw_input_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace treadkey::windows_hid {
namespace {

const std::string kKeyboardPath =
    R"(\\?\hid#vid_2704&pid_2018&mi_01#7&1a2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";

TEST(SameCollection, ComparesUpToTheClassGuidWithoutCaseOrPrefix) {
    const struct {
        std::string path;
        std::string rawInputName;
        bool same;
    } cases[] = {
        {kKeyboardPath,
         R"(\\?\HID#VID_2704&PID_2018&MI_01#7&1A2B3C&0&0000#{884b96c3-56ef-11d1-bc8c-00a0c91405dd})", true},
        {kKeyboardPath,
         R"(\??\HID#VID_2704&PID_2018&MI_01#7&1a2b3c&0&0000#{884b96c3-56ef-11d1-bc8c-00a0c91405dd})", true},
        {R"(\\?\hid#vid_2704&pid_2018&mi_02#7&2b3c4d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
         R"(\\?\HID#VID_2704&PID_2018&MI_02#7&2b3c4d&0&0000#{378de44c-56ef-11d1-bc8c-00a0c91405dd})", true},
        {R"(\\?\hid#vid_2704&pid_2018&mi_01&col02#7&1a2b3c&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030})",
         R"(\\?\HID#VID_2704&PID_2018&MI_01&Col02#7&1a2b3c&0&0001#{884b96c3-56ef-11d1-bc8c-00a0c91405dd})",
         true},
        // Another interface, another collection of it, the same pedal plugged in elsewhere.
        {kKeyboardPath,
         R"(\\?\HID#VID_2704&PID_2018&MI_02#7&1a2b3c&0&0000#{884b96c3-56ef-11d1-bc8c-00a0c91405dd})", false},
        {kKeyboardPath,
         R"(\\?\HID#VID_2704&PID_2018&MI_01&Col02#7&1a2b3c&0&0001#{884b96c3-56ef-11d1-bc8c-00a0c91405dd})",
         false},
        {kKeyboardPath,
         R"(\\?\HID#VID_2704&PID_2018&MI_01#7&9f8e7d&0&0000#{884b96c3-56ef-11d1-bc8c-00a0c91405dd})", false},
        // A longer name that only begins alike.
        {kKeyboardPath,
         R"(\\?\HID#VID_2704&PID_2018&MI_01#7&1a2b3c&0&00001#{884b96c3-56ef-11d1-bc8c-00a0c91405dd})", false},
        // Wine's one keyboard and one mouse for all of them.
        {kKeyboardPath, R"(\\?\WINE_KEYBOARD#0#{884b96c3-56ef-11d1-bc8c-00a0c91405dd})", false},
        {kKeyboardPath, "", false},
        {"", "", false},
        {R"(\\?\#{4d1e55b2-f16f-11cf-88cb-001111000030})", R"(\??\#{884b96c3-56ef-11d1-bc8c-00a0c91405dd})",
         false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SameCollection(c.path, c.rawInputName), c.same) << c.path << " against " << c.rawInputName;
        EXPECT_EQ(SameCollection(c.rawInputName, c.path), c.same) << c.rawInputName << " against " << c.path;
    }
}

TEST(RawInputNameOf, GivesTheFirstNameOfTheCollectionOrNothing) {
    const std::string keyboard =
        R"(\\?\HID#VID_2704&PID_2018&MI_01#7&1a2b3c&0&0000#{884b96c3-56ef-11d1-bc8c-00a0c91405dd})";
    const std::string otherKeyboard =
        R"(\\?\HID#VID_046D&PID_C31C&MI_00#7&55aa&0&0000#{884b96c3-56ef-11d1-bc8c-00a0c91405dd})";
    const std::string mouse =
        R"(\\?\HID#VID_2704&PID_2018&MI_02#7&2b3c4d&0&0000#{378de44c-56ef-11d1-bc8c-00a0c91405dd})";
    EXPECT_EQ(RawInputNameOf(kKeyboardPath, std::vector<std::string>{otherKeyboard, mouse, keyboard}),
              keyboard);
    EXPECT_EQ(RawInputNameOf(kKeyboardPath, std::vector<std::string>{otherKeyboard, mouse}), std::nullopt);
    EXPECT_EQ(RawInputNameOf(kKeyboardPath, std::vector<std::string>{}), std::nullopt);
}

} // namespace
} // namespace treadkey::windows_hid
