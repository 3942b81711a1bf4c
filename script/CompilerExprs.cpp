// Compiling expressions: the four precedence levels, operator typing, constant folding and the
// conversions an assignment or argument may make.
#include "script/Compiler.h"

#include <cmath>

namespace {

// Deeper trees than any script writes; evaluation recurses once per level, so the bound keeps
// it far from the native stack's end. A chain "a + b + ... " of 500 terms is still fine.
constexpr int kMaxExprDepth = 500;

bool IsVariant(const TTypeSym& t) {
    return t.Kind == TTypeKind::Variant;
}
bool IsObjectLike(const TTypeSym& t) {
    return t.Kind == TTypeKind::Class || t.Kind == TTypeKind::Nil;
}

} // namespace

bool TCompiler::SameType(const TTypeSym& a, const TTypeSym& b) const {
    if (&a == &b) {
        return true;
    }
    if (a.Kind != b.Kind) {
        return false;
    }
    switch (a.Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Float:
    case TTypeKind::Boolean:
    case TTypeKind::String:
    case TTypeKind::Variant:
    case TTypeKind::Nil:
        return true;
    case TTypeKind::DynArray:
        return SameType(*a.Elem, *b.Elem);
    case TTypeKind::StaticArray:
        return a.Low == b.Low && a.High == b.High && SameType(*a.Elem, *b.Elem);
    default:
        return false;
    }
}

TExprPtr TCompiler::Bounded(TExprPtr e) {
    if (e->Depth > kMaxExprDepth) {
        SyntaxError(e->Pos, "Nesting too deep (more than " + std::to_string(kMaxExprDepth) + " levels)");
    }
    return e;
}

TExprPtr TCompiler::Coerce(TExprPtr e, const TTypeSym& target) {
    if (!e || !e->Type) {
        return nullptr;
    }
    const TTypeSym& s = *e->Type;
    if (SameType(s, target)) {
        return e;
    }
    switch (target.Kind) {
    case TTypeKind::Float:
        if (s.Kind == TTypeKind::Integer) {
            return MakeIntToFloat(std::move(e), target);
        }
        break;
    case TTypeKind::Integer:
        // An enumeration's value is its code where an Integer is wanted: VarAsType(v, varString).
        if (s.Kind == TTypeKind::Enum) {
            return MakeOrdinalCast(std::move(e), target);
        }
        break;
    case TTypeKind::Variant:
        if (s.IsScalar()) {
            return MakeToVariant(std::move(e), target);
        }
        return nullptr;
    case TTypeKind::Class:
        if (s.Kind == TTypeKind::Nil || (s.Kind == TTypeKind::Class && s.InheritsFrom(target))) {
            return e;
        }
        break;
    case TTypeKind::DynArray:
        if (s.Kind == TTypeKind::Nil) {
            return MakeConst(target, TVariant::Zero(TVarKind::Array), e->Pos);
        }
        break;
    default:
        break;
    }
    if (IsVariant(s) && target.IsScalar()) {
        return MakeFromVariant(std::move(e), target);
    }
    return nullptr;
}

TExprPtr TCompiler::Addressable(TExprPtr e) {
    if (e->HasPlace()) {
        return e;
    }
    const TTypeSym& type = *e->Type;
    return MakeSpill(std::move(e), Temp(type));
}

TExprPtr TCompiler::ParseIntegerExpr(const char* message) {
    const TScriptPos pos = Tok().Pos;
    TExprPtr e = ParseExpr();
    if (e->Type && IsVariant(*e->Type)) {
        return MakeFromVariant(std::move(e), *T.Integer);
    }
    if (!e->Type || !e->Type->IsOrdinal()) {
        CompileError(pos, message);
    }
    return e;
}

TExprPtr TCompiler::Binary(TBinOp op, TExprPtr l, TExprPtr r, const TScriptPos& pos) {
    if (!l->Type || !r->Type) {
        CompileError(pos, "Invalid Operands");
    }
    const TTypeSym& a = *l->Type;
    const TTypeSym& b = *r->Type;
    const bool variant = IsVariant(a) || IsVariant(b);
    TVariant ka, kb;
    const bool constant = ConstValue(*l, ka) && ConstValue(*r, kb);
    auto toVariant = [&](TExprPtr& e) {
        if (!e->Type->IsScalar()) {
            CompileError(pos, "Invalid Operands");
        }
        if (!IsVariant(*e->Type)) {
            e = MakeToVariant(std::move(e), *T.Variant);
        }
    };
    auto numericPair = [&]() -> const TTypeSym* {
        if (a.Kind == TTypeKind::Integer && b.Kind == TTypeKind::Integer) {
            return T.Integer;
        }
        if (a.IsNumeric() && b.IsNumeric()) {
            if (a.Kind == TTypeKind::Integer) {
                l = MakeIntToFloat(std::move(l), *T.Float);
            }
            if (b.Kind == TTypeKind::Integer) {
                r = MakeIntToFloat(std::move(r), *T.Float);
            }
            return T.Float;
        }
        return nullptr;
    };
    const TTypeSym* result = nullptr;
    switch (op) {
    case TBinOp::Add:
    case TBinOp::Sub:
    case TBinOp::Mul:
        if (variant) {
            toVariant(l);
            toVariant(r);
            result = T.Variant;
        } else if ((result = numericPair())) {
        } else if (op == TBinOp::Add && a.Kind == TTypeKind::String && b.Kind == TTypeKind::String) {
            result = T.String;
        } else if (op == TBinOp::Add && (a.Kind == TTypeKind::String || b.Kind == TTypeKind::String)) {
            CompileError(pos, "Incompatible operands");
        } else if (a.Kind == TTypeKind::Boolean || b.Kind == TTypeKind::Boolean ||
                   a.Kind == TTypeKind::Enum || b.Kind == TTypeKind::Enum) {
            CompileError(pos, "Numerical operand expected");
        } else {
            CompileError(pos, "Invalid Operands");
        }
        break;
    case TBinOp::Div:
        if (variant) {
            toVariant(l);
            toVariant(r);
            result = T.Variant;
        } else if (a.IsNumeric() && b.IsNumeric()) {
            if (a.Kind == TTypeKind::Integer) {
                l = MakeIntToFloat(std::move(l), *T.Float);
            }
            if (b.Kind == TTypeKind::Integer) {
                r = MakeIntToFloat(std::move(r), *T.Float);
            }
            result = T.Float;
        } else if (a.Kind == TTypeKind::Boolean || b.Kind == TTypeKind::Boolean) {
            CompileError(pos, "Numerical operand expected");
        } else {
            CompileError(pos, "Invalid Operands");
        }
        break;
    case TBinOp::IntDiv:
    case TBinOp::Mod:
        if (variant) {
            toVariant(l);
            toVariant(r);
            result = T.Variant;
        } else if (a.Kind == TTypeKind::Integer && b.Kind == TTypeKind::Integer) {
            result = T.Integer;
        } else {
            CompileError(pos, "Integer expected");
        }
        break;
    default: // AND, OR, XOR
        if (variant && (a.Kind == TTypeKind::Boolean || a.Kind == TTypeKind::Integer || IsVariant(a)) &&
            (b.Kind == TTypeKind::Boolean || b.Kind == TTypeKind::Integer || IsVariant(b))) {
            toVariant(l);
            toVariant(r);
            result = T.Variant;
        } else if (a.Kind == TTypeKind::Boolean && b.Kind == TTypeKind::Boolean) {
            result = T.Boolean;
        } else if (a.Kind == TTypeKind::Integer && b.Kind == TTypeKind::Integer) {
            result = T.Integer;
        } else {
            CompileError(pos, "Boolean or integer operand expected");
        }
        break;
    }
    // Constant operands fold, except a division by zero, which fails when it runs.
    if (constant && !variant) {
        const TTypeSym& rt = *result;
        if (rt.Kind == TTypeKind::Integer) {
            const uint64_t x = static_cast<uint64_t>(ka.Int());
            const uint64_t y = static_cast<uint64_t>(kb.Int());
            const int64_t sx = ka.Int();
            const int64_t sy = kb.Int();
            std::optional<int64_t> v;
            switch (op) {
            case TBinOp::Add:
                v = static_cast<int64_t>(x + y);
                break;
            case TBinOp::Sub:
                v = static_cast<int64_t>(x - y);
                break;
            case TBinOp::Mul:
                v = static_cast<int64_t>(x * y);
                break;
            case TBinOp::IntDiv:
                if (sy != 0) {
                    v = sy == -1 ? static_cast<int64_t>(0 - x) : sx / sy;
                }
                break;
            case TBinOp::Mod:
                if (sy != 0) {
                    v = sy == -1 ? 0 : sx % sy;
                }
                break;
            case TBinOp::And:
                v = sx & sy;
                break;
            case TBinOp::Or:
                v = sx | sy;
                break;
            default:
                v = sx ^ sy;
                break;
            }
            if (v) {
                return MakeConst(rt, TVariant(*v), l->Pos);
            }
        } else if (rt.Kind == TTypeKind::Float) {
            const double x = ka.AsFloat();
            const double y = kb.AsFloat();
            const double v = op == TBinOp::Add   ? x + y
                             : op == TBinOp::Sub ? x - y
                             : op == TBinOp::Mul ? x * y
                                                 : x / y;
            return MakeConst(rt, TVariant(v), l->Pos);
        } else if (rt.Kind == TTypeKind::Boolean) {
            const bool x = ka.Bool();
            const bool y = kb.Bool();
            const bool v = op == TBinOp::And ? x && y : op == TBinOp::Or ? x || y : x != y;
            return MakeConst(rt, TVariant(v), l->Pos);
        } else if (rt.Kind == TTypeKind::String) {
            std::string joined(ka.StrView());
            joined.append(kb.StrView());
            return MakeConst(rt, TVariant(joined), l->Pos);
        }
    }
    return Bounded(MakeBinary(op, std::move(l), std::move(r), *result, pos));
}

TExprPtr TCompiler::Relation(TBinOp op, TExprPtr l, TExprPtr r, const TScriptPos& pos) {
    if (!l->Type || !r->Type) {
        CompileError(pos, "Invalid Operands");
    }
    const TTypeSym& a = *l->Type;
    const TTypeSym& b = *r->Type;
    if (IsVariant(a) || IsVariant(b)) {
        if (!a.IsScalar() || !b.IsScalar()) {
            CompileError(pos, "Invalid Operands");
        }
        if (!IsVariant(a)) {
            l = MakeToVariant(std::move(l), *T.Variant);
        }
        if (!IsVariant(b)) {
            r = MakeToVariant(std::move(r), *T.Variant);
        }
    } else if (a.IsNumeric() && b.IsNumeric()) {
        if (a.Kind != b.Kind) {
            if (a.Kind == TTypeKind::Integer) {
                l = MakeIntToFloat(std::move(l), *T.Float);
            } else {
                r = MakeIntToFloat(std::move(r), *T.Float);
            }
        }
    } else if (IsObjectLike(a) && IsObjectLike(b)) {
        if (op != TBinOp::Eq && op != TBinOp::Ne) {
            CompileError(pos, "Invalid Operands");
        }
    } else if (!(a.Kind == b.Kind && (a.Kind == TTypeKind::String || a.Kind == TTypeKind::Boolean)) &&
               !(a.Kind == TTypeKind::Enum && &a == &b)) {
        CompileError(pos, "Incompatible types: " + Quote(a.Name) + " and " + Quote(b.Name));
    }
    TVariant ka, kb;
    if (ConstValue(*l, ka) && ConstValue(*r, kb) && !IsVariant(*l->Type)) {
        int c = 0;
        if (l->Type->Kind == TTypeKind::String) {
            const int raw = ka.StrView().compare(kb.StrView());
            c = raw < 0 ? -1 : raw > 0 ? 1 : 0;
        } else if (l->Type->Kind == TTypeKind::Float) {
            const double x = ka.AsFloat();
            const double y = kb.AsFloat();
            c = x < y ? -1 : x > y ? 1 : 0;
            if (std::isnan(x) || std::isnan(y)) {
                return Bounded(MakeBinary(op, std::move(l), std::move(r), *T.Boolean, pos));
            }
        } else if (!IsObjectLike(*l->Type)) {
            c = ka.Int() < kb.Int() ? -1 : ka.Int() > kb.Int() ? 1 : 0;
        } else {
            return Bounded(MakeBinary(op, std::move(l), std::move(r), *T.Boolean, pos));
        }
        const bool v = op == TBinOp::Eq   ? c == 0
                       : op == TBinOp::Ne ? c != 0
                       : op == TBinOp::Lt ? c < 0
                       : op == TBinOp::Le ? c <= 0
                       : op == TBinOp::Gt ? c > 0
                                          : c >= 0;
        return MakeConst(*T.Boolean, TVariant(v), l->Pos);
    }
    return Bounded(MakeBinary(op, std::move(l), std::move(r), *T.Boolean, pos));
}

TExprPtr TCompiler::ParseExpr() {
    TExprPtr l = ParseSum();
    for (;;) {
        const TScriptPos pos = Tok().Pos;
        TBinOp op;
        switch (Tok().Kind) {
        case TTok::Equal:
            op = TBinOp::Eq;
            break;
        case TTok::NotEqual:
            op = TBinOp::Ne;
            break;
        case TTok::Less:
            op = TBinOp::Lt;
            break;
        case TTok::LessEqual:
            op = TBinOp::Le;
            break;
        case TTok::Greater:
            op = TBinOp::Gt;
            break;
        case TTok::GreaterEqual:
            op = TBinOp::Ge;
            break;
        case TTok::Is: {
            Lex.Next();
            const TScriptPos typePos = Tok().Pos;
            const std::string name = ExpectName();
            const TSymbol* s = Scope->Find(name);
            if (!s || s->Kind != TSymKind::Type ||
                static_cast<const TTypeNameSym*>(s)->Type->Kind != TTypeKind::Class) {
                CompileError(typePos, "Class reference expected");
            }
            if (!l->Type || !IsObjectLike(*l->Type)) {
                CompileError(pos, "Invalid Operands");
            }
            l = Bounded(MakeIs(std::move(l), *static_cast<const TTypeNameSym*>(s)->Type, *T.Boolean, pos));
            continue;
        }
        default:
            return l;
        }
        Lex.Next();
        TExprPtr r = ParseSum();
        l = Relation(op, std::move(l), std::move(r), pos);
    }
}

TExprPtr TCompiler::ParseSum() {
    TExprPtr l = ParseTerm();
    for (;;) {
        const TScriptPos pos = Tok().Pos;
        TBinOp op;
        switch (Tok().Kind) {
        case TTok::Plus:
            op = TBinOp::Add;
            break;
        case TTok::Minus:
            op = TBinOp::Sub;
            break;
        case TTok::Or:
            op = TBinOp::Or;
            break;
        case TTok::Xor:
            op = TBinOp::Xor;
            break;
        default:
            return l;
        }
        Lex.Next();
        TExprPtr r = ParseTerm();
        l = Binary(op, std::move(l), std::move(r), pos);
    }
}

TExprPtr TCompiler::ParseTerm() {
    TExprPtr l = ParseFactor();
    for (;;) {
        const TScriptPos pos = Tok().Pos;
        TBinOp op;
        switch (Tok().Kind) {
        case TTok::Times:
            op = TBinOp::Mul;
            break;
        case TTok::Divide:
            op = TBinOp::Div;
            break;
        case TTok::Div:
            op = TBinOp::IntDiv;
            break;
        case TTok::Mod:
            op = TBinOp::Mod;
            break;
        case TTok::And:
            op = TBinOp::And;
            break;
        case TTok::As:
            // Class casts belong to the class part of the language, which scripts here do not use.
            CompileError(pos, "Invalid Operands");
        default:
            return l;
        }
        Lex.Next();
        TExprPtr r = ParseFactor();
        l = Binary(op, std::move(l), std::move(r), pos);
    }
}

TExprPtr TCompiler::ParseFactor() {
    const TToken& t = Tok();
    const TScriptPos pos = t.Pos;
    TNesting nest(*this, pos);
    switch (t.Kind) {
    case TTok::Plus:
    case TTok::Minus: {
        const bool minus = t.Kind == TTok::Minus;
        Lex.Next();
        TExprPtr e = ParseFactor();
        if (!e->Type || !(e->Type->IsNumeric() || IsVariant(*e->Type))) {
            CompileError(pos, "Numerical operand expected");
        }
        if (!minus) {
            return e;
        }
        TVariant k;
        if (ConstValue(*e, k) && e->Type->Kind == TTypeKind::Float) {
            return MakeConst(*e->Type, TVariant(-k.Flt()), pos);
        }
        return Bounded(MakeNegate(std::move(e), pos));
    }
    case TTok::Not: {
        Lex.Next();
        TExprPtr e = ParseFactor();
        if (!e->Type || !(e->Type->Kind == TTypeKind::Boolean || e->Type->Kind == TTypeKind::Integer ||
                          IsVariant(*e->Type))) {
            CompileError(pos, "Boolean or integer operand expected");
        }
        TVariant k;
        if (ConstValue(*e, k) && !IsVariant(*e->Type)) {
            return e->Type->Kind == TTypeKind::Boolean ? MakeConst(*e->Type, TVariant(!k.Bool()), pos)
                                                       : MakeConst(*e->Type, TVariant(~k.Int()), pos);
        }
        return Bounded(MakeNot(std::move(e), pos));
    }
    case TTok::LParen: {
        Lex.Next();
        TExprPtr e = ParseExpr();
        Expect(TTok::RParen, "\")\" expected.");
        return e;
    }
    case TTok::Integer: {
        const int64_t v = t.IntValue;
        Lex.Next();
        return MakeConst(*T.Integer, TVariant(v), pos);
    }
    case TTok::Float: {
        const double v = t.FloatValue;
        Lex.Next();
        return MakeConst(*T.Float, TVariant(v), pos);
    }
    case TTok::String: {
        TVariant v(t.Text);
        Lex.Next();
        return MakeConst(*T.String, v, pos);
    }
    case TTok::True:
    case TTok::False: {
        const bool v = t.Kind == TTok::True;
        Lex.Next();
        return MakeConst(*T.Boolean, TVariant(v), pos);
    }
    case TTok::Nil:
        Lex.Next();
        return MakeConst(*T.Nil, TVariant::Zero(TVarKind::Object), pos);
    case TTok::Name:
        return ParseDesignator();
    default:
        SyntaxError(pos, "Expression expected");
    }
}
