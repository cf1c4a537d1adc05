#include "arguments/utf8_path.h"

#include <gtest/gtest.h>

#include <string>

namespace treadkey {
namespace {

// The names are kept whole both ways, also where the system's own paths are not UTF-8 (Windows).
TEST(Utf8Path, KeepsNamesOutsideTheSystemsCodePage) {
    const char* const names[] = {"reports.log", "报告-é.log", "Ünïcödé/子目录/😀.json", ""};
    for (const std::string name : names) {
        EXPECT_EQ(Utf8OfPath(PathOfUtf8(name)), name);
    }
}

} // namespace
} // namespace treadkey
