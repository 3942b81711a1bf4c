// Var and const parameters bound to an element of a dynamic array or a field of an object: the
// callee may resize or clear that array, or drop the object, and the parameter's place still
// lives until the call ends. Writes through the parameter after a resize land in the array as it
// was when the call began (the resize gave the variable a copy). Run under the sanitizers, these
// scripts reached freed memory before.
#include "ScriptRun.h"

#include <gtest/gtest.h>

namespace {

struct THeldCase {
    const char* Script;
    const char* Output;
};

TEST(ReferenceParameters, ElementsOfArraysTheCalleeChangesStayAlive) {
    const THeldCase cases[] = {
        {"var d: array of Integer; procedure P(var x: Integer); begin SetLength(d, 100000); x := 7; "
         "PrintLn(x); end; begin SetLength(d, 1); P(d[0]); PrintLn(d[0]); PrintLn(Length(d)); end.",
         "7\n0\n100000\n"},
        {"var d: array of Integer; procedure P(var x: Integer); begin d := nil; x := 7; PrintLn(x); end; "
         "begin SetLength(d, 1); P(d[0]); PrintLn(Length(d)); end.",
         "7\n0\n"},
        {"type R = record A: Integer; S: String; end; var d: array of R; procedure P(const r: R); begin d := "
         "nil; PrintLn(r.A); PrintLn(r.S); end; begin SetLength(d, 1); d[0].A := 5; d[0].S := 'abc' + "
         "IntToStr(1); P(d[0]); end.",
         "5\nabc1\n"},
        {"type R = record A: Integer; S: String; end; var d: array of R; procedure P(var s: String); begin "
         "SetLength(d, 100000); s := 'hello' + IntToStr(2); end; begin SetLength(d, 1); P(d[0].S); "
         "PrintLn('[' + d[0].S + ']'); end.",
         "[]\n"},
        // An element of an inner array: holding the inner array is enough.
        {"var dd: array of array of Integer; procedure P(var x: Integer); begin dd := nil; x := 3; "
         "PrintLn(x); end; begin SetLength(dd, 1); SetLength(dd[0], 2); P(dd[0][1]); PrintLn(Length(dd)); "
         "end.",
         "3\n0\n"},
        {"type R = record A: array[1..2] of Integer; end; var d: array of R; procedure P(var x: Integer); "
         "begin SetLength(d, 0); x := 4; PrintLn(x); end; begin SetLength(d, 1); P(d[0].A[2]); end.",
         "4\n"},
        // An argument after the by-reference one resizes the array before the call begins.
        {"var d: array of Integer; function Grow: Integer; begin SetLength(d, 50000); Result := 1; end; "
         "procedure P(var x: Integer; k: Integer); begin x := x + k; PrintLn(x); end; begin SetLength(d, 1); "
         "d[0] := 41; P(d[0], Grow); end.",
         "42\n"},
        // A field of an object whose last variable the callee clears.
        {"var e: Exception; procedure P(var s: String); begin e := nil; s := s + '!'; PrintLn(s); end; "
         "begin e := Exception.Create('m' + IntToStr(1)); P(e.Message); end.",
         "m1!\n"},
        // A host routine's var parameter, and recursion that passes the element on.
        {"var d: array of String; procedure P(var s: String; n: Integer); begin if n > 0 then P(s, n - 1) "
         "else begin d := nil; Delete(s, 1, 1); end; end; begin SetLength(d, 1); d[0] := 'xyz'; P(d[0], 3); "
         "PrintLn(Length(d)); end.",
         "0\n"},
        // Without a resize the element is the array's own.
        {"var d: array of Integer; procedure P(var x: Integer); begin x := 9; end; begin SetLength(d, 2); "
         "P(d[1]); PrintLn(d[1]); SetLength(d, 3); PrintLn(d[1]); end.",
         "9\n9\n"},
    };
    for (const THeldCase& c : cases) {
        const TScriptRun run = RunScript(c.Script);
        EXPECT_EQ(run.Output, c.Output) << c.Script;
        EXPECT_EQ(run.Messages, "") << c.Script;
    }
}

} // namespace
