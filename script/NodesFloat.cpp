// The Float operator nodes, with operands read in place as the Integer ones are: "f.X > 100.0"
// is one virtual call.
#include "script/NodesInternal.h"

namespace nodes {
namespace {

struct TLeafExpr {
    explicit TLeafExpr(TExpr& e) : E(&e) {}
    double Get(TRuntime& rt) const { return E->EvalFloat(rt); }
    TExpr* E;
};

template <TVarPlace P> struct TLeafVar {
    explicit TLeafVar(int32_t off) : Off(off) {}
    double Get(TRuntime& rt) const { return VarSlot<P>(rt, Off)->Flt(); }
    int32_t Off;
};

struct TLeafConst {
    explicit TLeafConst(double k) : K(k) {}
    double Get(TRuntime&) const { return K; }
    double K;
};

template <TBinOp Op> double FloatOp(double a, double b) {
    if constexpr (Op == TBinOp::Add) {
        return a + b;
    } else if constexpr (Op == TBinOp::Sub) {
        return a - b;
    } else if constexpr (Op == TBinOp::Mul) {
        return a * b;
    } else {
        return a / b;
    }
}

template <TBinOp Op, typename A, typename B> struct TFloatOpNode final : TBinNode {
    TFloatOpNode(TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p, A a, B b)
        : TBinNode(std::move(l), std::move(r), t, std::move(p)), La(a), Rb(b) {
        Operator = Op;
    }
    double EvalFloat(TRuntime& rt) override { return FloatOp<Op>(La.Get(rt), Rb.Get(rt)); }
    bool EvalBool(TRuntime& rt) override { return Compare<Op>(La.Get(rt), Rb.Get(rt)); }
    A La;
    B Rb;
};

struct TLeaf {
    enum class TKind : uint8_t { Expr, Const, Global, Local } Kind = TKind::Expr;
    int32_t Off = 0;
    double K = 0;
};

TLeaf Classify(TExpr& e) {
    TLeaf leaf;
    TVariant k;
    if (ConstValue(e, k) && k.Kind() == TVarKind::Float) {
        leaf.Kind = TLeaf::TKind::Const;
        leaf.K = k.Flt();
    } else if (const auto* g = dynamic_cast<const TVarNode<TVarPlace::Global>*>(&e)) {
        leaf.Kind = TLeaf::TKind::Global;
        leaf.Off = g->Off;
    } else if (const auto* l = dynamic_cast<const TVarNode<TVarPlace::Local>*>(&e)) {
        leaf.Kind = TLeaf::TKind::Local;
        leaf.Off = l->Off;
    } else if (const auto* sg = dynamic_cast<const TSlotNode<TVarPlace::Global>*>(&e)) {
        leaf.Kind = TLeaf::TKind::Global;
        leaf.Off = sg->Off + sg->Inner;
    } else if (const auto* sl = dynamic_cast<const TSlotNode<TVarPlace::Local>*>(&e)) {
        leaf.Kind = TLeaf::TKind::Local;
        leaf.Off = sl->Off + sl->Inner;
    }
    return leaf;
}

template <TBinOp Op, typename A>
TExprPtr WithRight(TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p, A a, const TLeaf& rl) {
    TExpr& re = *r;
    switch (rl.Kind) {
    case TLeaf::TKind::Const:
        return std::make_unique<TFloatOpNode<Op, A, TLeafConst>>(std::move(l), std::move(r), t, std::move(p),
                                                                 a, TLeafConst(rl.K));
    case TLeaf::TKind::Global:
        return std::make_unique<TFloatOpNode<Op, A, TLeafVar<TVarPlace::Global>>>(
            std::move(l), std::move(r), t, std::move(p), a, TLeafVar<TVarPlace::Global>(rl.Off));
    case TLeaf::TKind::Local:
        return std::make_unique<TFloatOpNode<Op, A, TLeafVar<TVarPlace::Local>>>(
            std::move(l), std::move(r), t, std::move(p), a, TLeafVar<TVarPlace::Local>(rl.Off));
    default:
        return std::make_unique<TFloatOpNode<Op, A, TLeafExpr>>(std::move(l), std::move(r), t, std::move(p),
                                                                a, TLeafExpr(re));
    }
}

template <TBinOp Op> TExprPtr Build(TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p) {
    const TLeaf ll = Classify(*l);
    const TLeaf rl = Classify(*r);
    TExpr& le = *l;
    switch (ll.Kind) {
    case TLeaf::TKind::Global:
        return WithRight<Op>(std::move(l), std::move(r), t, std::move(p), TLeafVar<TVarPlace::Global>(ll.Off),
                             rl);
    case TLeaf::TKind::Local:
        return WithRight<Op>(std::move(l), std::move(r), t, std::move(p), TLeafVar<TVarPlace::Local>(ll.Off),
                             rl);
    default:
        return WithRight<Op>(std::move(l), std::move(r), t, std::move(p), TLeafExpr(le), rl);
    }
}

} // namespace

TExprPtr MakeFloatBinary(TBinOp op, TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p) {
    switch (op) {
    case TBinOp::Add:
        return Build<TBinOp::Add>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Sub:
        return Build<TBinOp::Sub>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Mul:
        return Build<TBinOp::Mul>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Eq:
        return Build<TBinOp::Eq>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Ne:
        return Build<TBinOp::Ne>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Lt:
        return Build<TBinOp::Lt>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Le:
        return Build<TBinOp::Le>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Gt:
        return Build<TBinOp::Gt>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Ge:
        return Build<TBinOp::Ge>(std::move(l), std::move(r), t, std::move(p));
    default:
        return Build<TBinOp::Div>(std::move(l), std::move(r), t, std::move(p));
    }
}

} // namespace nodes
