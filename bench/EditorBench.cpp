// The editor on the software backend: a full rebuild with a repaint of the
// whole window (what every program or page change costs), and the idle step
// with nothing changed (the meter alone), for the sound editor and the
// program browser.

#include "editor/CSynthResources.h"
#include "editor/CSynthWin.h"
#include "gui/core/CApp.h"
#include "gui/platform/CSoftScreen.h"
#include "synth/CSynth.h"

#include <benchmark/benchmark.h>

namespace
{

class EditorFixture : public benchmark::Fixture
{
public:
    void SetUp(benchmark::State& state) override
    {
        screen = new CSoftScreen;
        app = new CApp(screen);
        synth = new CSynth;
        view = new CSynthResources(*synth);
        view->pagesShown = static_cast<int32_t>(state.range(0));
        win = new CSynthWin(app, synth, view);
        win->Show(true);
    }

    void TearDown(benchmark::State&) override
    {
        delete win;
        delete view;
        delete synth;
        delete app;
        delete screen;
    }

    CSoftScreen* screen = nullptr;
    CApp* app = nullptr;
    CSynth* synth = nullptr;
    CSynthResources* view = nullptr;
    CSynthWin* win = nullptr;
};

BENCHMARK_DEFINE_F(EditorFixture, RebuildAndRepaint)(benchmark::State& state)
{
    for (auto _ : state)
    {
        synth->programsChanged = 1;
        win->Idle();
    }
}
BENCHMARK_REGISTER_F(EditorFixture, RebuildAndRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_DEFINE_F(EditorFixture, IdleMeterOnly)(benchmark::State& state)
{
    for (auto _ : state)
    {
        synth->peakLeft = 1.0f;
        synth->peakRight = 0.5f;
        win->Idle();
    }
}
BENCHMARK_REGISTER_F(EditorFixture, IdleMeterOnly)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
