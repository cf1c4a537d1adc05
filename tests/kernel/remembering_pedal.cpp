#include "kernel/remembering_pedal.h"

#include "kernel/test_descriptors.h"
#include "stacks/virtual/virtual_presses.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace treadkey::kerneltest {
namespace {

UhidIdentity On(UhidIdentity identity, const std::string& phys, const std::string& serial) {
    identity.phys = phys;
    identity.serial = serial;
    return identity;
}

} // namespace

CompositePedal::CompositePedal(const std::string& phys, const std::string& serial)
    : keyboard(On(PedalKeyboardIdentity(), phys, serial)), mouse(On(PedalMouseIdentity(), phys, serial)),
      vendor(On(PedalIdentity(VendorOutputDescriptor(8)), phys, serial)) {}

RememberingPedal::RememberingPedal(const std::string& phys, const std::string& serial,
                                   std::optional<std::size_t> droppedReport)
    : CompositePedal(phys, serial), droppedReport_(droppedReport) {}

PedalMemory RememberingPedal::memory() {
    PedalMemory memory;
    const std::vector<Bytes> reports = vendor.outputReports();
    for (std::size_t i = 0; i < reports.size(); ++i) {
        if (i != droppedReport_) {
            memory.decode(reports[i]);
        }
    }
    return memory;
}

void RememberingPedal::press(int slot) {
    const std::optional<MemoryWord> word = memory().slot(slot);
    const std::optional<SlotPress> press = word ? PressOfSlot(*word) : std::nullopt;
    ASSERT_TRUE(press) << "slot " << slot << " holds nothing to press";
    for (const Bytes& report : press->reports) {
        (press->mouse ? mouse : keyboard).sendInput(report);
    }
}

} // namespace treadkey::kerneltest
