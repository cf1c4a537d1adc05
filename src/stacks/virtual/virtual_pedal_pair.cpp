#include "stacks/virtual/virtual_pedal.h"

#include <utility>

namespace treadkey {
namespace {

// Two virtual pedals as one HID stack: each interface is opened on the pedal that offers it.
class VirtualPedalPair : public HidBackend {
public:
    explicit VirtualPedalPair(const VirtualPedalOptions& options) : first_(options), twin_(options, true) {}

    std::vector<HidInterface> enumerate(std::uint16_t wantedVendorId,
                                        std::uint16_t wantedProductId) override {
        std::vector<HidInterface> present = first_.enumerate(wantedVendorId, wantedProductId);
        for (HidInterface& interface : twin_.enumerate(wantedVendorId, wantedProductId)) {
            present.push_back(std::move(interface));
        }
        return present;
    }
    OpenResult open(const std::string& path) override { return offering(path).open(path); }
    OpenResult openReadOnly(const std::string& path) override { return offering(path).openReadOnly(path); }

private:
    VirtualPedal& offering(const std::string& path) { return twin_.offers(path) ? twin_ : first_; }

    VirtualPedal first_;
    VirtualPedal twin_;
};

} // namespace

std::unique_ptr<HidBackend> MakeVirtualPedals(const VirtualPedalOptions& options) {
    if (options.twin) {
        return std::make_unique<VirtualPedalPair>(options);
    }
    return std::make_unique<VirtualPedal>(options);
}

} // namespace treadkey
