// Every compile message a script can provoke, with its exact text and the position of the token
// where the compiler found the problem. The compiler stops at the first one.
#include "ScriptRun.h"

#include <gtest/gtest.h>

namespace {

struct TMessageCase {
    const char* Script;
    const char* Message;
};

void ExpectMessages(const TMessageCase* begin, const TMessageCase* end) {
    for (const TMessageCase* c = begin; c != end; ++c) {
        TScriptEngine engine;
        const std::unique_ptr<TProgram> program = engine.Compile(c->Script);
        ASSERT_EQ(program->Msgs().Count(), 1u) << c->Script;
        EXPECT_EQ(program->Msgs()[0].AsText(), c->Message) << c->Script;
        EXPECT_EQ(program->State(), TProgramState::CompiledWithErrors) << c->Script;
    }
}

TEST(CompileMessages, Punctuation) {
    const TMessageCase cases[] = {
        {"begin PrintLn(1) PrintLn(2); end.", "Syntax Error: \";\" expected. [line: 1, column: 18]"},
        {"begin PrintLn((1 + 2); end.", "Syntax Error: \")\" expected. [line: 1, column: 22]"},
        {"var a: array[1..2] of Integer; begin a[1 := 2; end.",
         "Syntax Error: \"]\" expected [line: 1, column: 42]"},
        {"var i: Integer; begin for i = 1 to 2 do ; end.",
         "Syntax Error: \":=\" expected [line: 1, column: 29]"},
        {"const C 5; begin end.", "Syntax Error: \"=\" expected [line: 1, column: 9]"},
        {"var a: array[1 5] of Integer; begin end.", "Syntax Error: \"..\" expected [line: 1, column: 16]"},
        {"var x Integer; begin end.", "Syntax Error: Colon \":\" expected [line: 1, column: 7]"},
        {"begin end", "Syntax Error: Dot \".\" expected [line: 1, column: 10]"},
    };
    ExpectMessages(std::begin(cases), std::end(cases));
}

TEST(CompileMessages, BlocksAndStatements) {
    const TMessageCase cases[] = {
        {"procedure P; PrintLn(1); end; begin end.", "Syntax Error: BEGIN expected [line: 1, column: 14]"},
        {"begin PrintLn(1);", "Syntax Error: END expected [line: 1, column: 18]"},
        {"procedure P; begin end; begin P ) end.",
         "Syntax Error: End of block expected [line: 1, column: 33]"},
        {"var x: Integer; begin x; end.",
         "Syntax Error: Invalid Instruction - function or assignment expected [line: 1, column: 23]"},
        {"begin if True PrintLn(1); end.", "Syntax Error: Then expected [line: 1, column: 15]"},
        {"begin while True PrintLn(1); end.", "Syntax Error: DO expected [line: 1, column: 18]"},
        {"begin case 1 1: ; end; end.", "Syntax Error: OF expected [line: 1, column: 14]"},
        {"var i: Integer; begin for i := 1 through 5 do ; end.",
         "Syntax Error: TO or DOWNTO expected [line: 1, column: 34]"},
        {"begin for 1 := 1 to 2 do ; end.", "Syntax Error: Variable expected [line: 1, column: 11]"},
        {"const C = 1; begin for C := 1 to 2 do ; end.", "Error: Variable expected [line: 1, column: 24]"},
        {"var x: Integer; begin x := ; end.", "Syntax Error: Expression expected [line: 1, column: 28]"},
        {"begin if 1 then ; end.", "Error: Boolean expected [line: 1, column: 10]"},
        {"begin while 'a' do ; end.", "Error: Boolean expected [line: 1, column: 13]"},
        {"begin PrintLn(1.5 mod 2); end.", "Error: Integer expected [line: 1, column: 19]"},
        {"var f: Float; begin for f := 1 to 2 do ; end.", "Error: Integer expected [line: 1, column: 25]"},
        {"var a: array[1..2] of Integer; begin a['x'] := 1; end.",
         "Error: Integer expression expected [line: 1, column: 40]"},
        {"var i: Integer; begin for i := 'a' to 2 do ; end.",
         "Error: Integer expression expected [line: 1, column: 32]"},
        {"begin raise; end.", "Error: Object expected [line: 1, column: 7]"},
        {"begin raise 5; end.", "Error: Object expected [line: 1, column: 13]"},
    };
    ExpectMessages(std::begin(cases), std::end(cases));
}

TEST(CompileMessages, NamesAndTypes) {
    const TMessageCase cases[] = {
        {"var 5: Integer; begin end.", "Syntax Error: Name expected [line: 1, column: 5]"},
        {"begin Foo := 1; end.", "Error: Unknown name \"Foo\" [line: 1, column: 7]"},
        {"var x: Foo; begin end.", "Error: Unknown type \"Foo\" [line: 1, column: 8]"},
        {"var x: ; begin end.", "Syntax Error: Type expected [line: 1, column: 8]"},
        {"begin try except on E: Foo do ; end; end.", "Error: Type \"Foo\" not found [line: 1, column: 24]"},
        {"var x: PrintLn; begin end.", "Error: PrintLn is not a Type! [line: 1, column: 8]"},
        {"var x, x: Integer; begin end.", "Error: Name \"x\" already exists [line: 1, column: 8]"},
        {"procedure P(a: Integer); var A: Integer; begin end; begin end.",
         "Error: Name \"A\" already exists [line: 1, column: 30]"},
        // At the type that is not simple, not at the value.
        {"const C: array[1..2] of Integer = 1; begin end.",
         "Error: Simple type expected [line: 1, column: 10]"},
        {"type R = record A: Integer; end; procedure P(r: R = 1); begin end; begin end.",
         "Error: Simple type expected [line: 1, column: 49]"},
        {"const C: Integer = 'a'; begin end.", "Error: Invalid const type \"Integer\" [line: 1, column: 20]"},
        {"var v: Integer; const C = v; begin end.",
         "Error: Constant expression expected [line: 1, column: 27]"},
        {"var i: Integer; begin case 1 of i: ; end; end.",
         "Error: Constant expression expected [line: 1, column: 33]"},
    };
    ExpectMessages(std::begin(cases), std::end(cases));
}

TEST(CompileMessages, Arrays) {
    const TMessageCase cases[] = {
        {"var n: Integer; a: array[1..n] of Integer; begin end.",
         "Error: Bound isn't a constant expression [line: 1, column: 29]"},
        {"var a: array['a'..'z'] of Integer; begin end.",
         "Error: Bound isn't of type integer [line: 1, column: 14]"},
        {"var a: array[5..1] of Integer; begin end.",
         "Error: Lower bound is bigger than upper bound! [line: 1, column: 17]"},
        {"var a: array[1..1] of Integer; begin end.", ""}, // one element is the smallest array
        {"var a: array[1..2] of Integer; begin a[1, 2] := 0; end.",
         "Error: Too many indices [line: 1, column: 43]"},
    };
    for (const TMessageCase& c : cases) {
        if (*c.Message == '\0') {
            EXPECT_EQ(FirstMessage(c.Script), "") << c.Script;
        } else {
            ExpectMessages(&c, &c + 1);
        }
    }
}

TEST(CompileMessages, Routines) {
    const TMessageCase cases[] = {
        {"forward; begin end.", "Syntax Error: PROCEDURE or FUNCTION expected [line: 1, column: 1]"},
        {"function F; begin end; begin end.", "Syntax Error: Result type expected [line: 1, column: 11]"},
        // A parameter list, once opened, holds at least one parameter group.
        {"procedure P(); begin end; begin end.", "Syntax Error: Parameters expected [line: 1, column: 13]"},
        {"function F(): Integer; begin end; begin end.",
         "Syntax Error: Parameters expected [line: 1, column: 12]"},
        {"procedure P: Integer; begin end; begin end.",
         "Syntax Error: No result type required [line: 1, column: 12]"},
        {"procedure P(var x: Integer = 1); begin end; begin end.",
         "Syntax Error: Default Parameter must not be a var-parameter [line: 1, column: 28]"},
        {"procedure P; forward; begin end.",
         "Error: The function \"P\" was forward declared but not implemented! [line: 1, column: 11]"},
        {"function F: Integer; forward; procedure F; begin end; begin end.",
         "Error: Declaration should be FUNCTION! [line: 1, column: 41]"},
        {"procedure P; forward; function P: Integer; begin end; begin end.",
         "Error: Declaration should be PROCEDURE! [line: 1, column: 32]"},
        {"function F: Integer; forward; function F: String; begin end; begin end.",
         "Error: Result type should be \"Integer\" [line: 1, column: 40]"},
        {"procedure P(a: Integer); forward; procedure P(a, b: Integer); begin end; begin end.",
         "Error: Expected 1 parameters (instead of 2) [line: 1, column: 45]"},
        {"procedure P(a: Integer); forward; procedure P(b: Integer); begin end; begin end.",
         "Error: Parameter 1 - Name \"a\" expected [line: 1, column: 45]"},
        {"procedure P(a: Integer); forward; procedure P(a: String); begin end; begin end.",
         "Error: Parameter 1 - Type \"Integer\" expected (instead of \"String\") [line: 1, column: 45]"},
        {"procedure P(var a: Integer); forward; procedure P(a: Integer); begin end; begin end.",
         "Error: Parameter 1 - Var-parameter expected [line: 1, column: 49]"},
        {"procedure P(a: Integer); forward; procedure P(var a: Integer); begin end; begin end.",
         "Error: Parameter 1 - Value-parameter expected [line: 1, column: 45]"},
    };
    ExpectMessages(std::begin(cases), std::end(cases));
}

TEST(CompileMessages, RecordsMembersUnitsAndSwitches) {
    const TMessageCase cases[] = {
        {"var e: Exception; begin e := Exception.Create('x'); PrintLn(e.Foo); end.",
         "Error: There's no member with name \"Foo\"! [line: 1, column: 63]"},
        {"var i: Integer; begin i.X := 1; end.",
         "Error: Neither a record nor an object! [line: 1, column: 25]"},
        {"type T = record X: Integer; end; var r: T; begin r.Y := 1; end.",
         "Error: No member \"Y\" found in record \"T\" [line: 1, column: 52]"},
        {"uses Foo; begin end.", "Error: Unknown unit \"Foo\" [line: 1, column: 6]"},
        {"begin {$FOO} end.", "Syntax Error: Compilerswitch \"FOO\" unknown [line: 1, column: 7]"},
        {"begin {$I } end.", "Syntax Error: Name of include file expected [line: 1, column: 11]"},
        {"begin {$I none.inc} end.",
         "Syntax Error: Couldn't find file \"none.inc\" on input paths [line: 1, column: 11]"},
        {"var o: TObject; begin o := TObject.Make; end.",
         "Error: Classmethod or constructor expected [line: 1, column: 36]"},
        {"var o: TObject; begin try except on E: Integer do ; end; end.",
         "Error: \"Integer\" is not a class [line: 1, column: 40]"},
        {"var o: TObject; begin PrintLn(o is Integer); end.",
         "Error: Class reference expected [line: 1, column: 36]"},
    };
    ExpectMessages(std::begin(cases), std::end(cases));
}

TEST(CompileMessages, OperatorsAssignmentsAndCalls) {
    const TMessageCase cases[] = {
        {"begin PrintLn(nil < nil); end.", "Error: Invalid Operands [line: 1, column: 19]"},
        {"begin PrintLn('a' - 'b'); end.", "Error: Invalid Operands [line: 1, column: 19]"},
        {"begin PrintLn('a' + 1); end.", "Error: Incompatible operands [line: 1, column: 19]"},
        {"begin PrintLn(True * 2); end.", "Error: Numerical operand expected [line: 1, column: 20]"},
        {"begin PrintLn(-'a'); end.", "Error: Numerical operand expected [line: 1, column: 15]"},
        {"begin PrintLn(not 'a'); end.", "Error: Boolean or integer operand expected [line: 1, column: 15]"},
        {"begin PrintLn(1.5 and 2); end.",
         "Error: Boolean or integer operand expected [line: 1, column: 19]"},
        {"begin PrintLn(1 = 'a'); end.",
         "Error: Incompatible types: \"Integer\" and \"String\" [line: 1, column: 17]"},
        {"var x: Integer; begin x := 'a'; end.",
         "Error: Incompatible types: Cannot assign \"String\" to \"Integer\" [line: 1, column: 28]"},
        {"const C = 1; begin C := 2; end.",
         "Error: Can't assign a value to the left-side argument! [line: 1, column: 22]"},
        {"procedure P(const a: Integer); begin a := 2; end; begin end.",
         "Error: Can't assign a value to the left-side argument! [line: 1, column: 40]"},
        {"procedure P; begin end; var x: Integer; begin x := P; end.",
         "Error: Assignment's right-side-argument has no returntype! [line: 1, column: 52]"},
        {"procedure P(a: Integer); begin end; begin P(1, 2); end.",
         "Error: Too many arguments! [line: 1, column: 48]"},
        {"procedure P(a, b: Integer); begin end; begin P(1); end.",
         "Error: More arguments expected! [line: 1, column: 46]"},
        // A default does not make the parameters after it optional.
        {"procedure P(a: Integer = 1; s: String); begin end; begin P(5); end.",
         "Error: More arguments expected! [line: 1, column: 58]"},
        {"type R = record A: Integer; end; procedure P(a: Integer = 1; r: R); begin end; begin P(5); end.",
         "Error: More arguments expected! [line: 1, column: 86]"},
        {"procedure P(a: Integer = 1; v: array[1..2] of Integer); begin end; begin P(); end.",
         "Error: More arguments expected! [line: 1, column: 74]"},
        {"procedure P; begin end; procedure Q(a: Integer); begin end; begin Q(P); end.",
         "Error: Argument 1 expects type \"Integer\" [line: 1, column: 69]"},
        {"procedure Q(a: Integer); begin end; begin Q('a'); end.",
         "Error: Argument 1 expects type \"Integer\" instead of \"String\" [line: 1, column: 45]"},
        {"procedure Q(var a: Integer); begin end; begin Q(1); end.",
         "Error: Argument 1 cannot be passed as Var-parameter [line: 1, column: 49]"},
        // Inc as a function with a second argument of the wrong type (it crashed once).
        {"var i, j: Integer; begin j := Inc(i, 'x'); end.",
         "Error: Argument 2 expects type \"Integer\" instead of \"String\" [line: 1, column: 38]"},
        {"procedure Q(var a: Float); var i: Integer; begin end; begin Q(i); end.", ""},
        {"procedure P; begin end; begin P(1); end.", "Error: No arguments expected! [line: 1, column: 33]"},
        {"begin case 1 of 1..'a': ; end; end.", "Error: Range start and range stop are of incompatible "
                                                "types: Integer and String [line: 1, column: 20]"},
        {"begin case 1 of 'a': ; end; end.",
         "Error: Incompatible types: \"Integer\" and \"String\" [line: 1, column: 17]"},
    };
    for (const TMessageCase& c : cases) {
        if (*c.Message == '\0') {
            // A var parameter takes a variable of its own type only; Float is not Integer.
            EXPECT_NE(FirstMessage(c.Script), "") << c.Script;
        } else {
            ExpectMessages(&c, &c + 1);
        }
    }
}

TEST(CompileMessages, TooDeepNestingIsAnErrorNotACrash) {
    std::string deep = "var x: Integer; begin x := ";
    deep += std::string(5000, '(') + "1" + std::string(5000, ')') + "; end.";
    EXPECT_EQ(FirstMessage(deep),
              "Syntax Error: Nesting too deep (more than 200 levels) [line: 1, column: 227]");
    std::string chain = "var x: Integer; begin x := x";
    for (int i = 0; i < 5000; ++i) {
        chain += " + x";
    }
    chain += "; end.";
    EXPECT_NE(FirstMessage(chain).find("Nesting too deep (more than 500 levels)"), std::string::npos);
    std::string blocks;
    for (int i = 0; i < 5000; ++i) {
        blocks += "begin ";
    }
    EXPECT_NE(FirstMessage(blocks).find("Nesting too deep"), std::string::npos);
}

} // namespace
