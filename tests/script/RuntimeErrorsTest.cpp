// Run-time errors of the language and the limits that keep a runaway script from taking the
// game down: bounds, division, stray break and continue, unhandled raises, the data stack, deep
// recursion, the step limit and Execute's time-out.
#include "ScriptRun.h"
#include "platform/Clock.h"
#include "script/HostUnit.h"
#include "script/ProgramInfo.h"
#include "script/ScriptError.h"

#include <gtest/gtest.h>

namespace {

struct TRunErrorCase {
    const char* Script;
    const char* Output;
    const char* Messages;
};

TEST(RuntimeErrors, StopTheRunWithTextAndPosition) {
    const TRunErrorCase cases[] = {
        {"var a: array[1..3] of Integer; i: Integer; begin i := 4; a[i] := 1; end.", "",
         "Runtime Error: Upper bound exceeded! Index 4 [line: 1, column: 60]\n"},
        {"var a: array[1..3] of Integer; i: Integer; begin i := 0; PrintLn(a[i]); end.", "",
         "Runtime Error: Lower bound exceeded! Index 0 [line: 1, column: 68]\n"},
        {"var a: array[1..3] of Integer; i: Integer; begin i := 3; PrintLn(a[i]); i := 1; PrintLn(a[i]); "
         "end.",
         "0\n0\n", ""},
        {"var d: array of Integer; begin SetLength(d, 2); PrintLn(d[1]); PrintLn(d[2]); end.", "0\n",
         "Runtime Error: Upper bound exceeded! Index 2 [line: 1, column: 74]\n"},
        {"var s: String; begin s := 'ab'; PrintLn(s[2]); PrintLn(s[3]); end.", "b\n",
         "Runtime Error: Upper bound exceeded! Index 3 [line: 1, column: 58]\n"},
        {"var i: Integer; begin i := 0; PrintLn(1 mod i); end.", "",
         "Runtime Error: Division by zero [line: 1, column: 41]\n"},
        {"procedure P; begin break; end; begin P; end.", "",
         "Runtime Error: break without for/while/repeat or case [line: 1, column: 20]\n"},
        {"begin continue; end.", "",
         "Runtime Error: continue without for/while/repeat or case [line: 1, column: 7]\n"},
        {"begin PrintLn('a'); raise Exception.Create('Stop here'); PrintLn('b'); end.", "a\n",
         "Runtime Error: Stop here [line: 1, column: 21]\n"},
        {"begin raise Exception.Create(''); end.", "",
         "Runtime Error: User defined exception! [line: 1, column: 7]\n"},
        {"var v: Variant; i: Integer; begin v := 'x'; i := v; end.", "",
         "Runtime Error: Could not convert variant of type (String) into type (Integer) [line: 1, column: "
         "50]\n"},
        {"var e: Exception; begin PrintLn(e.Message); end.", "",
         "Runtime Error: Object not instantiated [line: 1, column: 35]\n"},
    };
    for (const TRunErrorCase& c : cases) {
        const TScriptRun run = RunScript(c.Script);
        EXPECT_EQ(run.Output, c.Output) << c.Script;
        EXPECT_EQ(run.Messages, c.Messages) << c.Script;
        EXPECT_EQ(run.State, TProgramState::ReadyToRun) << c.Script;
    }
}

TEST(RuntimeErrors, DeepRecursionIsAScriptErrorNotACrash) {
    const TScriptRun run = RunScript("procedure R(n: Integer); begin R(n + 1); end; begin R(0); end.");
    EXPECT_NE(run.Messages.find("Runtime Error: Maximal recursion depth exceeded ("), std::string::npos)
        << run.Messages;
    // Recursion a script may reasonably use still works.
    EXPECT_EQ(RunScript("function D(n: Integer): Integer; begin if n = 0 then Result := 0 else Result := D(n "
                        "- 1) + 1; end; "
                        "begin PrintLn(D(300)); end.")
                  .Output,
              "300\n");
}

TEST(RuntimeErrors, DataStackHasItsMaximum) {
    TScriptEngine engine;
    engine.Config.StackChunkSize = 64;
    engine.Config.MaxDataSize = 1000;
    // Each call takes 101 slots (100 for the array, 1 for n); the globals take one.
    const char* script =
        "procedure R(n: Integer); var a: array[1..100] of Integer; begin if n > 0 then R(n - 1); end; "
        "begin R(%d); PrintLn('ok'); end.";
    char text[256];
    std::snprintf(text, sizeof text, script, 8); // 9 frames: 909 + 1 slots
    EXPECT_EQ(RunScript(text, &engine).Output, "ok\n");
    std::snprintf(text, sizeof text, script, 9); // 10 frames: 1010 + 1 slots
    const TScriptRun run = RunScript(text, &engine);
    EXPECT_EQ(run.Output, "");
    EXPECT_EQ(run.Messages,
              "Runtime Error: Maximal data size exceeded (1000 Variants) [line: 1, column: 79]\n");
}

TEST(RuntimeErrors, GlobalsBeyondTheDataMaximumAreAnErrorAndNothingRuns) {
    TScriptEngine engine;
    std::unique_ptr<TProgram> program =
        engine.Compile("var a: array[0..1048576] of Integer; begin PrintLn('ran'); end.");
    ASSERT_EQ(program->State(), TProgramState::ReadyToRun);
    program->Execute();
    EXPECT_EQ(program->ResultText(), "");
    EXPECT_EQ(program->Msgs().AsText(), "Error: Maximal data size exceeded (1048576 Variants)\n");
    EXPECT_EQ(program->State(), TProgramState::ReadyToRun);
    // The globals and PrintLn's frame of one slot fit exactly.
    EXPECT_EQ(RunScript("var a: array[1..1048575] of Integer; begin PrintLn('ran'); end.").Output, "ran\n");
}

TEST(RuntimeErrors, StepLimitStopsARunawayFunctionCalledByTheHost) {
    TScriptEngine engine;
    std::unique_ptr<TProgram> program =
        engine.Compile("var n: Integer; function Spin: Integer; begin while True do n := n + 1; end; "
                       "function Count(k: Integer): Integer; var i: Integer; begin for i := 1 to k do n := n "
                       "+ 1; Result := n; end; "
                       "begin end.");
    program->BeginProgram();
    ASSERT_EQ(program->State(), TProgramState::Running);
    program->SetStepLimit(1000);
    // A call gets 1000 steps: its own call is one, each loop round another.
    EXPECT_EQ(program->Info().Func("Count").Call({TVariant(999)}).AsInteger(), 999);
    EXPECT_THROW(program->Info().Func("Count").Call({TVariant(1000)}), EScriptError);
    try {
        program->Info().Func("Spin").Call();
        FAIL() << "a loop without end returned";
    } catch (const EScriptError& e) {
        EXPECT_STREQ(e.what(), "Runtime Error: Script exceeded its step limit (1000 steps)");
    }
    // The limit is per call: the program is still usable afterwards.
    // Each stopped call ran 999 rounds before its 1001st step.
    EXPECT_EQ(program->Info().Func("Count").Call({TVariant(1)}).AsInteger(), 999 + 999 + 999 + 1);
    program->EndProgram();
}

TEST(RuntimeErrors, ExecuteTimeOutStopsTheScript) {
    TManualClock clock;
    SetClock(&clock);
    TScriptUnit unit;
    unit.SetUnitName("Clock");
    unit.AddFunction("Wait", {}, "", [&clock](TProgramInfo&) { clock.Advance(600); });
    TScriptEngine engine;
    unit.SetScript(&engine);
    std::unique_ptr<TProgram> program =
        engine.Compile("var n: Integer; begin while True do begin Wait; n := n + 1; end; end.");
    program->Execute(2);
    SetClock(nullptr);
    EXPECT_EQ(program->Msgs().AsText(), "Runtime Error: Script was stopped.\n");
    EXPECT_EQ(program->State(), TProgramState::ReadyToRun);
}

TEST(RuntimeErrors, ExecuteHasNoStepLimitByDefault) {
    const TScriptRun run =
        RunScript("var i, s: Integer; begin for i := 1 to 200000 do s := s + 1; PrintLn(s); end.");
    EXPECT_EQ(run.Output, "200000\n");
    EXPECT_EQ(run.Messages, "");
}

} // namespace
