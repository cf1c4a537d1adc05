#include "device/pedal_hold.h"

#include "device/device_link.h"
#include "device/fake_hid_backend.h"

#include <gtest/gtest.h>

namespace treadkey::testing {
namespace {

// A composite pedal, its configuration interface first, and the computer's own keyboard with other ids.
class PedalHoldTest : public ::testing::Test {
protected:
    void SetUp() override {
        backend.Plug({"computer-keyboard", 0x046D, 0xC31C, 2, true, {{0x01, 0x06}}});
        backend.Plug({"pedal", 0x2704, 0x2018, 9, true, {{0xFF00, 0x01}}});
        PlugKeyboardAndMouse();
    }
    void PlugKeyboardAndMouse(bool holdable = true) {
        backend.Plug({"pedal-keyboard", 0x2704, 0x2018, 2, true, {{0x01, 0x06}}, {}, true, holdable});
        backend.Plug({"pedal-mouse", 0x2704, 0x2018, 0, true, {{0x01, 0x02}}, {}, true, holdable});
    }
    // What a tick does: discovery, then the hold follows what it saw.
    void Follow() {
        link.FindTheHid("&H2704", "&H2018");
        hold.Follow(link.LastDiscovery.seen);
    }
    std::vector<std::string> UnheldPaths() const {
        std::vector<std::string> paths;
        for (const UnheldInterface& unheld : hold.Unheld()) {
            paths.push_back(unheld.path);
        }
        return paths;
    }

    FakeHidBackend backend;
    DeviceLink link{backend};
    PedalHold hold{backend};
};

TEST_F(PedalHoldTest, HoldsThePedalsKeyboardAndMouseAloneUntilReleasedAndAgainAfter) {
    backend.OfferHolds();
    Follow();
    EXPECT_EQ(hold.HeldCount(), 2U);
    EXPECT_EQ(backend.LiveHolds(), 2) << "neither the configuration interface nor another device is held";
    EXPECT_TRUE(hold.Unheld().empty());
    Follow();
    EXPECT_EQ(backend.HoldsTried(), 2) << "a held interface is not asked again";
    hold.Release();
    EXPECT_EQ(backend.LiveHolds(), 0);
    Follow();
    EXPECT_EQ(backend.LiveHolds(), 2);
}

TEST_F(PedalHoldTest, UnpluggedIsLetGoAndReplugsAreHeldAnewAtTheNextFollow) {
    backend.OfferHolds();
    Follow();
    backend.Unplug("pedal-mouse");
    Follow();
    EXPECT_EQ(backend.LiveHolds(), 1);
    // Out and in again between two follows: the same paths, but the old holds ended with the old devices.
    backend.Unplug("pedal-keyboard");
    PlugKeyboardAndMouse();
    Follow();
    EXPECT_EQ(hold.HeldCount(), 2U);
    EXPECT_EQ(backend.LiveHolds(), 2);
}

TEST_F(PedalHoldTest, RefusedForPermissionIsNamedAndTriedAgainUntilItIsHeld) {
    backend.OfferHolds();
    backend.Unplug("pedal-keyboard");
    backend.Unplug("pedal-mouse");
    PlugKeyboardAndMouse(false);
    Follow();
    Follow();
    EXPECT_EQ(backend.HoldsTried(), 4);
    EXPECT_EQ(UnheldPaths(), (std::vector<std::string>{"pedal-keyboard", "pedal-mouse"}));
    EXPECT_EQ(hold.Unheld().front().refusal, HoldRefusal::PermissionDenied);
    EXPECT_EQ(hold.Unheld().front().problem, "permission denied on the input of pedal-keyboard");
    // The rule's permission arrives a moment after the plug, as udev grants it.
    backend.Unplug("pedal-keyboard");
    backend.Unplug("pedal-mouse");
    PlugKeyboardAndMouse();
    Follow();
    EXPECT_TRUE(hold.Unheld().empty());
    EXPECT_EQ(backend.LiveHolds(), 2);
}

TEST_F(PedalHoldTest, ABackendWithoutHoldsIsAskedOnceAndItsInterfacesStayNamedAfterARelease) {
    Follow();
    Follow();
    EXPECT_EQ(backend.HoldsTried(), 2);
    hold.Release();
    EXPECT_EQ(UnheldPaths(), (std::vector<std::string>{"pedal-keyboard", "pedal-mouse"}));
    EXPECT_EQ(hold.Unheld().back().refusal, HoldRefusal::NotOffered);
    backend.Unplug("pedal-mouse");
    Follow();
    EXPECT_EQ(UnheldPaths(), std::vector<std::string>{"pedal-keyboard"});
}

} // namespace
} // namespace treadkey::testing
