// The Float operator nodes, with operands read in place as the Integer ones are: "f.X > 100.0"
// is one virtual call.
#include "script/NodesOperands.h"

namespace nodes {
namespace {

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
    // The left operand first: C++ leaves the order of arguments open, the language does not.
    double EvalFloat(TRuntime& rt) override {
        const double a = La.Get(rt);
        return FloatOp<Op>(a, Rb.Get(rt));
    }
    bool EvalBool(TRuntime& rt) override {
        const double a = La.Get(rt);
        return Compare<Op>(a, Rb.Get(rt));
    }
    A La;
    B Rb;
};

template <TBinOp Op> TExprPtr Build(TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p) {
    return operands::Build<TFloatOpNode, Op, double>(std::move(l), std::move(r), t, std::move(p));
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
