// Adding rows one by one to a panel's list with its columns sized to their content.
#include "module/controls/SelectPnl.h"

#include "platform/rtl/SysUtils.h"
#include "platform/vcl/Forms.h"

#include <benchmark/benchmark.h>

namespace {

void BM_AddItemsAutoSized(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto* form = new TForm(Application, CreateNew);
    auto* panel = new TSelectPanel(form);
    panel->SetParent(form);
    panel->SetStyle(sp_Discrete);
    state.ResumeTiming();
    for (int i = 0; i < rows; ++i) {
      const AnsiString code = IntToStr(i);
      panel->ListBox->AddItem({code, "name " + code, "x"});
    }
    benchmark::DoNotOptimize(panel->ListBox->Column(0)->GetWidth());
    state.PauseTiming();
    form->Free();
    state.ResumeTiming();
  }
  state.SetComplexityN(rows);
}

}  // namespace

BENCHMARK(BM_AddItemsAutoSized)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity();
