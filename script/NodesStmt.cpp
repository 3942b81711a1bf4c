// Statement nodes: assignments, blocks, conditionals, loops, CASE, and exceptions.
#include "script/Nodes.h"
#include "script/NodesOperands.h"
#include "script/Reps.h"
#include "script/Runtime.h"

#include <array>

namespace {

using nodes::VarSlot;

// The value first, then the place: a routine the value calls may move the place (resize the
// array it is an element of).
struct TAssignInt final : TStmt {
    TAssignInt(TExprPtr place, TExprPtr value, TScriptPos p)
        : TStmt(std::move(p)), Place(std::move(place)), Value(std::move(value)) {}
    TFlow Exec(TRuntime& rt) override {
        const int64_t v = Value->EvalInt(rt);
        Place->Addr(rt)->IntRef() = v;
        return TFlow::Normal;
    }
    TExprPtr Place, Value;
};

// "a[j] := v" on a static array variable with a variable index, the value a variable, a
// constant or another such element: no node is called.
template <typename V> struct TAssignIntElement final : TStmt {
    TAssignIntElement(TExprPtr place, TExprPtr value, TScriptPos p, nodes::operands::TLeafElement<int64_t> at,
                      V v)
        : TStmt(std::move(p)), Place(std::move(place)), Value(std::move(value)), At(at), V_(v) {}
    TFlow Exec(TRuntime& rt) override {
        const int64_t v = V_.Get(rt);
        At.Slot(rt)->IntRef() = v;
        return TFlow::Normal;
    }
    TExprPtr Place, Value;
    nodes::operands::TLeafElement<int64_t> At;
    V V_;
};

TStmtPtr AssignIntElement(TExprPtr& place, TExprPtr& value, TScriptPos& pos) {
    using namespace nodes::operands;
    const TLeaf<int64_t> at = Classify<int64_t>(*place);
    if (at.Kind != TLeaf<int64_t>::TKind::Element) {
        return nullptr;
    }
    const TLeafElement<int64_t> a(at.Element);
    const TLeaf<int64_t> v = Classify<int64_t>(*value);
    switch (v.Kind) {
    case TLeaf<int64_t>::TKind::Const:
        return std::make_unique<TAssignIntElement<TLeafConst<int64_t>>>(
            std::move(place), std::move(value), std::move(pos), a, TLeafConst<int64_t>(v.K));
    case TLeaf<int64_t>::TKind::Global:
        return std::make_unique<TAssignIntElement<TLeafVar<int64_t, TVarPlace::Global>>>(
            std::move(place), std::move(value), std::move(pos), a,
            TLeafVar<int64_t, TVarPlace::Global>(v.Off));
    case TLeaf<int64_t>::TKind::Local:
        return std::make_unique<TAssignIntElement<TLeafVar<int64_t, TVarPlace::Local>>>(
            std::move(place), std::move(value), std::move(pos), a,
            TLeafVar<int64_t, TVarPlace::Local>(v.Off));
    case TLeaf<int64_t>::TKind::Element:
        return std::make_unique<TAssignIntElement<TLeafElement<int64_t>>>(
            std::move(place), std::move(value), std::move(pos), a, TLeafElement<int64_t>(v.Element));
    default: {
        TExpr& e = *value;
        return std::make_unique<TAssignIntElement<TLeafExpr<int64_t>>>(
            std::move(place), std::move(value), std::move(pos), a, TLeafExpr<int64_t>(e));
    }
    }
}

template <TVarPlace P> struct TAssignIntVar final : TStmt {
    TAssignIntVar(int32_t off, TExprPtr value, TScriptPos p)
        : TStmt(std::move(p)), Off(off), Value(std::move(value)) {}
    TFlow Exec(TRuntime& rt) override {
        const int64_t v = Value->EvalInt(rt);
        VarSlot<P>(rt, Off)->IntRef() = v;
        return TFlow::Normal;
    }
    int32_t Off;
    TExprPtr Value;
};

// "s := s + e" and "s := s - e" on an Integer variable.
template <TVarPlace P, bool Sub> struct TAddAssignIntVar final : TStmt {
    TAddAssignIntVar(int32_t off, TExprPtr value, TScriptPos p)
        : TStmt(std::move(p)), Off(off), Value(std::move(value)) {}
    TFlow Exec(TRuntime& rt) override {
        const uint64_t v = static_cast<uint64_t>(Value->EvalInt(rt));
        int64_t& slot = VarSlot<P>(rt, Off)->IntRef();
        slot = static_cast<int64_t>(Sub ? static_cast<uint64_t>(slot) - v : static_cast<uint64_t>(slot) + v);
        return TFlow::Normal;
    }
    int32_t Off;
    TExprPtr Value;
};

// "n := n + 1" and the like: a constant added in place.
template <TVarPlace P> struct TAddConstIntVar final : TStmt {
    TAddConstIntVar(int32_t off, uint64_t delta, TScriptPos p)
        : TStmt(std::move(p)), Off(off), Delta(delta) {}
    TFlow Exec(TRuntime& rt) override {
        int64_t& slot = VarSlot<P>(rt, Off)->IntRef();
        slot = static_cast<int64_t>(static_cast<uint64_t>(slot) + Delta);
        return TFlow::Normal;
    }
    int32_t Off;
    uint64_t Delta;
};

struct TAssignFloat final : TStmt {
    TAssignFloat(TExprPtr place, TExprPtr value, TScriptPos p)
        : TStmt(std::move(p)), Place(std::move(place)), Value(std::move(value)) {}
    TFlow Exec(TRuntime& rt) override {
        const double v = Value->EvalFloat(rt);
        Place->Addr(rt)->FltRef() = v;
        return TFlow::Normal;
    }
    TExprPtr Place, Value;
};

template <TVarPlace P> struct TAssignFloatVar final : TStmt {
    TAssignFloatVar(int32_t off, TExprPtr value, TScriptPos p)
        : TStmt(std::move(p)), Off(off), Value(std::move(value)) {}
    TFlow Exec(TRuntime& rt) override {
        const double v = Value->EvalFloat(rt);
        VarSlot<P>(rt, Off)->FltRef() = v;
        return TFlow::Normal;
    }
    int32_t Off;
    TExprPtr Value;
};

struct TAssignBool final : TStmt {
    TAssignBool(TExprPtr place, TExprPtr value, TScriptPos p)
        : TStmt(std::move(p)), Place(std::move(place)), Value(std::move(value)) {}
    TFlow Exec(TRuntime& rt) override {
        const bool v = Value->EvalBool(rt);
        Place->Addr(rt)->IntRef() = v ? 1 : 0;
        return TFlow::Normal;
    }
    TExprPtr Place, Value;
};

struct TAssignRef final : TStmt {
    TAssignRef(TExprPtr place, TExprPtr value, TScriptPos p)
        : TStmt(std::move(p)), Place(std::move(place)), Value(std::move(value)) {}
    TFlow Exec(TRuntime& rt) override {
        TVariant v = Value->EvalVar(rt);
        *Place->Addr(rt) = std::move(v);
        return TFlow::Normal;
    }
    TExprPtr Place, Value;
};

// "s := s + e" on a String variable appends in place, so building a string piece by piece
// costs amortised constant time per piece. A constant tail ("s := s + 'abc'") is kept as text in
// the node and read without a copy.
template <bool ConstTail> struct TAppendStr final : TStmt {
    TAppendStr(TExprPtr place, TExprPtr tail, TScriptPos p, std::string text = {})
        : TStmt(std::move(p)), Place(std::move(place)), Tail(std::move(tail)), Text(std::move(text)) {}
    TFlow Exec(TRuntime& rt) override {
        if constexpr (ConstTail) {
            Append(rt, Text);
        } else {
            const TVariant tail = Tail->EvalVar(rt);
            Append(rt, tail.StrView());
        }
        return TFlow::Normal;
    }
    void Append(TRuntime& rt, std::string_view tail) {
        if (tail.empty()) {
            return;
        }
        TVariant* place = Place->Addr(rt);
        TStringRep* rep = place->Kind() == TVarKind::String ? place->Str() : nullptr;
        StringWork(rt, Pos, (rep ? rep->Text.size() : 0) + tail.size(), tail.size());
        if (rep && rep->Refs == 1) {
            rep->Append(tail);
        } else {
            place->AppendStr(tail);
        }
    }
    TExprPtr Place, Tail;
    std::string Text; // the constant tail
};

struct TAssignSlots final : TStmt {
    TAssignSlots(TExprPtr place, TExprPtr value, TScriptPos p)
        : TStmt(std::move(p)), Place(std::move(place)), Value(std::move(value)) {}
    TFlow Exec(TRuntime& rt) override {
        const int32_t n = Place->Type->Slots;
        rt.ChargeSlots(n);
        if (Place->Variable()) {
            Value->StoreInto(rt, Place->Addr(rt));
            return TFlow::Normal;
        }
        // A computed place (an element) is found after the value, from a copy of it.
        std::vector<TVariant> copy(static_cast<size_t>(n));
        Place->Type->InitSlots(copy.data());
        Value->StoreInto(rt, copy.data());
        TVariant* dst = Place->Addr(rt);
        for (int32_t i = 0; i < n; ++i) {
            dst[i] = std::move(copy[static_cast<size_t>(i)]);
        }
        return TFlow::Normal;
    }
    TExprPtr Place, Value;
};

struct TExprStmt final : TStmt {
    explicit TExprStmt(TExprPtr e) : TStmt(e->Pos), E(std::move(e)) {}
    TFlow Exec(TRuntime& rt) override {
        E->Exec(rt);
        return TFlow::Normal;
    }
    TExprPtr E;
};

struct TBlock final : TStmt {
    TBlock(std::vector<TStmtPtr> list, TScriptPos p) : TStmt(std::move(p)), List(std::move(list)) {}
    TFlow Exec(TRuntime& rt) override {
        for (const TStmtPtr& s : List) {
            if (const TFlow f = s->Exec(rt); f != TFlow::Normal) {
                return f;
            }
        }
        return TFlow::Normal;
    }
    std::vector<TStmtPtr> List;
};

// The short blocks of most routine bodies and loops: the statements' loop unrolls.
template <size_t N> struct TShortBlock final : TStmt {
    TShortBlock(std::vector<TStmtPtr> list, TScriptPos p) : TStmt(std::move(p)) {
        for (size_t i = 0; i < N; ++i) {
            List[i] = std::move(list[i]);
        }
    }
    TFlow Exec(TRuntime& rt) override {
        for (size_t i = 0; i + 1 < N; ++i) {
            if (const TFlow f = List[i]->Exec(rt); f != TFlow::Normal) {
                return f;
            }
        }
        return List[N - 1]->Exec(rt);
    }
    std::array<TStmtPtr, N> List;
};

struct TIf final : TStmt {
    TIf(TExprPtr c, TStmtPtr t, TStmtPtr e, TScriptPos p)
        : TStmt(std::move(p)), Cond(std::move(c)), Then(std::move(t)), Else(std::move(e)) {}
    TFlow Exec(TRuntime& rt) override {
        if (Cond->EvalBool(rt)) {
            return Then ? Then->Exec(rt) : TFlow::Normal;
        }
        return Else ? Else->Exec(rt) : TFlow::Normal;
    }
    TExprPtr Cond;
    TStmtPtr Then, Else;
};

struct TWhile final : TStmt {
    TWhile(TExprPtr c, TStmtPtr b, TScriptPos p)
        : TStmt(std::move(p)), Cond(std::move(c)), Body(std::move(b)) {}
    TFlow Exec(TRuntime& rt) override {
        while (Cond->EvalBool(rt)) {
            rt.Step();
            if (Body) {
                const TFlow f = Body->Exec(rt);
                if (f == TFlow::Break) {
                    break;
                }
                if (f == TFlow::Exit) {
                    return f;
                }
            }
        }
        return TFlow::Normal;
    }
    TExprPtr Cond;
    TStmtPtr Body;
};

struct TRepeat final : TStmt {
    TRepeat(TStmtPtr b, TExprPtr c, TScriptPos p)
        : TStmt(std::move(p)), Body(std::move(b)), Cond(std::move(c)) {}
    TFlow Exec(TRuntime& rt) override {
        do {
            rt.Step();
            const TFlow f = Body->Exec(rt);
            if (f == TFlow::Break) {
                break;
            }
            if (f == TFlow::Exit) {
                return f;
            }
        } while (!Cond->EvalBool(rt));
        return TFlow::Normal;
    }
    TStmtPtr Body;
    TExprPtr Cond;
};

// The bounds are taken once; the loop counts on its own copy, so the last round is the one
// that reaches the end value even at the edge of the Integer range.
template <bool Down> struct TFor final : TStmt {
    TFor(TExprPtr v, TExprPtr from, TExprPtr to, TStmtPtr b, TScriptPos p)
        : TStmt(std::move(p)), Var(std::move(v)), From(std::move(from)), To(std::move(to)),
          Body(std::move(b)) {}
    TFlow Exec(TRuntime& rt) override {
        const int64_t from = From->EvalInt(rt);
        const int64_t to = To->EvalInt(rt);
        if (Down ? from < to : from > to) {
            return TFlow::Normal;
        }
        TVariant* v = Var->Addr(rt);
        for (int64_t i = from;; Down ? --i : ++i) {
            v->IntRef() = i;
            rt.Step();
            if (Body) {
                const TFlow f = Body->Exec(rt);
                if (f == TFlow::Break) {
                    break;
                }
                if (f == TFlow::Exit) {
                    return f;
                }
            }
            if (i == to) {
                break;
            }
        }
        return TFlow::Normal;
    }
    TExprPtr Var, From, To;
    TStmtPtr Body;
};

struct TCase final : TStmt {
    TCase(TExprPtr sel, std::vector<TCaseBranch> branches, std::vector<TStmtPtr> bodies, TStmtPtr otherwise,
          TScriptPos p)
        : TStmt(std::move(p)), Selector(std::move(sel)), Branches(std::move(branches)),
          Bodies(std::move(bodies)), Else(std::move(otherwise)) {}
    TFlow Exec(TRuntime& rt) override {
        TStmt* chosen = Else.get();
        if (Selector->Type->IsOrdinal()) {
            const int64_t v = Selector->EvalInt(rt);
            for (const TCaseBranch& b : Branches) {
                if (v >= b.Low.Int() && v <= b.High.Int()) {
                    chosen = b.Body;
                    break;
                }
            }
        } else {
            const TVariant v = Selector->EvalVar(rt);
            try {
                for (const TCaseBranch& b : Branches) {
                    if (CompareVariants(v, b.Low) >= 0 && CompareVariants(v, b.High) <= 0) {
                        chosen = b.Body;
                        break;
                    }
                }
            } catch (const std::exception& e) {
                RuntimeError(rt, Pos, e.what());
            }
        }
        return chosen ? chosen->Exec(rt) : TFlow::Normal;
    }
    TExprPtr Selector;
    std::vector<TCaseBranch> Branches;
    std::vector<TStmtPtr> Bodies;
    TStmtPtr Else;
};

struct TFlowStmt final : TStmt {
    TFlowStmt(TFlow f, TScriptPos p) : TStmt(std::move(p)), Flow(f) {}
    TFlow Exec(TRuntime&) override { return Flow; }
    TFlow Flow;
};

struct TStrayFlow final : TStmt {
    TStrayFlow(TFlow f, TScriptPos p) : TStmt(std::move(p)), Flow(f) {}
    TFlow Exec(TRuntime& rt) override {
        RuntimeError(rt, Pos,
                     Flow == TFlow::Break ? "break without for/while/repeat or case"
                                          : "continue without for/while/repeat or case");
    }
    TFlow Flow;
};

struct TTryExcept final : TStmt {
    TTryExcept(TStmtPtr body, std::vector<TExceptHandler> handlers, TScriptPos p)
        : TStmt(std::move(p)), Body(std::move(body)), Handlers(std::move(handlers)) {}
    TFlow Exec(TRuntime& rt) override {
        try {
            return Body->Exec(rt);
        } catch (const EScriptRaise& e) {
            const TObjectRep* o = e.Object.Obj();
            for (TExceptHandler& h : Handlers) {
                if (!h.ClassType || (o && o->Class->InheritsFrom(*h.ClassType))) {
                    if (h.Var) {
                        *h.Var->Addr(rt) = e.Object;
                    }
                    return h.Body ? h.Body->Exec(rt) : TFlow::Normal;
                }
            }
            throw;
        }
    }
    TStmtPtr Body;
    std::vector<TExceptHandler> Handlers;
};

struct TTryFinally final : TStmt {
    TTryFinally(TStmtPtr body, TStmtPtr final, TScriptPos p)
        : TStmt(std::move(p)), Body(std::move(body)), Final(std::move(final)) {}
    TFlow Exec(TRuntime& rt) override {
        TFlow flow = TFlow::Normal;
        try {
            flow = Body->Exec(rt);
        } catch (...) {
            Final->Exec(rt);
            throw;
        }
        const TFlow after = Final->Exec(rt);
        return after != TFlow::Normal ? after : flow;
    }
    TStmtPtr Body, Final;
};

struct TRaise final : TStmt {
    TRaise(TExprPtr e, TScriptPos p) : TStmt(std::move(p)), E(std::move(e)) {}
    TFlow Exec(TRuntime& rt) override {
        TVariant object = E->EvalVar(rt);
        if (!object.Obj()) {
            RuntimeError(rt, Pos, "Object not instantiated");
        }
        throw EScriptRaise{std::move(object), Pos};
    }
    TExprPtr E;
};

// An assignment to a slot fixed at compile time (a variable or a member of a record variable),
// stored in place; nullptr for a computed place.
template <template <TVarPlace> class Pick>
TStmtPtr AssignFixedSlot(TExprPtr& place, TExprPtr& value, TScriptPos& pos) {
    if (const TVarSym* v = place->Variable()) {
        switch (v->Place) {
        case TVarPlace::Global:
            return Pick<TVarPlace::Global>::Make(v->Offset, std::move(value), std::move(pos));
        case TVarPlace::Local:
            return Pick<TVarPlace::Local>::Make(v->Offset, std::move(value), std::move(pos));
        default:
            return Pick<TVarPlace::LocalRef>::Make(v->Offset, std::move(value), std::move(pos));
        }
    }
    if (const auto* g = dynamic_cast<const nodes::TSlotNode<TVarPlace::Global>*>(place.get())) {
        return Pick<TVarPlace::Global>::Make(g->Off + g->Inner, std::move(value), std::move(pos));
    }
    if (const auto* l = dynamic_cast<const nodes::TSlotNode<TVarPlace::Local>*>(place.get())) {
        return Pick<TVarPlace::Local>::Make(l->Off + l->Inner, std::move(value), std::move(pos));
    }
    return nullptr;
}

template <TVarPlace P> struct TPickInt {
    static TStmtPtr Make(int32_t off, TExprPtr value, TScriptPos pos) {
        return std::make_unique<TAssignIntVar<P>>(off, std::move(value), std::move(pos));
    }
};

template <TVarPlace P> struct TPickFloat {
    static TStmtPtr Make(int32_t off, TExprPtr value, TScriptPos pos) {
        return std::make_unique<TAssignFloatVar<P>>(off, std::move(value), std::move(pos));
    }
};

} // namespace

TStmtPtr MakeAddAssign(TExprPtr place, TExprPtr rest, bool sub, TScriptPos pos) {
    const TVarSym* v = place->Variable();
    if (TVariant k; ConstValue(*rest, k) && k.Kind() == TVarKind::Integer) {
        // "v := v - k" adds -k, wrapping around as the machine's subtraction does.
        const uint64_t delta = sub ? 0 - static_cast<uint64_t>(k.Int()) : static_cast<uint64_t>(k.Int());
        switch (v->Place) {
        case TVarPlace::Global:
            return std::make_unique<TAddConstIntVar<TVarPlace::Global>>(v->Offset, delta, std::move(pos));
        case TVarPlace::Local:
            return std::make_unique<TAddConstIntVar<TVarPlace::Local>>(v->Offset, delta, std::move(pos));
        default:
            return std::make_unique<TAddConstIntVar<TVarPlace::LocalRef>>(v->Offset, delta, std::move(pos));
        }
    }
    switch (v->Place) {
    case TVarPlace::Global:
        return sub ? TStmtPtr(std::make_unique<TAddAssignIntVar<TVarPlace::Global, true>>(
                         v->Offset, std::move(rest), std::move(pos)))
                   : std::make_unique<TAddAssignIntVar<TVarPlace::Global, false>>(v->Offset, std::move(rest),
                                                                                  std::move(pos));
    case TVarPlace::Local:
        return sub ? TStmtPtr(std::make_unique<TAddAssignIntVar<TVarPlace::Local, true>>(
                         v->Offset, std::move(rest), std::move(pos)))
                   : std::make_unique<TAddAssignIntVar<TVarPlace::Local, false>>(v->Offset, std::move(rest),
                                                                                 std::move(pos));
    default:
        return sub ? TStmtPtr(std::make_unique<TAddAssignIntVar<TVarPlace::LocalRef, true>>(
                         v->Offset, std::move(rest), std::move(pos)))
                   : std::make_unique<TAddAssignIntVar<TVarPlace::LocalRef, false>>(
                         v->Offset, std::move(rest), std::move(pos));
    }
}

TStmtPtr MakeAppend(TExprPtr place, TExprPtr tail, TScriptPos pos) {
    TVariant k;
    if (ConstValue(*tail, k) && k.Kind() == TVarKind::String) {
        return std::make_unique<TAppendStr<true>>(std::move(place), std::move(tail), std::move(pos),
                                                  std::string(k.StrView()));
    }
    return std::make_unique<TAppendStr<false>>(std::move(place), std::move(tail), std::move(pos));
}

TStmtPtr MakeAssign(TExprPtr place, TExprPtr value, TScriptPos pos) {
    switch (place->Type->Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Enum:
        if (TStmtPtr s = AssignFixedSlot<TPickInt>(place, value, pos)) {
            return s;
        }
        if (TStmtPtr s = AssignIntElement(place, value, pos)) {
            return s;
        }
        return std::make_unique<TAssignInt>(std::move(place), std::move(value), std::move(pos));
    case TTypeKind::Float:
        if (TStmtPtr s = AssignFixedSlot<TPickFloat>(place, value, pos)) {
            return s;
        }
        return std::make_unique<TAssignFloat>(std::move(place), std::move(value), std::move(pos));
    case TTypeKind::Boolean:
        return std::make_unique<TAssignBool>(std::move(place), std::move(value), std::move(pos));
    case TTypeKind::Record:
    case TTypeKind::StaticArray:
        return std::make_unique<TAssignSlots>(std::move(place), std::move(value), std::move(pos));
    default:
        return std::make_unique<TAssignRef>(std::move(place), std::move(value), std::move(pos));
    }
}

TStmtPtr MakeExprStmt(TExprPtr call) {
    return std::make_unique<TExprStmt>(std::move(call));
}

TStmtPtr MakeBlock(std::vector<TStmtPtr> statements, TScriptPos pos) {
    switch (statements.size()) {
    case 1:
        return std::move(statements.front());
    case 2:
        return std::make_unique<TShortBlock<2>>(std::move(statements), std::move(pos));
    case 3:
        return std::make_unique<TShortBlock<3>>(std::move(statements), std::move(pos));
    case 4:
        return std::make_unique<TShortBlock<4>>(std::move(statements), std::move(pos));
    default:
        return std::make_unique<TBlock>(std::move(statements), std::move(pos));
    }
}

TStmtPtr MakeIf(TExprPtr cond, TStmtPtr then, TStmtPtr otherwise, TScriptPos pos) {
    return std::make_unique<TIf>(std::move(cond), std::move(then), std::move(otherwise), std::move(pos));
}

TStmtPtr MakeWhile(TExprPtr cond, TStmtPtr body, TScriptPos pos) {
    return std::make_unique<TWhile>(std::move(cond), std::move(body), std::move(pos));
}

TStmtPtr MakeRepeat(TStmtPtr body, TExprPtr cond, TScriptPos pos) {
    return std::make_unique<TRepeat>(std::move(body), std::move(cond), std::move(pos));
}

TStmtPtr MakeFor(TExprPtr var, TExprPtr from, TExprPtr to, bool down, TStmtPtr body, TScriptPos pos) {
    if (down) {
        return std::make_unique<TFor<true>>(std::move(var), std::move(from), std::move(to), std::move(body),
                                            std::move(pos));
    }
    return std::make_unique<TFor<false>>(std::move(var), std::move(from), std::move(to), std::move(body),
                                         std::move(pos));
}

TStmtPtr MakeCase(TExprPtr selector, std::vector<TCaseBranch> branches, std::vector<TStmtPtr> bodies,
                  TStmtPtr otherwise, TScriptPos pos) {
    return std::make_unique<TCase>(std::move(selector), std::move(branches), std::move(bodies),
                                   std::move(otherwise), std::move(pos));
}

TStmtPtr MakeFlow(TFlow flow, TScriptPos pos) {
    return std::make_unique<TFlowStmt>(flow, std::move(pos));
}

TStmtPtr MakeStrayFlow(TFlow flow, TScriptPos pos) {
    return std::make_unique<TStrayFlow>(flow, std::move(pos));
}

TStmtPtr MakeTryExcept(TStmtPtr body, std::vector<TExceptHandler> handlers, TScriptPos pos) {
    return std::make_unique<TTryExcept>(std::move(body), std::move(handlers), std::move(pos));
}

TStmtPtr MakeTryFinally(TStmtPtr body, TStmtPtr final, TScriptPos pos) {
    return std::make_unique<TTryFinally>(std::move(body), std::move(final), std::move(pos));
}

TStmtPtr MakeRaise(TExprPtr object, TScriptPos pos) {
    return std::make_unique<TRaise>(std::move(object), std::move(pos));
}

TStmtPtr MakeReraise(TExprPtr current, TScriptPos pos) {
    return std::make_unique<TRaise>(std::move(current), std::move(pos));
}
