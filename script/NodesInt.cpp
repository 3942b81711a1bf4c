// The Integer operator nodes. The operands that matter most for speed (a variable of the
// current frame or the globals, a constant) are read in place instead of through another
// node, so "n < 2", "i mod 7" and "a[j] > t" cost one virtual call, not three.
#include "script/NodesOperands.h"

#include <cstdint>
#include <type_traits>

namespace nodes {
namespace {

// Division by a constant d from 2 to 2^31 - 1 of a dividend from 0 to 2^32 - 1 as two
// multiplications, where a division takes several times as long: with M = floor((2^64 - 1) / d)
// + 1, the quotient is the high word of M * a and the remainder the high word of the low word
// times d (exact for every such a and d).
struct TConstDivisor {
    explicit TConstDivisor(int64_t d)
        : D(static_cast<uint64_t>(d)),
          M(d >= 2 && d <= INT32_MAX ? UINT64_MAX / static_cast<uint64_t>(d) + 1 : 0) {}
    [[nodiscard]] bool Fits(int64_t a) const { return M != 0 && static_cast<uint64_t>(a) <= UINT32_MAX; }
    [[nodiscard]] int64_t Div(int64_t a) const {
        return static_cast<int64_t>((static_cast<unsigned __int128>(M) * static_cast<uint64_t>(a)) >> 64);
    }
    [[nodiscard]] int64_t Mod(int64_t a) const {
        const uint64_t low = M * static_cast<uint64_t>(a);
        return static_cast<int64_t>((static_cast<unsigned __int128>(low) * D) >> 64);
    }
    uint64_t D, M; // M = 0: the divisor is out of that range
};

template <TBinOp Op, typename B>
inline constexpr bool kByConstant =
    (Op == TBinOp::Mod || Op == TBinOp::IntDiv) && std::is_same_v<B, operands::TLeafConst<int64_t>>;

template <TBinOp Op, typename A, typename B> struct TIntOpNode final : TBinNode {
    TIntOpNode(TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p, A a, B b)
        : TBinNode(std::move(l), std::move(r), t, std::move(p)), La(a), Rb(b) {
        Operator = Op;
        if constexpr (kByConstant<Op, B>) {
            Divisor = TConstDivisor(b.K);
        }
    }
    // The left operand first: C++ leaves the order of arguments open, the language does not.
    int64_t EvalInt(TRuntime& rt) override {
        const int64_t a = La.Get(rt);
        if constexpr (kByConstant<Op, B>) {
            if (Divisor.Fits(a)) {
                return Op == TBinOp::Mod ? Divisor.Mod(a) : Divisor.Div(a);
            }
        }
        return IntOp<Op>(rt, Pos, a, Rb.Get(rt));
    }
    bool EvalBool(TRuntime& rt) override {
        const int64_t a = La.Get(rt);
        return Compare<Op>(a, Rb.Get(rt));
    }
    A La;
    B Rb;
    TConstDivisor Divisor{0}; // used where the right operand is a constant divisor
};

template <TBinOp Op> TExprPtr Build(TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p) {
    return operands::Build<TIntOpNode, Op, int64_t>(std::move(l), std::move(r), t, std::move(p));
}

} // namespace

TExprPtr MakeIntBinary(TBinOp op, TExprPtr l, TExprPtr r, const TTypeSym& t, TScriptPos p) {
    switch (op) {
    case TBinOp::Add:
        return Build<TBinOp::Add>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Sub:
        return Build<TBinOp::Sub>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Mul:
        return Build<TBinOp::Mul>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::IntDiv:
        return Build<TBinOp::IntDiv>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Mod:
        return Build<TBinOp::Mod>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::And:
        return Build<TBinOp::And>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Or:
        return Build<TBinOp::Or>(std::move(l), std::move(r), t, std::move(p));
    case TBinOp::Xor:
        return Build<TBinOp::Xor>(std::move(l), std::move(r), t, std::move(p));
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
    default:
        return Build<TBinOp::Ge>(std::move(l), std::move(r), t, std::move(p));
    }
}

bool IsIntAddOrSub(const TExpr& e, bool& sub) {
    const auto* bin = dynamic_cast<const TBinNode*>(&e);
    if (!bin || !bin->Type || bin->Type->Kind != TTypeKind::Integer) {
        return false;
    }
    sub = bin->Operator == TBinOp::Sub;
    return bin->Operator == TBinOp::Add || bin->Operator == TBinOp::Sub;
}

} // namespace nodes
