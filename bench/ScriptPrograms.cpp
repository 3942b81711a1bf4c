// Script engine speed: compiling a 2,000-line script, and the five speed programs of the shared
// bench folder and the AI-like sixth of bench/script/ compiled and run in-process (their Lua
// twins are timed with hyperfine, see the README's "Script tool" section).
#include "script/Program.h"
#include "script/ScriptEngine.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// A script of the kind an AI author writes: records, constants, many small routines with
// loops, conditions and CASE, 2,000 lines in all.
std::string LongScript() {
    std::string s =
        "type\n  TStep = record X, Y: Integer; end;\n  TInfo = record Name: String; X, Y: Integer; "
        "Path: array[1..5] of TStep; end;\nconst\n  Limit = 100;\nvar\n  Info: TInfo;\n  Total: Integer;\n";
    for (int i = 0; std::count(s.begin(), s.end(), '\n') < 1990; ++i) {
        const std::string n = std::to_string(i);
        s += "function Work" + n +
             "(a: Integer; var b: TInfo): Integer;\n"
             "var\n  i, k: Integer;\n  f: Float;\nbegin\n"
             "  Result := 0;\n"
             "  for i := 1 to a do\n  begin\n"
             "    k := (i * " +
             n +
             " + a) mod 7;\n"
             "    case k of\n      0: Result := Result + 1;\n      1..3: Result := Result - k;\n"
             "    else\n      Result := Result + b.Path[1 + k mod 5].X;\n    end;\n"
             "    if (k > 2) and (Result < Limit) then\n      f := f + k / 2\n    else\n      f := f - 1.5;\n"
             "  end;\n  b.X := Result + Trunc(f);\n  b.Name := b.Name + IntToStr(k);\nend;\n\n";
    }
    s += "begin\n  Total := Work0(10, Info);\n  PrintLn(Total);\nend.\n";
    return s;
}

void CompileLongScript(benchmark::State& state) {
    const std::string text = LongScript();
    TScriptEngine engine;
    for (auto _ : state) {
        std::unique_ptr<TProgram> program = engine.Compile(text);
        if (program->State() != TProgramState::ReadyToRun) {
            state.SkipWithError(program->Msgs().AsText().c_str());
            break;
        }
        benchmark::DoNotOptimize(program.get());
    }
    state.SetLabel(std::to_string(std::count(text.begin(), text.end(), '\n')) + " lines");
}
BENCHMARK(CompileLongScript)->Unit(benchmark::kMillisecond);

void RunProgram(benchmark::State& state, const char* path) {
    std::ifstream in(std::string(DUELMARK_SOURCE_DIR) + "/" + path);
    std::ostringstream text;
    text << in.rdbuf();
    TScriptEngine engine;
    for (auto _ : state) {
        std::unique_ptr<TProgram> program = engine.Compile(text.str());
        program->Execute();
        if (program->Msgs().HasErrors() || program->ResultText().empty()) {
            state.SkipWithError("the program did not run");
            break;
        }
        benchmark::DoNotOptimize(program->ResultText().data());
    }
}
BENCHMARK_CAPTURE(RunProgram, fib, "../shared/bench/script/fib.pas")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunProgram, loop, "../shared/bench/script/loop.pas")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunProgram, strcat, "../shared/bench/script/strcat.pas")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunProgram, bubble, "../shared/bench/script/bubble.pas")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunProgram, record, "../shared/bench/script/record.pas")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RunProgram, ai, "bench/script/ai.pas")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
