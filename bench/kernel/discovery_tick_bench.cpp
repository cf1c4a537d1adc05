// One discovery tick (DeviceLink::FindTheHid over the hidapi backend) against a bare enumeration plus one
// open and close, with 1, 16 and 64 HID interfaces present, on the test guest's kernel, and once more at 64
// with a composite pedal whose keyboard and mouse interfaces discovery must pass over unopened. Prints the
// figures; being slow does not fail it, only a tick that misses the pedal does.
#include "pedal/device_link.h"
#include "stacks/hidapi/hidapi_backend.h"
#include "tick_comparison.h"

#include <cstdio>
#include <exception>

int main() {
    using namespace treadkey::kernelbench;
    try {
        PluggedInterfaces plugged;
        const auto backend = treadkey::MakeHidapiBackend();
        // Held across the comparison as the window holds it: the pedal stays open between ticks, for the
        // bare calls as well.
        treadkey::DeviceLink link(*backend);
        const auto ours = [&link] { return link.FindTheHid(0x2704, 0x2018); };

        // One row at the present number of interfaces; false when a tick missed the pedal.
        const auto measure = [&] {
            Comparison compared;
            if (!Compare(BareTick, ours, compared)) {
                std::fprintf(stderr, "discovery_tick_bench: the pedal was not found with %d interfaces\n",
                             plugged.count());
                return false;
            }
            PrintRow(plugged.count(), compared);
            return true;
        };

        PrintHeader("discovery tick", "DeviceLink::FindTheHid");
        for (const int interfaces : {1, 16, 64}) {
            const int before = plugged.count();
            const double plugSeconds = plugged.growTo(interfaces);
            if (!measure()) {
                return 1;
            }
            if (interfaces > before) {
                std::printf("  (plugging %d more uhid devices took %.2f s)\n", interfaces - before,
                            plugSeconds);
            }
        }
        // The kernel has 64 hidraw numbers, and an open handle keeps an unplugged node's number taken.
        link.CloseDeviceHandles();
        plugged.makeComposite();
        std::printf("the same, the pedal composite (keyboard, mouse, then its vendor interface):\n");
        if (!measure()) {
            return 1;
        }
        if (link.DevicePathName != plugged.pedalPath()) {
            std::fprintf(stderr,
                         "discovery_tick_bench: discovery took %s, not the pedal's vendor interface %s\n",
                         link.DevicePathName.c_str(), plugged.pedalPath().c_str());
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "discovery_tick_bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
