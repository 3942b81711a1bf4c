// The AI script runner: declaration strings and the var rule, the tick function, which function
// Run calls, compile messages and where they point, and scripts that fail or never stop.
#include "script/BriskAI.h"

#include "platform/Clock.h"
#include "script/Program.h"
#include "script/ProgramInfo.h"
#include "script/ScriptError.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

class BriskAI : public ::testing::Test {
protected:
    void SetUp() override {
        SetClock(&Clock);
        Script.Log = [this](std::string_view message, std::string_view location) {
            Logged.push_back(std::string(location) + ": " + std::string(message));
        };
        Script.Output = [this](std::string_view text, std::string_view) { Printed += text; };
    }
    void TearDown() override { SetClock(nullptr); }

    void Load(const std::string& text) {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            Script.ScriptText.push_back(line);
        Script.Compile();
    }
    // Everything the calls so far printed.
    [[nodiscard]] const std::string& Output() const { return Printed; }

    static std::string ErrorOf(const std::function<void()>& call) {
        try {
            call();
        } catch (const EScriptError& error) {
            return error.what();
        }
        return "no error";
    }

    TManualClock Clock;
    TBriskAI Script;
    std::vector<std::string> Logged;
    std::string Printed;
};

TEST_F(BriskAI, DeclarationTextsSplitAtTheFirstColonAndOnlyProceduresKnowVar) {
    struct TCase {
        std::string Text;
        bool Procedure;
        std::string Name;
        std::string DataType;
        bool IsVar;
    };
    const TCase cases[] = {
        {"ID:Integer", true, "ID", "Integer", false},
        {"var Path:TPath", true, "Path", "TPath", true},
        {"var Path:TPath", false, "var Path", "TPath", false},
        // Anything up to the first blank goes once "var " appears, wherever it appears.
        {"const var X:Integer", true, "var X", "Integer", true},
        {"A:B:C", true, "A", "B:C", false},
        {"NoType", true, "NoType", "", false},
        {"varX:Integer", true, "varX", "Integer", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        TBriskAI ai;
        if (c.Procedure)
            ai.AddProcedure("P", {c.Text}, [](TProgramInfo&) {});
        else
            ai.AddFunction("P", {c.Text}, "Integer", [](TProgramInfo&) {});
        const TScriptFunction& declared = ai.HostUnit().Functions[1];
        ASSERT_EQ(declared.Parameters.Count(), 1u);
        EXPECT_EQ(declared.Parameters[0].Name, c.Name);
        EXPECT_EQ(declared.Parameters[0].DataType, c.DataType);
        EXPECT_EQ(declared.Parameters[0].IsVarParam, c.IsVar);
        EXPECT_EQ(declared.ResultType, c.Procedure ? "" : "Integer");
    }
    TBriskAI ai;
    ai.AddRecord("TPathStep", {"X:Integer", "var Y:Integer"});
    EXPECT_EQ(ai.HostUnit().UnitName(), "OutputFuncs");
    EXPECT_EQ(ai.HostUnit().Records[0].Members[1].Name, "var Y");
}

TEST_F(BriskAI, HostRecordsAndVarParametersReachTheScriptInOrder) {
    Script.AddRecord("TPathStep", {"X:Integer", "Y:Integer"});
    Script.AddRecord("TPath", {"Steps:Integer", "S1:TPathStep"});
    Script.AddProcedure("Fill", {"From:Integer", "var Path:TPath"}, [](TProgramInfo& info) {
        const TVarInfo path = info.Vars("Path");
        path.Member("Steps").SetValue(int32_t{3});
        path.Member("S1").Member("Y").SetValue(info.Value("From"));
    });
    Load("var p: TPath;\nprocedure Execute; begin Fill(12, p); PrintLn(IntToStr(p.Steps) + ' ' + "
         "IntToStr(p.S1.Y)); "
         "end;\nbegin PrintLn('main'); end.\n");
    Script.Run();
    // The main block never runs.
    EXPECT_EQ(Output(), "3 12\n");
    EXPECT_TRUE(Logged.empty());
}

TEST_F(BriskAI, RunCallsExecuteUntilAnotherNameIsSet) {
    Load("procedure Execute; begin Print('E'); end;\nprocedure Other; begin Print('O'); end;\n"
         "function Init: Integer; begin Print('I'); Result := 1; end;\n");
    EXPECT_EQ(Script.FunctionName(), "Execute");
    Script.Run();
    Script.CallFunction("Init");
    Script.SetFunctionName("Other");
    Script.Run();
    Script.Run();
    Script.SetFunctionName("execute");
    Script.Run();
    EXPECT_EQ(Output(), "EIOOE");
    Script.SetFunctionName("Missing");
    EXPECT_EQ(ErrorOf([&] { Script.Run(); }), "Function/Method \"Missing\" not found");
}

TEST_F(BriskAI, GetTickCountIsTheClockAsASignedInteger) {
    Load("procedure Execute; var a, b: Integer; begin a := GetTickCount; b := GetTickCount; "
         "Print(IntToStr(a)); if b >= a then PrintLn(' same'); end;\n");
    for (const auto& [ticks, shown] :
         std::vector<std::pair<uint32_t, std::string>>{{10000, "10000"},
                                                       {0x7FFFFFFFu, "2147483647"},
                                                       {0x80000000u, "-2147483648"},
                                                       {0xFFFFFFF0u, "-16"}}) {
        Clock.Set(ticks);
        Script.Run();
        EXPECT_NE(Output().find(shown + " same\n"), std::string::npos) << ticks;
    }
}

TEST_F(BriskAI, CompileMessagesAreLoggedWithTheirFileLineAndTheCallsThenFail) {
    Script.Sources = {{"data\\default.ai", 2}, {"data\\Elf.ai", 3}};
    Load("var Calls: Integer;\n\nprocedure Init;\nbegin Calls := 'x';\nend;\n");
    ASSERT_EQ(Logged.size(), 2u);
    EXPECT_EQ(Logged[0].rfind("TBriskAI.Compile: ", 0), 0u) << Logged[0];
    EXPECT_NE(Logged[0].find("[line: 4, column: "), std::string::npos) << Logged[0];
    EXPECT_NE(Logged[0].find("in data\\Elf.ai line 2"), std::string::npos) << Logged[0];
    EXPECT_EQ(Logged[1], "TBriskAI.Compile: Error: Script compiled with errors. Can't execute!");
    EXPECT_EQ(ErrorOf([&] { Script.CallFunction("Init"); }), "Script compiled with errors. Can't execute!");
    EXPECT_EQ(ErrorOf([&] { Script.Run(); }), "Script compiled with errors. Can't execute!");
}

TEST_F(BriskAI, MessagesBeyondTheNamedFilesKeepTheirPlainPosition) {
    Script.Sources = {{"data\\default.ai", 1}};
    Load("var a: Integer;\nvar b: Nothing;\n");
    ASSERT_FALSE(Logged.empty());
    EXPECT_NE(Logged[0].find("[line: 2, column: "), std::string::npos) << Logged[0];
    EXPECT_EQ(Logged[0].find(" in data"), std::string::npos) << Logged[0];
}

TEST_F(BriskAI, GlobalsBeyondTheDataMaximumAreLoggedAndTheCallsThenFail) {
    Load("var a: array[0..1048576] of Integer;\nprocedure Init; begin end;\n");
    ASSERT_EQ(Logged.size(), 1u);
    EXPECT_EQ(Logged[0], "TBriskAI.Compile: Error: Maximal data size exceeded (1048576 Variants)");
    EXPECT_EQ(ErrorOf([&] { Script.CallFunction("Init"); }), "Program was not started!");
}

TEST_F(BriskAI, CallsBeforeCompileFail) {
    EXPECT_EQ(ErrorOf([&] { Script.Run(); }), "Script was not compiled");
    EXPECT_EQ(ErrorOf([&] { Script.CallFunction("Init"); }), "Script was not compiled");
}

TEST_F(BriskAI, ARunawayCallIsStoppedAndTheNextCallRunsAgain) {
    Script.StepLimit = 5000;
    Load("var n: Integer;\nprocedure Execute; begin while n >= 0 do n := n + 1; end;\n"
         "procedure Reset; begin n := -100; PrintLn(n); end;\n");
    const std::string error = ErrorOf([&] { Script.Run(); });
    EXPECT_NE(error.find("Script exceeded its step limit (5000 steps)"), std::string::npos) << error;
    Script.CallFunction("Reset");
    EXPECT_EQ(Output(), "-100\n");
    EXPECT_EQ(Script.Program()->Info().Vars("n").Value().AsInteger(), -100);
}

TEST_F(BriskAI, PrintedTextIsHandedOnAfterEachCallAndNeverPilesUp) {
    std::vector<std::pair<std::string, std::string>> calls;
    Script.Output = [&](std::string_view text, std::string_view function) {
        calls.emplace_back(std::string(function), std::string(text));
    };
    Load("var n: Integer;\nprocedure Execute; begin n := n + 1; PrintLn(n); if n = 3 then n := n div 0; end;\n"
         "procedure Quiet; begin end;\n");
    Script.Run();
    Script.Run();
    Script.CallFunction("Quiet");
    EXPECT_FALSE(ErrorOf([&] { Script.Run(); }).empty());
    const std::vector<std::pair<std::string, std::string>> expected{
        {"Execute", "1\n"}, {"Execute", "2\n"}, {"Execute", "3\n"}};
    EXPECT_EQ(calls, expected);
    EXPECT_TRUE(Script.Program()->ResultText().empty());
}

TEST_F(BriskAI, ARuntimeErrorInTheGlobalSetUpIsLogged) {
    Load("var a: array[1..2] of Integer;\n  i: Integer = 3;\n  j: Integer = a[i];\nprocedure Execute; begin "
         "end;\n");
    ASSERT_FALSE(Logged.empty());
    EXPECT_NE(Logged[0].find("Runtime Error: Upper bound exceeded! Index 3"), std::string::npos) << Logged[0];
}

} // namespace
