// The engine's quick paths (elements with an index read in place, members folded into their
// element, String comparisons without copies, the lean call for value arguments) give the
// results and the errors of the general ones, also at the edges where the general path's order
// of evaluation matters.
#include "ScriptRun.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace {

struct TQuickCase {
    const char* Script;
    const char* Output;
    const char* Message; // the start of the first message; "" for none
};

void Check(const TQuickCase& c) {
    const TScriptRun run = RunScript(c.Script);
    EXPECT_EQ(run.Output, c.Output) << c.Script;
    if (*c.Message == '\0') {
        EXPECT_EQ(run.Messages, "") << c.Script;
    } else {
        EXPECT_EQ(run.Messages.rfind(c.Message, 0), 0u) << c.Script << "\n" << run.Messages;
    }
}

TEST(QuickPaths, StaticArrayElements) {
    const TQuickCase cases[] = {
        // A variable index plus or minus a constant, on globals and locals, with low bound 3.
        {"var a: array[3..6] of Integer; i: Integer; begin for i := 3 to 6 do a[i] := i * 10; i := 4; "
         "PrintLn(a[i + 1] - a[i - 1]); PrintLn(a[i + 2]); end.",
         "20\n60\n", ""},
        {"procedure P; var a: array[3..6] of Integer; i: Integer; begin i := 5; a[i + 1] := 7; "
         "PrintLn(a[6] + a[i - 2]); end; begin P; end.",
         "7\n", ""},
        // Both bounds, with the index as computed.
        {"var a: array[3..6] of Integer; i: Integer; begin i := 6; PrintLn(a[i - 3]); PrintLn(a[i + 1]); "
         "end.",
         "0\n", "Runtime Error: Upper bound exceeded! Index 7"},
        {"var a: array[3..6] of Integer; i: Integer; begin i := 3; PrintLn(a[i - 1]); end.", "",
         "Runtime Error: Lower bound exceeded! Index 2"},
        // The index wraps as Integer arithmetic does, and is still out of bounds.
        {"var a: array[1..2] of Integer; i: Integer; begin i := 9223372036854775807; PrintLn(a[i + 1]); end.",
         "", "Runtime Error: Lower bound exceeded! Index -9223372036854775808"},
        // Members of elements, read and written, in records of records and arrays in records.
        {"type TP = record X, Y: Float; N: String; end; TU = record Id: Integer; P: TP; S: array[1..2] of "
         "Integer; end; var u: array[1..3] of TU; i, j: Integer; begin i := 2; j := 2; u[i].P.Y := 1.5; "
         "u[i].P.N := 'b'; u[i].S[j] := 9; u[i + 1].Id := 4; PrintLn(u[2].P.Y); PrintLn(u[i].P.N + "
         "u[1].P.N); PrintLn(u[i].S[j] + u[3].Id); PrintLn(u[1].P.Y); end.",
         "1.5\nb\n13\n0\n", ""},
        // A whole element assigned, and an element of an element that is itself computed.
        {"type TP = record X: Integer; N: String; end; var a, b: array[1..2] of TP; i: Integer; "
         "function Two: Integer; begin Result := 2; end; begin i := 1; a[i].N := 'k'; a[i].X := 5; "
         "b[Two] := a[i]; a[i].N := 'z'; PrintLn(b[2].N + IntToStr(b[Two].X) + a[1].N); end.",
         "k5z\n", ""},
    };
    for (const TQuickCase& c : cases) {
        Check(c);
    }
}

TEST(QuickPaths, ElementComparisonsAndStores) {
    const TQuickCase cases[] = {
        // Swaps as a sort does them, on globals and in a routine, records' members included.
        {"var a: array[1..4] of Integer; i, j, t: Integer; begin a[1] := 4; a[2] := 1; a[3] := 3; a[4] := 2; "
         "for i := 1 to 3 do for j := 1 to 4 - i do if a[j] > a[j + 1] then begin t := a[j]; "
         "a[j] := a[j + 1]; a[j + 1] := t; end; PrintLn(IntToStr(a[1]) + IntToStr(a[2]) + IntToStr(a[3]) + "
         "IntToStr(a[4])); end.",
         "1234\n", ""},
        {"type TU = record Id, Hp: Integer; end; procedure P; var u: array[0..2] of TU; b: array[0..2] of "
         "Integer; i: Integer; begin i := 1; u[i].Hp := 7; b[i - 1] := u[i].Hp; u[i + 1].Id := b[i - 1]; "
         "b[i + 1] := 3; PrintLn(u[2].Id); PrintLn(u[i].Hp >= b[i + 1]); PrintLn(b[i - 1] = u[i + 1].Id); "
         "end; begin P; end.",
         "7\nTrue\nTrue\n", ""},
        // The left operand's bound error comes first; the value is found before the place.
        {"var a: array[1..3] of Integer; i: Integer; begin i := 3; PrintLn(a[i + 1] < a[i + 2]); end.", "",
         "Runtime Error: Upper bound exceeded! Index 4"},
        {"var a: array[1..3] of Integer; i: Integer; begin i := 3; PrintLn(a[i] < a[i - 3]); end.", "",
         "Runtime Error: Lower bound exceeded! Index 0"},
        {"var a: array[1..3] of Integer; i: Integer; begin i := 1; a[i + 3] := a[i - 1]; end.", "",
         "Runtime Error: Lower bound exceeded! Index 0"},
        {"var a: array[1..3] of Integer; i: Integer; begin i := 1; a[i + 3] := 5; end.", "",
         "Runtime Error: Upper bound exceeded! Index 4"},
        // Operands with side effects run left to right.
        {"var s: String; function F(c: String; v: Integer): Integer; begin s := s + c; Result := v; end; "
         "function G(c: String; v: Float): Float; begin s := s + c; Result := v; end; begin "
         "PrintLn(F('a', 5) - F('b', 2)); PrintLn(G('c', 1.5) < G('d', 2.5)); PrintLn(s); end.",
         "3\nTrue\nabcd\n", ""},
        // A value that runs code may change the index; the place is found with the new one.
        {"var a: array[1..3] of Integer; i: Integer; function Next: Integer; begin i := i + 1; Result := 9; "
         "end; begin i := 1; a[i] := Next; PrintLn(IntToStr(a[1]) + IntToStr(a[2])); end.",
         "09\n", ""},
    };
    for (const TQuickCase& c : cases) {
        Check(c);
    }
}

TEST(QuickPaths, StringComparisons) {
    const TQuickCase cases[] = {
        {"type TU = record Team: String; end; var u: array[1..3] of TU; i, n: Integer; begin "
         "u[1].Team := 'Red'; u[2].Team := 'Blue'; u[3].Team := 'Red'; n := 0; for i := 1 to 3 do "
         "if u[i].Team = 'Red' then n := n + 1; PrintLn(n); PrintLn(u[1].Team <> u[2].Team); "
         "PrintLn(u[1].Team = u[3].Team); PrintLn(u[2].Team < u[1].Team); end.",
         "2\nTrue\nTrue\nTrue\n", ""},
        // The left operand is read before the right one runs: the call's change comes too late.
        {"var s: String; function Change: String; begin s := 'new'; Result := 'new'; end; begin "
         "s := 'old'; PrintLn(s = Change); PrintLn(s = Change); end.",
         "False\nTrue\n", ""},
        // Empty strings and a constant on the left.
        {"var s, t: String; begin PrintLn(s = t); PrintLn('' = s); t := 'a'; PrintLn(s < t); "
         "PrintLn('b' > t); end.",
         "True\nTrue\nTrue\nTrue\n", ""},
    };
    for (const TQuickCase& c : cases) {
        Check(c);
    }
}

// "s := s + tail" appends in place only where nothing else shares the text: a copy taken before
// keeps its value, whether the tail is a constant or not and whether the text grows into a new
// buffer or fits the old one.
TEST(QuickPaths, StringAppends) {
    const TQuickCase cases[] = {
        {"var s, t, u: String; i: Integer; begin s := 'ab'; t := s; s := s + 'c'; u := s; s := s + t; "
         "PrintLn(s + ' ' + t + ' ' + u); end.",
         "abcab ab abc\n", ""},
        {"var s, t: String; i: Integer; begin for i := 1 to 100 do begin s := s + 'xyz'; if i = 50 then "
         "t := s; end; PrintLn(Length(s)); PrintLn(Length(t)); PrintLn(Copy(t, 148, 5)); end.",
         "300\n150\nxyz\n", ""},
        // An empty tail leaves the empty string as it is; a var parameter appends to its argument.
        {"var s: String; a: array of String; procedure P(var x: String; y: String); begin x := x + y; x := "
         "x + '!'; end; begin s := s + ''; PrintLn(Length(s)); SetLength(a, 2); a[1] := 'q'; s := a[1]; "
         "P(a[1], ''); P(a[1], s); PrintLn(a[1] + s); end.",
         "0\nq!q!q\n", ""},
    };
    for (const TQuickCase& c : cases) {
        Check(c);
    }
}

// DIV and MOD by a constant take a quicker path for dividends from 0 to 2^32 - 1: every result
// equals that of the same division by a variable, across the edges of that range and spread
// through it, for divisors small, large, powers of two and not.
TEST(QuickPaths, DivisionByConstants) {
    const char* divisors[] = {"2",     "3",          "7",          "8", "10",   "1000",
                              "65537", "2147483647", "2147483648", "1", "(-1)", "(-7)"};
    std::string script = "var d, n: Integer; procedure Check(a: Integer); begin ";
    for (const std::string k : divisors) {
        script += "d := " + k + "; if (a mod " + k + " <> a mod d) or (a div " + k +
                  " <> a div d) then PrintLn(IntToStr(a) + ' by ' + IntToStr(d)); ";
    }
    script += "n := n + 1; end; var i: Integer; begin "
              "for i := -3 to 3 do begin Check(i); Check(2147483647 + i); Check(4294967295 + i); "
              "Check(4294967296 * 3 + i); Check(-2147483648 + i); end; "
              "for i := 1 to 3000 do Check((i * 2654435761) mod 4294967296); "
              "for i := 1 to 1000 do Check(i * 7 - 1); "
              "PrintLn(n); PrintLn(4294967295 mod 7); PrintLn(4294967295 div 7); PrintLn(-7 mod 3); "
              "PrintLn(1000000 div 1000); end.";
    const TScriptRun run = RunScript(script);
    EXPECT_EQ(run.Messages, "");
    EXPECT_EQ(run.Output, "4035\n3\n613566756\n-1\n1000\n");
}

// "v := v + k" and "v := v - k" with a constant k add in place, wrapping around at the ends of
// the Integer range as the general operators do, on globals, locals and var parameters.
TEST(QuickPaths, ConstantAddsInPlace) {
    const TQuickCase cases[] = {
        {"var n: Integer; procedure Up(var v: Integer); begin v := v + 5; v := v - 2; end; function L: "
         "Integer; "
         "var k: Integer; begin k := 10; k := k - 3; k := k + -1; Result := k; end; begin n := "
         "9223372036854775807; n := n + 1; PrintLn(n); n := n - 1; PrintLn(n); n := 0; Up(n); Up(n); "
         "PrintLn(n); PrintLn(L); end.",
         "-9223372036854775808\n9223372036854775807\n6\n6\n", ""},
    };
    for (const TQuickCase& c : cases) {
        Check(c);
    }
}

TEST(QuickPaths, ValueArgumentCalls) {
    const TQuickCase cases[] = {
        // Integer, Float, Boolean and enumeration arguments, with calls among the arguments.
        {"type TDir = (North, East); function F(a: Integer; b: Float; c: Boolean; d: TDir): Float; begin "
         "if c and (d = East) then Result := a + b else Result := a - b; end; function G(n: Integer): "
         "Integer; begin Result := n * 2; end; begin PrintLn(F(G(3), 0.5, True, East)); "
         "PrintLn(F(1, G(1), False, North)); end.",
         "6.5\n-1\n", ""},
        // A record by value is the callee's own copy; its String is shared safely.
        {"type TF = record X: Float; Name: String; end; var f: TF; function Mark(g: TF): String; begin "
         "g.Name := g.Name + '!'; g.X := 0; Result := g.Name; end; begin f.X := 2.5; f.Name := 'Knight'; "
         "PrintLn(Mark(f)); PrintLn(f.Name); PrintLn(f.X); end.",
         "Knight!\nKnight\n2.5\n", ""},
        // A record element as the argument, its index out of bounds: the call stops cleanly and the
        // script goes on after catching it.
        {"type TF = record X: Integer; S: String; end; var a: array[1..2] of TF; i, n: Integer; "
         "function Get(f: TF): Integer; begin Result := f.X; end; begin a[2].X := 7; a[2].S := 's'; n := 0; "
         "for i := 1 to 3 do try n := n + Get(a[i]); except n := n + 100; end; PrintLn(n); "
         "PrintLn(Get(a[2]) + Length(a[2].S)); end.",
         "107\n8\n", ""},
        // Strings, variants and dynamic arrays inside records by value: each copy counts its
        // share, so what the callee changes or drops leaves the caller's values whole, also when
        // the callee raises, and over many calls (a miscount frees a shared text too early).
        {"type TF = record N: Integer; S: String; V: Variant; A: array of Integer; end; var f: TF; i, k: "
         "Integer; function Use(g: TF; d: Integer; h: TF): Integer; begin SetLength(g.A, 5); g.S := g.S + "
         "h.S; g.V := d; if d mod 3 = 0 then raise Exception.Create(g.S); Result := Length(g.S) + "
         "Length(g.A) + g.V + Length(h.A); end; begin f.S := 'ab'; f.V := 'cd'; SetLength(f.A, 2); f.A[1] := "
         "9; for i := 1 to 1000 do try k := k + Use(f, i, f); except on e: Exception do k := k + "
         "Length(e.Message); end; PrintLn(k); PrintLn(f.S + f.V + IntToStr(Length(f.A)) + IntToStr(f.A[1])); "
         "end.",
         "342336\nabcd29\n", ""},
        // More arguments than the unrolled forms take, records among them.
        {"type TP = record X, Y: Integer; T: String; end; var p, q: TP; function Sum(a: Integer; p1: TP; b: "
         "Float; p2: TP; c: Boolean; d: Integer): String; begin Result := p1.T + p2.T + IntToStr(a + p1.X + "
         "p2.Y + d) + FloatToStr(b); if c then Result := Result + '!'; end; begin p.X := 1; p.T := 'p'; q.Y "
         ":= 20; q.T := 'q'; PrintLn(Sum(300, p, 0.5, q, True, 4000)); end.",
         "pq43210.5!\n", ""},
        // Arguments run left to right: a record element out of bounds stops the call before the
        // arguments after it run, as in the general call.
        {"type TF = record X: Integer; end; var a: array[1..2] of TF; i: Integer; function Bump: Integer; "
         "begin PrintLn('bump'); Result := 1; end; function Get(f: TF; n: Integer): Integer; begin Result := "
         "f.X + n; end; begin i := 3; PrintLn(Get(a[i], Bump)); end.",
         "", "Runtime Error: Upper bound exceeded! Index 3"},
        // Records from every kind of place: a local, a member of a record, an element with a
        // constant index, a var parameter passed on by value.
        {"type TI = record A: Integer; S: String; end; TOut = record K: Integer; I: TI; end; var g: TOut; "
         "arr: "
         "array[1..3] of TI; function Show(x: TI): String; begin Result := x.S + IntToStr(x.A); x.S := ''; "
         "end; procedure Pass(var v: TI); begin PrintLn(Show(v)); end; procedure Run; var l: TI; m: TOut; "
         "begin l.A := 1; l.S := 'l'; m.I.A := 2; m.I.S := 'm'; PrintLn(Show(l) + Show(m.I) + l.S + m.I.S); "
         "end; begin g.I.A := 3; g.I.S := 'g'; arr[2].A := 4; arr[2].S := 'a'; Run; PrintLn(Show(g.I) + "
         "Show(arr[2])); Pass(arr[2]); Pass(g.I); PrintLn(g.I.S + arr[2].S); end.",
         "l1m2lm\ng3a4\na4\ng3\nga\n", ""},
        // Deep recursion through the lean call still ends with the recursion error.
        {"function Down(n: Integer): Integer; begin Result := Down(n + 1); end; begin PrintLn(Down(0)); end.",
         "", "Runtime Error: Maximal"},
    };
    for (const TQuickCase& c : cases) {
        Check(c);
    }
}

} // namespace
