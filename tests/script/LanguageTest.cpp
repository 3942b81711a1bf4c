// The language construct by construct: each case is a small script and what it prints.
#include "ScriptRun.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
    const char* Name;
    const char* Script;
    const char* Output;
};

class Language : public ::testing::TestWithParam<TCase> {};

TEST_P(Language, PrintsWhatItComputes) {
    const TCase& c = GetParam();
    const TScriptRun run = RunScript(c.Script);
    EXPECT_EQ(run.Messages, "");
    EXPECT_EQ(run.Output, c.Output);
}

const TCase kPrecedenceAndTyping[] = {
    {"IntegerDivision",
     "begin PrintLn(7 div 2); PrintLn(7 mod 2); PrintLn(7 / 2); PrintLn(-7 div 2); PrintLn(-7 mod 2); end.",
     "3\n1\n3.5\n-3\n-1\n"},
    {"MultiplicationBeforeAddition",
     "begin PrintLn(1 + 2 * 3); PrintLn((1 + 2) * 3); PrintLn(10 - 4 - 3); end.", "7\n9\n3\n"},
    {"NotBindsTighterThanAnd",
     "var a, b: Boolean; begin a := True; b := False; PrintLn(not a and b); PrintLn(not (a and b)); end.",
     "False\nTrue\n"},
    {"RelationBelowAnd", "var a, b: Integer; begin a := 1; b := 3; PrintLn(a < b and 2); end.", "True\n"},
    {"IntegerOperandsOfAndAreBitwise",
     "begin PrintLn(6 and 3); PrintLn(6 or 3); PrintLn(6 xor 3); PrintLn(not 0); end.", "2\n7\n5\n-1\n"},
    {"MixedArithmeticIsFloat",
     "var f: Float; begin f := 2; PrintLn(f * 3); PrintLn(1 + 0.5); PrintLn(2 > 1.5); end.",
     "6\n1.5\nTrue\n"},
    {"IntegerArithmeticWraps",
     "var i: Integer; begin i := 9223372036854775807; i := i + 1; PrintLn(i = -9223372036854775807 - 1); "
     "end.",
     "True\n"},
    {"StringsConcatenateAndCompare",
     "var s: String; begin s := 'ab' + 'cd'; PrintLn(s); PrintLn('abc' < 'abd'); PrintLn(s[2]); end.",
     "abcd\nTrue\nb\n"},
    {"FloatsPrintShortest",
     "begin PrintLn(0.1); PrintLn(1/3); PrintLn(1e20); PrintLn(-1.5e-7); PrintLn(100.0); end.",
     "0.1\n0.333333333333333\n1E20\n-1.5E-7\n100\n"},
};
INSTANTIATE_TEST_SUITE_P(Precedence, Language, ::testing::ValuesIn(kPrecedenceAndTyping),
                         [](const auto& info) { return std::string(info.param.Name); });

const TCase kStatements[] = {
    {"KeywordsAndNamesInAnyCase",
     "VAR Count: integer; BEGIN count := 2; COUNT := Count * 2; println(count) END.", "4\n"},
    {"ForToThatRunsNoRound", "var i: Integer; begin for i := 5 to 1 do PrintLn(i); PrintLn('done'); end.",
     "done\n"},
    {"ForDowntoThatRunsNoRound",
     "var i: Integer; begin for i := 1 downto 5 do PrintLn(i); PrintLn('done'); end.", "done\n"},
    {"ForRunsBothEnds",
     "var i: Integer; begin for i := 3 downto 1 do Print(i); for i := 1 to 1 do Print(i); end.", "3211"},
    {"ForToTheLastInteger",
     "var i, n: Integer; begin n := 0; for i := 9223372036854775806 to 9223372036854775807 do n := n + 1; "
     "PrintLn(n); end.",
     "2\n"},
    {"CaseWithRangesAndElse",
     "procedure Say(n: Integer); begin case n of 1, 2: PrintLn('low'); 3..5: PrintLn('mid'); "
     "else PrintLn('high'); end; end; begin Say(2); Say(3); Say(5); Say(6); Say(0); end.",
     "low\nmid\nmid\nhigh\nhigh\n"},
    {"CaseOnStrings",
     "var s: String; begin s := 'b'; case s of 'a': PrintLn(1); 'b', 'c': PrintLn(2); end; end.", "2\n"},
    {"CaseFirstMatchWins", "begin case 4 of 1..5: PrintLn('first'); 4: PrintLn('second'); end; end.",
     "first\n"},
    {"WhileRepeatBreakContinue",
     "var i, s: Integer; begin i := 0; s := 0; while i < 10 do begin i := i + 1; if i mod 2 = 0 then "
     "continue; "
     "if i > 7 then break; s := s + i; end; PrintLn(s); repeat i := i - 3 until i < 0; PrintLn(i); end.",
     "16\n-3\n"},
    {"BreakLeavesOnlyTheInnermostLoop",
     "var i, j, n: Integer; begin n := 0; for i := 1 to 3 do for j := 1 to 3 do begin if j = 2 then break; n "
     ":= n + 1; end; "
     "PrintLn(n); end.",
     "3\n"},
    {"ExitLeavesTheRoutine",
     "function F(x: Integer): Integer; begin Result := 1; if x > 0 then exit; Result := 2; end; "
     "begin PrintLn(F(1)); PrintLn(F(0)); exit; PrintLn('never'); end.",
     "1\n2\n"},
    // Blocks of two to five statements, left by BREAK, CONTINUE and EXIT at each place.
    {"BlocksOfEveryLengthPassOnBreakContinueAndExit",
     "var i, n: Integer; procedure P(k: Integer); begin Print('a'); if k = 1 then exit; Print('b'); if k = 2 "
     "then exit; Print('c'); end; begin for i := 1 to 5 do begin if i = 4 then break; n := n + i; end; "
     "PrintLn(n); for i := 1 to 4 do begin n := n + 10; if i mod 2 = 0 then continue; n := n + 100; end; "
     "PrintLn(n); for i := 1 to 3 do begin n := n + 1; n := n + 1; n := n + 1; if i = 2 then break; n := n "
     "+ 1000; end; PrintLn(n); P(1); P(2); P(3); PrintLn(''); repeat n := n - 1; if n < 1200 then break; "
     "until False; PrintLn(n); end.",
     "6\n246\n1252\naababc\n1199\n"},
    {"IfElseChains",
     "var i: Integer; begin for i := 1 to 3 do if i = 1 then Print('a') else if i = 2 then Print('b') else "
     "Print('c'); end.",
     "abc"},
};
INSTANTIATE_TEST_SUITE_P(Statements, Language, ::testing::ValuesIn(kStatements),
                         [](const auto& info) { return std::string(info.param.Name); });

const TCase kDeclarations[] = {
    {"ConstantsTypedAndFolded",
     "const A = 2 * 3; B: Float = 1; C = 'x' + 'y'; begin PrintLn(A); PrintLn(B / 4); PrintLn(C); end.",
     "6\n0.25\nxy\n"},
    {"VariablesWithInitialisers",
     "var a: Integer = 5; s: String = 'hi'; f: Float = 2; begin PrintLn(a); PrintLn(s); PrintLn(f); end.",
     "5\nhi\n2\n"},
    {"LocalInitialisersRunOnEveryCall",
     "procedure P; var n: Integer = 1; begin n := n + 1; PrintLn(n); end; begin P; P; end.", "2\n2\n"},
    {"RecordsAndVarParameters",
     "type TP = record X, Y: Integer; Name: String; end; var p: TP; "
     "procedure Fill(var q: TP; x: Integer; y: Integer = 7); begin q.X := x; q.Y := y; q.Name := 'p'; end; "
     "function Sum(const q: TP): Integer; begin Result := q.X + q.Y; end; "
     "function Copy(q: TP): TP; begin q.X := 100; Result := q; end; "
     "begin Fill(p, 3); PrintLn(Sum(p)); PrintLn(Copy(p).X); PrintLn(p.X); PrintLn(p.Name); end.",
     "10\n100\n3\np\n"},
    {"RecordAssignmentCopies",
     "type TP = record X: Integer; S: String; end; var a, b: TP; begin a.X := 1; a.S := 'a'; b := a; b.X := "
     "2; "
     "b.S := b.S + 'b'; PrintLn(a.X); PrintLn(a.S); PrintLn(b.X); PrintLn(b.S); end.",
     "1\na\n2\nab\n"},
    {"NestedRecordsAndArrays",
     "type TStep = record X, Y: Integer; end; TPath = record Steps: Integer; S: array[1..3] of TStep; end; "
     "var p: TPath; i: Integer; begin for i := 1 to 3 do begin p.S[i].X := i; p.S[i].Y := i * 10; end; "
     "PrintLn(p.S[2].X + p.S[3].Y); end.",
     "32\n"},
    {"MultiDimensionalArrays",
     "var m: array[0..2, 1..2] of Integer; i, j: Integer; begin for i := 0 to 2 do for j := 1 to 2 do m[i, "
     "j] := i * 10 + j; "
     "PrintLn(m[2][1] + m[1, 2]); PrintLn(Length(m)); PrintLn(High(m[0])); end.",
     "33\n3\n2\n"},
    {"DynamicArrays",
     "var d, e: array of Integer; i: Integer; begin SetLength(d, 3); for i := 0 to High(d) do d[i] := i + 1; "
     "e := d; e[0] := 10; PrintLn(d[0]); SetLength(e, 5); PrintLn(Length(e)); PrintLn(e[4]); e[1] := 20; "
     "PrintLn(d[1]); end.",
     "10\n5\n0\n2\n"},
    {"Enumerations",
     "type TDir = (North, East, South = 5, West); var d: TDir; begin d := East; PrintLn(Integer(d)); "
     "PrintLn(Integer(West)); PrintLn(d < South); d := TDir(5); PrintLn(d = South); end.",
     "1\n6\nTrue\nTrue\n"},
    {"ForwardDeclarations",
     "function IsOdd(n: Integer): Boolean; forward; function IsEven(n: Integer): Boolean; begin if n = 0 "
     "then Result := True "
     "else Result := IsOdd(n - 1); end; function IsOdd(n: Integer): Boolean; begin if n = 0 then Result := "
     "False "
     "else Result := IsEven(n - 1); end; begin PrintLn(IsEven(10)); PrintLn(IsOdd(7)); end.",
     "True\nTrue\n"},
    {"LaterDeclarationsHideEarlierOnes",
     "function Length(s: String): Integer; begin Result := 42; end; begin PrintLn(Length('abc')); end.",
     "42\n"},
    {"FunctionNameAssignsTheResult", "function F: Integer; begin F := 5; end; begin PrintLn(F + F()); end.",
     "10\n"},
    {"RecursionAndStringBuilding",
     "function Fib(n: Integer): Integer; begin if n < 2 then Result := n else Result := Fib(n - 1) + Fib(n - "
     "2); end; "
     "var s: String; i: Integer; begin for i := 1 to 10 do s := s + IntToStr(Fib(i)) + ' '; PrintLn(s); end.",
     "1 1 2 3 5 8 13 21 34 55 \n"},
    {"Variants",
     "var v: Variant; i: Integer; begin PrintLn(VarIsEmpty(v)); v := 5; v := v * 2 + 0.5; PrintLn(v); v := "
     "'a'; "
     "v := v + 'b'; PrintLn(v); v := 7; i := v; PrintLn(i + 1); v := Null; PrintLn(VarIsNull(v)); end.",
     "True\n10.5\nab\n8\nTrue\n"},
    {"AppendsJoinInOrder",
     "var s: String; i: Integer; begin s := 'x'; for i := 1 to 3 do s := s + '(' + IntToStr(i) + ')'; s := s "
     "+ s; "
     "PrintLn(s); end.",
     "x(1)(2)(3)x(1)(2)(3)\n"},
    {"IncAndDec",
     "var i: Integer; begin i := 1; Inc(i, 5); PrintLn(i); Inc(i); Dec(i, 2); Dec(i); PrintLn(i); end.",
     "6\n4\n"},
    {"CallingConventionsAreAccepted", "procedure P; stdcall; begin PrintLn('p'); end; begin P; end.", "p\n"},
};
INSTANTIATE_TEST_SUITE_P(Declarations, Language, ::testing::ValuesIn(kDeclarations),
                         [](const auto& info) { return std::string(info.param.Name); });

const TCase kExceptions[] = {
    {"ExceptionsPassNestedRoutinesWithFinallyRunning",
     "procedure Inner; begin try raise Exception.Create('deep'); finally PrintLn('inner finally'); end; end; "
     "procedure Outer; begin try Inner; PrintLn('never'); finally PrintLn('outer finally'); end; end; "
     "begin try Outer; except on E: Exception do PrintLn('caught ' + E.Message); end; end.",
     "inner finally\nouter finally\ncaught deep\n"},
    {"HandlersMatchByClassAndElse",
     "begin try StrToInt('x'); except on E: EHostError do PrintLn(E.ExceptionClass); on E: Exception do "
     "PrintLn('base'); end; "
     "try raise Exception.Create('m'); except on E: EHostError do PrintLn('host'); else PrintLn('else'); "
     "end; end.",
     "EConvertError\nelse\n"},
    {"RaiseWithoutObjectRaisesAgain",
     "begin try try raise Exception.Create('again'); except PrintLn('first'); raise; end; "
     "except on E: Exception do PrintLn(E.Message); end; end.",
     "first\nagain\n"},
    {"RunTimeErrorsAreCatchable",
     "var a: array[1..2] of Integer; i: Integer; begin i := 3; try a[i] := 1; except on E: Exception do "
     "PrintLn(E.Message); end; "
     "i := 0; try PrintLn(1 div i); except on E: Exception do PrintLn(E.Message); end; end.",
     "Upper bound exceeded! Index 3\nDivision by zero\n"},
    {"FinallyRunsOnExitAndBreak",
     "procedure P; begin try exit; finally PrintLn('f1'); end; end; var i: Integer; "
     "begin P; for i := 1 to 3 do try break; finally PrintLn('f2'); end; end.",
     "f1\nf2\n"},
    {"ObjectsCompareByIdentity",
     "var a, b: Exception; begin a := Exception.Create('x'); b := a; PrintLn(a = b); b := "
     "Exception.Create('x'); "
     "PrintLn(a = b); PrintLn(a <> nil); PrintLn(a is Exception); a.Free; end.",
     "True\nFalse\nTrue\nTrue\n"},
};
INSTANTIATE_TEST_SUITE_P(Exceptions, Language, ::testing::ValuesIn(kExceptions),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
