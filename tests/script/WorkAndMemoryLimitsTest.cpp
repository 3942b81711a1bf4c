// What keeps a call from the host bounded in time and a program bounded in memory: work counted
// in steps by its size (long texts, large frames and records, host routines that charge), the
// data maximum over the stack and every dynamic array together, the cap on strings and arrays,
// and the limit on what one call may print.
#include "ScriptRun.h"
#include "script/BriskAI.h"
#include "script/HostUnit.h"
#include "script/ProgramInfo.h"
#include "script/ScriptError.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct TLimitCase {
    const char* Script;
    const char* Output;
    const char* Messages;
};

void ExpectRuns(TScriptEngine& engine, const TLimitCase* begin, const TLimitCase* end) {
    for (const TLimitCase* c = begin; c != end; ++c) {
        const TScriptRun run = RunScript(c->Script, &engine);
        EXPECT_EQ(run.Output, c->Output) << c->Script;
        EXPECT_EQ(run.Messages, c->Messages) << c->Script;
    }
}

TEST(DataLimits, DynamicArraysCountTogetherWithTheStackAgainstTheDataMaximum) {
    TScriptEngine engine;
    engine.Config.MaxDataSize = 1000;
    const TLimitCase cases[] = {
        // The globals take three slots, each PrintLn a frame of one.
        {"var a, b, c: array of Integer; begin SetLength(a, 400); SetLength(b, 400); PrintLn('two'); "
         "SetLength(c, 400); PrintLn('three'); end.",
         "two\n", "Runtime Error: Maximal data size exceeded (1000 Variants) [line: 1, column: 92]\n"},
        {"var a, b: array of Integer; begin SetLength(a, 500); SetLength(b, 497); PrintLn('full'); end.",
         "full\n", ""},
        {"var a, b: array of Integer; begin SetLength(a, 500); SetLength(b, 498); PrintLn('full'); end.", "",
         "Runtime Error: Maximal data size exceeded (1000 Variants) [line: 1, column: 73]\n"},
        {"var a, b: array of Integer; begin SetLength(a, 500); SetLength(b, 499); end.", "",
         "Runtime Error: Maximal data size exceeded (1000 Variants) [line: 1, column: 54]\n"},
        // What an array gives back is free again, for arrays and for the stack.
        {"var a, b: array of Integer; begin SetLength(a, 900); SetLength(a, 0); SetLength(b, 900); b := nil; "
         "SetLength(a, 900); PrintLn(Length(a)); end.",
         "900\n", ""},
        // A resize of a shared array makes a copy, which counts in full.
        {"var a, b: array of Integer; begin SetLength(a, 400); b := a; SetLength(b, 401); PrintLn('copied'); "
         "SetLength(a, 300); SetLength(b, 697); PrintLn('grown'); SetLength(b, 699); end.",
         "copied\ngrown\n",
         "Runtime Error: Maximal data size exceeded (1000 Variants) [line: 1, column: 156]\n"},
        // Records count every slot of every element.
        {"type R = record X, Y, Z: Integer; end; var a: array of R; begin SetLength(a, 332); PrintLn('ok'); "
         "SetLength(a, 334); end.",
         "ok\n", "Runtime Error: Maximal data size exceeded (1000 Variants) [line: 1, column: 99]\n"},
        // A frame pushed beside a full array.
        {"var a: array of Integer; procedure P(n: Integer); var k: array[1..50] of Integer; begin P(n + 1); "
         "end; "
         "begin SetLength(a, 900); P(0); end.",
         "", "Runtime Error: Maximal data size exceeded (1000 Variants) [line: 1, column: 89]\n"},
        // An array grown while the stack stands: the next frame fits to the last slot, and one
        // slot more does not (the globals take one slot, P's frame 100).
        {"var a: array of Integer; procedure P; var k: array[1..100] of Integer; begin end; begin P; "
         "SetLength(a, 899); P; PrintLn('fits'); end.",
         "fits\n", ""},
        {"var a: array of Integer; procedure P; var k: array[1..100] of Integer; begin end; begin P; "
         "SetLength(a, 900); P; end.",
         "", "Runtime Error: Maximal data size exceeded (1000 Variants) [line: 1, column: 111]\n"},
    };
    ExpectRuns(engine, std::begin(cases), std::end(cases));
}

// Frames that each take a chunk of the stack of their own: the data maximum counts the frames of
// every chunk, also after the stack went back down through them and an array took the rest.
TEST(DataLimits, FramesAcrossStackChunksCountToTheLastSlot) {
    TScriptEngine engine;
    engine.Config.StackChunkSize = 64;
    engine.Config.MaxDataSize = 1000;
    // The globals take one slot and each frame of R 41, so R(4) stands at 206 slots.
    const char* base = "var a: array of Integer; procedure R(n, m: Integer); var k: array[1..39] of Integer; "
                       "begin if n > 0 then R(n - 1, m) else SetLength(a, m); end; begin ";
    const TLimitCase cases[] = {
        {"R(4, 794); R(4, 794); PrintLn(Length(a)); end.", "794\n", ""},
        {"R(4, 795); end.", "",
         "Runtime Error: Maximal data size exceeded (1000 Variants) [line: 1, column: 123]\n"},
        {"R(4, 794); PrintLn('deep'); R(5, 0); end.", "deep\n",
         "Runtime Error: Maximal data size exceeded (1000 Variants) [line: 1, column: 106]\n"},
        {"R(4, 794); SetLength(a, 753); R(5, 753); PrintLn('again'); end.", "again\n", ""},
    };
    for (const TLimitCase& c : cases) {
        const TScriptRun run = RunScript(std::string(base) + c.Script, &engine);
        EXPECT_EQ(run.Output, c.Output) << c.Script;
        EXPECT_EQ(run.Messages, c.Messages) << c.Script;
    }
}

TEST(DataLimits, TwoArraysOfAMillionElementsPassTheDefaultMaximum) {
    const TScriptRun run = RunScript("var a, b: array of Integer; begin SetLength(a, 1000000); "
                                     "PrintLn('one'); SetLength(b, 1000000); end.");
    EXPECT_EQ(run.Output, "one\n");
    EXPECT_EQ(run.Messages,
              "Runtime Error: Maximal data size exceeded (1048576 Variants) [line: 1, column: 74]\n");
}

TEST(DataLimits, StringsAndArraysTogetherHaveAMemoryCap) {
    TScriptEngine engine;
    engine.Config.MaxMemory = 1 << 20;
    const TLimitCase cases[] = {
        // Refused before it is built.
        {"var s: String; begin s := StringOfChar('x', 2000000); end.", "",
         "Runtime Error: Maximal string and array memory exceeded (1048576 bytes) [line: 1, column: 27]\n"},
        {"var s: String; begin SetLength(s, 2000000); end.", "",
         "Runtime Error: Maximal string and array memory exceeded (1048576 bytes) [line: 1, column: 22]\n"},
        // Kept strings add up: the eleventh does not fit beside ten.
        {"var a: array of String; i: Integer; begin for i := 0 to 20 do begin SetLength(a, i + 1); a[i] := "
         "StringOfChar('x', 100000); PrintLn(i); end; end.",
         "0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n",
         "Runtime Error: Maximal string and array memory exceeded (1048576 bytes) [line: 1, column: 98]\n"},
        {"var s: String; i: Integer; begin s := 'x'; for i := 1 to 30 do s := s + s; end.", "",
         "Runtime Error: Maximal string and array memory exceeded (1048576 bytes) [line: 1, column: 64]\n"},
        {"var a: array of Integer; begin SetLength(a, 70000); end.", "",
         "Runtime Error: Maximal string and array memory exceeded (1048576 bytes) [line: 1, column: 32]\n"},
        // A string that goes gives its memory back.
        {"var s: String; i: Integer; begin for i := 1 to 50 do s := StringOfChar('x', 200000) + 'y'; "
         "PrintLn(Length(s)); end.",
         "200001\n", ""},
        // Joining and appending in place count the whole result, as it may move to a new buffer.
        {"var s, t: String; begin s := StringOfChar('x', 300000); t := s + 'y'; PrintLn(Length(t)); t := s + "
         "t; "
         "end.",
         "300001\n",
         "Runtime Error: Maximal string and array memory exceeded (1048576 bytes) [line: 1, column: 98]\n"},
        {"var s, t: String; begin s := StringOfChar('x', 300000); t := s + 'y'; t := t + s; end.", "",
         "Runtime Error: Maximal string and array memory exceeded (1048576 bytes) [line: 1, column: 71]\n"},
    };
    ExpectRuns(engine, std::begin(cases), std::end(cases));
    // The default cap stops a 200 MB string at once.
    EXPECT_EQ(
        RunScript("var a: array of String; begin SetLength(a, 1); a[0] := StringOfChar('x', 200000000); "
                  "end.")
            .Messages,
        "Runtime Error: Maximal string and array memory exceeded (67108864 bytes) [line: 1, column: 56]\n");
}

TEST(DataLimits, AProgramGrowingItsDataOnEveryCallStopsWithinAFewCalls) {
    TBriskAI runner;
    runner.ScriptText = {
        "var A: array of String;",
        "procedure Execute; begin SetLength(A, Length(A) + 1); A[High(A)] := StringOfChar('x', "
        "20000000); end;"};
    runner.Compile();
    int calls = 0;
    try {
        for (; calls < 100; ++calls)
            runner.Run();
    } catch (const EScriptError& e) {
        EXPECT_STREQ(e.what(),
                     "Runtime Error: Maximal string and array memory exceeded (67108864 bytes) [line: "
                     "2, column: 69]");
    }
    EXPECT_EQ(calls, 3);
}

TEST(DataLimits, ATextTheHostKeepsOutlivesItsProgram) {
    TVariant kept;
    {
        TScriptEngine engine;
        std::unique_ptr<TProgram> program = engine.Compile(
            "function F: String; begin Result := StringOfChar('k', 100) + '!'; end; begin end.");
        program->BeginProgram();
        kept = program->Info().Func("F").Call();
        program->EndProgram();
    }
    EXPECT_EQ(kept.AsString(), std::string(100, 'k') + "!");
}

// Each script fails when its work is counted by size, and would pass a step limit of 10000 if
// every loop round and call were one step.
TEST(WorkLimits, LongTextsLargeFramesAndRecordsCountByTheirSize) {
    // Work a host routine does stops the run at the routine's call; work of the language at its
    // statement.
    const char* heavy[] = {
        "var s, t: String; i: Integer; begin s := StringOfChar('x', 100000); for i := 1 to 200 do t := "
        "UpperCase(s); end.",
        "var s: String; i, n: Integer; begin s := StringOfChar('x', 100000); for i := 1 to 200 do n := n + "
        "Pos('y', s); end.",
        "var s, t: String; i, n: Integer; begin s := StringOfChar('x', 100000); t := s + ''; for i := 1 to "
        "200 do "
        "if s = t then n := n + 1; end.",
        "var s: String; i: Integer; begin s := StringOfChar('x', 100000); for i := 1 to 200 do Print(s); "
        "end.",
        "procedure P; var a: array[1..100000] of Integer; begin end; var i: Integer; begin for i := 1 to 200 "
        "do "
        "P; end.",
        "type TBig = array[1..100000] of Integer; var a, b: TBig; i: Integer; begin for i := 1 to 200 do a "
        ":= b; "
        "end.",
        "type TBig = array[1..100000] of Integer; var a: TBig; i: Integer; procedure P(b: TBig); begin end; "
        "begin "
        "for i := 1 to 200 do P(a); end.",
        "var a: array of Integer; i: Integer; begin for i := 1 to 200 do SetLength(a, 100000 + i); end.",
    };
    for (const char* script : heavy) {
        TScriptEngine engine;
        std::unique_ptr<TProgram> program = engine.Compile(script);
        ASSERT_EQ(program->State(), TProgramState::ReadyToRun) << program->Msgs().AsText();
        program->SetStepLimit(10000);
        program->Execute();
        EXPECT_EQ(
            program->Msgs().AsText().rfind("Runtime Error: Script exceeded its step limit (10000 steps)", 0),
            0u)
            << script << "\n"
            << program->Msgs().AsText();
    }
    // Short texts and small records cost a step per round as before.
    TScriptEngine engine;
    std::unique_ptr<TProgram> light =
        engine.Compile("type TRec = record X, Y: Integer; S: String; end; var r, q: TRec; s, t: String; i: "
                       "Integer; procedure "
                       "P(a: TRec); begin end; begin s := StringOfChar('x', 1000); for i := 1 to 3000 do "
                       "begin t := UpperCase(s); q := "
                       "r; P(r); end; end.");
    light->SetStepLimit(10000);
    light->Execute();
    EXPECT_EQ(light->Msgs().AsText(), "");
}

TEST(WorkLimits, HostRoutinesChargeTheirWorkThroughTheirInfo) {
    TScriptUnit unit;
    unit.SetUnitName("Work");
    unit.AddFunction("Search", {{"n", "Integer"}}, "",
                     [](TProgramInfo& info) { info.ChargeSteps(info.Value("n").AsInteger()); });
    unit.AddFunction("Build", {{"n", "Integer"}}, "String", [](TProgramInfo& info) {
        const int64_t n = info.Value("n").AsInteger();
        info.ReserveMemory(n);
        info.SetResult(std::string(static_cast<size_t>(n), 'b'));
    });
    unit.AddFunction("Unreserved", {{"n", "Integer"}}, "String", [](TProgramInfo& info) {
        info.SetResult(std::string(static_cast<size_t>(info.Value("n").AsInteger()), 'u'));
    });
    TScriptEngine engine;
    engine.Config.MaxMemory = 1 << 20;
    unit.SetScript(&engine);
    std::unique_ptr<TProgram> program =
        engine.Compile("var s: String; procedure Twice(n: Integer); begin Search(n); Search(n); end;\n"
                       "procedure Make(n: Integer); begin s := Build(n); end;\n"
                       "procedure Hand(n: Integer); begin s := Unreserved(n); end; begin end.");
    program->SetStepLimit(1000);
    program->BeginProgram();
    const TProgramInfo& info = program->Info();
    auto error = [&](const char* name, int64_t n) {
        try {
            info.Func(name).Call({TVariant(n)});
        } catch (const EScriptError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    // The host's call of Twice and Twice's two calls of Search are a step each.
    EXPECT_EQ(error("Twice", 498), "");
    EXPECT_EQ(error("Twice", 499),
              "Runtime Error: Script exceeded its step limit (1000 steps) [line: 1, column: 62]");
    EXPECT_EQ(error("Make", 500000), "");
    EXPECT_EQ(info.Vars("s").Value().AsString().size(), 500000u);
    EXPECT_EQ(
        error("Make", 600000),
        "Runtime Error: Maximal string and array memory exceeded (1048576 bytes) [line: 2, column: 40]");
    // A text handed back without a reservation is checked when it arrives.
    EXPECT_EQ(
        error("Hand", 700000),
        "Runtime Error: Maximal string and array memory exceeded (1048576 bytes) [line: 3, column: 40]");
    EXPECT_EQ(info.Vars("s").Value().AsString().size(), 500000u);
    program->EndProgram();
}

TEST(OutputLimits, PrintedTextStopsAtTheLimitUntilCleared) {
    TScriptEngine engine;
    std::unique_ptr<TProgram> program =
        engine.Compile("procedure P; begin Print('abcdefgh'); Print('ijkl'); end; begin end.");
    program->SetOutputLimit(10);
    program->BeginProgram();
    program->Info().Func("P").Call();
    EXPECT_EQ(program->ResultText(), "abcdefghij");
    EXPECT_TRUE(program->OutputCut());
    program->ClearResult();
    EXPECT_FALSE(program->OutputCut());
    program->Info().Func("P").Call();
    EXPECT_EQ(program->ResultText(), "abcdefghij");
    program->EndProgram();
}

TEST(OutputLimits, TheRunnerCutsEachCallAndStopsAfterItsTotal) {
    TBriskAI runner;
    std::vector<std::string> passed;
    runner.Output = [&](std::string_view text, std::string_view) { passed.emplace_back(text); };
    runner.OutputLimit = 8;
    runner.OutputTotalLimit = 100;
    runner.ScriptText = {"procedure Short; begin PrintLn('ok'); end;",
                         "procedure Long; begin Print(StringOfChar('x', 20)); end;"};
    runner.Compile();
    runner.CallFunction("Short");
    runner.CallFunction("Long");
    ASSERT_EQ(passed.size(), 2u);
    EXPECT_EQ(passed[0], "ok\n");
    EXPECT_EQ(passed[1], "xxxxxxxx\n(printed text cut: one call may print 8 characters)\n");
    for (int i = 0; i < 5; ++i)
        runner.CallFunction("Long");
    // 3 + 61 characters so far: the next long call passes the total of 100 at its 36th; nothing
    // comes after it.
    ASSERT_EQ(passed.size(), 3u);
    EXPECT_EQ(passed[2], "xxxxxxxx\n(printed text cut: one call\n"
                         "(printed text stopped: the script has printed 100 characters, more are dropped)\n");
}

} // namespace
