// Compiling declarations: constants, types, variables, routines with their parameters, and
// the whole script's outline.
#include "script/Compiler.h"

#include <algorithm>

namespace {

// Far more nesting than any script needs, far less than would exhaust the native stack.
constexpr int kMaxNesting = 200;
// A frame or a type larger than this many slots could never be pushed (the data stack's
// default maximum is 2^20 variants); stopping at compile time keeps the sizes in range.
constexpr int64_t kMaxSlots = int64_t(1) << 22;

} // namespace

TCompiler::TNesting::TNesting(TCompiler& c, const TScriptPos& pos) : C(c) {
    if (++C.Nesting > kMaxNesting) {
        --C.Nesting;
        SyntaxError(pos, "Nesting too deep (more than " + std::to_string(kMaxNesting) + " levels)");
    }
}

TCompiler::TCompiler(TCode& code, const TBaseTypes& types, std::string_view text, TIncludeReader reader)
    : Code(code), T(types), Lex(text, std::move(reader)), Scope(code.GlobalScope.get()) {
    Frame.Init = &Code.GlobalInit;
    Frame.Managed = &Code.GlobalManaged;
    Frame.Global = true;
}

bool TCompiler::Accept(TTok kind) {
    if (Is(kind)) {
        Lex.Next();
        return true;
    }
    return false;
}

void TCompiler::Expect(TTok kind, const char* message, bool syntax) {
    if (!Is(kind)) {
        if (syntax) {
            SyntaxError(Tok().Pos, message);
        }
        CompileError(Tok().Pos, message);
    }
    Lex.Next();
}

std::string TCompiler::ExpectName() {
    if (!Is(TTok::Name)) {
        SyntaxError(Tok().Pos, "Name expected");
    }
    std::string name = Tok().Text;
    Lex.Next();
    return name;
}

TTypeSym& TCompiler::NewType(TTypeKind kind, std::string name) {
    return *Code.Types.emplace_back(std::make_unique<TTypeSym>(kind, std::move(name)));
}

template <typename T, typename... A> T& TCompiler::NewSymbol(A&&... args) {
    auto symbol = std::make_unique<T>(std::forward<A>(args)...);
    T& ref = *symbol;
    Code.Symbols.push_back(std::move(symbol));
    return ref;
}

void TCompiler::Declare(TSymbol& symbol, const TScriptPos& pos) {
    if (Scope->FindLocal(symbol.Name)) {
        CompileError(pos, "Name " + Quote(symbol.Name) + " already exists");
    }
    Scope->Add(symbol);
}

TVarSym& TCompiler::AddVariable(std::string name, const TTypeSym& type, const TScriptPos& pos, bool declare) {
    if (Frame.Size + int64_t(type.Slots) > kMaxSlots) {
        CompileError(pos, "Maximal data size exceeded (" + std::to_string(kMaxSlots) + " Variants)");
    }
    const int32_t offset = Frame.Size;
    Frame.Size += type.Slots;
    Frame.Init->resize(static_cast<size_t>(Frame.Size));
    type.InitSlots(Frame.Init->data() + offset);
    type.CollectManaged(offset, *Frame.Managed);
    auto& var = NewSymbol<TVarSym>(std::move(name), type, Frame.Global ? TVarPlace::Global : TVarPlace::Local,
                                   offset);
    if (declare) {
        Declare(var, pos);
    }
    return var;
}

TExprPtr TCompiler::Temp(const TTypeSym& type) {
    const TVarSym& var = AddVariable("", type, Tok().Pos, false);
    return MakeVarRef(var, Tok().Pos);
}

void TCompiler::CompileScript() {
    ParseDeclarations(true, GlobalInit);
    if (Is(TTok::Begin)) {
        const TScriptPos pos = Tok().Pos;
        TStmtPtr main = ParseBlock();
        Expect(TTok::Dot, "Dot \".\" expected");
        // What follows the program's final "." is not read.
        std::vector<TStmtPtr> list;
        list.push_back(std::move(main));
        Code.MainBlock = MakeBlock(std::move(list), pos);
    } else if (!Is(TTok::EndOfText)) {
        SyntaxError(Tok().Pos, "BEGIN expected");
    }
    for (const auto& s : Code.Symbols) {
        if (s->Kind == TSymKind::Func) {
            const auto& f = static_cast<const TFuncSym&>(*s);
            if (f.Forwarded && !f.Host) {
                CompileError(f.Pos,
                             "The function " + Quote(f.Name) + " was forward declared but not implemented!");
            }
        }
    }
    Code.GlobalSize = Frame.Size;
    Code.InitBlock = MakeBlock(std::move(GlobalInit), {});
    if (!Code.MainBlock) {
        Code.MainBlock = MakeBlock({}, {});
    }
}

void TCompiler::ParseDeclarations(bool global, std::vector<TStmtPtr>& init) {
    for (;;) {
        switch (Tok().Kind) {
        case TTok::Const:
            Lex.Next();
            ParseConstSection();
            break;
        case TTok::Type:
            Lex.Next();
            ParseTypeSection();
            break;
        case TTok::Var:
            Lex.Next();
            ParseVarSection(init);
            break;
        case TTok::Procedure:
        case TTok::Function:
            if (!global) {
                SyntaxError(Tok().Pos, "BEGIN expected");
            }
            ParseRoutine();
            break;
        case TTok::Uses:
            if (!global) {
                SyntaxError(Tok().Pos, "BEGIN expected");
            }
            Lex.Next();
            ParseUses();
            break;
        case TTok::Forward:
        case TTok::Cdecl:
        case TTok::Pascal:
        case TTok::Register:
        case TTok::Stdcall:
        case TTok::Fastcall:
            // A routine directive with no routine before it.
            SyntaxError(Tok().Pos, "PROCEDURE or FUNCTION expected");
        default:
            return;
        }
    }
}

void TCompiler::ParseUses() {
    for (;;) {
        const TScriptPos pos = Tok().Pos;
        const std::string name = ExpectName();
        if (std::none_of(Code.UnitNames.begin(), Code.UnitNames.end(),
                         [&](const std::string& u) { return SameText(u, name); })) {
            CompileError(pos, "Unknown unit " + Quote(name));
        }
        if (!Accept(TTok::Comma)) {
            break;
        }
    }
    Expect(TTok::Semicolon, "\";\" expected.");
}

TVariant TCompiler::ParseConstValue(const TTypeSym*& type) {
    const TScriptPos pos = Tok().Pos;
    TExprPtr e = ParseExpr();
    if (type) {
        const TTypeSym* target = type;
        e = Coerce(std::move(e), *target);
        if (!e) {
            CompileError(pos, "Invalid const type " + Quote(target->Name));
        }
    }
    TVariant value;
    if (!e->Type || !ConstValue(*e, value)) {
        CompileError(pos, "Constant expression expected");
    }
    type = e->Type;
    return value;
}

void TCompiler::ParseConstSection() {
    do {
        const TScriptPos pos = Tok().Pos;
        std::string name = ExpectName();
        const TTypeSym* type = nullptr;
        if (Accept(TTok::Colon)) {
            const TScriptPos typePos = Tok().Pos;
            type = &ParseType();
            if (!type->IsScalar()) {
                CompileError(typePos, "Simple type expected");
            }
        }
        Expect(TTok::Equal, "\"=\" expected");
        TVariant value = ParseConstValue(type);
        Expect(TTok::Semicolon, "\";\" expected.");
        Declare(NewSymbol<TConstSym>(std::move(name), *type, std::move(value)), pos);
    } while (Is(TTok::Name));
}

void TCompiler::ParseTypeSection() {
    do {
        const TScriptPos pos = Tok().Pos;
        std::string name = ExpectName();
        Expect(TTok::Equal, "\"=\" expected");
        const bool fresh = Is(TTok::Record) || Is(TTok::LParen) || Is(TTok::Array);
        const TTypeSym& type = ParseType();
        if (fresh) {
            const_cast<TTypeSym&>(type).Name = name;
        }
        Expect(TTok::Semicolon, "\";\" expected.");
        Declare(NewSymbol<TTypeNameSym>(std::move(name), type), pos);
    } while (Is(TTok::Name));
}

void TCompiler::ParseVarSection(std::vector<TStmtPtr>& init) {
    do {
        std::vector<std::pair<std::string, TScriptPos>> names;
        do {
            const TScriptPos pos = Tok().Pos;
            names.emplace_back(ExpectName(), pos);
        } while (Accept(TTok::Comma));
        Expect(TTok::Colon, "Colon \":\" expected");
        const TTypeSym& type = ParseType();
        std::vector<TVarSym*> vars;
        for (auto& [name, pos] : names) {
            vars.push_back(&AddVariable(std::move(name), type, pos));
        }
        if (Is(TTok::Equal)) {
            const TScriptPos pos = Tok().Pos;
            Lex.Next();
            const TScriptPos valuePos = Tok().Pos;
            TExprPtr value = ParseExpr();
            for (TVarSym* v : vars) {
                TVariant k;
                TExprPtr one;
                if (vars.size() == 1) {
                    one = std::move(value);
                } else if (ConstValue(*value, k)) {
                    one = MakeConst(*value->Type, k, valuePos);
                } else {
                    CompileError(valuePos, "Constant expression expected");
                }
                if (!one->Type) {
                    CompileError(valuePos, "Assignment's right-side-argument has no returntype!");
                }
                const TTypeSym* from = one->Type;
                TExprPtr converted = Coerce(std::move(one), type);
                if (!converted) {
                    CompileError(valuePos, "Incompatible types: Cannot assign " + Quote(from->Name) + " to " +
                                               Quote(type.Name));
                }
                init.push_back(MakeAssign(MakeVarRef(*v, pos), std::move(converted), pos));
            }
        }
        Expect(TTok::Semicolon, "\";\" expected.");
    } while (Is(TTok::Name));
}

const TTypeSym& TCompiler::ParseType() {
    const TScriptPos pos = Tok().Pos;
    switch (Tok().Kind) {
    case TTok::Array:
        return ParseArrayType();
    case TTok::Record:
        return ParseRecordType();
    case TTok::LParen:
        return ParseEnumType();
    case TTok::Class:
        CompileError(pos, "Class declarations are not supported");
    case TTok::Name: {
        const std::string name = Tok().Text;
        const TSymbol* s = Scope->Find(name);
        if (!s) {
            CompileError(pos, "Unknown type " + Quote(name));
        }
        if (s->Kind != TSymKind::Type) {
            CompileError(pos, name + " is not a Type!");
        }
        Lex.Next();
        return *static_cast<const TTypeNameSym*>(s)->Type;
    }
    default:
        SyntaxError(pos, "Type expected");
    }
}

const TTypeSym& TCompiler::ParseArrayType() {
    Lex.Next();
    struct TBounds {
        int64_t Low, High;
    };
    std::vector<TBounds> dims;
    if (Accept(TTok::LBracket)) {
        do {
            TBounds b{};
            for (int64_t* bound : {&b.Low, &b.High}) {
                const TScriptPos pos = Tok().Pos;
                TExprPtr e = ParseSum();
                TVariant v;
                if (!ConstValue(*e, v)) {
                    CompileError(pos, "Bound isn't a constant expression");
                }
                if (!e->Type->IsOrdinal()) {
                    CompileError(pos, "Bound isn't of type integer");
                }
                *bound = v.Int();
                if (bound == &b.Low) {
                    Expect(TTok::DotDot, "\"..\" expected");
                } else if (b.Low > b.High) {
                    CompileError(pos, "Lower bound is bigger than upper bound!");
                }
            }
            dims.push_back(b);
        } while (Accept(TTok::Comma));
        Expect(TTok::RBracket, "\"]\" expected");
    }
    Expect(TTok::Of, "OF expected");
    const TScriptPos elemPos = Tok().Pos;
    const TTypeSym* elem = &ParseType();
    if (dims.empty()) {
        TTypeSym& t = NewType(TTypeKind::DynArray, "array of " + elem->Name);
        t.Elem = elem;
        t.Managed = true;
        return t;
    }
    // array[a..b, c..d] of T is array[a..b] of array[c..d] of T.
    for (auto d = dims.rbegin(); d != dims.rend(); ++d) {
        const int64_t count = d->High - d->Low + 1;
        if (d->High - d->Low >= kMaxSlots || count * elem->Slots > kMaxSlots) {
            CompileError(elemPos, "Maximal data size exceeded (" + std::to_string(kMaxSlots) + " Variants)");
        }
        TTypeSym& t = NewType(TTypeKind::StaticArray, "array [" + std::to_string(d->Low) + ".." +
                                                          std::to_string(d->High) + "] of " + elem->Name);
        t.Low = d->Low;
        t.High = d->High;
        t.Elem = elem;
        t.Slots = static_cast<int32_t>(count * elem->Slots);
        elem = &t;
    }
    return *elem;
}

const TTypeSym& TCompiler::ParseRecordType() {
    Lex.Next();
    TTypeSym& t = NewType(TTypeKind::Record, "record");
    int64_t slots = 0;
    while (Is(TTok::Name)) {
        std::vector<std::pair<std::string, TScriptPos>> names;
        do {
            const TScriptPos pos = Tok().Pos;
            names.emplace_back(ExpectName(), pos);
        } while (Accept(TTok::Comma));
        Expect(TTok::Colon, "Colon \":\" expected");
        const TScriptPos typePos = Tok().Pos;
        const TTypeSym& type = ParseType();
        for (auto& [name, pos] : names) {
            if (t.FindMember(name)) {
                CompileError(pos, "Name " + Quote(name) + " already exists");
            }
            if (slots + type.Slots > kMaxSlots) {
                CompileError(typePos,
                             "Maximal data size exceeded (" + std::to_string(kMaxSlots) + " Variants)");
            }
            t.Members.push_back(TMemberSym{std::move(name), &type, static_cast<int32_t>(slots)});
            slots += type.Slots;
        }
        if (!Accept(TTok::Semicolon)) {
            break;
        }
    }
    Expect(TTok::End, "END expected");
    // An empty record still takes a slot, so every value has a place.
    t.Slots = static_cast<int32_t>(std::max<int64_t>(slots, 1));
    if (slots == 0) {
        t.Members.clear();
    }
    return t;
}

const TTypeSym& TCompiler::ParseEnumType() {
    Lex.Next();
    TTypeSym& t = NewType(TTypeKind::Enum, "enumeration");
    int64_t next = 0;
    do {
        const TScriptPos pos = Tok().Pos;
        std::string name = ExpectName();
        if (Accept(TTok::Equal)) {
            const TTypeSym* type = T.Integer;
            next = ParseConstValue(type).Int();
        }
        t.Elements.emplace_back(name, next);
        Declare(NewSymbol<TConstSym>(std::move(name), t, TVariant(next)), pos);
        next = static_cast<int64_t>(static_cast<uint64_t>(next) + 1);
    } while (Accept(TTok::Comma));
    Expect(TTok::RParen, "\")\" expected.");
    return t;
}

void TCompiler::ParseParams(TFuncSym& f, std::vector<TParamSym>& params) {
    Lex.Next();
    // A routine without parameters leaves out the parentheses; "()" opens a list with nothing in it.
    if (Is(TTok::RParen)) {
        SyntaxError(Tok().Pos, "Parameters expected");
    }
    do {
        TParamMode mode = TParamMode::Value;
        if (Accept(TTok::Var)) {
            mode = TParamMode::Var;
        } else if (Accept(TTok::Const)) {
            mode = TParamMode::Const;
        }
        std::vector<std::pair<std::string, TScriptPos>> names;
        do {
            const TScriptPos pos = Tok().Pos;
            names.emplace_back(ExpectName(), pos);
        } while (Accept(TTok::Comma));
        Expect(TTok::Colon, "Colon \":\" expected");
        const TScriptPos typePos = Tok().Pos;
        const TTypeSym& type = ParseType();
        bool hasDefault = false;
        TVariant def;
        if (Is(TTok::Equal)) {
            if (mode == TParamMode::Var) {
                SyntaxError(Tok().Pos, "Default Parameter must not be a var-parameter");
            }
            if (!type.IsScalar()) {
                CompileError(typePos, "Simple type expected");
            }
            Lex.Next();
            const TTypeSym* t = &type;
            def = ParseConstValue(t);
            hasDefault = true;
        }
        for (auto& [name, pos] : names) {
            for (const TParamSym& p : params) {
                if (SameText(p.Name, name)) {
                    CompileError(pos, "Name " + Quote(name) + " already exists");
                }
            }
            params.push_back(TParamSym{std::move(name), &type, mode, hasDefault, def, 0});
        }
    } while (Accept(TTok::Semicolon));
    (void)f;
    Expect(TTok::RParen, "\")\" expected.");
}

void TCompiler::CheckForwardMatch(const TFuncSym& fwd, const TFuncSym& impl, const TScriptPos& pos) {
    if (fwd.ResultType && !impl.ResultType) {
        CompileError(pos, "Declaration should be FUNCTION!");
    }
    if (!fwd.ResultType && impl.ResultType) {
        CompileError(pos, "Declaration should be PROCEDURE!");
    }
    if (fwd.ResultType && !SameType(*fwd.ResultType, *impl.ResultType)) {
        CompileError(pos, "Result type should be " + Quote(fwd.ResultType->Name));
    }
    if (fwd.Params.size() != impl.Params.size()) {
        CompileError(pos, "Expected " + std::to_string(fwd.Params.size()) + " parameters (instead of " +
                              std::to_string(impl.Params.size()) + ")");
    }
    for (size_t i = 0; i < fwd.Params.size(); ++i) {
        const TParamSym& a = fwd.Params[i];
        const TParamSym& b = impl.Params[i];
        const std::string n = std::to_string(i + 1);
        if (!SameText(a.Name, b.Name)) {
            CompileError(pos, "Parameter " + n + " - Name " + Quote(a.Name) + " expected");
        }
        if (!SameType(*a.Type, *b.Type)) {
            CompileError(pos, "Parameter " + n + " - Type " + Quote(a.Type->Name) + " expected (instead of " +
                                  Quote(b.Type->Name) + ")");
        }
        if ((a.Mode == TParamMode::Var) != (b.Mode == TParamMode::Var)) {
            CompileError(pos, "Parameter " + n +
                                  (a.Mode == TParamMode::Var ? " - Var-parameter expected"
                                                             : " - Value-parameter expected"));
        }
    }
}

// Parameters first (a by-reference one takes the address and the hold), then the result.
void TCompiler::LayoutFrame(TFuncSym& f) {
    for (TParamSym& p : f.Params) {
        if (p.ByRef()) {
            p.Offset = Frame.Size;
            Frame.Size += TParamSym::kByRefSlots;
            Frame.Init->resize(static_cast<size_t>(Frame.Size));
            Frame.Managed->push_back(p.HoldOffset());
            auto& var = NewSymbol<TVarSym>(p.Name, *p.Type, TVarPlace::LocalRef, p.Offset);
            var.ReadOnly = p.Mode == TParamMode::Const;
            Declare(var, f.Pos);
        } else {
            TVarSym& var = AddVariable(p.Name, *p.Type, f.Pos);
            var.ReadOnly = p.Mode == TParamMode::Const;
            p.Offset = var.Offset;
        }
    }
    if (f.ResultType) {
        ResultVar = &AddVariable("Result", *f.ResultType, f.Pos);
        f.ResultOffset = ResultVar->Offset;
    }
}

void TCompiler::ParseRoutine() {
    const bool isFunction = Is(TTok::Function);
    Lex.Next();
    const TScriptPos pos = Tok().Pos;
    std::string name = ExpectName();
    auto& f = NewSymbol<TFuncSym>(name);
    f.Pos = pos;
    const bool hasParams = Is(TTok::LParen);
    if (hasParams) {
        ParseParams(f, f.Params);
    }
    const bool hasResult = Is(TTok::Colon);
    if (hasResult) {
        if (!isFunction) {
            SyntaxError(Tok().Pos, "No result type required");
        }
        Lex.Next();
        f.ResultType = &ParseType();
    }
    TSymbol* existing = Scope->FindLocal(name);
    auto* forward =
        existing && existing->Kind == TSymKind::Func && static_cast<TFuncSym*>(existing)->Forwarded
            ? static_cast<TFuncSym*>(existing)
            : nullptr;
    if (forward && !hasParams && !hasResult && (isFunction == (forward->ResultType != nullptr))) {
        // The implementation of a forward declaration may leave out its header.
        f.Params = forward->Params;
        f.ResultType = forward->ResultType;
    }
    if (isFunction && !f.ResultType) {
        SyntaxError(Tok().Pos, "Result type expected");
    }
    Expect(TTok::Semicolon, "\";\" expected.");
    if (forward) {
        CheckForwardMatch(*forward, f, pos);
    } else if (existing) {
        CompileError(pos, "Name " + Quote(name) + " already exists");
    }
    const bool isForward = Accept(TTok::Forward);
    if (isForward) {
        if (forward) {
            CompileError(pos, "Name " + Quote(name) + " already exists");
        }
        Expect(TTok::Semicolon, "\";\" expected.");
    }
    while (Is(TTok::Cdecl) || Is(TTok::Pascal) || Is(TTok::Register) || Is(TTok::Stdcall) ||
           Is(TTok::Fastcall)) {
        Lex.Next();
        Expect(TTok::Semicolon, "\";\" expected.");
    }
    TFuncSym& target = forward ? *forward : f;
    if (!forward) {
        Scope->Add(f);
    }
    target.Forwarded = isForward;

    // The routine's own scope and frame; a forward declaration lays its frame out too, so calls
    // compiled before the body find the parameters where the body will.
    TScope* outerScope = Scope;
    const TFrameLayout outerFrame = Frame;
    LocalScopes.push_back(std::make_unique<TScope>(Scope));
    Scope = LocalScopes.back().get();
    target.FrameInit.clear();
    target.Managed.clear();
    Frame = TFrameLayout{0, &target.FrameInit, &target.Managed, false};
    Func = &target;
    ResultVar = nullptr;
    if (forward) {
        target.Pos = pos;
    }
    LayoutFrame(target);
    if (isForward) {
        Scope = outerScope;
        Frame = outerFrame;
        Func = nullptr;
        ResultVar = nullptr;
        return;
    }

    // Local variables with initialisers get them on every call, before the body.
    std::vector<TStmtPtr> body;
    ParseDeclarations(false, body);
    const TScriptPos beginPos = Tok().Pos;
    if (!Is(TTok::Begin)) {
        SyntaxError(beginPos, "BEGIN expected");
    }
    body.push_back(ParseBlock());
    Expect(TTok::Semicolon, "\";\" expected.");
    target.Body = MakeBlock(std::move(body), beginPos);
    target.FrameSize = std::max<int32_t>(Frame.Size, 1);
    target.FrameInit.resize(static_cast<size_t>(target.FrameSize));

    Scope = outerScope;
    Frame = outerFrame;
    Func = nullptr;
    ResultVar = nullptr;
}
