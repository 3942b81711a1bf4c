// Compiling statements: blocks, assignments and calls, IF, CASE, the loops, TRY and RAISE.
#include "script/Compiler.h"

#include <algorithm>

namespace {

bool StartsStatement(TTok k) {
    switch (k) {
    case TTok::Name:
    case TTok::Begin:
    case TTok::If:
    case TTok::Case:
    case TTok::For:
    case TTok::While:
    case TTok::Repeat:
    case TTok::Try:
    case TTok::Raise:
    case TTok::Break:
    case TTok::Continue:
    case TTok::Exit:
        return true;
    default:
        return false;
    }
}

} // namespace

TStmtPtr TCompiler::ParseBlock() {
    const TScriptPos pos = Tok().Pos;
    Expect(TTok::Begin, "BEGIN expected");
    std::vector<TStmtPtr> list = ParseStatementList({TTok::End});
    Expect(TTok::End, "END expected");
    return MakeBlock(std::move(list), pos);
}

std::vector<TStmtPtr> TCompiler::ParseStatementList(std::initializer_list<TTok> enders) {
    std::vector<TStmtPtr> list;
    for (;;) {
        if (TStmtPtr s = ParseStatement()) {
            list.push_back(std::move(s));
        }
        if (Accept(TTok::Semicolon)) {
            continue;
        }
        if (std::find(enders.begin(), enders.end(), Tok().Kind) != enders.end()) {
            return list;
        }
        if (Is(TTok::EndOfText)) {
            SyntaxError(Tok().Pos, "END expected");
        }
        if (StartsStatement(Tok().Kind)) {
            SyntaxError(Tok().Pos, "\";\" expected.");
        }
        SyntaxError(Tok().Pos, "End of block expected");
    }
}

TStmtPtr TCompiler::ParseStatement() {
    const TScriptPos pos = Tok().Pos;
    TNesting nest(*this, pos);
    switch (Tok().Kind) {
    case TTok::Begin:
        return ParseBlock();
    case TTok::If:
        return ParseIf();
    case TTok::Case:
        return ParseCase();
    case TTok::For:
        return ParseFor();
    case TTok::While:
        return ParseWhile();
    case TTok::Repeat:
        return ParseRepeat();
    case TTok::Try:
        return ParseTry();
    case TTok::Raise:
        return ParseRaise();
    case TTok::Break:
    case TTok::Continue: {
        const TFlow flow = Is(TTok::Break) ? TFlow::Break : TFlow::Continue;
        Lex.Next();
        return LoopDepth > 0 ? MakeFlow(flow, pos) : MakeStrayFlow(flow, pos);
    }
    case TTok::Exit:
        Lex.Next();
        return MakeFlow(TFlow::Exit, pos);
    case TTok::Semicolon:
    case TTok::End:
    case TTok::Until:
    case TTok::Else:
    case TTok::Except:
    case TTok::Finally:
        return nullptr; // the empty statement
    default:
        return ParseSimpleStatement();
    }
}

TStmtPtr TCompiler::ParseSimpleStatement() {
    const TScriptPos pos = Tok().Pos;
    if (Is(TTok::EndOfText)) {
        SyntaxError(pos, "END expected");
    }
    TExprPtr e = ParseExpr();
    if (Is(TTok::Assign)) {
        return ParseAssignment(std::move(e), pos);
    }
    if (!e->IsCallNode) {
        SyntaxError(pos, "Invalid Instruction - function or assignment expected");
    }
    return MakeExprStmt(std::move(e));
}

TStmtPtr TCompiler::ParseAssignment(TExprPtr place, const TScriptPos& pos) {
    const TScriptPos assignPos = Tok().Pos;
    if (!place->IsAssignable()) {
        CompileError(assignPos, "Can't assign a value to the left-side argument!");
    }
    Lex.Next();
    const TScriptPos valuePos = Tok().Pos;
    TExprPtr value = ParseExpr();
    if (!value->Type) {
        CompileError(valuePos, "Assignment's right-side-argument has no returntype!");
    }
    const TTypeSym* from = value->Type;
    // "v := v + e" on an Integer or String variable adds (or appends) in place.
    const TTypeKind kind = place->Type->Kind;
    if (const TVarSym* v = place->Variable();
        v && value->Type == place->Type && (kind == TTypeKind::Integer || kind == TTypeKind::String)) {
        bool sub = false;
        if (TExprPtr rest = TakeSelfOperand(value, *v, sub)) {
            return place->Type->Kind == TTypeKind::String
                       ? MakeAppend(std::move(place), std::move(rest), pos)
                       : MakeAddAssign(std::move(place), std::move(rest), sub, pos);
        }
    }
    TExprPtr converted = Coerce(std::move(value), *place->Type);
    if (!converted) {
        CompileError(valuePos, "Incompatible types: Cannot assign " + Quote(from->Name) + " to " +
                                   Quote(place->Type->Name));
    }
    return MakeAssign(std::move(place), std::move(converted), pos);
}

TExprPtr TCompiler::ParseCondition() {
    const TScriptPos pos = Tok().Pos;
    TExprPtr cond = ParseExpr();
    if (cond->Type && cond->Type->Kind == TTypeKind::Variant) {
        return MakeFromVariant(std::move(cond), *T.Boolean);
    }
    if (!cond->Type || cond->Type->Kind != TTypeKind::Boolean) {
        CompileError(pos, "Boolean expected");
    }
    return cond;
}

TStmtPtr TCompiler::ParseIf() {
    const TScriptPos pos = Tok().Pos;
    Lex.Next();
    TExprPtr cond = ParseCondition();
    Expect(TTok::Then, "Then expected");
    TStmtPtr then = ParseStatement();
    TStmtPtr otherwise;
    if (Accept(TTok::Else)) {
        otherwise = ParseStatement();
    }
    return MakeIf(std::move(cond), std::move(then), std::move(otherwise), pos);
}

TStmtPtr TCompiler::ParseCase() {
    const TScriptPos pos = Tok().Pos;
    Lex.Next();
    const TScriptPos selPos = Tok().Pos;
    TExprPtr selector = ParseExpr();
    if (!selector->Type || !selector->Type->IsScalar()) {
        CompileError(selPos, "Simple type expected");
    }
    Expect(TTok::Of, "OF expected");
    std::vector<TCaseBranch> branches;
    std::vector<TStmtPtr> bodies;
    TStmtPtr otherwise;
    while (!Is(TTok::Else) && !Is(TTok::End)) {
        const size_t first = branches.size();
        do {
            const TScriptPos labelPos = Tok().Pos;
            auto label = [&](TExprPtr e, const TScriptPos& at) {
                TVariant v;
                if (!e->Type || !ConstValue(*e, v)) {
                    CompileError(at, "Constant expression expected");
                }
                return std::make_pair(std::move(e), v);
            };
            auto [low, lowValue] = label(ParseSum(), labelPos);
            TVariant highValue = lowValue;
            if (Accept(TTok::DotDot)) {
                const TScriptPos highPos = Tok().Pos;
                auto [high, hv] = label(ParseSum(), highPos);
                if (!SameType(*low->Type, *high->Type) &&
                    !(low->Type->IsNumeric() && high->Type->IsNumeric())) {
                    CompileError(highPos, "Range start and range stop are of incompatible types: " +
                                              low->Type->Name + " and " + high->Type->Name);
                }
                highValue = hv;
            }
            const TTypeSym& sel = *selector->Type;
            const bool fits =
                sel.Kind == TTypeKind::Variant ||
                (sel.IsOrdinal()
                     ? SameType(sel, *low->Type) ||
                           (sel.Kind == TTypeKind::Integer && low->Type->Kind == TTypeKind::Integer)
                     : sel.Kind == low->Type->Kind || (sel.IsNumeric() && low->Type->IsNumeric()));
            if (!fits) {
                CompileError(labelPos,
                             "Incompatible types: " + Quote(sel.Name) + " and " + Quote(low->Type->Name));
            }
            branches.push_back(TCaseBranch{lowValue, highValue, nullptr});
        } while (Accept(TTok::Comma));
        Expect(TTok::Colon, "Colon \":\" expected");
        TStmtPtr body = ParseStatement();
        if (!body) {
            body = MakeBlock({}, Tok().Pos);
        }
        for (size_t i = first; i < branches.size(); ++i) {
            branches[i].Body = body.get();
        }
        bodies.push_back(std::move(body));
        if (!Accept(TTok::Semicolon)) {
            break;
        }
    }
    if (Accept(TTok::Else)) {
        otherwise = MakeBlock(ParseStatementList({TTok::End}), Tok().Pos);
    }
    Expect(TTok::End, "END expected");
    return MakeCase(std::move(selector), std::move(branches), std::move(bodies), std::move(otherwise), pos);
}

TStmtPtr TCompiler::ParseFor() {
    const TScriptPos pos = Tok().Pos;
    Lex.Next();
    const TScriptPos varPos = Tok().Pos;
    if (!Is(TTok::Name)) {
        SyntaxError(varPos, "Variable expected");
    }
    TExprPtr var = ParseDesignator();
    if (!var->Variable() || !var->IsAssignable()) {
        CompileError(varPos, "Variable expected");
    }
    if (!var->Type->IsOrdinal()) {
        CompileError(varPos, "Integer expected");
    }
    Expect(TTok::Assign, "\":=\" expected");
    TExprPtr from = ParseIntegerExpr("Integer expression expected");
    bool down = false;
    if (Accept(TTok::Downto)) {
        down = true;
    } else if (!Accept(TTok::To)) {
        SyntaxError(Tok().Pos, "TO or DOWNTO expected");
    }
    TExprPtr to = ParseIntegerExpr("Integer expression expected");
    Expect(TTok::Do, "DO expected");
    ++LoopDepth;
    TStmtPtr body = ParseStatement();
    --LoopDepth;
    return MakeFor(std::move(var), std::move(from), std::move(to), down, std::move(body), pos);
}

TStmtPtr TCompiler::ParseWhile() {
    const TScriptPos pos = Tok().Pos;
    Lex.Next();
    TExprPtr cond = ParseCondition();
    Expect(TTok::Do, "DO expected");
    ++LoopDepth;
    TStmtPtr body = ParseStatement();
    --LoopDepth;
    return MakeWhile(std::move(cond), std::move(body), pos);
}

TStmtPtr TCompiler::ParseRepeat() {
    const TScriptPos pos = Tok().Pos;
    Lex.Next();
    ++LoopDepth;
    std::vector<TStmtPtr> list = ParseStatementList({TTok::Until});
    --LoopDepth;
    Expect(TTok::Until, "END expected");
    TExprPtr cond = ParseCondition();
    return MakeRepeat(MakeBlock(std::move(list), pos), std::move(cond), pos);
}

TStmtPtr TCompiler::ParseTry() {
    const TScriptPos pos = Tok().Pos;
    Lex.Next();
    TStmtPtr body = MakeBlock(ParseStatementList({TTok::Except, TTok::Finally}), pos);
    if (Accept(TTok::Finally)) {
        TStmtPtr final = MakeBlock(ParseStatementList({TTok::End}), pos);
        Expect(TTok::End, "END expected");
        return MakeTryFinally(std::move(body), std::move(final), pos);
    }
    Expect(TTok::Except, "END expected");
    std::vector<TExceptHandler> handlers;
    // The caught exception waits in a slot of its own, for RAISE without an object.
    const TVarSym& caught = AddVariable("", *T.TObject, pos, false);
    ExceptVars.push_back(&caught);
    if (Is(TTok::On)) {
        while (Accept(TTok::On)) {
            TExceptHandler h;
            const TScriptPos namePos = Tok().Pos;
            std::string varName;
            if (Is(TTok::Name) && Lex.PeekNext().Kind == TTok::Colon) {
                varName = ExpectName();
                Lex.Next();
            }
            const TScriptPos typePos = Tok().Pos;
            const std::string typeName = ExpectName();
            const TSymbol* s = Scope->Find(typeName);
            if (!s || s->Kind != TSymKind::Type) {
                CompileError(typePos, "Type " + Quote(typeName) + " not found");
            }
            const TTypeSym* cls = static_cast<const TTypeNameSym*>(s)->Type;
            if (cls->Kind != TTypeKind::Class) {
                CompileError(typePos, "\"" + typeName + "\" is not a class");
            }
            h.ClassType = cls;
            Expect(TTok::Do, "DO expected");
            // The handler's name is visible in its statement only.
            TScope* outer = Scope;
            LocalScopes.push_back(std::make_unique<TScope>(Scope));
            Scope = LocalScopes.back().get();
            if (!varName.empty()) {
                const TVarSym& v = AddVariable(varName, *cls, namePos);
                h.Var = MakeVarRef(v, namePos);
                std::vector<TStmtPtr> both;
                both.push_back(MakeAssign(MakeVarRef(caught, namePos), MakeVarRef(v, namePos), namePos));
                if (TStmtPtr st = ParseStatement()) {
                    both.push_back(std::move(st));
                }
                h.Body = MakeBlock(std::move(both), namePos);
            } else {
                h.Var = MakeVarRef(caught, namePos);
                h.Body = ParseStatement();
            }
            Scope = outer;
            handlers.push_back(std::move(h));
            if (!Accept(TTok::Semicolon)) {
                break;
            }
        }
        if (Accept(TTok::Else)) {
            TExceptHandler h;
            h.Var = MakeVarRef(caught, pos);
            h.Body = MakeBlock(ParseStatementList({TTok::End}), pos);
            handlers.push_back(std::move(h));
        }
    } else {
        TExceptHandler h;
        h.Var = MakeVarRef(caught, pos);
        h.Body = MakeBlock(ParseStatementList({TTok::End}), pos);
        handlers.push_back(std::move(h));
    }
    ExceptVars.pop_back();
    Expect(TTok::End, "END expected");
    return MakeTryExcept(std::move(body), std::move(handlers), pos);
}

TStmtPtr TCompiler::ParseRaise() {
    const TScriptPos pos = Tok().Pos;
    Lex.Next();
    if (Is(TTok::Semicolon) || Is(TTok::End) || Is(TTok::Else) || Is(TTok::Until) || Is(TTok::EndOfText)) {
        if (ExceptVars.empty()) {
            CompileError(pos, "Object expected");
        }
        return MakeReraise(MakeVarRef(*ExceptVars.back(), pos), pos);
    }
    const TScriptPos objPos = Tok().Pos;
    TExprPtr object = ParseExpr();
    if (!object->Type || object->Type->Kind != TTypeKind::Class) {
        CompileError(objPos, "Object expected");
    }
    return MakeRaise(std::move(object), pos);
}
