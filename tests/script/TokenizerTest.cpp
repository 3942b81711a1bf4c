// The tokenizer's character machine: literals, symbols, comments, switches, and its errors with
// their exact texts and positions.
#include "script/Tokenizer.h"

#include "ScriptRun.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<TToken> Tokens(std::string_view text) {
    TTokenizer lex(text, nullptr);
    std::vector<TToken> list;
    while (lex.Peek().Kind != TTok::EndOfText) {
        list.push_back(lex.Peek());
        lex.Next();
    }
    return list;
}

TEST(Tokenizer, NumbersStringsAndSymbols) {
    const std::vector<TToken> t = Tokens("x1 := $1F + 2.5E-1 * 1e3; 'It''s'#33#$41 <> <= >= .. 1..5");
    ASSERT_EQ(t.size(), 16u);
    EXPECT_EQ(t[0].Kind, TTok::Name);
    EXPECT_EQ(t[0].Text, "x1");
    EXPECT_EQ(t[1].Kind, TTok::Assign);
    EXPECT_EQ(t[2].Kind, TTok::Integer);
    EXPECT_EQ(t[2].IntValue, 31);
    EXPECT_EQ(t[4].Kind, TTok::Float);
    EXPECT_DOUBLE_EQ(t[4].FloatValue, 0.25);
    EXPECT_DOUBLE_EQ(t[6].FloatValue, 1000.0);
    EXPECT_EQ(t[8].Kind, TTok::String);
    EXPECT_EQ(t[8].Text, "It's!A"); // quoted pieces and character codes form one literal
    EXPECT_EQ(t[9].Kind, TTok::NotEqual);
    EXPECT_EQ(t[10].Kind, TTok::LessEqual);
    EXPECT_EQ(t[11].Kind, TTok::GreaterEqual);
    EXPECT_EQ(t[12].Kind, TTok::DotDot);
    // A number directly followed by ".." ends before it, so 1..5 is a range.
    EXPECT_EQ(t[13].Kind, TTok::Integer);
    EXPECT_EQ(t[14].Kind, TTok::DotDot);
    EXPECT_EQ(t[15].IntValue, 5);
}

TEST(Tokenizer, KeywordsInAnyCaseAndPositions) {
    const std::vector<TToken> t = Tokens("begin Begin\n  BEGIN bEgIn_x");
    ASSERT_EQ(t.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(t[i].Kind, TTok::Begin);
    }
    EXPECT_EQ(t[3].Kind, TTok::Name);
    EXPECT_EQ(t[2].Pos.Line, 2);
    EXPECT_EQ(t[2].Pos.Column, 3);
}

TEST(Tokenizer, CommentsAreSkipped) {
    const std::vector<TToken> t = Tokens("a { b } // c\n / d {unclosed");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].Text, "a");
    EXPECT_EQ(t[1].Kind, TTok::Divide); // a single "/" is the division operator
    EXPECT_EQ(t[2].Text, "d");
}

struct TLexErrorCase {
    const char* Text;
    const char* Message;
};

TEST(Tokenizer, ErrorsCarryTextAndPosition) {
    const TLexErrorCase cases[] = {
        {"begin ? end.", "Syntax Error: Invalid character [line: 1, column: 7]"},
        {"begin {$ } end.", "Syntax Error: Name of compiler switch expected [line: 1, column: 7]"},
        {"begin x := #; end.", "Syntax Error: Number expected [line: 1, column: 12]"},
        {"begin x := $G; end.", "Syntax Error: Hexadecimal digit expected [line: 1, column: 12]"},
        {"begin x := #$; end.", "Syntax Error: Hexadecimal digit expected [line: 1, column: 12]"},
        {"begin x := 12ab; end.", "Syntax Error: Number, point or exponent expected [line: 1, column: 12]"},
        {"begin x := 1.x; end.", "Syntax Error: Number or exponent expected [line: 1, column: 12]"},
        {"begin x := 1Ex; end.", "Syntax Error: Number or minus expected [line: 1, column: 12]"},
        {"begin x := 1E+; end.", "Syntax Error: Number expected [line: 1, column: 12]"},
        {"begin x := 'abc\n'; end.",
         "Syntax Error: End of string constant not found (end of line) [line: 1, column: 12]"},
        {"begin x := 'abc\r\n'; end.",
         "Syntax Error: End of string constant not found (end of line) [line: 1, column: 12]"},
        {"begin x := 'abc",
         "Syntax Error: End of string constant not found (end of line) [line: 1, column: 12]"},
        {"begin x := x.; end.", "Syntax Error: \".\" expected [line: 1, column: 13]"},
        // Every message of the character machine stands at the start of its token.
        {"begin x := 1.5x; end.", "Syntax Error: Number expected [line: 1, column: 12]"},
        {"begin x := $1Fz; end.", "Syntax Error: Hexadecimal digit expected [line: 1, column: 12]"},
        {"begin x := 'ab'#; end.", "Syntax Error: Number expected [line: 1, column: 12]"},
        {"begin x := 'ab'#$x; end.", "Syntax Error: Hexadecimal digit expected [line: 1, column: 12]"},
        {"begin x := 'ab'#300; end.",
         "Syntax Error: Invalid char constant \"#300\" (\"#300\") [line: 1, column: 12]"},
        {"begin x := 'a''b\n'; end.",
         "Syntax Error: End of string constant not found (end of line) [line: 1, column: 12]"},
        {"begin x := #256; end.",
         "Syntax Error: Invalid char constant \"#256\" (\"#256\") [line: 1, column: 12]"},
        {"begin x := $1FFFFFFFFFFFFFFFF; end.",
         "Syntax Error: Invalid hexadezimal constant \"$1FFFFFFFFFFFFFFFF\" (\"$1FFFFFFFFFFFFFFFF\") [line: "
         "1, column: 12]"},
        {"begin x := 9223372036854775808; end.",
         "Syntax Error: Invalid integer constant \"9223372036854775808\" (\"9223372036854775808\") [line: 1, "
         "column: 12]"},
        {"begin x := 1E999; end.",
         "Syntax Error: Invalid floating point constant \"1E999\" (\"1E999\") [line: 1, column: 12]"},
        {"begin {$FOO} end.", "Syntax Error: Compilerswitch \"FOO\" unknown [line: 1, column: 7]"},
        {"begin {$I } end.", "Syntax Error: Name of include file expected [line: 1, column: 11]"},
        {"begin {$I missing.inc} end.",
         "Syntax Error: Couldn't find file \"missing.inc\" on input paths [line: 1, column: 11]"},
    };
    for (const TLexErrorCase& c : cases) {
        // The scripts' own line 1 becomes line 2 under a declaration of x.
        std::string expected = c.Message;
        expected.replace(expected.find("[line: 1,"), 9, "[line: 2,");
        EXPECT_EQ(FirstMessage(std::string("var x: Integer;\n") + c.Text), expected) << c.Text;
    }
}

TEST(Tokenizer, LargestLiteralsStillConvert) {
    const std::vector<TToken> t = Tokens("9223372036854775807 $FFFFFFFFFFFFFFFF #255");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].IntValue, INT64_MAX);
    EXPECT_EQ(t[1].IntValue, -1); // the bit pattern of -1
    EXPECT_EQ(t[2].Text, std::string(1, '\xFF'));
}

TEST(Tokenizer, IncludeSwitchInsertsTheFileAndNamesItInPositions) {
    const std::string dir = ::testing::TempDir();
    const std::string file = dir + "/duelmark_include.inc";
    {
        FILE* f = std::fopen(file.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("procedure Hello;\nbegin\n  PrintLn('hi');\nend;\n", f);
        std::fclose(f);
    }
    TScriptEngine engine;
    engine.Config.ScriptPaths.push_back(dir);
    EXPECT_EQ(RunScript("{$I duelmark_include.inc}\nbegin Hello; Hello; end.", &engine).Output, "hi\nhi\n");
    {
        FILE* f = std::fopen(file.c_str(), "w");
        std::fputs("procedure Hello;\nbegin\n  x := 1;\nend;\n", f);
        std::fclose(f);
    }
    EXPECT_EQ(FirstMessage("{$INCLUDE 'duelmark_include.inc'}\nbegin end.", &engine),
              "Error: Unknown name \"x\" [line: 3, column: 3, file: duelmark_include.inc]");
    std::remove(file.c_str());
}

TEST(Tokenizer, SelfIncludingFileStopsWithAMessage) {
    const std::string dir = ::testing::TempDir();
    const std::string file = dir + "/duelmark_self.inc";
    {
        FILE* f = std::fopen(file.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("{$I duelmark_self.inc}\n", f);
        std::fclose(f);
    }
    TScriptEngine engine;
    engine.Config.ScriptPaths.push_back(dir);
    EXPECT_EQ(FirstMessage("{$I duelmark_self.inc} begin end.", &engine),
              "Syntax Error: Include files nested too deeply [line: 1, column: 5, file: duelmark_self.inc]");
    std::remove(file.c_str());
}

} // namespace
