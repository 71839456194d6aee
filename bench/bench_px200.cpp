// The PX200 to PX600 conversion in memory, one bundled sample model per run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "convert/Conversion.h"
#include "model/ConvertHW.h"
#include "model/ModelData.h"
#include "platform/Text.h"
#include "samplegen/PX200Samples.h"

namespace {

void BM_ConvertFromPX200(benchmark::State& state)
{
    const PX200Sample& sample = PX200Samples()[size_t(state.range(0))];
    auto source = std::make_unique<CModelDataPX200>();
    const std::vector<uint8_t> image = MakePX200Model(sample);
    std::memcpy(source->GetImage(), image.data(), image.size());
    CConvertHW table;
    auto target = std::make_unique<CModelDataPX600>(&table);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ConvertFromPX200(*target, *source));
        benchmark::ClobberMemory();
    }
    state.SetLabel(Utf16ToUtf8(sample.modelName));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(PX200_DATA_SIZE));
}
BENCHMARK(BM_ConvertFromPX200)->DenseRange(0, 4);

}  // namespace
