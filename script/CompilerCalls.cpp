// Compiling designators and calls: names, members, elements, routine calls with their argument
// checks, casts, and the routines the compiler runs directly (Length, High, Low, SetLength,
// Inc, Dec).
#include "script/Compiler.h"

#include <array>

namespace {

// The routines compiled to direct operations. Each keeps the name and behaviour of the system
// routine it stands for; High and Low exist for arrays only.
constexpr std::array<std::string_view, 6> kIntrinsics = {"Length", "High", "Low", "SetLength", "Inc", "Dec"};

bool IsIntrinsicName(std::string_view name) {
    for (std::string_view n : kIntrinsics) {
        if (SameText(n, name)) {
            return true;
        }
    }
    return false;
}

} // namespace

TExprPtr TCompiler::ParseDesignator() {
    return ParseSuffixes(ParseName());
}

TCompiler::TArgs TCompiler::ParseArgList() {
    TArgs args;
    if (!Is(TTok::LParen)) {
        return args;
    }
    args.Parens = true;
    Lex.Next();
    if (!Is(TTok::RParen)) {
        do {
            args.Pos.push_back(Tok().Pos);
            args.List.push_back(ParseExpr());
        } while (Accept(TTok::Comma));
    }
    Expect(TTok::RParen, "\")\" expected.");
    return args;
}

TExprPtr TCompiler::ParseName() {
    const TToken name = Tok();
    const TScriptPos pos = name.Pos;
    TSymbol* s = Scope->Find(name.Text);
    const bool intrinsic = IsIntrinsicName(name.Text) &&
                           (!s || (s->Kind == TSymKind::Func && static_cast<TFuncSym*>(s)->System));
    if (!s && !intrinsic) {
        CompileError(pos, "Unknown name " + Quote(name.Text));
    }
    Lex.Next();
    if (intrinsic) {
        TArgs args = ParseArgList();
        if (TExprPtr e = Intrinsic(name, s, args)) {
            return e;
        }
        return BindArgs(*static_cast<TFuncSym*>(s), std::move(args), pos);
    }
    switch (s->Kind) {
    case TSymKind::Var:
        return MakeVarRef(static_cast<const TVarSym&>(*s), pos);
    case TSymKind::Const: {
        const auto& c = static_cast<const TConstSym&>(*s);
        return MakeConst(*c.Type, c.Value, pos);
    }
    case TSymKind::Func: {
        auto& f = static_cast<TFuncSym&>(*s);
        // Inside a function its own name, assigned to, is its result.
        if (&f == Func && ResultVar && Is(TTok::Assign)) {
            return MakeVarRef(*ResultVar, pos);
        }
        TArgs args = ParseArgList();
        if (args.Parens && f.Params.empty() && !args.List.empty()) {
            CompileError(args.Pos[0], "No arguments expected!");
        }
        return BindArgs(f, std::move(args), pos);
    }
    case TSymKind::Type: {
        const TTypeSym& type = *static_cast<const TTypeNameSym&>(*s).Type;
        if (type.Kind == TTypeKind::Class && Is(TTok::Dot)) {
            Lex.Next();
            const TScriptPos memberPos = Tok().Pos;
            const std::string member = ExpectName();
            if (!SameText(member, "Create")) {
                CompileError(memberPos, "Classmethod or constructor expected");
            }
            TArgs args = ParseArgList();
            const size_t wanted = type.InheritsFrom(*T.Exception) ? 1 : 0;
            if (args.List.size() > wanted) {
                CompileError(args.Pos[wanted], wanted ? "Too many arguments!" : "No arguments expected!");
            }
            if (args.List.size() < wanted) {
                CompileError(memberPos, "More arguments expected!");
            }
            if (wanted) {
                const TTypeSym* from = args.List[0]->Type;
                args.List[0] = Coerce(std::move(args.List[0]), *T.String);
                if (!args.List[0]) {
                    CompileError(args.Pos[0],
                                 from ? "Argument 1 expects type \"String\" instead of " + Quote(from->Name)
                                      : "Argument 1 expects type \"String\"");
                }
            }
            return MakeNewObject(type, std::move(args.List), pos);
        }
        if (Is(TTok::LParen)) {
            return ParseCast(type, pos);
        }
        CompileError(pos, "Expression expected");
    }
    }
    CompileError(pos, "Unknown name " + Quote(name.Text));
}

// Integer(x), Boolean(x), an enumeration's name(x), Float(x), String(x), Variant(x).
TExprPtr TCompiler::ParseCast(const TTypeSym& target, const TScriptPos& pos) {
    Lex.Next();
    const TScriptPos argPos = Tok().Pos;
    TExprPtr e = ParseExpr();
    Expect(TTok::RParen, "\")\" expected.");
    if (!e->Type) {
        CompileError(argPos, "Expression expected");
    }
    const TTypeSym& from = *e->Type;
    const bool ordinalFrom = from.IsOrdinal() || from.Kind == TTypeKind::Boolean;
    if ((target.IsOrdinal() || target.Kind == TTypeKind::Boolean) && ordinalFrom) {
        return MakeOrdinalCast(std::move(e), target);
    }
    if (TExprPtr c = Coerce(std::move(e), target)) {
        return c;
    }
    CompileError(pos, "Incompatible types: " + Quote(from.Name) + " and " + Quote(target.Name));
}

TExprPtr TCompiler::BindArgs(const TFuncSym& f, TArgs args, const TScriptPos& pos) {
    if (args.List.size() > f.Params.size()) {
        CompileError(args.Pos[f.Params.size()], "Too many arguments!");
    }
    if (static_cast<int>(args.List.size()) < f.RequiredParams()) {
        CompileError(pos, "More arguments expected!");
    }
    for (size_t i = 0; i < args.List.size(); ++i) {
        const TParamSym& p = f.Params[i];
        TExprPtr& a = args.List[i];
        const std::string n = std::to_string(i + 1);
        if (!a->Type) {
            CompileError(args.Pos[i], "Argument " + n + " expects type " + Quote(p.Type->Name));
        }
        const TTypeSym& from = *a->Type;
        if (p.Mode == TParamMode::Var) {
            if (!a->IsAssignable()) {
                CompileError(args.Pos[i], "Argument " + n + " cannot be passed as Var-parameter");
            }
            if (!SameType(from, *p.Type)) {
                CompileError(args.Pos[i], "Argument " + n + " expects type " + Quote(p.Type->Name) +
                                              " instead of " + Quote(from.Name));
            }
        } else if (p.ByRef()) {
            if (!SameType(from, *p.Type)) {
                CompileError(args.Pos[i], "Argument " + n + " expects type " + Quote(p.Type->Name) +
                                              " instead of " + Quote(from.Name));
            }
            a = Addressable(std::move(a));
        } else {
            a = Coerce(std::move(a), *p.Type);
            if (!a) {
                CompileError(args.Pos[i], "Argument " + n + " expects type " + Quote(p.Type->Name) +
                                              " instead of " + Quote(from.Name));
            }
        }
    }
    for (size_t i = args.List.size(); i < f.Params.size(); ++i) {
        const TParamSym& p = f.Params[i];
        TExprPtr def = MakeConst(*p.Type, p.Default, pos);
        args.List.push_back(p.ByRef() ? Addressable(std::move(def)) : std::move(def));
    }
    TExprPtr call = MakeCall(f, std::move(args.List), pos);
    call->IsCallNode = true;
    return Bounded(std::move(call));
}

// A direct operation for name(args), or nullptr to call the registered routine instead.
TExprPtr TCompiler::Intrinsic(const TToken& name, const TSymbol* symbol, TArgs& args) {
    const TScriptPos& pos = name.Pos;
    const bool registered = symbol != nullptr;
    auto fail = [&](size_t i, const std::string& wanted) -> TExprPtr {
        if (registered) {
            return nullptr;
        }
        if (i >= args.List.size()) {
            CompileError(pos, "More arguments expected!");
        }
        const TTypeSym* t = args.List[i]->Type;
        CompileError(args.Pos[i], "Argument " + std::to_string(i + 1) + " expects type " + Quote(wanted) +
                                      (t ? " instead of " + Quote(t->Name) : std::string()));
    };
    auto count = [&](size_t low, size_t high) {
        if (args.List.size() > high) {
            CompileError(args.Pos[high], "Too many arguments!");
        }
        if (args.List.size() < low) {
            CompileError(pos, "More arguments expected!");
        }
    };
    const std::string& n = name.Text;
    if (SameText(n, "Length") || SameText(n, "High") || SameText(n, "Low")) {
        count(1, 1);
        TExprPtr& a = args.List[0];
        const TTypeSym* t = a->Type;
        if (!t) {
            return fail(0, SameText(n, "Length") ? "String" : "array");
        }
        if (t->Kind == TTypeKind::StaticArray) {
            const int64_t v = SameText(n, "Length") ? t->High - t->Low + 1
                              : SameText(n, "High") ? t->High
                                                    : t->Low;
            return MakeConst(*T.Integer, TVariant(v), pos);
        }
        if (t->Kind == TTypeKind::DynArray) {
            if (SameText(n, "Low")) {
                return MakeConst(*T.Integer, TVariant(int64_t(0)), pos);
            }
            return MakeArrayLength(std::move(a), *T.Integer, SameText(n, "High"), pos);
        }
        if (t->Kind == TTypeKind::String && SameText(n, "Length")) {
            return MakeStrLength(std::move(a), *T.Integer, pos);
        }
        return fail(0, SameText(n, "Length") ? "String" : "array");
    }
    if (SameText(n, "SetLength")) {
        count(2, 2);
        if (!args.List[0]->Type || args.List[0]->Type->Kind != TTypeKind::DynArray) {
            return fail(0, "array");
        }
        if (!args.List[0]->IsAssignable()) {
            CompileError(args.Pos[0], "Argument 1 cannot be passed as Var-parameter");
        }
        TExprPtr length = Coerce(std::move(args.List[1]), *T.Integer);
        if (!length) {
            return fail(1, "Integer");
        }
        TExprPtr e = MakeSetLength(std::move(args.List[0]), std::move(length), pos);
        e->IsCallNode = true;
        return e;
    }
    // Inc and Dec, on an Integer variable, by 1 or by the second argument.
    count(1, 2);
    TExprPtr& place = args.List[0];
    if (!place->Type || place->Type->Kind != TTypeKind::Integer) {
        return fail(0, "Integer");
    }
    if (!place->IsAssignable()) {
        if (registered) {
            return nullptr;
        }
        CompileError(args.Pos[0], "Argument 1 cannot be passed as Var-parameter");
    }
    TExprPtr delta;
    if (args.List.size() == 2) {
        // Coerce consumes the argument, so a registered Inc cannot take the call over: the
        // error is the one its binding would give.
        const TTypeSym* from = args.List[1]->Type;
        delta = Coerce(std::move(args.List[1]), *T.Integer);
        if (!delta) {
            CompileError(args.Pos[1], std::string("Argument 2 expects type ") + Quote("Integer") +
                                          (from ? " instead of " + Quote(from->Name) : std::string()));
        }
    }
    const bool dec = SameText(n, "Dec");
    TExprPtr e = MakeIncDec(std::move(place), std::move(delta), dec, dec ? nullptr : T.Integer, pos);
    e->IsCallNode = true;
    return e;
}

TExprPtr TCompiler::ParseClassMember(TExprPtr object, const TToken& member) {
    if (const TMemberSym* field = object->Type->FindMember(member.Text)) {
        return MakeField(Addressable(std::move(object)), *field, member.Pos);
    }
    if (SameText(member.Text, "Free") || SameText(member.Text, "Destroy")) {
        TExprPtr e = MakeDiscard(std::move(object), member.Pos);
        e->IsCallNode = true;
        return e;
    }
    CompileError(member.Pos, "There's no member with name " + Quote(member.Text) + "!");
}

TExprPtr TCompiler::ParseSuffixes(TExprPtr e) {
    for (;;) {
        if (Is(TTok::Dot)) {
            Lex.Next();
            const TToken member = Tok();
            (void)ExpectName();
            if (!e->Type || (e->Type->Kind != TTypeKind::Record && e->Type->Kind != TTypeKind::Class)) {
                CompileError(member.Pos, "Neither a record nor an object!");
            }
            if (e->Type->Kind == TTypeKind::Class) {
                e = ParseClassMember(std::move(e), member);
                continue;
            }
            const TMemberSym* m = e->Type->FindMember(member.Text);
            if (!m) {
                CompileError(member.Pos,
                             "No member " + Quote(member.Text) + " found in record " + Quote(e->Type->Name));
            }
            e = Bounded(MakeMember(Addressable(std::move(e)), *m, member.Pos));
        } else if (Is(TTok::LBracket)) {
            Lex.Next();
            do {
                const TScriptPos pos = Tok().Pos;
                const TTypeKind kind = e->Type ? e->Type->Kind : TTypeKind::Nil;
                if (kind != TTypeKind::StaticArray && kind != TTypeKind::DynArray &&
                    kind != TTypeKind::String) {
                    CompileError(pos, "Too many indices");
                }
                TExprPtr index = ParseIntegerExpr("Integer expression expected");
                if (kind == TTypeKind::StaticArray) {
                    e = MakeStaticIndex(Addressable(std::move(e)), std::move(index), pos);
                } else if (kind == TTypeKind::DynArray) {
                    e = MakeDynIndex(Addressable(std::move(e)), std::move(index), pos);
                } else {
                    e = MakeStrIndex(std::move(e), std::move(index), *T.String, pos);
                }
                e = Bounded(std::move(e));
            } while (Accept(TTok::Comma));
            Expect(TTok::RBracket, "\"]\" expected");
        } else {
            return e;
        }
    }
}
