#include "cli/pedal_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace treadkey {
namespace {

using Pedals = std::vector<std::string>;

const PedalNames kNames = {{"serial:B", "right"}, {"serial:R", "spare"}};

// With no pedal asked for, each need decides alone among the pedals plugged in.
TEST(ChoosePedal, WithoutAskingEachNeedTakesWhatIsPluggedInOrSaysWhy) {
    const Pedals none;
    const Pedals one = {"serial:A"};
    const Pedals two = {"serial:A", "serial:B"};
    const struct {
        PedalNeed need;
        Pedals present;
        std::string pedal;
        std::string error;
        int exitCode;
    } cases[] = {
        {PedalNeed::AnyOrAll, two, "", "", 0},
        {PedalNeed::OneToWrite, none, "", "", 0},
        {PedalNeed::OneToWrite, one, "", "", 0},
        {PedalNeed::OneToWrite, two, "",
         "2 pedals are plugged in (serial:A, serial:B (right)): choose one with --pedal ID or --pedal NAME "
         "('treadkeyctl identify' tells which one you press)",
         2},
        {PedalNeed::OnePresent, one, "serial:A", "", 0},
        {PedalNeed::OnePresent, none, "", "no pedal found (vendor 2704, product 2018): is it plugged in?", 1},
        {PedalNeed::OnePresent, two, "",
         "2 pedals are plugged in: choose one with --pedal ID or --pedal NAME", 2},
        {PedalNeed::Recorded, one, "serial:A", "", 0},
        {PedalNeed::Recorded, none, "",
         "no pedal is plugged in: say whose record with --pedal ID or --pedal NAME", 2},
        {PedalNeed::Recorded, two, "",
         "2 pedals are plugged in: say whose record with --pedal ID or --pedal NAME", 2},
    };
    for (const auto& c : cases) {
        const PedalChoice choice =
            ChoosePedal(c.need, c.present, "", kNames, [] { return Pedals{"serial:R"}; });
        EXPECT_EQ(choice.pedal, c.pedal) << static_cast<int>(c.need) << " of " << c.present.size();
        EXPECT_EQ(choice.error, c.error) << static_cast<int>(c.need) << " of " << c.present.size();
        if (!c.error.empty()) {
            EXPECT_EQ(choice.exitCode, c.exitCode) << c.error;
        }
    }
}

// An identity or a nickname names a pedal plugged in; only a command that reads the record takes one that is
// merely recorded.
TEST(ChoosePedal, AskedPedalsAreFoundByIdentityOrNickname) {
    const Pedals present = {"serial:A", "serial:B"};
    const struct {
        PedalNeed need;
        std::string asked;
        std::string pedal;
        std::string error;
    } cases[] = {
        {PedalNeed::OneToWrite, "serial:A", "serial:A", ""},
        {PedalNeed::OneToWrite, "right", "serial:B", ""},
        {PedalNeed::OnePresent, "right", "serial:B", ""},
        {PedalNeed::AnyOrAll, "spare", "",
         "no pedal 'spare' is plugged in; pedals present: serial:A, serial:B (right)"},
        {PedalNeed::Recorded, "spare", "serial:R", ""},
        {PedalNeed::Recorded, "serial:A", "serial:A", ""},
        {PedalNeed::Recorded, "left", "",
         "no pedal 'left' is plugged in or recorded; pedals known: serial:A, serial:B (right), serial:R "
         "(spare)"},
    };
    for (const auto& c : cases) {
        const PedalChoice choice =
            ChoosePedal(c.need, present, c.asked, kNames, [] { return Pedals{"serial:R"}; });
        EXPECT_EQ(choice.pedal, c.pedal) << c.asked;
        EXPECT_EQ(choice.error, c.error) << c.asked;
        EXPECT_EQ(choice.exitCode, c.error.empty() ? 0 : 2) << c.asked;
    }
}

} // namespace
} // namespace treadkey
