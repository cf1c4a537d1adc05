#include "crowded_hid_stack.h"
#include "pedal/device_link.h"

#include <benchmark/benchmark.h>

namespace {

using treadkey::testing::FakeHidBackend;

void BM_Enumeration(benchmark::State& state) {
    FakeHidBackend backend;
    treadkey::bench::PlugOthersThenPedal(backend, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(backend.enumerate(0x2704, 0x2018));
    }
}

void BM_DiscoveryTick(benchmark::State& state) {
    FakeHidBackend backend;
    treadkey::bench::PlugOthersThenPedal(backend, static_cast<int>(state.range(0)));
    treadkey::DeviceLink link(backend);
    for (auto _ : state) {
        benchmark::DoNotOptimize(link.FindTheHid(0x2704, 0x2018));
    }
}

BENCHMARK(BM_Enumeration)->Arg(1)->Arg(16)->Arg(64);
BENCHMARK(BM_DiscoveryTick)->Arg(1)->Arg(16)->Arg(64);

} // namespace

BENCHMARK_MAIN();
