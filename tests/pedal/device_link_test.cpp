#include "pedal/device_link.h"
#include "pedal/interface_choice.h"
#include "stacks/fake_hid_backend.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace treadkey {
namespace {

using testing::FakeHidBackend;

class DeviceLinkTest : public ::testing::Test {
protected:
    bool Find() { return link.FindTheHid(0x2704, 0x2018); }

    FakeHidBackend backend;
    DeviceLink link{backend};
};

TEST_F(DeviceLinkTest, WritesGoThroughTheMatchAndReportSuccessOnlyWhenAllBytesWent) {
    backend.Plug({"pedal", 0x2704, 0x2018, 9, true});
    const std::vector<std::uint8_t> report(9, 0);
    EXPECT_FALSE(link.WriteReport(report)); // nothing open yet
    ASSERT_TRUE(Find());
    EXPECT_TRUE(link.WriteReport(report));
    EXPECT_EQ(link.LastResult, 9);
    EXPECT_FALSE(link.WriteReport({})); // a length that holds no report writes nothing
    backend.SetFailWrites(true);
    EXPECT_FALSE(link.WriteReport(report));
    EXPECT_EQ(link.LastResult, -1);
    EXPECT_TRUE(
        link.DeviceDetected); // a failed write does not end the connection; the next discovery decides
}

TEST_F(DeviceLinkTest, UnknownReportLengthKeepsTheLastKnownOne) {
    backend.Plug({"pedal-65", 0x2704, 0x2018, 65, true});
    ASSERT_TRUE(Find());
    backend.Unplug("pedal-65");
    backend.Plug({"pedal-unknown", 0x2704, 0x2018, std::nullopt, true});
    ASSERT_TRUE(Find());
    EXPECT_EQ(link.OutputReportByteLength, 65);
}

TEST_F(DeviceLinkTest, OpenProblemIsKeptOnlyWhileNoMatchOpens) {
    backend.Plug({"locked", 0x2704, 0x2018, 9, false});
    EXPECT_FALSE(Find());
    EXPECT_EQ(link.LastDiscovery.note, DiscoveryNote::NoneOpens);
    ASSERT_EQ(link.LastDiscovery.seen.size(), 1u);
    EXPECT_EQ(link.LastDiscovery.seen[0].openProblem, "permission denied: locked");
    EXPECT_EQ(link.LastDiscovery.seen[0].openFailure, OpenFailure::PermissionDenied);
    backend.Plug({"pedal", 0x2704, 0x2018, 9, true});
    EXPECT_TRUE(Find());
    EXPECT_EQ(link.LastDiscovery.note, DiscoveryNote::None);
}

TEST_F(DeviceLinkTest, ForgettingThePedalReleasesTheHandlesOfTheLastMatch) {
    backend.Plug({"pedal", 0x2704, 0x2018, 9, true});
    ASSERT_TRUE(Find());
    ASSERT_EQ(backend.LiveHandles(), 2);
    link.ForgetThePedal();
    EXPECT_EQ(backend.LiveHandles(), 0);
    EXPECT_FALSE(link.DeviceDetected);
    EXPECT_EQ(link.LastDiscovery, DiscoveryReport{});
}

constexpr HidCollection kPointer{0x01, 0x01}, kMouse{0x01, 0x02}, kKeyboard{0x01, 0x06}, kKeypad{0x01, 0x07},
    kDigitizer{0x0D, 0x01}, kPen{0x0D, 0x02}, kTouchScreen{0x0D, 0x04}, kTouchPad{0x0D, 0x05},
    kVendor{0xFF00, 0x01}, kConsumer{0x0C, 0x01};

struct SelectionCase {
    const char* name;
    std::vector<FakeHidBackend::Interface> interfaces; // plugged in this order
    std::string chosen;                                // empty: none
    std::vector<std::string> opened;                   // every open discovery tries, in order
    DiscoveryNote note;
    std::vector<std::string> tooShort{}; // open, but not taken: a later one holds a whole frame
};

FakeHidBackend::Interface Node(std::string path, std::vector<HidCollection> collections,
                               std::optional<int> length = 9, bool openable = true) {
    return {std::move(path), 0x2704, 0x2018, length, openable, std::move(collections)};
}

std::vector<SelectionCase> SelectionCases() {
    std::vector<SelectionCase> cases;
    for (const HidCollection held :
         {kPointer, kMouse, kKeyboard, kKeypad, kDigitizer, kPen, kTouchScreen, kTouchPad}) {
        cases.push_back({"held by the system alone",
                         {Node("held", {held}), Node("vendor", {kVendor})},
                         "vendor",
                         {"vendor", "vendor"},
                         DiscoveryNote::None});
    }
    for (const HidCollection shared :
         {HidCollection{0x0C, 0x01}, HidCollection{0x01, 0x80}, HidCollection{0x01, 0x04},
          HidCollection{0x01, 0x00}, HidCollection{0x0D, 0x03}, HidCollection{0xFFFF, 0xFF}, kVendor}) {
        cases.push_back({"opened shared",
                         {Node("shared", {shared}), Node("vendor", {kVendor})},
                         "shared",
                         {"shared", "shared"},
                         DiscoveryNote::None});
    }
    cases.push_back({"a node with a shared collection beside a keyboard stays a candidate",
                     {Node("keyboard", {kKeyboard, {0x0C, 0x01}}), Node("vendor", {kVendor})},
                     "keyboard",
                     {"keyboard", "keyboard"},
                     DiscoveryNote::None});
    cases.push_back({"a node of keyboard and mouse is passed over",
                     {Node("both", {kKeyboard, kMouse}), Node("vendor", {kVendor})},
                     "vendor",
                     {"vendor", "vendor"},
                     DiscoveryNote::None});
    cases.push_back({"collections unknown: a candidate",
                     {Node("unknown", {}), Node("vendor", {kVendor})},
                     "unknown",
                     {"unknown", "unknown"},
                     DiscoveryNote::None});
    cases.push_back({"the first candidate in enumeration order",
                     {Node("keyboard", {kKeyboard}, 2), Node("mouse", {kMouse}, 0),
                      Node("vendor-a", {kVendor}, 65), Node("vendor-b", {kVendor})},
                     "vendor-a",
                     {"vendor-a", "vendor-a"},
                     DiscoveryNote::None});
    cases.push_back({"only keyboard and mouse",
                     {Node("keyboard", {kKeyboard}, 2), Node("mouse", {kMouse}, 0)},
                     "",
                     {},
                     DiscoveryNote::NoConfigurationInterface});
    cases.push_back({"the only candidate is locked",
                     {Node("keyboard", {kKeyboard}, 2), Node("vendor", {kVendor}, 9, false)},
                     "",
                     {"vendor"},
                     DiscoveryNote::NoneOpens});
    cases.push_back({"a candidate too short for a frame is still taken",
                     {Node("keyboard", {kKeyboard}, 2), Node("consumer", {{0x0C, 0x01}}, 2)},
                     "consumer",
                     {"consumer", "consumer"},
                     DiscoveryNote::ShortOutputReport});
    // A keyboard that carries media keys in the same interface, with its 2-byte LED report.
    cases.push_back(
        {"a mixed keyboard first gives way to an interface that holds a frame",
         {Node("mixed", {kKeyboard, kConsumer}, 2), Node("mouse", {kMouse}, 0), Node("vendor", {kVendor})},
         "vendor",
         {"mixed", "vendor", "vendor"},
         DiscoveryNote::None,
         {"mixed"}});
    cases.push_back(
        {"a mixed keyboard last is recorded, not opened",
         {Node("mouse", {kMouse}, 0), Node("vendor", {kVendor}), Node("mixed", {kKeyboard, kConsumer}, 2)},
         "vendor",
         {"vendor", "vendor"},
         DiscoveryNote::None});
    cases.push_back({"a mixed keyboard whose output report holds a frame takes it",
                     {Node("mixed", {kKeyboard, kConsumer}, 8), Node("vendor", {kVendor})},
                     "mixed",
                     {"mixed", "mixed"},
                     DiscoveryNote::None});
    // Windows gives each collection an interface of its own and keeps the keyboard one.
    cases.push_back(
        {"a consumer collection without an output report gives way to the vendor one",
         {Node("keyboard", {kKeyboard}, 2), Node("consumer", {kConsumer}, 0), Node("vendor", {kVendor})},
         "vendor",
         {"consumer", "vendor", "vendor"},
         DiscoveryNote::None,
         {"consumer"}});
    cases.push_back({"an unknown report length gives way to a known whole one",
                     {Node("unknown", {kVendor}, std::nullopt), Node("vendor", {kVendor})},
                     "vendor",
                     {"unknown", "vendor", "vendor"},
                     DiscoveryNote::None,
                     {"unknown"}});
    cases.push_back({"no candidate holds a frame: the first that opens, every one tried",
                     {Node("locked", {kConsumer}, 9, false), Node("short-a", {kConsumer}, 5),
                      Node("short-b", {kVendor}, 2)},
                     "short-a",
                     {"locked", "short-a", "short-b", "short-a"},
                     DiscoveryNote::ShortOutputReport});
    cases.push_back({"nothing with the ids", {}, "", {}, DiscoveryNote::None});
    return cases;
}

TEST(PedalSelection, PassesOverWhatTheSystemHoldsWithoutOpeningIt) {
    for (const SelectionCase& c : SelectionCases()) {
        SCOPED_TRACE(c.name + (c.interfaces.empty() || c.interfaces[0].collections.empty()
                                   ? std::string()
                                   : " " + std::to_string(c.interfaces[0].collections[0].page) + ":" +
                                         std::to_string(c.interfaces[0].collections[0].usage)));
        FakeHidBackend backend;
        backend.Plug({"other ids", 0x1234, 0x5678, 9, true, {}});
        for (const FakeHidBackend::Interface& i : c.interfaces) {
            backend.Plug(i);
        }
        DeviceLink link(backend);
        EXPECT_EQ(link.FindTheHid(0x2704, 0x2018), !c.chosen.empty());
        EXPECT_EQ(link.DeviceDetected ? link.DevicePathName : std::string(), c.chosen);
        EXPECT_EQ(backend.OpenedPaths(), c.opened);
        EXPECT_EQ(link.LastDiscovery.note, c.note);
        // The report names every interface with the ids, with its verdict, so that the watch finds each
        // keyboard and mouse wherever it stands.
        ASSERT_EQ(link.LastDiscovery.seen.size(), c.interfaces.size());
        for (std::size_t i = 0; i < link.LastDiscovery.seen.size(); ++i) {
            const SeenInterface& seen = link.LastDiscovery.seen[i];
            const auto named = [&](const std::vector<std::string>& paths) {
                return std::find(paths.begin(), paths.end(), seen.interface.path) != paths.end();
            };
            EXPECT_EQ(seen.interface.path, c.interfaces[i].path);
            EXPECT_EQ(seen.tried, named(c.opened));
            EXPECT_EQ(seen.verdict == InterfaceVerdict::Chosen, seen.interface.path == c.chosen);
            EXPECT_EQ(seen.verdict == InterfaceVerdict::CannotHoldFrame, named(c.tooShort));
        }
    }
}

TEST_F(DeviceLinkTest, CloseReleasesBothHandles) {
    backend.Plug({"pedal", 0x2704, 0x2018, 9, true});
    ASSERT_TRUE(Find());
    EXPECT_EQ(backend.LiveHandles(), 2);
    EXPECT_TRUE(link.CloseDeviceHandles());
    EXPECT_EQ(backend.LiveHandles(), 0);
    EXPECT_FALSE(link.CloseDeviceHandles());
}

// Two twins with the same ids, their interfaces interleaved as an enumeration may give them, and one
// interface whose pedal the stack cannot tell.
TEST_F(DeviceLinkTest, InterfacesAreGroupedByPedalAndOnlyTheChosenPedalIsWritten) {
    const std::vector<HidCollection> keyboard{{0x01, 0x06}};
    backend.Plug({.path = "/dev/hidraw0", .collections = keyboard, .pedal = "usb-1-2"});
    backend.Plug({.path = "/dev/hidraw1", .collections = keyboard, .pedal = "serial:ABC"});
    backend.Plug({.path = "/dev/hidraw2", .pedal = "usb-1-2"});
    backend.Plug({.path = "/dev/hidraw3", .pedal = "serial:ABC"});
    backend.Plug({.path = "/dev/hidraw4", .pedal = ""});

    const std::vector<DiscoveryReport> pedals = DiscoverPedals(backend, 0x2704, 0x2018, Opening::None);
    ASSERT_EQ(pedals.size(), 3u);
    const std::vector<std::string> identities{"usb-1-2", "serial:ABC", "/dev/hidraw4"};
    for (std::size_t p = 0; p < pedals.size(); ++p) {
        EXPECT_EQ(pedals[p].pedal, identities[p]);
        EXPECT_EQ(pedals[p].pedals, identities);
    }
    EXPECT_EQ(pedals[1].seen.size(), 2u);
    EXPECT_EQ(pedals[1].seen[1].interface.path, "/dev/hidraw3");

    const struct {
        std::string wanted;
        std::string path; // empty: not found
    } cases[] = {{"", "/dev/hidraw2"}, {"serial:ABC", "/dev/hidraw3"}, {"usb-9-9", ""}};
    for (const auto& c : cases) {
        link.WantedPedal = c.wanted;
        backend.ClearWrites();
        EXPECT_EQ(Find(), !c.path.empty()) << c.wanted;
        EXPECT_EQ(link.LastDiscovery.pedals, identities);
        if (!c.path.empty()) {
            EXPECT_TRUE(link.WriteReport(std::vector<std::uint8_t>(9, 0)));
            ASSERT_EQ(backend.Writes().size(), 1u);
            EXPECT_EQ(backend.Writes()[0].path, c.path) << c.wanted;
        }
    }
    // Absent, the wanted pedal is waited for: no other is taken in its place.
    EXPECT_EQ(link.LastDiscovery.pedal, "");
    EXPECT_TRUE(link.LastDiscovery.seen.empty());
    EXPECT_EQ(link.HIDHandle, nullptr);
}

} // namespace
} // namespace treadkey
