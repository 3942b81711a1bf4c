// How the Integer and Float operator nodes read their operands: a variable of the current frame
// or the globals, or a constant, in place; anything else through its own node. The builder
// picks the reader of each operand once, at compile time, so "n < 2" or "f.X > 100.0" costs
// one virtual call, not three. Not for use outside the tree's own code.
#pragma once

#include "script/NodesInternal.h"

#include <type_traits>

namespace nodes::operands {

// T is int64_t for the Integer nodes and double for the Float ones.
template <typename T> T Read(const TVariant& v) {
    if constexpr (std::is_same_v<T, int64_t>)
        return v.Int();
    else
        return v.Flt();
}

template <typename T> struct TLeafExpr {
    explicit TLeafExpr(TExpr& e) : E(&e) {}
    T Get(TRuntime& rt) const {
        if constexpr (std::is_same_v<T, int64_t>)
            return E->EvalInt(rt);
        else
            return E->EvalFloat(rt);
    }
    TExpr* E;
};

template <typename T, TVarPlace P> struct TLeafVar {
    explicit TLeafVar(int32_t off) : Off(off) {}
    T Get(TRuntime& rt) const { return Read<T>(*VarSlot<P>(rt, Off)); }
    static constexpr TVarPlace Place = P;
    int32_t Off;
};

// A static array element read in place: "a[j]", "a[j + 1]" with a and j variables.
template <typename T> struct TLeafElement {
    explicit TLeafElement(const TElementRead& r) : R(r) {}
    // Inlined: the point is to save the call.
    [[gnu::always_inline]] T Get(TRuntime& rt) const { return Read<T>(*Slot(rt)); }
    [[gnu::always_inline]] TVariant* Slot(TRuntime& rt) const {
        const TVariant* idx = (R.IndexGlobal ? rt.Globals : rt.Frame) + R.IndexOff;
        const int64_t i = Wrap(static_cast<uint64_t>(idx->Int()) + static_cast<uint64_t>(R.K));
        // One unsigned compare checks both bounds.
        const uint64_t at = static_cast<uint64_t>(i) - static_cast<uint64_t>(R.Low);
        if (at > static_cast<uint64_t>(R.High) - static_cast<uint64_t>(R.Low)) [[unlikely]] {
            BoundError(rt, *R.Pos, i > R.High, i);
        }
        TVariant* base = (R.BaseGlobal ? rt.Globals : rt.Frame) + R.BaseOff;
        return base + static_cast<int64_t>(at) * R.ElemSlots + R.Inner;
    }
    TElementRead R;
};

template <typename T> struct TLeafConst {
    explicit TLeafConst(T k) : K(k) {}
    T Get(TRuntime&) const { return K; }
    T K;
};

// What an operand is: its kind and, for a variable, its slot.
template <typename T> struct TLeaf {
    enum class TKind : uint8_t { Expr, Const, Global, Local, Element } Kind = TKind::Expr;
    TElementRead Element;
    int32_t Off = 0;
    T K = 0;
};

template <typename T> TLeaf<T> Classify(TExpr& e) {
    constexpr TVarKind constKind = std::is_same_v<T, int64_t> ? TVarKind::Integer : TVarKind::Float;
    TLeaf<T> leaf;
    TVariant k;
    if (ConstValue(e, k) && k.Kind() == constKind) {
        leaf.Kind = TLeaf<T>::TKind::Const;
        leaf.K = Read<T>(k);
    } else if (const auto* g = dynamic_cast<const TVarNode<TVarPlace::Global>*>(&e)) {
        leaf.Kind = TLeaf<T>::TKind::Global;
        leaf.Off = g->Off;
    } else if (const auto* l = dynamic_cast<const TVarNode<TVarPlace::Local>*>(&e)) {
        leaf.Kind = TLeaf<T>::TKind::Local;
        leaf.Off = l->Off;
    } else if (const auto* sg = dynamic_cast<const TSlotNode<TVarPlace::Global>*>(&e)) {
        leaf.Kind = TLeaf<T>::TKind::Global;
        leaf.Off = sg->Off + sg->Inner;
    } else if (const auto* sl = dynamic_cast<const TSlotNode<TVarPlace::Local>*>(&e)) {
        leaf.Kind = TLeaf<T>::TKind::Local;
        leaf.Off = sl->Off + sl->Inner;
    } else if (e.Type && e.Type->Kind == (std::is_same_v<T, int64_t> ? TTypeKind::Integer : TTypeKind::Float) &&
               ElementInPlace(e, leaf.Element)) {
        leaf.Kind = TLeaf<T>::TKind::Element;
    }
    return leaf;
}

// Node<Op, A, B> is the operator node with left reader A and right reader B.
template <template <TBinOp, typename, typename> class Node, TBinOp Op, typename T, typename A>
TExprPtr WithRight(TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p, A a, const TLeaf<T>& rl) {
    TExpr& re = *r;
    switch (rl.Kind) {
    case TLeaf<T>::TKind::Const:
        return std::make_unique<Node<Op, A, TLeafConst<T>>>(std::move(l), std::move(r), t, std::move(p), a,
                                                            TLeafConst<T>(rl.K));
    case TLeaf<T>::TKind::Global:
        return std::make_unique<Node<Op, A, TLeafVar<T, TVarPlace::Global>>>(
            std::move(l), std::move(r), t, std::move(p), a, TLeafVar<T, TVarPlace::Global>(rl.Off));
    case TLeaf<T>::TKind::Local:
        return std::make_unique<Node<Op, A, TLeafVar<T, TVarPlace::Local>>>(
            std::move(l), std::move(r), t, std::move(p), a, TLeafVar<T, TVarPlace::Local>(rl.Off));
    case TLeaf<T>::TKind::Element:
        return std::make_unique<Node<Op, A, TLeafElement<T>>>(std::move(l), std::move(r), t, std::move(p), a,
                                                              TLeafElement<T>(rl.Element));
    default:
        return std::make_unique<Node<Op, A, TLeafExpr<T>>>(std::move(l), std::move(r), t, std::move(p), a,
                                                           TLeafExpr<T>(re));
    }
}

// Only the right operand is read in place when it is a constant; a constant on the left is read
// through its node.
template <template <TBinOp, typename, typename> class Node, TBinOp Op, typename T>
TExprPtr Build(TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p) {
    const TLeaf<T> ll = Classify<T>(*l);
    const TLeaf<T> rl = Classify<T>(*r);
    TExpr& le = *l;
    switch (ll.Kind) {
    case TLeaf<T>::TKind::Global:
        return WithRight<Node, Op>(std::move(l), std::move(r), t, std::move(p),
                                   TLeafVar<T, TVarPlace::Global>(ll.Off), rl);
    case TLeaf<T>::TKind::Local:
        return WithRight<Node, Op>(std::move(l), std::move(r), t, std::move(p),
                                   TLeafVar<T, TVarPlace::Local>(ll.Off), rl);
    case TLeaf<T>::TKind::Element:
        return WithRight<Node, Op>(std::move(l), std::move(r), t, std::move(p), TLeafElement<T>(ll.Element), rl);
    default:
        return WithRight<Node, Op>(std::move(l), std::move(r), t, std::move(p), TLeafExpr<T>(le), rl);
    }
}

} // namespace nodes::operands
