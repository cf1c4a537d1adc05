#include "device/device_link.h"
#include "device/fake_hid_backend.h"

#include <benchmark/benchmark.h>

namespace {

using treadkey::testing::FakeHidBackend;

// The pedal is plugged last, so a tick walks past every other interface before it finds it.
void PlugInterfaces(FakeHidBackend& backend, int count) {
    for (int i = 0; i + 1 < count; ++i) {
        backend.Plug({"other-" + std::to_string(i), 0x046D, static_cast<std::uint16_t>(0xC000 + i), 9, true});
    }
    backend.Plug({"pedal", 0x2704, 0x2018, 9, true});
}

void BM_Enumeration(benchmark::State& state) {
    FakeHidBackend backend;
    PlugInterfaces(backend, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(backend.enumerate(0x2704, 0x2018));
    }
}

void BM_DiscoveryTick(benchmark::State& state) {
    FakeHidBackend backend;
    PlugInterfaces(backend, static_cast<int>(state.range(0)));
    treadkey::DeviceLink link(backend);
    for (auto _ : state) {
        benchmark::DoNotOptimize(link.FindTheHid("&H2704", "&H2018"));
    }
}

BENCHMARK(BM_Enumeration)->Arg(1)->Arg(16)->Arg(64);
BENCHMARK(BM_DiscoveryTick)->Arg(1)->Arg(16)->Arg(64);

} // namespace

BENCHMARK_MAIN();
