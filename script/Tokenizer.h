// The script tokenizer: a character machine that turns source text into names, keywords,
// numbers, string literals and symbols, each with its position, and follows include switches.
#pragma once

#include "script/Messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Keywords in the order of the keyword table, then the symbols, then the other token kinds.
enum class TTok : uint8_t {
    And,
    Array,
    Abstract,
    As,
    Begin,
    Break,
    Const,
    Class,
    Constructor,
    Continue,
    Case,
    Cdecl,
    Do,
    Downto,
    Div,
    Default,
    End,
    Else,
    Except,
    Exit,
    External,
    For,
    False,
    Function,
    Finally,
    Fastcall,
    Forward,
    If,
    In,
    Is,
    Inherited,
    Index,
    Mod,
    Not,
    Nil,
    Or,
    Of,
    On,
    Override,
    Object,
    Procedure,
    Property,
    Pascal,
    Private,
    Protected,
    Public,
    Published,
    Repeat,
    Record,
    Read,
    Raise,
    Reintroduce,
    Register,
    Stdcall,
    Then,
    To,
    True,
    Type,
    Try,
    Until,
    Uses,
    Var,
    Virtual,
    While,
    Write,
    Xor,
    // symbols
    Less,
    LessEqual,
    NotEqual,
    Greater,
    GreaterEqual,
    Colon,
    Assign,
    Dot,
    DotDot,
    Equal,
    Plus,
    Minus,
    Times,
    Divide,
    LParen,
    RParen,
    LBracket,
    RBracket,
    Comma,
    Semicolon,
    // the rest
    Name,
    Integer,
    Float,
    String,
    EndOfText
};

inline constexpr int kKeywordCount = static_cast<int>(TTok::Xor) + 1;

struct TToken {
    TTok Kind = TTok::EndOfText;
    std::string Text; // a name as written, a string literal's value, a number's source text
    int64_t IntValue = 0;
    double FloatValue = 0.0;
    TScriptPos Pos;
};

// A compile problem: the compiler stops at the first one and turns it into a message.
struct ECompileError {
    TMsgKind Kind;
    std::string Text;
    TScriptPos Pos;
};

[[noreturn]] void SyntaxError(const TScriptPos& pos, std::string text);
[[noreturn]] void CompileError(const TScriptPos& pos, std::string text);

// Reads an include file by name; gives nullopt when the file is not on the input paths.
using TIncludeReader = std::function<std::optional<std::string>(std::string_view name)>;

class TTokenizer {
public:
    TTokenizer(std::string_view text, TIncludeReader reader);

    // The current token; Next moves on. Both raise ECompileError for a lexical error.
    [[nodiscard]] const TToken& Peek() { return Current; }
    void Next();
    // The token after the current one, without consuming it.
    [[nodiscard]] const TToken& PeekNext();

    [[nodiscard]] static std::string_view Spelling(TTok kind);

private:
    struct TSource {
        std::string Text;
        std::string File; // empty for the main script
        size_t At = 0;
        int Line = 1;
        int Column = 1;
    };

    TToken Scan();
    void SkipBlanksAndComments();
    void ReadSwitch(const TScriptPos& pos);
    TToken ReadName(TScriptPos pos);
    TToken ReadNumber(TScriptPos pos);
    TToken ReadHex(TScriptPos pos);
    TToken ReadStringLiteral(TScriptPos pos);
    [[nodiscard]] char Ch(size_t ahead = 0) const;
    void Advance();
    [[nodiscard]] TScriptPos Here() const;

    std::vector<TSource> Sources; // the innermost include last
    TIncludeReader Reader;
    TToken Current;
    std::optional<TToken> Lookahead;
};
