// The compiler: a recursive-descent parser over the tokenizer that checks types and resolves
// every name to a slot, a constant or a routine while it builds the program's tree. Split by
// grammar area: CompilerDecls.cpp (declarations and types), CompilerStmts.cpp (statements),
// CompilerExprs.cpp (expressions and operators), CompilerCalls.cpp (calls and designators).
#pragma once

#include "script/Code.h"
#include "script/Nodes.h"
#include "script/Tokenizer.h"

#include <string>
#include <string_view>
#include <vector>

class TScriptUnit;

// The language's own types, made once per program.
struct TBaseTypes {
    const TTypeSym* Integer = nullptr;
    const TTypeSym* Float = nullptr;
    const TTypeSym* DateTime = nullptr;
    const TTypeSym* Boolean = nullptr;
    const TTypeSym* String = nullptr;
    const TTypeSym* Variant = nullptr;
    const TTypeSym* Nil = nullptr;
    const TTypeSym* TObject = nullptr;
    const TTypeSym* Exception = nullptr;
    const TTypeSym* HostError = nullptr;
};

// Declares the system table and the host units' declarations in code's scopes; a declaration
// problem raises ECompileError.
void DeclareSystem(TCode& code, TBaseTypes& types, const TScriptUnit& systemUnit);
void DeclareHostUnit(TCode& code, const TBaseTypes& types, const TScriptUnit& unit);

class TCompiler {
public:
    TCompiler(TCode& code, const TBaseTypes& types, std::string_view text, TIncludeReader reader);
    // Compiles the whole script into code; raises ECompileError at the first problem.
    void CompileScript();

private:
    // Slots of the frame being laid out: the global frame or a routine's.
    struct TFrameLayout {
        int32_t Size = 0;
        std::vector<TVariant>* Init = nullptr;
        std::vector<int32_t>* Managed = nullptr;
        bool Global = true;
    };
    // Keeps the parser's recursion, and so the tree's, within bounds.
    class TNesting {
    public:
        TNesting(TCompiler& c, const TScriptPos& pos);
        ~TNesting() { --C.Nesting; }
        TNesting(const TNesting&) = delete;
        TNesting& operator=(const TNesting&) = delete;

    private:
        TCompiler& C;
    };

    // Tokens
    [[nodiscard]] const TToken& Tok() { return Lex.Peek(); }
    [[nodiscard]] bool Is(TTok kind) { return Lex.Peek().Kind == kind; }
    bool Accept(TTok kind);
    void Expect(TTok kind, const char* message, bool syntax = true);
    std::string ExpectName();

    // Declarations (CompilerDecls.cpp)
    void ParseDeclarations(bool global, std::vector<TStmtPtr>& init);
    void ParseConstSection();
    void ParseTypeSection();
    void ParseVarSection(std::vector<TStmtPtr>& init);
    void ParseUses();
    void ParseRoutine();
    void ParseParams(TFuncSym& f, std::vector<TParamSym>& params);
    void CheckForwardMatch(const TFuncSym& forward, const TFuncSym& impl, const TScriptPos& pos);
    void LayoutFrame(TFuncSym& f);
    const TTypeSym& ParseType();
    const TTypeSym& ParseArrayType();
    const TTypeSym& ParseRecordType();
    const TTypeSym& ParseEnumType();
    TVariant ParseConstValue(const TTypeSym*& type);
    void Declare(TSymbol& symbol, const TScriptPos& pos);
    TVarSym& AddVariable(std::string name, const TTypeSym& type, const TScriptPos& pos, bool declare = true);
    TExprPtr Temp(const TTypeSym& type);
    TTypeSym& NewType(TTypeKind kind, std::string name);
    template <typename T, typename... A> T& NewSymbol(A&&... args);

    // Statements (CompilerStmts.cpp)
    TStmtPtr ParseStatement();
    TStmtPtr ParseBlock();
    std::vector<TStmtPtr> ParseStatementList(std::initializer_list<TTok> enders);
    TStmtPtr ParseSimpleStatement();
    TStmtPtr ParseAssignment(TExprPtr place, const TScriptPos& pos);
    TStmtPtr ParseIf();
    TStmtPtr ParseCase();
    TStmtPtr ParseFor();
    TStmtPtr ParseWhile();
    TStmtPtr ParseRepeat();
    TStmtPtr ParseTry();
    TStmtPtr ParseRaise();
    TExprPtr ParseCondition();

    // Expressions (CompilerExprs.cpp)
    TExprPtr ParseExpr();
    TExprPtr ParseSum();
    TExprPtr ParseTerm();
    TExprPtr ParseFactor();
    TExprPtr Binary(TBinOp op, TExprPtr l, TExprPtr r, const TScriptPos& pos);
    TExprPtr Relation(TBinOp op, TExprPtr l, TExprPtr r, const TScriptPos& pos);
    TExprPtr Bounded(TExprPtr e);
    // The value converted to target, or nullptr when an assignment may not convert it.
    TExprPtr Coerce(TExprPtr e, const TTypeSym& target);
    TExprPtr Addressable(TExprPtr e);
    TExprPtr ParseIntegerExpr(const char* message);

    // Calls and designators (CompilerCalls.cpp)
    TExprPtr ParseDesignator();
    TExprPtr ParseName();
    TExprPtr ParseSuffixes(TExprPtr e);
    struct TArgs {
        std::vector<TExprPtr> List;
        std::vector<TScriptPos> Pos;
        bool Parens = false;
    };
    TArgs ParseArgList();
    TExprPtr BindArgs(const TFuncSym& f, TArgs args, const TScriptPos& pos);
    TExprPtr Intrinsic(const TToken& name, const TSymbol* symbol, TArgs& args);
    TExprPtr ParseClassMember(TExprPtr object, const TToken& member);
    TExprPtr ParseCast(const TTypeSym& target, const TScriptPos& pos);

    [[nodiscard]] static std::string Quote(std::string_view s) {
        std::string quoted(1, '"');
        quoted.append(s);
        quoted += '"';
        return quoted;
    }
    [[nodiscard]] bool SameType(const TTypeSym& a, const TTypeSym& b) const;

    TCode& Code;
    const TBaseTypes& T;
    TTokenizer Lex;
    TScope* Scope;            // innermost
    TFuncSym* Func = nullptr; // the routine being compiled; nullptr in the main block
    TVarSym* ResultVar = nullptr;
    TFrameLayout Frame;
    int LoopDepth = 0;
    int Nesting = 0;
    std::vector<const TVarSym*> ExceptVars; // the caught exception of each enclosing handler
    std::vector<std::unique_ptr<TScope>> LocalScopes;
    std::vector<TStmtPtr> GlobalInit;
};
