// The host's side: declaring routines and records in a unit, handlers reading arguments by
// name and filling var records member by member, the program's states, Func and Vars.
#include "ScriptRun.h"
#include "script/HostUnit.h"
#include "script/ProgramInfo.h"
#include "script/ScriptError.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// The game's own declarations, as its AI host makes them.
class HostInterface : public ::testing::Test {
protected:
    void SetUp() override {
        Unit.SetUnitName("OutputFuncs");
        Unit.AddRecord("TPathStep", {{"X", "Integer"}, {"Y", "Integer"}});
        Unit.AddRecord("TPath", {{"Steps", "Integer"}, {"S1", "TPathStep"}, {"S2", "TPathStep"}});
        Unit.AddRecord("TPlayerInfo", {{"Name", "String"}, {"X", "Integer"}, {"Melee", "Integer"}});
        Unit.AddFunction("KeyDown", {{"ID", "Integer"}}, "", [this](TProgramInfo& info) {
            Keys.push_back(static_cast<int>(info.Value("id").AsInteger()));
        });
        Unit.AddFunction("GetPlayerCount", {}, "Integer",
                         [](TProgramInfo& info) { info.SetResult(int32_t(2)); });
        Unit.AddFunction("GetSelf", {{"@PlayerInfo", "TPlayerInfo"}}, "", [](TProgramInfo& info) {
            const TVarInfo p = info.Vars("PlayerInfo");
            p.Member("Name").SetValue("Knight");
            p.Member("X").SetValue(int32_t(320));
            p.Member("Melee").SetValue(int32_t(7));
        });
        Unit.AddFunction("GetPath", {{"FromX", "Integer"}, {"@Path", "TPath"}}, "", [](TProgramInfo& info) {
            const TVarInfo path = info.Vars("Path");
            path.Member("Steps").SetValue(int32_t(2));
            path.Member("S1").Member("X").SetValue(info.Value("FromX"));
            path.Member("S2").Member("Y").SetValue(int32_t(-1));
        });
        Unit.AddFunction("Fail", {}, "", [](TProgramInfo&) { throw std::runtime_error("disk on fire"); });
        Unit.AddFunction("Twice", {{"@N", "Integer"}}, "Integer", [](TProgramInfo& info) {
            info.SetValue("N", info.Value("N").AsInteger() * 2);
            info.SetResult(info.Value("N"));
        });
        Unit.SetScript(&Engine);
    }

    TScriptEngine Engine;
    TScriptUnit Unit;
    std::vector<int> Keys;
};

TEST_F(HostInterface, HandlerFillsAVarRecordMemberByMember) {
    const TScriptRun run = RunScript(
        "var p: TPlayerInfo; path: TPath; n: Integer; begin GetSelf(p); PrintLn(p.Name + ' ' + IntToStr(p.X) "
        "+ ' ' + "
        "IntToStr(p.Melee)); GetPath(12, path); PrintLn(path.Steps); PrintLn(path.S1.X); PrintLn(path.S2.Y); "
        "n := 4; PrintLn(Twice(n)); PrintLn(n); KeyDown(5); KeyDown(GetPlayerCount); end.",
        &Engine);
    EXPECT_EQ(run.Messages, "");
    EXPECT_EQ(run.Output, "Knight 320 7\n2\n12\n-1\n8\n8\n");
    EXPECT_EQ(Keys, (std::vector<int>{5, 2}));
}

TEST_F(HostInterface, BeginProgramRunsInitialisationButNotTheMainBlock) {
    std::unique_ptr<TProgram> program =
        Engine.Compile("var Ready: Integer = 7; Calls: Integer; function Init: Integer; begin Calls := Calls "
                       "+ 1; Result := Ready; end; "
                       "procedure Execute; begin KeyDown(Calls); end; begin PrintLn('main'); end.");
    ASSERT_EQ(program->State(), TProgramState::ReadyToRun);
    program->BeginProgram();
    EXPECT_EQ(program->State(), TProgramState::Running);
    EXPECT_EQ(program->Info().Func("Init").Call().AsInteger(), 7);
    EXPECT_EQ(program->Info().Func("init").Call().AsInteger(), 7);
    program->Info().Func("Execute").Call();
    EXPECT_EQ(program->ResultText(), ""); // the main block never ran
    EXPECT_EQ(Keys, (std::vector<int>{2}));
    EXPECT_EQ(program->Info().Vars("calls").Value().AsInteger(), 2);
    program->Info().Vars("Calls").SetValue(int32_t(40));
    EXPECT_EQ(program->Info().Vars("Calls").Value().AsInteger(), 40);
    program->EndProgram();
    EXPECT_EQ(program->State(), TProgramState::ReadyToRun);
    // Ending a program that is not running is noted, not raised.
    program->EndProgram();
    EXPECT_EQ(program->Msgs().AsText(), "Error: Program was not started!\n");
}

TEST_F(HostInterface, FuncAndVarsReportUnknownNames) {
    std::unique_ptr<TProgram> program = Engine.Compile(
        "var g: TPath; function Init(a: Integer; b: Integer = 1): Integer; begin Result := a + b; end; "
        "function Gap(a: Integer = 1; s: String): String; begin Result := s; end; begin end.");
    program->BeginProgram();
    const TProgramInfo& info = program->Info();
    auto message = [](auto&& call) {
        try {
            call();
        } catch (const EScriptError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { (void)info.Func("Run"); }), "Function/Method \"Run\" not found");
    EXPECT_EQ(message([&] { (void)info.Vars("nothing"); }), "Variable \"nothing\" not found");
    EXPECT_EQ(message([&] { (void)info.Vars("Init"); }),
              ".Vars[] can't handle this symbol: \"Init\". Use .Func[] or .Method[] instead");
    EXPECT_EQ(message([&] { (void)info.Func("Init").Call(); }),
              "Invalid number of parameters (0 instead of 2) to call function Init");
    EXPECT_EQ(message([&] {
                  (void)info.Func("Init").Call({1, 2, 3});
              }),
              "Invalid number of parameters (3 instead of 2) to call function Init");
    // The default of a only helps when s is given too.
    EXPECT_EQ(message([&] { (void)info.Func("Gap").Call({1}); }),
              "Invalid number of parameters (1 instead of 2) to call function Gap");
    EXPECT_EQ(message([&] { (void)info.Vars("g").Member("Nope"); }),
              "No member \"Nope\" found in record \"TPath\"");
    EXPECT_EQ(info.Func("Init").Call({TVariant(int32_t(40))}).AsInteger(), 41); // the default fills in
    EXPECT_EQ(info.Func("Init").Call({TVariant(40), TVariant(2.0)}).AsInteger(), 42);
    info.Vars("g").Member("S2").Member("X").SetValue(int32_t(9));
    EXPECT_EQ(info.Vars("G").Member("s2").Member("x").Value().AsInteger(), 9);
    // Host routines can be called through Func too.
    EXPECT_EQ(info.Func("GetPlayerCount").Call().AsInteger(), 2);
    program->EndProgram();
}

TEST_F(HostInterface, ProgramWithErrorsCannotStart) {
    std::unique_ptr<TProgram> program = Engine.Compile("begin if then end.");
    EXPECT_EQ(program->State(), TProgramState::CompiledWithErrors);
    program->BeginProgram();
    program->Execute();
    EXPECT_EQ(program->State(), TProgramState::CompiledWithErrors);
    EXPECT_EQ(program->Msgs().AsText(), "Syntax Error: Expression expected [line: 1, column: 10]\n"
                                        "Error: Script compiled with errors. Can't execute!\n"
                                        "Error: Script compiled with errors. Can't execute!\n");
    EXPECT_THROW((void)program->Info().Func("X"), EScriptError);
}

TEST_F(HostInterface, BeginningTwiceIsNoted) {
    std::unique_ptr<TProgram> program = Engine.Compile("begin end.");
    program->BeginProgram();
    program->BeginProgram();
    EXPECT_EQ(program->Msgs().AsText(), "Error: Script is already running!\n");
    program->EndProgram();
}

TEST_F(HostInterface, HandlerErrorsBecomeScriptErrorsAtTheCall) {
    std::unique_ptr<TProgram> program = Engine.Compile(
        "procedure Go; begin\n  Fail;\nend;\nprocedure Safe; begin try Fail; except on E: EHostError do "
        "PrintLn(E.ExceptionClass + ': ' + E.Message); end; end; begin end.");
    program->BeginProgram();
    try {
        program->Info().Func("Go").Call();
        FAIL() << "the handler's error vanished";
    } catch (const EScriptError& e) {
        EXPECT_STREQ(e.what(), "Runtime Error: disk on fire [line: 2, column: 3]");
    }
    EXPECT_EQ(program->Msgs().AsText(), "Runtime Error: disk on fire [line: 2, column: 3]\n");
    program->Info().Func("Safe").Call();
    EXPECT_EQ(program->ResultText(), "std::runtime_error: disk on fire\n");
    program->EndProgram();
}

TEST_F(HostInterface, UnitNameIsFixedWhileAttached) {
    EXPECT_THROW(Unit.SetUnitName("Other"), EScriptError);
    Unit.SetScript(nullptr);
    Unit.SetUnitName("Other");
    EXPECT_EQ(Unit.UnitName(), "Other");
    EXPECT_TRUE(Engine.Units().empty());
    Unit.SetScript(&Engine);
    EXPECT_EQ(RunScript("uses Other; begin PrintLn(GetPlayerCount); end.", &Engine).Output, "2\n");
}

struct TDeclCase {
    const char* Name;
    std::function<void(TScriptUnit&)> Declare;
    const char* Message;
};

TEST(HostDeclarations, FaultsAreCompileErrorsOfTheScript) {
    const TDeclCase cases[] = {
        {"EmptyName", [](TScriptUnit& u) { u.AddFunction("", {}, "", nullptr); },
         "Error: Name property mustn't be empty!\n"},
        {"TwiceTheName",
         [](TScriptUnit& u) {
             u.AddFunction("F", {}, "", nullptr);
             u.AddRecord("f", {{"X", "Integer"}});
         },
         "Error: Name \"F\" already exists!\n"},
        {"TwiceAParameter",
         [](TScriptUnit& u) {
             u.AddFunction("F", {{"a", "Integer"}, {"A", "Float"}}, "", nullptr);
         },
         "Error: Parameter name \"A\" already exists\n"},
        {"UnknownMemberType",
         [](TScriptUnit& u) {
             u.AddRecord("R", {{"X", "Int"}});
         },
         "Error: DataType \"Int\" not found\n"},
        {"UnknownParameterType",
         [](TScriptUnit& u) {
             u.AddFunction("F", {{"@P", "TNothing"}}, "", nullptr);
         },
         "Error: Type \"TNothing\" not found for parameter \"P\" of function \"F\"\n"},
        {"UnknownResultType", [](TScriptUnit& u) { u.AddFunction("F", {}, "Real", nullptr); },
         "Error: Type \"Real\" unknown\n"},
    };
    for (const TDeclCase& c : cases) {
        TScriptEngine engine;
        TScriptUnit unit;
        unit.SetUnitName("Host");
        c.Declare(unit);
        unit.SetScript(&engine);
        const std::unique_ptr<TProgram> program = engine.Compile("begin end.");
        EXPECT_EQ(program->State(), TProgramState::CompiledWithErrors) << c.Name;
        EXPECT_EQ(program->Msgs().AsText(), c.Message) << c.Name;
    }
    TScriptEngine engine;
    TScriptUnit nameless;
    nameless.SetScript(&engine);
    EXPECT_EQ(engine.Compile("begin end.")->Msgs().AsText(),
              "Error: Property TScriptUnit.UnitName is undefined!\n");
}

TEST(HostDeclarations, EnumerationsAndConstantsReachScripts) {
    TScriptEngine engine;
    TScriptUnit unit;
    unit.SetUnitName("Host");
    unit.AddEnumeration("TMood", {{"Calm", 0}, {"Angry", 5}});
    unit.AddConstant("MaxHealth", "Integer", TVariant(int32_t(100)));
    unit.AddConstant("Title", "String", TVariant("Duel"));
    unit.SetScript(&engine);
    EXPECT_EQ(RunScript("var m: TMood; begin m := Angry; PrintLn(Integer(m)); PrintLn(MaxHealth div 4); "
                        "PrintLn(Title); end.",
                        &engine)
                  .Output,
              "5\n25\nDuel\n");
}

TEST(HostDeclarations, ScriptDeclarationsHideHostOnes) {
    TScriptEngine engine;
    TScriptUnit unit;
    unit.SetUnitName("Host");
    unit.AddFunction("Answer", {}, "Integer", [](TProgramInfo& info) { info.SetResult(1); });
    unit.SetScript(&engine);
    EXPECT_EQ(RunScript("begin PrintLn(Answer); end.", &engine).Output, "1\n");
    EXPECT_EQ(
        RunScript("function Answer: Integer; begin Result := 42; end; begin PrintLn(Answer); end.", &engine)
            .Output,
        "42\n");
}

} // namespace
