// Expression nodes: constants, variables, members and elements, conversions and operators.
#include "script/Nodes.h"
#include "script/NodesInternal.h"
#include "script/Reps.h"
#include "script/Runtime.h"
#include "script/ScriptError.h"

#include <cmath>
#include <type_traits>

void InternalError(const TExpr& e, const char* what) {
    throw EScriptAbort{std::string("Internal error: ") + what, e.Pos};
}

int64_t TExpr::EvalInt(TRuntime&) {
    InternalError(*this, "no Integer value");
}
double TExpr::EvalFloat(TRuntime&) {
    InternalError(*this, "no Float value");
}
bool TExpr::EvalBool(TRuntime&) {
    InternalError(*this, "no Boolean value");
}
TVariant* TExpr::Addr(TRuntime&) {
    InternalError(*this, "no place");
}

TVariant* TExpr::AddrHeld(TRuntime& rt, TVariant&) {
    return Addr(rt);
}

TVariant TExpr::EvalVar(TRuntime& rt) {
    if (!Type) {
        InternalError(*this, "no value");
    }
    switch (Type->Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Enum:
        return TVariant(EvalInt(rt));
    case TTypeKind::Float:
        return TVariant(EvalFloat(rt));
    case TTypeKind::Boolean:
        return TVariant(EvalBool(rt));
    default:
        InternalError(*this, "no variant value");
    }
}

void TExpr::StoreInto(TRuntime& rt, TVariant* dst) {
    switch (Type->Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Enum:
        dst->IntRef() = EvalInt(rt);
        break;
    case TTypeKind::Float:
        dst->FltRef() = EvalFloat(rt);
        break;
    case TTypeKind::Boolean:
        dst->IntRef() = EvalBool(rt) ? 1 : 0;
        break;
    case TTypeKind::Record:
    case TTypeKind::StaticArray: {
        const TVariant* src = Addr(rt);
        if (src != dst) {
            for (int32_t i = 0; i < Type->Slots; ++i) {
                dst[i] = src[i];
            }
        }
        break;
    }
    default:
        *dst = EvalVar(rt);
        break;
    }
}

void TExpr::Exec(TRuntime& rt) {
    if (Type && Type->IsScalar()) {
        (void)EvalVar(rt);
    } else if (Type) {
        (void)Addr(rt);
    } else {
        InternalError(*this, "no statement");
    }
}

namespace {

using namespace nodes;

// ---- variables

struct TMemberNode final : TPlaceNode<TMemberNode> {
    TMemberNode(TExprPtr rec, const TMemberSym& m, TScriptPos p)
        : TPlaceNode<TMemberNode>(m.Type, std::move(p)), Rec(std::move(rec)), Off(m.Offset) {
        Assignable = Rec->IsAssignable();
        Depth = Rec->Depth + 1;
    }
    TVariant* Place(TRuntime& rt) { return Rec->Addr(rt) + Off; }
    bool InsideArrayOrObject() const override { return Rec->InsideArrayOrObject(); }
    TVariant* AddrHeld(TRuntime& rt, TVariant& hold) override { return Rec->AddrHeld(rt, hold) + Off; }
    TExprPtr Rec;
    int32_t Off;
};

struct TDynIndexNode final : TPlaceNode<TDynIndexNode> {
    TDynIndexNode(TExprPtr arr, TExprPtr index, TScriptPos p)
        : TPlaceNode<TDynIndexNode>(arr->Type->Elem, std::move(p)), Arr(std::move(arr)),
          Index(std::move(index)), ElemSlots(Arr->Type->Elem->Slots) {
        Depth = std::max(Arr->Depth, Index->Depth) + 1;
    }
    TVariant* Place(TRuntime& rt) { return Find<false>(rt, nullptr); }
    bool InsideArrayOrObject() const override { return true; }
    TVariant* AddrHeld(TRuntime& rt, TVariant& hold) override { return Find<true>(rt, &hold); }
    // The element's slots lie in this array's own storage, so holding this array is enough even
    // when it is itself an element of another.
    template <bool Held> TVariant* Find(TRuntime& rt, TVariant* hold) {
        const int64_t i = Index->EvalInt(rt);
        const TVariant* array = Arr->Addr(rt);
        TArrayRep* a = array->Arr();
        const int64_t length = a ? static_cast<int64_t>(a->Items.size()) / ElemSlots : 0;
        if (i < 0) {
            BoundError(rt, Pos, false, i);
        }
        if (i >= length) {
            BoundError(rt, Pos, true, i);
        }
        if constexpr (Held) {
            *hold = *array;
        }
        return a->Items.data() + i * ElemSlots;
    }
    TExprPtr Arr, Index;
    int32_t ElemSlots;
};

struct TStrIndexNode final : TExpr {
    TStrIndexNode(TExprPtr s, TExprPtr index, const TTypeSym& t, TScriptPos p)
        : TExpr(&t, std::move(p)), Str(std::move(s)), Index(std::move(index)) {
        Depth = std::max(Str->Depth, Index->Depth) + 1;
    }
    TVariant EvalVar(TRuntime& rt) override {
        const TVariant s = Str->EvalVar(rt);
        const int64_t i = Index->EvalInt(rt);
        const std::string_view text = s.StrView();
        if (i < 1) {
            BoundError(rt, Pos, false, i);
        }
        if (i > static_cast<int64_t>(text.size())) {
            BoundError(rt, Pos, true, i);
        }
        return TVariant(text.substr(static_cast<size_t>(i - 1), 1));
    }
    TExprPtr Str, Index;
};

struct TFieldNode final : TPlaceNode<TFieldNode> {
    TFieldNode(TExprPtr obj, const TMemberSym& f, TScriptPos p)
        : TPlaceNode<TFieldNode>(f.Type, std::move(p)), Obj(std::move(obj)), Index(f.Offset) {
        Depth = Obj->Depth + 1;
    }
    TVariant* Place(TRuntime& rt) { return Find<false>(rt, nullptr); }
    bool InsideArrayOrObject() const override { return true; }
    TVariant* AddrHeld(TRuntime& rt, TVariant& hold) override { return Find<true>(rt, &hold); }
    template <bool Held> TVariant* Find(TRuntime& rt, TVariant* hold) {
        const TVariant* object = Obj->Addr(rt);
        TObjectRep* o = object->Obj();
        if (!o) {
            RuntimeError(rt, Pos, "Object not instantiated");
        }
        if constexpr (Held) {
            *hold = *object;
        }
        return &o->Fields[static_cast<size_t>(Index)];
    }
    TExprPtr Obj;
    int32_t Index;
};

// ---- conversions

struct TIntToFloat final : TExpr {
    TIntToFloat(TExprPtr e, const TTypeSym& t) : TExpr(&t, e->Pos), E(std::move(e)) { Depth = E->Depth + 1; }
    double EvalFloat(TRuntime& rt) override { return static_cast<double>(E->EvalInt(rt)); }
    TExprPtr E;
};

struct TToVariant final : TExpr {
    TToVariant(TExprPtr e, const TTypeSym& t) : TExpr(&t, e->Pos), E(std::move(e)) { Depth = E->Depth + 1; }
    TVariant EvalVar(TRuntime& rt) override { return E->EvalVar(rt); }
    TExprPtr E;
};

struct TFromVariant final : TExpr {
    TFromVariant(TExprPtr e, const TTypeSym& t) : TExpr(&t, e->Pos), E(std::move(e)) { Depth = E->Depth + 1; }
    template <typename F> auto Convert(TRuntime& rt, F convert) {
        const TVariant v = E->EvalVar(rt);
        try {
            return convert(v);
        } catch (const std::exception& e) {
            RuntimeError(rt, Pos, e.what());
        }
    }
    int64_t EvalInt(TRuntime& rt) override {
        return Convert(rt, [](const TVariant& v) { return v.AsInteger(); });
    }
    double EvalFloat(TRuntime& rt) override {
        return Convert(rt, [](const TVariant& v) { return v.AsFloat(); });
    }
    bool EvalBool(TRuntime& rt) override {
        return Convert(rt, [](const TVariant& v) { return v.AsBoolean(); });
    }
    TVariant EvalVar(TRuntime& rt) override {
        TVariant v = E->EvalVar(rt);
        switch (Type->Kind) {
        case TTypeKind::String:
            if (v.Kind() == TVarKind::String) {
                return v;
            }
            return Convert(rt, [](const TVariant& x) { return TVariant(x.AsString()); });
        case TTypeKind::Class:
            if (v.Kind() == TVarKind::Object || v.IsEmpty() || v.IsNull()) {
                return v.Kind() == TVarKind::Object ? v : TVariant::Zero(TVarKind::Object);
            }
            break;
        case TTypeKind::DynArray:
            if (v.Kind() == TVarKind::Array) {
                return v;
            }
            break;
        default:
            return TExpr::EvalVar(rt);
        }
        RuntimeError(rt, Pos,
                     "Could not convert variant of type (" + std::string(v.KindName()) + ") into type (" +
                         Type->Name + ")");
    }
    TExprPtr E;
};

struct TOrdinalCast final : TExpr {
    TOrdinalCast(TExprPtr e, const TTypeSym& t) : TExpr(&t, e->Pos), E(std::move(e)) { Depth = E->Depth + 1; }
    int64_t EvalInt(TRuntime& rt) override {
        return E->Type->Kind == TTypeKind::Boolean ? (E->EvalBool(rt) ? 1 : 0) : E->EvalInt(rt);
    }
    bool EvalBool(TRuntime& rt) override {
        return E->Type->Kind == TTypeKind::Boolean ? E->EvalBool(rt) : E->EvalInt(rt) != 0;
    }
    TExprPtr E;
};

// ---- operators

template <TBinOp Op> struct TBoolBin final : TBinNode {
    using TBinNode::TBinNode;
    bool EvalBool(TRuntime& rt) override {
        if constexpr (Op == TBinOp::And) {
            return L->EvalBool(rt) && R->EvalBool(rt);
        } else if constexpr (Op == TBinOp::Or) {
            return L->EvalBool(rt) || R->EvalBool(rt);
        } else if constexpr (Op == TBinOp::Xor) {
            return L->EvalBool(rt) != R->EvalBool(rt);
        } else {
            return Compare<Op>(L->EvalBool(rt), R->EvalBool(rt));
        }
    }
};

// How a String comparison reaches an operand: by copying its value, or in its place (a
// constant's own value, a variable, an element), which saves a count up and down per operand.
enum class TStrRead : uint8_t { Value, Place, Const };

std::string_view TextIn(const TVariant& v) {
    const TStringRep* rep = v.Kind() == TVarKind::String ? v.Str() : nullptr;
    return rep ? std::string_view(rep->Text) : std::string_view();
}

template <TBinOp Op> struct TStrCmp final : TBinNode {
    TStrCmp(TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p)
        : TBinNode(std::move(l), std::move(r), t, std::move(p)) {
        LRead = Reading(*L, LConst);
        RRead = Reading(*R, RConst);
        // The left place is read after the right operand ran: only safe when that runs no script
        // code, which could resize the array the place lies in.
        if (LRead == TStrRead::Place && !RunsNoCode(*R)) {
            LRead = TStrRead::Value;
        }
    }
    static TStrRead Reading(TExpr& e, const TVariant*& k) {
        if (const auto* c = dynamic_cast<const TVarConst*>(&e)) {
            k = &c->V;
            return TStrRead::Const;
        }
        return e.HasPlace() ? TStrRead::Place : TStrRead::Value;
    }
    static const TVariant* Read(TRuntime& rt, TExpr& e, TStrRead how, const TVariant* k, TVariant& copy) {
        switch (how) {
        case TStrRead::Const:
            return k;
        case TStrRead::Place:
            return e.Addr(rt);
        default:
            copy = e.EvalVar(rt);
            return &copy;
        }
    }
    bool EvalBool(TRuntime& rt) override {
        TVariant copyA, copyB;
        const std::string_view a = TextIn(*Read(rt, *L, LRead, LConst, copyA));
        const std::string_view b = TextIn(*Read(rt, *R, RRead, RConst, copyB));
        rt.ChargeText(std::min(a.size(), b.size()));
        return Compare<Op>(a, b);
    }
    TStrRead LRead, RRead;
    const TVariant* LConst = nullptr;
    const TVariant* RConst = nullptr;
};

template <TBinOp Op> struct TObjCmp final : TBinNode {
    using TBinNode::TBinNode;
    bool EvalBool(TRuntime& rt) override {
        const TVariant a = L->EvalVar(rt);
        const TVariant b = R->EvalVar(rt);
        const bool same = a.Obj() == b.Obj();
        return Op == TBinOp::Eq ? same : !same;
    }
};

// Joining strings reuses the left operand's buffer when nothing else holds it, so a chain
// a + b + c + d copies each piece once.
struct TStrConcat final : TBinNode {
    using TBinNode::TBinNode;
    TVariant EvalVar(TRuntime& rt) override {
        TVariant a = L->EvalVar(rt);
        const TVariant b = R->EvalVar(rt);
        if (b.StrView().empty()) {
            return a;
        }
        if (a.StrView().empty()) {
            return b;
        }
        const size_t length = a.StrView().size() + b.StrView().size();
        StringWork(rt, Pos, length, length);
        a.AppendStr(b.StrView());
        return a;
    }
};

struct TVariantBin final : TBinNode {
    TVariantBin(TBinOp op, TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p)
        : TBinNode(std::move(l), std::move(r), t, std::move(p)), Op(op) {}
    TVariant EvalVar(TRuntime& rt) override {
        const TVariant a = L->EvalVar(rt);
        const TVariant b = R->EvalVar(rt);
        try {
            return Apply(rt, a, b);
        } catch (const EScriptError& e) {
            RuntimeError(rt, Pos, e.what());
        }
    }
    bool EvalBool(TRuntime& rt) override { return EvalVar(rt).AsBoolean(); }
    TVariant Apply(TRuntime& rt, const TVariant& a, const TVariant& b) const {
        const TVarKind ka = a.Kind();
        const TVarKind kb = b.Kind();
        rt.ChargeText(std::min(a.StrView().size(), b.StrView().size()));
        switch (Op) {
        case TBinOp::Eq:
            return TVariant(CompareVariants(a, b) == 0);
        case TBinOp::Ne:
            return TVariant(CompareVariants(a, b) != 0);
        case TBinOp::Lt:
            return TVariant(CompareVariants(a, b) < 0);
        case TBinOp::Le:
            return TVariant(CompareVariants(a, b) <= 0);
        case TBinOp::Gt:
            return TVariant(CompareVariants(a, b) > 0);
        case TBinOp::Ge:
            return TVariant(CompareVariants(a, b) >= 0);
        case TBinOp::Add:
            if (ka == TVarKind::String && kb == TVarKind::String) {
                const size_t length = a.StrView().size() + b.StrView().size();
                StringWork(rt, Pos, length, length);
                std::string joined(a.StrView());
                joined.append(b.StrView());
                return TVariant(joined);
            }
            break;
        case TBinOp::And:
        case TBinOp::Or:
        case TBinOp::Xor:
            if (ka == TVarKind::Boolean && kb == TVarKind::Boolean) {
                const bool x = a.Bool();
                const bool y = b.Bool();
                return TVariant(Op == TBinOp::And ? x && y : Op == TBinOp::Or ? x || y : x != y);
            }
            break;
        default:
            break;
        }
        const bool integral = (ka == TVarKind::Integer || ka == TVarKind::Boolean || ka == TVarKind::Empty) &&
                              (kb == TVarKind::Integer || kb == TVarKind::Boolean || kb == TVarKind::Empty);
        if (Op == TBinOp::Div) {
            return TVariant(a.AsFloat() / b.AsFloat());
        }
        if (integral || Op == TBinOp::IntDiv || Op == TBinOp::Mod || Op == TBinOp::And || Op == TBinOp::Or ||
            Op == TBinOp::Xor) {
            const int64_t x = a.AsInteger();
            const int64_t y = b.AsInteger();
            switch (Op) {
            case TBinOp::Add:
                return TVariant(IntOp<TBinOp::Add>(rt, Pos, x, y));
            case TBinOp::Sub:
                return TVariant(IntOp<TBinOp::Sub>(rt, Pos, x, y));
            case TBinOp::Mul:
                return TVariant(IntOp<TBinOp::Mul>(rt, Pos, x, y));
            case TBinOp::IntDiv:
                return TVariant(IntOp<TBinOp::IntDiv>(rt, Pos, x, y));
            case TBinOp::Mod:
                return TVariant(IntOp<TBinOp::Mod>(rt, Pos, x, y));
            case TBinOp::And:
                return TVariant(x & y);
            case TBinOp::Or:
                return TVariant(x | y);
            default:
                return TVariant(x ^ y);
            }
        }
        const double x = a.AsFloat();
        const double y = b.AsFloat();
        switch (Op) {
        case TBinOp::Add:
            return TVariant(x + y);
        case TBinOp::Sub:
            return TVariant(x - y);
        default:
            return TVariant(x * y);
        }
    }
    TBinOp Op;
};

template <template <TBinOp> class N>
TExprPtr PickCompare(TBinOp op, TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p) {
    switch (op) {
    case TBinOp::Eq:
        return std::make_unique<N<TBinOp::Eq>>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Ne:
        return std::make_unique<N<TBinOp::Ne>>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Lt:
        return std::make_unique<N<TBinOp::Lt>>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Le:
        return std::make_unique<N<TBinOp::Le>>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Gt:
        return std::make_unique<N<TBinOp::Gt>>(std::move(l), std::move(r), t, std::move(p));
    default:
        return std::make_unique<N<TBinOp::Ge>>(std::move(l), std::move(r), t, std::move(p));
    }
}

const TIntConst* AsIntConst(const TExpr& e) {
    return dynamic_cast<const TIntConst*>(&e);
}

// ---- unary

struct TIntNeg final : TExpr {
    explicit TIntNeg(TExprPtr e, TScriptPos p) : TExpr(e->Type, std::move(p)), E(std::move(e)) {
        Depth = E->Depth + 1;
    }
    int64_t EvalInt(TRuntime& rt) override { return Wrap(0 - uint64_t(E->EvalInt(rt))); }
    TExprPtr E;
};

struct TFloatNeg final : TExpr {
    explicit TFloatNeg(TExprPtr e, TScriptPos p) : TExpr(e->Type, std::move(p)), E(std::move(e)) {
        Depth = E->Depth + 1;
    }
    double EvalFloat(TRuntime& rt) override { return -E->EvalFloat(rt); }
    TExprPtr E;
};

struct TVariantNeg final : TExpr {
    explicit TVariantNeg(TExprPtr e, TScriptPos p) : TExpr(e->Type, std::move(p)), E(std::move(e)) {
        Depth = E->Depth + 1;
    }
    TVariant EvalVar(TRuntime& rt) override {
        const TVariant v = E->EvalVar(rt);
        try {
            if (v.Kind() == TVarKind::Integer || v.Kind() == TVarKind::Boolean || v.IsEmpty()) {
                return TVariant(Wrap(0 - uint64_t(v.AsInteger())));
            }
            return TVariant(-v.AsFloat());
        } catch (const EScriptError& e) {
            RuntimeError(rt, Pos, e.what());
        }
    }
    TExprPtr E;
};

struct TNotNode final : TExpr {
    explicit TNotNode(TExprPtr e, TScriptPos p) : TExpr(e->Type, std::move(p)), E(std::move(e)) {
        Depth = E->Depth + 1;
    }
    int64_t EvalInt(TRuntime& rt) override { return ~E->EvalInt(rt); }
    bool EvalBool(TRuntime& rt) override { return !E->EvalBool(rt); }
    TVariant EvalVar(TRuntime& rt) override {
        if (Type->Kind != TTypeKind::Variant) {
            return TExpr::EvalVar(rt);
        }
        const TVariant v = E->EvalVar(rt);
        try {
            if (v.Kind() == TVarKind::Boolean) {
                return TVariant(!v.Bool());
            }
            return TVariant(~v.AsInteger());
        } catch (const EScriptError& e) {
            RuntimeError(rt, Pos, e.what());
        }
    }
    TExprPtr E;
};

struct TIsNode final : TExpr {
    TIsNode(TExprPtr e, const TTypeSym& cls, const TTypeSym& t, TScriptPos p)
        : TExpr(&t, std::move(p)), E(std::move(e)), Class(&cls) {
        Depth = E->Depth + 1;
    }
    bool EvalBool(TRuntime& rt) override {
        const TVariant v = E->EvalVar(rt);
        const TObjectRep* o = v.Obj();
        return o && o->Class->InheritsFrom(*Class);
    }
    TExprPtr E;
    const TTypeSym* Class;
};

} // namespace

TExprPtr TakeSelfOperand(TExprPtr& value, const TVarSym& v, bool& sub) {
    // "s + a + b" is "(s + a) + b": follow the joins down the left to find s, then append
    // "a + b" (joining strings is associative).
    std::vector<TStrConcat*> spine;
    TExpr* e = value.get();
    while (auto* join = dynamic_cast<TStrConcat*>(e)) {
        spine.push_back(join);
        e = join->L.get();
    }
    if (spine.size() > 1 && spine.back()->L->Variable() == &v) {
        TExprPtr rest = std::move(spine.back()->R);
        for (size_t i = spine.size() - 1; i-- > 0;) {
            TStrConcat& c = *spine[i];
            rest = std::make_unique<TStrConcat>(std::move(rest), std::move(c.R), *c.Type, c.Pos);
        }
        return rest;
    }
    auto* bin = dynamic_cast<TBinNode*>(value.get());
    if (!bin || bin->L->Variable() != &v) {
        return nullptr;
    }
    sub = false;
    if (!dynamic_cast<TStrConcat*>(bin) && !IsIntAddOrSub(*bin, sub)) {
        return nullptr;
    }
    return std::move(bin->R);
}

bool ConstValue(const TExpr& e, TVariant& value) {
    if (const auto* i = dynamic_cast<const TIntConst*>(&e)) {
        value = TVariant(i->V);
    } else if (const auto* f = dynamic_cast<const TFloatConst*>(&e)) {
        value = TVariant(f->V);
    } else if (const auto* b = dynamic_cast<const TBoolConst*>(&e)) {
        value = TVariant(b->V);
    } else if (const auto* v = dynamic_cast<const TVarConst*>(&e)) {
        value = v->V;
    } else {
        return false;
    }
    return true;
}

TExprPtr MakeConst(const TTypeSym& type, const TVariant& value, TScriptPos pos) {
    switch (type.Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Enum:
        return std::make_unique<TIntConst>(type, value.Int(), std::move(pos));
    case TTypeKind::Float:
        return std::make_unique<TFloatConst>(
            type, value.Kind() == TVarKind::Integer ? double(value.Int()) : value.Flt(), std::move(pos));
    case TTypeKind::Boolean:
        return std::make_unique<TBoolConst>(type, value.Bool(), std::move(pos));
    default:
        return std::make_unique<TVarConst>(type, value, std::move(pos));
    }
}

TExprPtr MakeVarRef(const TVarSym& var, TScriptPos pos) {
    switch (var.Place) {
    case TVarPlace::Global:
        return std::make_unique<TVarNode<TVarPlace::Global>>(var, std::move(pos));
    case TVarPlace::Local:
        return std::make_unique<TVarNode<TVarPlace::Local>>(var, std::move(pos));
    default:
        return std::make_unique<TVarNode<TVarPlace::LocalRef>>(var, std::move(pos));
    }
}

TExprPtr MakeMember(TExprPtr record, const TMemberSym& member, TScriptPos pos) {
    if (FoldMember(*record, member)) {
        return record;
    }
    // A member of a record variable is a slot at a fixed offset: read it in place.
    const bool assignable = record->IsAssignable();
    if (const auto* g = dynamic_cast<const TVarNode<TVarPlace::Global>*>(record.get())) {
        return std::make_unique<TSlotNode<TVarPlace::Global>>(*member.Type, g->Off, member.Offset, assignable,
                                                              pos);
    }
    if (const auto* l = dynamic_cast<const TVarNode<TVarPlace::Local>*>(record.get())) {
        return std::make_unique<TSlotNode<TVarPlace::Local>>(*member.Type, l->Off, member.Offset, assignable,
                                                             pos);
    }
    if (const auto* r = dynamic_cast<const TVarNode<TVarPlace::LocalRef>*>(record.get())) {
        return std::make_unique<TSlotNode<TVarPlace::LocalRef>>(*member.Type, r->Off, member.Offset,
                                                                assignable, pos);
    }
    if (const auto* sg = dynamic_cast<const TSlotNode<TVarPlace::Global>*>(record.get())) {
        return std::make_unique<TSlotNode<TVarPlace::Global>>(*member.Type, sg->Off,
                                                              sg->Inner + member.Offset, assignable, pos);
    }
    if (const auto* sl = dynamic_cast<const TSlotNode<TVarPlace::Local>*>(record.get())) {
        return std::make_unique<TSlotNode<TVarPlace::Local>>(*member.Type, sl->Off, sl->Inner + member.Offset,
                                                             assignable, pos);
    }
    if (const auto* sr = dynamic_cast<const TSlotNode<TVarPlace::LocalRef>*>(record.get())) {
        return std::make_unique<TSlotNode<TVarPlace::LocalRef>>(*member.Type, sr->Off,
                                                                sr->Inner + member.Offset, assignable, pos);
    }
    return std::make_unique<TMemberNode>(std::move(record), member, std::move(pos));
}

TExprPtr MakeDynIndex(TExprPtr array, TExprPtr index, TScriptPos pos) {
    return std::make_unique<TDynIndexNode>(std::move(array), std::move(index), std::move(pos));
}

TExprPtr MakeStrIndex(TExprPtr str, TExprPtr index, const TTypeSym& stringType, TScriptPos pos) {
    return std::make_unique<TStrIndexNode>(std::move(str), std::move(index), stringType, std::move(pos));
}

TExprPtr MakeField(TExprPtr object, const TMemberSym& field, TScriptPos pos) {
    return std::make_unique<TFieldNode>(std::move(object), field, std::move(pos));
}

TExprPtr MakeIntToFloat(TExprPtr e, const TTypeSym& floatType) {
    if (const TIntConst* k = AsIntConst(*e)) {
        return std::make_unique<TFloatConst>(floatType, static_cast<double>(k->V), e->Pos);
    }
    return std::make_unique<TIntToFloat>(std::move(e), floatType);
}

TExprPtr MakeToVariant(TExprPtr e, const TTypeSym& variantType) {
    return std::make_unique<TToVariant>(std::move(e), variantType);
}

TExprPtr MakeFromVariant(TExprPtr e, const TTypeSym& target) {
    return std::make_unique<TFromVariant>(std::move(e), target);
}

TExprPtr MakeOrdinalCast(TExprPtr e, const TTypeSym& target) {
    return std::make_unique<TOrdinalCast>(std::move(e), target);
}

TExprPtr MakeBinary(TBinOp op, TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p) {
    const TTypeSym& operand = *l->Type;
    if (operand.Kind == TTypeKind::Variant || r->Type->Kind == TTypeKind::Variant) {
        return std::make_unique<TVariantBin>(op, std::move(l), std::move(r), t, std::move(p));
    }
    switch (operand.Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Enum:
        return MakeIntBinary(op, std::move(l), std::move(r), t, std::move(p));
    case TTypeKind::Float:
        return MakeFloatBinary(op, std::move(l), std::move(r), t, std::move(p));
    case TTypeKind::Boolean:
        switch (op) {
        case TBinOp::And:
            return std::make_unique<TBoolBin<TBinOp::And>>(std::move(l), std::move(r), t, std::move(p));
        case TBinOp::Or:
            return std::make_unique<TBoolBin<TBinOp::Or>>(std::move(l), std::move(r), t, std::move(p));
        case TBinOp::Xor:
            return std::make_unique<TBoolBin<TBinOp::Xor>>(std::move(l), std::move(r), t, std::move(p));
        default:
            return PickCompare<TBoolBin>(op, std::move(l), std::move(r), t, std::move(p));
        }
    case TTypeKind::String:
        if (op == TBinOp::Add) {
            return std::make_unique<TStrConcat>(std::move(l), std::move(r), t, std::move(p));
        }
        return PickCompare<TStrCmp>(op, std::move(l), std::move(r), t, std::move(p));
    default:
        return PickCompare<TObjCmp>(op, std::move(l), std::move(r), t, std::move(p));
    }
}

TExprPtr MakeNegate(TExprPtr e, TScriptPos pos) {
    switch (e->Type->Kind) {
    case TTypeKind::Integer:
        if (const TIntConst* k = AsIntConst(*e)) {
            return std::make_unique<TIntConst>(*e->Type, Wrap(0 - uint64_t(k->V)), std::move(pos));
        }
        return std::make_unique<TIntNeg>(std::move(e), std::move(pos));
    case TTypeKind::Float:
        return std::make_unique<TFloatNeg>(std::move(e), std::move(pos));
    default:
        return std::make_unique<TVariantNeg>(std::move(e), std::move(pos));
    }
}

TExprPtr MakeNot(TExprPtr e, TScriptPos pos) {
    return std::make_unique<TNotNode>(std::move(e), std::move(pos));
}

TExprPtr MakeIs(TExprPtr object, const TTypeSym& classType, const TTypeSym& booleanType, TScriptPos pos) {
    return std::make_unique<TIsNode>(std::move(object), classType, booleanType, std::move(pos));
}
