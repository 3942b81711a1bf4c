// Node classes shared by the Nodes*.cpp files: constants, variable slots, places and the
// Integer operator kernels. Not for use outside the tree's own code.
#pragma once

#include "script/Nodes.h"
#include "script/Runtime.h"

#include <algorithm>

namespace nodes {

// Integer arithmetic wraps around, as the machine's does, instead of being undefined.
inline int64_t Wrap(uint64_t v) {
    return static_cast<int64_t>(v);
}

template <TVarPlace P> inline TVariant* VarSlot(TRuntime& rt, int32_t off) {
    if constexpr (P == TVarPlace::Global) {
        return rt.Globals + off;
    } else if constexpr (P == TVarPlace::Local) {
        return rt.Frame + off;
    } else {
        return rt.Frame[off].Ref();
    }
}

// ---- constants

struct TIntConst final : TExpr {
    TIntConst(const TTypeSym& t, int64_t v, TScriptPos p) : TExpr(&t, std::move(p)), V(v) {}
    int64_t EvalInt(TRuntime&) override { return V; }
    int64_t V;
};

struct TFloatConst final : TExpr {
    TFloatConst(const TTypeSym& t, double v, TScriptPos p) : TExpr(&t, std::move(p)), V(v) {}
    double EvalFloat(TRuntime&) override { return V; }
    double V;
};

struct TBoolConst final : TExpr {
    TBoolConst(const TTypeSym& t, bool v, TScriptPos p) : TExpr(&t, std::move(p)), V(v) {}
    bool EvalBool(TRuntime&) override { return V; }
    bool V;
};

struct TVarConst final : TExpr {
    TVarConst(const TTypeSym& t, TVariant v, TScriptPos p) : TExpr(&t, std::move(p)), V(std::move(v)) {}
    TVariant EvalVar(TRuntime&) override { return V; }
    TVariant V;
};

template <TVarPlace P> struct TVarNode final : TExpr {
    TVarNode(const TVarSym& v, TScriptPos p) : TExpr(v.Type, std::move(p)), Sym(&v), Off(v.Offset) {}
    TVariant* Slot(TRuntime& rt) const {
        if constexpr (P == TVarPlace::Global) {
            return rt.Globals + Off;
        } else if constexpr (P == TVarPlace::Local) {
            return rt.Frame + Off;
        } else {
            return rt.Frame[Off].Ref();
        }
    }
    int64_t EvalInt(TRuntime& rt) override { return Slot(rt)->Int(); }
    double EvalFloat(TRuntime& rt) override { return Slot(rt)->Flt(); }
    bool EvalBool(TRuntime& rt) override { return Slot(rt)->Bool(); }
    TVariant EvalVar(TRuntime& rt) override {
        if (Type->IsScalar()) {
            return *Slot(rt);
        }
        return TExpr::EvalVar(rt);
    }
    TVariant* Addr(TRuntime& rt) override { return Slot(rt); }
    bool IsAssignable() const override { return !Sym->ReadOnly; }
    bool HasPlace() const override { return true; }
    const TVarSym* Variable() const override { return Sym; }
    const TVarSym* Sym;
    int32_t Off;
};

// A slot at a fixed offset from a variable: a member of a record variable (f.Health), an
// element of a static array with a constant index.
template <TVarPlace P> struct TSlotNode final : TExpr {
    TSlotNode(const TTypeSym& t, int32_t off, int32_t inner, bool assignable, TScriptPos p)
        : TExpr(&t, std::move(p)), Off(off), Inner(inner), Assignable(assignable) {}
    TVariant* Slot(TRuntime& rt) const { return VarSlot<P>(rt, Off) + Inner; }
    int64_t EvalInt(TRuntime& rt) override { return Slot(rt)->Int(); }
    double EvalFloat(TRuntime& rt) override { return Slot(rt)->Flt(); }
    bool EvalBool(TRuntime& rt) override { return Slot(rt)->Bool(); }
    TVariant EvalVar(TRuntime& rt) override {
        if (Type->IsScalar()) {
            return *Slot(rt);
        }
        return TExpr::EvalVar(rt);
    }
    TVariant* Addr(TRuntime& rt) override { return Slot(rt); }
    bool IsAssignable() const override { return Assignable; }
    bool HasPlace() const override { return true; }
    int32_t Off, Inner;
    bool Assignable;
};

// A place computed from another place: members, elements. D::Place finds it; reading goes
// straight to D's code, not through another virtual call.
template <typename D> struct TPlaceNode : TExpr {
    using TExpr::TExpr;
    TVariant* At(TRuntime& rt) { return static_cast<D*>(this)->Place(rt); }
    TVariant* Addr(TRuntime& rt) override { return At(rt); }
    int64_t EvalInt(TRuntime& rt) override { return At(rt)->Int(); }
    double EvalFloat(TRuntime& rt) override { return At(rt)->Flt(); }
    bool EvalBool(TRuntime& rt) override { return At(rt)->Bool(); }
    TVariant EvalVar(TRuntime& rt) override {
        if (Type->IsScalar()) {
            return *At(rt);
        }
        return TExpr::EvalVar(rt);
    }
    bool IsAssignable() const override { return Assignable; }
    bool HasPlace() const override { return true; }
    bool Assignable = true;
};

template <TBinOp Op> int64_t IntOp(TRuntime& rt, const TScriptPos& pos, int64_t a, int64_t b) {
    if constexpr (Op == TBinOp::Add) {
        return Wrap(uint64_t(a) + uint64_t(b));
    } else if constexpr (Op == TBinOp::Sub) {
        return Wrap(uint64_t(a) - uint64_t(b));
    } else if constexpr (Op == TBinOp::Mul) {
        return Wrap(uint64_t(a) * uint64_t(b));
    } else if constexpr (Op == TBinOp::IntDiv || Op == TBinOp::Mod) {
        if (b == 0) {
            RuntimeError(rt, pos, "Division by zero");
        }
        if (b == -1) { // INT64_MIN div -1 does not fit; it wraps like the other operators
            return Op == TBinOp::IntDiv ? Wrap(0 - uint64_t(a)) : 0;
        }
        // A 32-bit division is several times cheaper than a 64-bit one on most machines.
        if (a == static_cast<int32_t>(a) && b == static_cast<int32_t>(b)) {
            const int32_t x = static_cast<int32_t>(a);
            const int32_t y = static_cast<int32_t>(b);
            return Op == TBinOp::IntDiv ? x / y : x % y;
        }
        return Op == TBinOp::IntDiv ? a / b : a % b;
    } else if constexpr (Op == TBinOp::And) {
        return a & b;
    } else if constexpr (Op == TBinOp::Or) {
        return a | b;
    } else {
        return a ^ b;
    }
}

template <TBinOp Op, typename T> bool Compare(T a, T b) {
    if constexpr (Op == TBinOp::Eq) {
        return a == b;
    } else if constexpr (Op == TBinOp::Ne) {
        return a != b;
    } else if constexpr (Op == TBinOp::Lt) {
        return a < b;
    } else if constexpr (Op == TBinOp::Le) {
        return a <= b;
    } else if constexpr (Op == TBinOp::Gt) {
        return a > b;
    } else {
        return a >= b;
    }
}

struct TBinNode : TExpr {
    TBinNode(TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p)
        : TExpr(&t, std::move(p)), L(std::move(l)), R(std::move(r)) {
        Depth = std::max(L->Depth, R->Depth) + 1;
    }
    TExprPtr L, R;
    TBinOp Operator = TBinOp::Eq;
};

// Whether finding e's value runs no script code: a constant, a variable, a member of one, an
// element with a variable or constant index.
bool RunsNoCode(const TExpr& e);

[[noreturn]] void BoundError(TRuntime& rt, const TScriptPos& pos, bool upper, int64_t index);
// Makes an element of a static array give its member instead; false for any other node.
bool FoldMember(TExpr& element, const TMemberSym& member);
// A static array element found with no code run: the array a variable of the current frame or
// the globals, the index such a variable plus a constant.
struct TElementRead {
    bool BaseGlobal = false, IndexGlobal = false;
    int32_t BaseOff = 0, IndexOff = 0, ElemSlots = 0, Inner = 0;
    int64_t K = 0, Low = 0, High = 0;
    const TScriptPos* Pos = nullptr;
};
bool ElementInPlace(const TExpr& e, TElementRead& out);

TExprPtr MakeIntBinary(TBinOp op, TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p);
TExprPtr MakeFloatBinary(TBinOp op, TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p);
bool IsIntAddOrSub(const TExpr& e, bool& sub);

} // namespace nodes
