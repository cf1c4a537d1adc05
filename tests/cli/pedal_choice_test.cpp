#include "cli/pedal_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace treadkey {
namespace {

using Pedals = std::vector<std::string>;

const PedalNames kNames = {{"serial:B", "right"}, {"serial:R", "spare"}};

// With no pedal asked for, each need decides alone among the pedals plugged in. An identity or a nickname
// names a pedal plugged in; only a command that reads the record takes one that is merely recorded.
TEST(ChoosePedal, EachNeedTakesThePedalAskedForOrWhatIsPluggedInOrSaysWhy) {
    const Pedals none;
    const Pedals one = {"serial:A"};
    const Pedals two = {"serial:A", "serial:B"};
    const struct {
        PedalNeed need;
        Pedals present;
        std::string asked;
        std::string pedal;
        std::string error;
        int exitCode = 0;
    } cases[] = {
        {PedalNeed::AnyOrAll, two, "", "", ""},
        {PedalNeed::OneToWrite, none, "", "", ""},
        {PedalNeed::OneToWrite, one, "", "", ""},
        {PedalNeed::OneToWrite, two, "", "",
         "2 pedals are plugged in (serial:A, serial:B (right)): choose one with --pedal ID or --pedal NAME "
         "('treadkeyctl identify' tells which one you press)",
         2},
        {PedalNeed::OnePresent, one, "", "serial:A", ""},
        {PedalNeed::OnePresent, none, "", "", "no pedal found (vendor 2704, product 2018): is it plugged in?",
         1},
        {PedalNeed::OnePresent, two, "", "",
         "2 pedals are plugged in: choose one with --pedal ID or --pedal NAME", 2},
        {PedalNeed::Recorded, one, "", "serial:A", ""},
        {PedalNeed::Recorded, none, "", "",
         "no pedal is plugged in: say whose record with --pedal ID or --pedal NAME", 2},
        {PedalNeed::Recorded, two, "", "",
         "2 pedals are plugged in: say whose record with --pedal ID or --pedal NAME", 2},
        {PedalNeed::OneToWrite, two, "serial:A", "serial:A", ""},
        {PedalNeed::OneToWrite, two, "right", "serial:B", ""},
        {PedalNeed::OnePresent, two, "right", "serial:B", ""},
        {PedalNeed::AnyOrAll, two, "spare", "",
         "no pedal 'spare' is plugged in; pedals present: serial:A, serial:B (right)", 2},
        {PedalNeed::Recorded, two, "spare", "serial:R", ""},
        {PedalNeed::Recorded, two, "serial:A", "serial:A", ""},
        {PedalNeed::Recorded, two, "left", "",
         "no pedal 'left' is plugged in or recorded; pedals known: serial:A, serial:B (right), serial:R "
         "(spare)",
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.need) << " of " << c.present.size()
                                          << ", asked '" << c.asked << "'");
        const PedalChoice choice =
            ChoosePedal(c.need, c.present, c.asked, kNames, [] { return Pedals{"serial:R"}; });
        EXPECT_EQ(choice.pedal, c.pedal);
        EXPECT_EQ(choice.error, c.error);
        EXPECT_EQ(choice.exitCode, c.exitCode);
    }
}

} // namespace
} // namespace treadkey
