// The tokenizer's character machine and its messages.
#include "script/Tokenizer.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <strings.h>

namespace {

// Upper-case spellings in the order of TTok; the static_assert keeps the table and the enum in step.
constexpr std::array<std::string_view, kKeywordCount> kKeywords = {
    "AND",         "ARRAY",    "ABSTRACT", "AS",          "BEGIN",     "BREAK",   "CONST",     "CLASS",
    "CONSTRUCTOR", "CONTINUE", "CASE",     "CDECL",       "DO",        "DOWNTO",  "DIV",       "DEFAULT",
    "END",         "ELSE",     "EXCEPT",   "EXIT",        "EXTERNAL",  "FOR",     "FALSE",     "FUNCTION",
    "FINALLY",     "FASTCALL", "FORWARD",  "IF",          "IN",        "IS",      "INHERITED", "INDEX",
    "MOD",         "NOT",      "NIL",      "OR",          "OF",        "ON",      "OVERRIDE",  "OBJECT",
    "PROCEDURE",   "PROPERTY", "PASCAL",   "PRIVATE",     "PROTECTED", "PUBLIC",  "PUBLISHED", "REPEAT",
    "RECORD",      "READ",     "RAISE",    "REINTRODUCE", "REGISTER",  "STDCALL", "THEN",      "TO",
    "TRUE",        "TYPE",     "TRY",      "UNTIL",       "USES",      "VAR",     "VIRTUAL",   "WHILE",
    "WRITE",       "XOR"};
static_assert(kKeywords.back() == "XOR" && kKeywords.size() == static_cast<size_t>(TTok::Xor) + 1);

constexpr std::array<std::string_view, 20> kSymbols = {"<", "<=", "<>", ">", ">=", ":", ":=", ".", "..", "=",
                                                       "+", "-",  "*",  "/", "(",  ")", "[",  "]", ",",  ";"};
static_assert(kSymbols.size() == static_cast<size_t>(TTok::Semicolon) - static_cast<size_t>(TTok::Less) + 1);

// Include files that include each other would never end; real scripts nest one or two deep.
constexpr size_t kMaxIncludeDepth = 16;

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHex(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\0';
}

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(text);
    quoted += '"';
    return quoted;
}

// "Invalid integer constant \"99999999999999999999\" (\"99999999999999999999\")"
[[noreturn]] void InvalidConstant(const TScriptPos& pos, std::string_view what, std::string_view text) {
    SyntaxError(pos, std::string(what) + " " + Quoted(text) + " (" + Quoted(text) + ")");
}

} // namespace

void SyntaxError(const TScriptPos& pos, std::string text) {
    throw ECompileError{TMsgKind::SyntaxError, std::move(text), pos};
}

void CompileError(const TScriptPos& pos, std::string text) {
    throw ECompileError{TMsgKind::Error, std::move(text), pos};
}

std::string_view TTokenizer::Spelling(TTok kind) {
    const auto i = static_cast<size_t>(kind);
    if (i < kKeywords.size()) {
        return kKeywords[i];
    }
    if (kind >= TTok::Less && kind <= TTok::Semicolon) {
        return kSymbols[i - static_cast<size_t>(TTok::Less)];
    }
    switch (kind) {
    case TTok::Name:
        return "name";
    case TTok::Integer:
        return "integer";
    case TTok::Float:
        return "float";
    case TTok::String:
        return "string";
    default:
        return "end of text";
    }
}

TTokenizer::TTokenizer(std::string_view text, TIncludeReader reader) : Reader(std::move(reader)) {
    Sources.push_back(TSource{std::string(text), {}});
    Next();
}

char TTokenizer::Ch(size_t ahead) const {
    const TSource& s = Sources.back();
    return s.At + ahead < s.Text.size() ? s.Text[s.At + ahead] : '\0';
}

bool AtEnd(const std::string& text, size_t at) {
    return at >= text.size();
}

void TTokenizer::Advance() {
    TSource& s = Sources.back();
    if (s.At >= s.Text.size()) {
        return;
    }
    if (s.Text[s.At] == '\n') {
        ++s.Line;
        s.Column = 1;
    } else {
        ++s.Column;
    }
    ++s.At;
}

TScriptPos TTokenizer::Here() const {
    const TSource& s = Sources.back();
    return TScriptPos{s.Line, s.Column, s.File};
}

void TTokenizer::Next() {
    if (Lookahead) {
        Current = std::move(*Lookahead);
        Lookahead.reset();
        return;
    }
    Current = Scan();
}

const TToken& TTokenizer::PeekNext() {
    if (!Lookahead) {
        Lookahead = Scan();
    }
    return *Lookahead;
}

void TTokenizer::SkipBlanksAndComments() {
    for (;;) {
        TSource& s = Sources.back();
        if (s.At >= s.Text.size()) {
            if (Sources.size() == 1) {
                return;
            }
            Sources.pop_back();
            continue;
        }
        const char c = Ch();
        if (IsBlank(c)) {
            Advance();
        } else if (c == '/' && Ch(1) == '/') {
            while (s.At < s.Text.size() && Ch() != '\n') {
                Advance();
            }
        } else if (c == '{') {
            const TScriptPos pos = Here();
            if (Ch(1) == '$') {
                Advance();
                Advance();
                ReadSwitch(pos);
                continue;
            }
            // An unclosed comment runs to the end of its text.
            while (s.At < s.Text.size() && Ch() != '}') {
                Advance();
            }
            Advance();
        } else {
            return;
        }
    }
}

// "{$I file}" and "{$INCLUDE file}" insert a file; the name may be quoted.
void TTokenizer::ReadSwitch(const TScriptPos& pos) {
    if (!IsLetter(Ch())) {
        SyntaxError(pos, "Name of compiler switch expected");
    }
    std::string name;
    while (IsLetter(Ch()) || IsDigit(Ch())) {
        name += Ch();
        Advance();
    }
    if (strcasecmp(name.c_str(), "I") != 0 && strcasecmp(name.c_str(), "INCLUDE") != 0) {
        SyntaxError(pos, "Compilerswitch " + Quoted(name) + " unknown");
    }
    while (Ch() == ' ' || Ch() == '\t') {
        Advance();
    }
    const TScriptPos namePos = Here();
    std::string file;
    if (Ch() == '\'') {
        Advance();
        while (Ch() != '\'' && Ch() != '}' && Ch() != '\n' &&
               Sources.back().At < Sources.back().Text.size()) {
            file += Ch();
            Advance();
        }
        if (Ch() == '\'') {
            Advance();
        }
    } else {
        while (Ch() != '}' && !IsBlank(Ch())) {
            file += Ch();
            Advance();
        }
    }
    while (Ch() == ' ' || Ch() == '\t') {
        Advance();
    }
    if (file.empty() || Ch() != '}') {
        SyntaxError(namePos, "Name of include file expected");
    }
    Advance();
    if (Sources.size() > kMaxIncludeDepth) {
        SyntaxError(namePos, "Include files nested too deeply");
    }
    std::optional<std::string> text = Reader ? Reader(file) : std::nullopt;
    if (!text) {
        SyntaxError(namePos, "Couldn't find file " + Quoted(file) + " on input paths");
    }
    Sources.push_back(TSource{std::move(*text), file});
}

TToken TTokenizer::Scan() {
    SkipBlanksAndComments();
    const TScriptPos pos = Here();
    const TSource& s = Sources.back();
    if (s.At >= s.Text.size()) {
        return TToken{TTok::EndOfText, {}, 0, 0.0, pos};
    }
    const char c = Ch();
    if (IsLetter(c)) {
        return ReadName(pos);
    }
    if (IsDigit(c)) {
        return ReadNumber(pos);
    }
    if (c == '$') {
        return ReadHex(pos);
    }
    if (c == '\'' || c == '#') {
        return ReadStringLiteral(pos);
    }
    auto symbol = [&](TTok kind, int length) {
        for (int i = 0; i < length; ++i) {
            Advance();
        }
        return TToken{kind, std::string(Spelling(kind)), 0, 0.0, pos};
    };
    const char n = Ch(1);
    switch (c) {
    case ':':
        return n == '=' ? symbol(TTok::Assign, 2) : symbol(TTok::Colon, 1);
    case '<':
        if (n == '=') {
            return symbol(TTok::LessEqual, 2);
        }
        return n == '>' ? symbol(TTok::NotEqual, 2) : symbol(TTok::Less, 1);
    case '>':
        return n == '=' ? symbol(TTok::GreaterEqual, 2) : symbol(TTok::Greater, 1);
    case '.':
        if (n == '.') {
            return symbol(TTok::DotDot, 2);
        }
        // The program's final "." may stand before blanks, a comment or the end of the text.
        if (IsLetter(n) || IsBlank(n) || n == '{' || n == '/' || s.At + 1 >= s.Text.size()) {
            return symbol(TTok::Dot, 1);
        }
        SyntaxError(pos, "\".\" expected");
    case '=':
        return symbol(TTok::Equal, 1);
    case '+':
        return symbol(TTok::Plus, 1);
    case '-':
        return symbol(TTok::Minus, 1);
    case '*':
        return symbol(TTok::Times, 1);
    case '/':
        return symbol(TTok::Divide, 1);
    case '(':
        return symbol(TTok::LParen, 1);
    case ')':
        return symbol(TTok::RParen, 1);
    case '[':
        return symbol(TTok::LBracket, 1);
    case ']':
        return symbol(TTok::RBracket, 1);
    case ',':
        return symbol(TTok::Comma, 1);
    case ';':
        return symbol(TTok::Semicolon, 1);
    default:
        SyntaxError(pos, "Invalid character");
    }
}

TToken TTokenizer::ReadName(TScriptPos pos) {
    std::string name;
    while (IsLetter(Ch()) || IsDigit(Ch())) {
        name += Ch();
        Advance();
    }
    for (size_t i = 0; i < kKeywords.size(); ++i) {
        if (kKeywords[i].size() == name.size() &&
            strcasecmp(std::string(kKeywords[i]).c_str(), name.c_str()) == 0) {
            return TToken{static_cast<TTok>(i), std::move(name), 0, 0.0, pos};
        }
    }
    return TToken{TTok::Name, std::move(name), 0, 0.0, pos};
}

TToken TTokenizer::ReadNumber(TScriptPos pos) {
    std::string text;
    while (IsDigit(Ch())) {
        text += Ch();
        Advance();
    }
    bool isFloat = false;
    if (Ch() == '.' && Ch(1) != '.') {
        // A fraction needs digits or an exponent after the point ("1.5", "1.e3" is not one).
        isFloat = true;
        text += '.';
        Advance();
        if (!IsDigit(Ch()) && Ch() != 'E' && Ch() != 'e') {
            SyntaxError(pos, "Number or exponent expected");
        }
        while (IsDigit(Ch())) {
            text += Ch();
            Advance();
        }
    }
    if (Ch() == 'E' || Ch() == 'e') {
        isFloat = true;
        text += 'E';
        Advance();
        if (Ch() == '+' || Ch() == '-') {
            text += Ch();
            Advance();
            if (!IsDigit(Ch())) {
                SyntaxError(pos, "Number expected");
            }
        } else if (!IsDigit(Ch())) {
            SyntaxError(pos, "Number or minus expected");
        }
        while (IsDigit(Ch())) {
            text += Ch();
            Advance();
        }
    }
    if (IsLetter(Ch())) {
        SyntaxError(pos, isFloat ? "Number expected" : "Number, point or exponent expected");
    }
    TToken token{isFloat ? TTok::Float : TTok::Integer, text, 0, 0.0, pos};
    if (isFloat) {
        const char* begin = text.c_str();
        char* end = nullptr;
        errno = 0;
        token.FloatValue = std::strtod(begin, &end);
        if (errno == ERANGE && std::isinf(token.FloatValue)) {
            InvalidConstant(pos, "Invalid floating point constant", text);
        }
        return token;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), token.IntValue);
    if (ec != std::errc() || end != text.data() + text.size()) {
        InvalidConstant(pos, "Invalid integer constant", text);
    }
    return token;
}

TToken TTokenizer::ReadHex(TScriptPos pos) {
    Advance();
    if (!IsHex(Ch())) {
        SyntaxError(pos, "Hexadecimal digit expected");
    }
    std::string digits;
    while (IsHex(Ch())) {
        digits += Ch();
        Advance();
    }
    if (IsLetter(Ch())) {
        SyntaxError(pos, "Hexadecimal digit expected");
    }
    uint64_t value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (ec != std::errc() || end != digits.data() + digits.size()) {
        InvalidConstant(pos, "Invalid hexadezimal constant", "$" + digits);
    }
    // "$FFFFFFFFFFFFFFFF" is the bit pattern of -1, as hexadecimal constants have always been read.
    return TToken{TTok::Integer, "$" + digits, static_cast<int64_t>(value), 0.0, pos};
}

// Quoted pieces and "#" character codes written directly after one another form one literal.
TToken TTokenizer::ReadStringLiteral(TScriptPos pos) {
    std::string value;
    for (;;) {
        if (Ch() == '\'') {
            Advance();
            for (;;) {
                const TSource& s = Sources.back();
                if (s.At >= s.Text.size() || Ch() == '\n' || Ch() == '\r') {
                    SyntaxError(pos, "End of string constant not found (end of line)");
                }
                if (Ch() == '\'') {
                    if (Ch(1) == '\'') {
                        value += '\'';
                        Advance();
                        Advance();
                        continue;
                    }
                    Advance();
                    break;
                }
                value += Ch();
                Advance();
            }
        } else if (Ch() == '#') {
            Advance();
            std::string digits;
            int base = 10;
            if (Ch() == '$') {
                base = 16;
                Advance();
                if (!IsHex(Ch())) {
                    SyntaxError(pos, "Hexadecimal digit expected");
                }
                while (IsHex(Ch())) {
                    digits += Ch();
                    Advance();
                }
            } else {
                if (!IsDigit(Ch())) {
                    SyntaxError(pos, "Number expected");
                }
                while (IsDigit(Ch())) {
                    digits += Ch();
                    Advance();
                }
            }
            unsigned code = 0;
            const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), code, base);
            if (ec != std::errc() || code > 255) {
                InvalidConstant(pos, "Invalid char constant", (base == 16 ? "#$" : "#") + digits);
            }
            value += static_cast<char>(code);
        } else {
            break;
        }
    }
    return TToken{TTok::String, std::move(value), 0, 0.0, pos};
}
