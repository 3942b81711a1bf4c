// The compiled program's tree: typed expression and statement nodes. Each expression evaluates
// through the entry of its static type (EvalInt for Integer, EvalFloat for Float, ...), so
// Integer and Float arithmetic never passes through a variant. Node classes live in the Nodes*.cpp
// files behind the factory functions below.
#pragma once

#include "script/Messages.h"
#include "script/Types.h"
#include "script/Variant.h"

#include <cstdint>
#include <memory>
#include <vector>

class TRuntime;

struct TExpr {
    TExpr(const TTypeSym* type, TScriptPos pos) : Type(type), Pos(std::move(pos)) {}
    virtual ~TExpr() = default;
    // Integer and enumeration values.
    virtual int64_t EvalInt(TRuntime& rt);
    virtual double EvalFloat(TRuntime& rt);
    virtual bool EvalBool(TRuntime& rt);
    // Strings, variants, objects and dynamic arrays; scalars of other types come boxed.
    virtual TVariant EvalVar(TRuntime& rt);
    // The first slot of an assignable place or of a record or static array value.
    virtual TVariant* Addr(TRuntime& rt);
    // Stores this expression's value into slots of its own type (a typed slot keeps its tag).
    virtual void StoreInto(TRuntime& rt, TVariant* dst);
    // Whether Addr gives a place that may be assigned or passed by reference.
    [[nodiscard]] virtual bool IsAssignable() const { return false; }
    // Whether Addr gives a place (perhaps a read-only one, a const parameter's).
    [[nodiscard]] virtual bool HasPlace() const { return IsAssignable(); }
    // The variable this expression names directly, if it is a plain variable reference.
    [[nodiscard]] virtual const TVarSym* Variable() const { return nullptr; }
    // Whether Addr's place may lie inside a dynamic array or an object, where it lives only as
    // long as the array or object does.
    [[nodiscard]] virtual bool InsideArrayOrObject() const { return false; }
    // Addr, for a place that must outlive what a call does to its array: hold receives a
    // reference to the array or object the place lies in (it is left alone for a variable).
    virtual TVariant* AddrHeld(TRuntime& rt, TVariant& hold);
    // A routine call that gives no value, as a statement.
    virtual void Exec(TRuntime& rt);

    const TTypeSym* Type; // nullptr: no value (a procedure call)
    TScriptPos Pos;
    int Depth = 1;           // the tree's height, bounded so evaluation cannot overflow the stack
    bool IsCallNode = false; // a routine call, which may stand as a statement
};

using TExprPtr = std::unique_ptr<TExpr>;

enum class TFlow : uint8_t { Normal, Break, Continue, Exit };

struct TStmt {
    explicit TStmt(TScriptPos pos) : Pos(std::move(pos)) {}
    virtual ~TStmt() = default;
    virtual TFlow Exec(TRuntime& rt) = 0;
    TScriptPos Pos;
};

using TStmtPtr = std::unique_ptr<TStmt>;

enum class TBinOp : uint8_t { Add, Sub, Mul, Div, IntDiv, Mod, And, Or, Xor, Eq, Ne, Lt, Le, Gt, Ge };

// The value of a constant node (literals and folded constants); false for anything else.
[[nodiscard]] bool ConstValue(const TExpr& e, TVariant& value);

// Values and places.
TExprPtr MakeConst(const TTypeSym& type, const TVariant& value, TScriptPos pos);
TExprPtr MakeVarRef(const TVarSym& var, TScriptPos pos);
// Reports an internal inconsistency of the compiled tree as a run that cannot go on.
[[noreturn]] void InternalError(const TExpr& e, const char* what);
TExprPtr MakeMember(TExprPtr record, const TMemberSym& member, TScriptPos pos);
TExprPtr MakeStaticIndex(TExprPtr array, TExprPtr index, TScriptPos pos);
TExprPtr MakeDynIndex(TExprPtr array, TExprPtr index, TScriptPos pos);
TExprPtr MakeStrIndex(TExprPtr str, TExprPtr index, const TTypeSym& stringType, TScriptPos pos);
TExprPtr MakeField(TExprPtr object, const TMemberSym& field, TScriptPos pos);
// Conversions the compiler inserts where the types allow them.
TExprPtr MakeIntToFloat(TExprPtr e, const TTypeSym& floatType);
TExprPtr MakeToVariant(TExprPtr e, const TTypeSym& variantType);
TExprPtr MakeFromVariant(TExprPtr e, const TTypeSym& target);
TExprPtr MakeOrdinalCast(TExprPtr e, const TTypeSym& target);
// Operators; the operand types have been checked and made equal (or Variant) by the compiler.
TExprPtr MakeBinary(TBinOp op, TExprPtr left, TExprPtr right, const TTypeSym& resultType, TScriptPos pos);
TExprPtr MakeNegate(TExprPtr e, TScriptPos pos);
TExprPtr MakeNot(TExprPtr e, TScriptPos pos);
TExprPtr MakeIs(TExprPtr object, const TTypeSym& classType, const TTypeSym& booleanType, TScriptPos pos);
// Calls. Arguments are in parameter order with defaults already filled in.
TExprPtr MakeCall(const TFuncSym& func, std::vector<TExprPtr> args, TScriptPos pos);
// Gives a value that has no place of its own (a record or array a function returned, a fresh
// object) the temporary place temp, so members and elements can be read from it.
TExprPtr MakeSpill(TExprPtr value, TExprPtr temp);
TExprPtr MakeNewObject(const TTypeSym& classType, std::vector<TExprPtr> args, TScriptPos pos);
// Routines the compiler runs directly instead of through their handler.
TExprPtr MakeStrLength(TExprPtr str, const TTypeSym& integerType, TScriptPos pos);
TExprPtr MakeArrayLength(TExprPtr array, const TTypeSym& integerType, bool high, TScriptPos pos);
// Inc has the result type Integer (see the node); Dec, a procedure, none.
TExprPtr MakeIncDec(TExprPtr place, TExprPtr delta, bool dec, const TTypeSym* resultType, TScriptPos pos);
TExprPtr MakeSetLength(TExprPtr array, TExprPtr length, TScriptPos pos);
// Evaluates an object and drops it: Free and Destroy, as objects here go when nothing holds them.
TExprPtr MakeDiscard(TExprPtr e, TScriptPos pos);

// Runs f in its frame, pushed and bound by the caller (the host's Func[].Call).
void RunRoutine(TRuntime& rt, const TFuncSym& f, TVariant* frame, const TScriptPos& pos);

// Statements.
TStmtPtr MakeAssign(TExprPtr place, TExprPtr value, TScriptPos pos);
// "v := v + rest" (or "- rest") on an Integer variable, and "s := s + tail" on a String one.
TStmtPtr MakeAddAssign(TExprPtr place, TExprPtr rest, bool sub, TScriptPos pos);
TStmtPtr MakeAppend(TExprPtr place, TExprPtr tail, TScriptPos pos);
// For value "v + rest" or "v - rest" (Integer) or "v + rest" (String) takes rest out of value
// and gives it; nullptr (value untouched) for anything else.
TExprPtr TakeSelfOperand(TExprPtr& value, const TVarSym& v, bool& sub);
TStmtPtr MakeExprStmt(TExprPtr call);
TStmtPtr MakeBlock(std::vector<TStmtPtr> statements, TScriptPos pos);
TStmtPtr MakeIf(TExprPtr cond, TStmtPtr then, TStmtPtr otherwise, TScriptPos pos);
TStmtPtr MakeWhile(TExprPtr cond, TStmtPtr body, TScriptPos pos);
TStmtPtr MakeRepeat(TStmtPtr body, TExprPtr cond, TScriptPos pos);
TStmtPtr MakeFor(TExprPtr var, TExprPtr from, TExprPtr to, bool down, TStmtPtr body, TScriptPos pos);
struct TCaseBranch {
    TVariant Low, High; // equal for a single value
    TStmt* Body;        // owned by the case statement's body list
};
TStmtPtr MakeCase(TExprPtr selector, std::vector<TCaseBranch> branches, std::vector<TStmtPtr> bodies,
                  TStmtPtr otherwise, TScriptPos pos);
TStmtPtr MakeFlow(TFlow flow, TScriptPos pos);
// BREAK or CONTINUE outside every loop fails when it runs.
TStmtPtr MakeStrayFlow(TFlow flow, TScriptPos pos);
struct TExceptHandler {
    const TTypeSym* ClassType = nullptr; // nullptr: the ELSE part or a bare EXCEPT block
    TExprPtr Var;                        // where the caught object goes
    TStmtPtr Body;
};
TStmtPtr MakeTryExcept(TStmtPtr body, std::vector<TExceptHandler> handlers, TScriptPos pos);
TStmtPtr MakeTryFinally(TStmtPtr body, TStmtPtr final, TScriptPos pos);
TStmtPtr MakeRaise(TExprPtr object, TScriptPos pos);
TStmtPtr MakeReraise(TExprPtr current, TScriptPos pos);
