// A program's message list: compile errors, run-time errors and the engine's notes, each with its
// position where known, readable as text in the engine's formats.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class TMsgKind { Info, Warning, Error, SyntaxError, RuntimeError };

// A source position: line and column count from 1; an empty File is the main script.
struct TScriptPos {
    int Line = 0;
    int Column = 0;
    std::string File;
    [[nodiscard]] bool Known() const { return Line > 0; }
};

class TMsg {
public:
    TMsgKind Kind = TMsgKind::Info;
    std::string Text;
    TScriptPos Pos;
    // "Syntax Error: Then expected [line: 3, column: 12]", "Runtime Error: ... [line: 1, column:
    // 2, file: lib.inc]", "Info: ..." (no suffix when the position is unknown).
    [[nodiscard]] std::string AsText() const;
};

class TMsgs {
public:
    void Add(TMsgKind kind, std::string text, TScriptPos pos = {});
    void Clear() { Items.clear(); }
    [[nodiscard]] size_t Count() const { return Items.size(); }
    [[nodiscard]] const TMsg& operator[](size_t i) const { return Items[i]; }
    [[nodiscard]] auto begin() const { return Items.begin(); }
    [[nodiscard]] auto end() const { return Items.end(); }
    // Whether an error, syntax error or run-time error is in the list.
    [[nodiscard]] bool HasErrors() const;
    // One entry per line, each line ending in "\n".
    [[nodiscard]] std::string AsText() const;

private:
    std::vector<TMsg> Items;
};
