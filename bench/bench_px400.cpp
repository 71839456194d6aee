// The PX400 to PX600 conversion in memory, one sample model per run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "convert/Conversion.h"
#include "convert/PX400Convert.h"
#include "model/ConvertHW.h"
#include "model/ModelData.h"
#include "samplegen/PX400Samples.h"

namespace {

void BM_ConvertFromPX400(benchmark::State& state)
{
    const PX400Sample& sample = PX400SampleList()[size_t(state.range(0))];
    auto source = std::make_unique<CModelDataPX400>();
    const auto image = MakePX400Sample(sample).Image();
    std::memcpy(source->GetImage(), image.data(), PX400_IMAGE_SIZE);
    CConvertHW table;
    auto target = std::make_unique<CModelDataPX600>(&table);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ConvertFromPX400(*target, *source));
        benchmark::ClobberMemory();
    }
    state.SetLabel(sample.fileName);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(PX400_IMAGE_SIZE));
}
BENCHMARK(BM_ConvertFromPX400)->DenseRange(0, 3);

// One point curve resampled: the innermost step of the conversion.
void BM_ResampleCurve(benchmark::State& state)
{
    const auto image = MakePX400Sample(PX400SampleList()[0]).Image();
    const uint8_t* curve = image.data() + 106508 + 48;
    uint8_t out[51];
    for (auto _ : state) {
        ResampleCurve(out, curve, 17);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_ResampleCurve);

}  // namespace
