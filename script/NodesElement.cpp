// Elements of static arrays. The index is read in place where it is a variable of the current
// frame or the globals, perhaps plus or minus a constant ("a[j]", "a[j + 1]"), and a member of
// the element folds into the same node ("u[i].X"), so such a read costs one virtual call.
#include "script/NodesOperands.h"

namespace nodes {
namespace {

using operands::TLeaf;
using operands::TLeafExpr;
using operands::TLeafVar;

// An index that is only its constant part.
struct TNoIndex {
    int64_t Get(TRuntime&) const { return 0; }
};

template <typename I> struct IsVarReader : std::false_type {};
template <TVarPlace P> struct IsVarReader<TLeafVar<int64_t, P>> : std::true_type {};

// What every element node shares, so a member selection can fold into it.
struct TElementBase {
    virtual ~TElementBase() = default;
    int32_t Inner = 0;     // the member's offset within the element
    bool RunsCode = true; // whether the index or the array's place is found through other nodes
    // Fills out when the base is a variable and the index a variable plus a constant.
    virtual bool InPlace(TElementRead& out) const = 0;
};

// B is the place of the array variable whose first slot is found in place (void: through Arr);
// I reads the index's variable part, K is its constant part.
template <typename B, typename I> struct TStaticIndexNode final : TPlaceNode<TStaticIndexNode<B, I>>, TElementBase {
    using Base = TPlaceNode<TStaticIndexNode<B, I>>;
    TStaticIndexNode(TExprPtr arr, TExprPtr index, TScriptPos p, int32_t off, I reader, int64_t k)
        : Base(arr->Type->Elem, std::move(p)), Arr(std::move(arr)), Index(std::move(index)),
          Low(Arr->Type->Low), High(Arr->Type->High), ElemSlots(Arr->Type->Elem->Slots), Off(off),
          Reader(reader), K(k) {
        this->Assignable = Arr->IsAssignable();
        this->Depth = std::max(Arr->Depth, Index->Depth) + 1;
        RunsCode = std::is_same_v<B, void> || std::is_same_v<I, TLeafExpr<int64_t>>;
    }
    TVariant* Place(TRuntime& rt) { return Find<false>(rt, nullptr); }
    bool InsideArrayOrObject() const override {
        return std::is_same_v<B, void> && Arr->InsideArrayOrObject();
    }
    TVariant* AddrHeld(TRuntime& rt, TVariant& hold) override { return Find<true>(rt, &hold); }
    bool InPlace(TElementRead& out) const override {
        if constexpr (std::is_same_v<B, void> || !IsVarReader<I>::value) {
            return false;
        } else {
            out.BaseGlobal = B::Place == TVarPlace::Global;
            out.BaseOff = Off;
            out.IndexGlobal = I::Place == TVarPlace::Global;
            out.IndexOff = Reader.Off;
            out.K = K;
            out.Low = Low;
            out.High = High;
            out.ElemSlots = ElemSlots;
            out.Inner = Inner;
            out.Pos = &this->Pos;
            return true;
        }
    }
    template <bool Held> TVariant* Find(TRuntime& rt, TVariant* hold) {
        // The index first: a routine it calls may resize the array the base lies in.
        const int64_t i = Wrap(static_cast<uint64_t>(Reader.Get(rt)) + static_cast<uint64_t>(K));
        TVariant* base;
        if constexpr (std::is_same_v<B, void>) {
            if constexpr (Held) {
                base = Arr->AddrHeld(rt, *hold);
            } else {
                base = Arr->Addr(rt);
            }
        } else {
            base = VarSlot<B::Place>(rt, Off);
        }
        // One unsigned compare checks both bounds.
        const uint64_t at = static_cast<uint64_t>(i) - static_cast<uint64_t>(Low);
        if (at > static_cast<uint64_t>(High) - static_cast<uint64_t>(Low)) [[unlikely]] {
            BoundError(rt, this->Pos, i > High, i);
        }
        return base + static_cast<int64_t>(at) * ElemSlots + Inner;
    }
    TExprPtr Arr, Index;
    int64_t Low, High;
    int32_t ElemSlots;
    int32_t Off;
    I Reader;
    int64_t K;
};

template <TVarPlace P> struct TPlaceTag {
    static constexpr TVarPlace Place = P;
};

template <typename B> TExprPtr WithIndex(TExprPtr array, TExprPtr index, TScriptPos pos, int32_t off) {
    // "v + c" and "v - c" on a variable v: the constant joins the index's constant part.
    TExpr* variable = index.get();
    int64_t k = 0;
    if (const auto* bin = dynamic_cast<const TBinNode*>(index.get());
        bin && bin->Type && bin->Type->Kind == TTypeKind::Integer &&
        (bin->Operator == TBinOp::Add || bin->Operator == TBinOp::Sub)) {
        TVariant c;
        const TLeaf<int64_t> left = operands::Classify<int64_t>(*bin->L);
        if (ConstValue(*bin->R, c) && c.Kind() == TVarKind::Integer &&
            (left.Kind == TLeaf<int64_t>::TKind::Global || left.Kind == TLeaf<int64_t>::TKind::Local)) {
            variable = bin->L.get();
            k = bin->Operator == TBinOp::Add ? c.Int() : Wrap(0 - static_cast<uint64_t>(c.Int()));
        }
    }
    const TLeaf<int64_t> leaf = operands::Classify<int64_t>(*variable);
    switch (leaf.Kind) {
    case TLeaf<int64_t>::TKind::Const:
        return std::make_unique<TStaticIndexNode<B, TNoIndex>>(std::move(array), std::move(index), std::move(pos),
                                                               off, TNoIndex{}, leaf.K);
    case TLeaf<int64_t>::TKind::Global:
        return std::make_unique<TStaticIndexNode<B, TLeafVar<int64_t, TVarPlace::Global>>>(
            std::move(array), std::move(index), std::move(pos), off, TLeafVar<int64_t, TVarPlace::Global>(leaf.Off),
            k);
    case TLeaf<int64_t>::TKind::Local:
        return std::make_unique<TStaticIndexNode<B, TLeafVar<int64_t, TVarPlace::Local>>>(
            std::move(array), std::move(index), std::move(pos), off, TLeafVar<int64_t, TVarPlace::Local>(leaf.Off),
            k);
    default: {
        TExpr& e = *index;
        return std::make_unique<TStaticIndexNode<B, TLeafExpr<int64_t>>>(std::move(array), std::move(index),
                                                                         std::move(pos), off, TLeafExpr<int64_t>(e), 0);
    }
    }
}

} // namespace

void BoundError(TRuntime& rt, const TScriptPos& pos, bool upper, int64_t index) {
    RuntimeError(rt, pos,
                 std::string(upper ? "Upper" : "Lower") + " bound exceeded! Index " + std::to_string(index));
}

bool RunsNoCode(const TExpr& e) {
    TVariant k;
    if (ConstValue(e, k)) {
        return true;
    }
    if (const auto* element = dynamic_cast<const TElementBase*>(&e)) {
        return !element->RunsCode;
    }
    return dynamic_cast<const TVarNode<TVarPlace::Global>*>(&e) || dynamic_cast<const TVarNode<TVarPlace::Local>*>(&e) ||
           dynamic_cast<const TVarNode<TVarPlace::LocalRef>*>(&e) ||
           dynamic_cast<const TSlotNode<TVarPlace::Global>*>(&e) ||
           dynamic_cast<const TSlotNode<TVarPlace::Local>*>(&e) ||
           dynamic_cast<const TSlotNode<TVarPlace::LocalRef>*>(&e);
}

bool ElementInPlace(const TExpr& e, TElementRead& out) {
    const auto* element = dynamic_cast<const TElementBase*>(&e);
    return element && element->InPlace(out);
}

bool FoldMember(TExpr& element, const TMemberSym& member) {
    auto* e = dynamic_cast<TElementBase*>(&element);
    if (!e) {
        return false;
    }
    e->Inner += member.Offset;
    element.Type = member.Type;
    return true;
}

} // namespace nodes

TExprPtr MakeStaticIndex(TExprPtr array, TExprPtr index, TScriptPos pos) {
    using namespace nodes;
    if (const auto* g = dynamic_cast<const TVarNode<TVarPlace::Global>*>(array.get())) {
        const int32_t off = g->Off;
        return WithIndex<TPlaceTag<TVarPlace::Global>>(std::move(array), std::move(index), std::move(pos), off);
    }
    if (const auto* l = dynamic_cast<const TVarNode<TVarPlace::Local>*>(array.get())) {
        const int32_t off = l->Off;
        return WithIndex<TPlaceTag<TVarPlace::Local>>(std::move(array), std::move(index), std::move(pos), off);
    }
    return WithIndex<void>(std::move(array), std::move(index), std::move(pos), 0);
}
