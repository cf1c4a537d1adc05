#pragma once

#include "hid/input_layout.h"
#include "protocol/report_hex.h"
#include "stacks/fake_hid_backend.h"

#include <span>
#include <string>
#include <vector>

namespace treadkey::testing {

// The in-process HID stack both window fixtures run over, with the pedal's interfaces to plug into it.
class FakePedalStack {
protected:
    static constexpr const char* kPedal = "pedal-0";
    static constexpr const char* kKeyboard = "pedal-keyboard";
    static constexpr const char* kMouse = "pedal-mouse";

    void PlugPedal(int reportLength = 9) { backend.Plug({kPedal, 0x2704, 0x2018, reportLength, true}); }
    // A composite pedal with its keyboard (of these collections) and mouse after the configuration interface,
    // so that the window must know them from the interfaces discovery records past its match.
    void PlugComposite(const std::vector<HidCollection>& collections = {{0x01, 0x06}}) {
        PlugPedal();
        const std::span<const std::uint8_t> keyboard = BootKeyboardDescriptor();
        backend.Plug({kKeyboard, 0x2704, 0x2018, 2, true, collections, {{keyboard.begin(), keyboard.end()}}});
        const std::span<const std::uint8_t> mouse = BootMouseDescriptor();
        backend.Plug({kMouse, 0x2704, 0x2018, 0, true, {{0x01, 0x02}}, {{mouse.begin(), mouse.end()}}});
    }

    // Each report the pedal received, as upper-case hex bytes separated by spaces.
    std::vector<std::string> HexReports() const {
        std::vector<std::string> lines;
        for (const auto& report : backend.Reports()) {
            lines.push_back(ReportHexLine(report));
        }
        return lines;
    }

    FakeHidBackend backend;
};

} // namespace treadkey::testing
