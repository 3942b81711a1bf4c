// Script types and symbols: what the compiler resolves every name to, so the running program
// never looks a name up. Types and symbols are owned by the program's code (Code.h).
#pragma once

#include "script/Messages.h"
#include "script/Variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TScriptFunction;
struct TStmt;

enum class TTypeKind : uint8_t {
    Integer,
    Float,
    Boolean,
    String,
    Variant,
    Enum,
    Record,
    StaticArray,
    DynArray,
    Class,
    Nil
};

class TTypeSym;

// A record member or class field: Offset counts slots from the record's first slot, or indexes
// the object's field list.
struct TMemberSym {
    std::string Name;
    const TTypeSym* Type = nullptr;
    int32_t Offset = 0;
};

class TTypeSym {
public:
    TTypeSym(TTypeKind kind, std::string name) : Kind(kind), Name(std::move(name)) {}

    TTypeKind Kind;
    std::string Name;
    // Slots a value of this type takes in a frame: records and static arrays are laid out flat.
    int32_t Slots = 1;
    // DateTime is a Float under another name.
    bool IsDateTime = false;
    std::vector<TMemberSym> Members;                       // record members, class fields (parents' first)
    int64_t Low = 0, High = -1;                            // static array bounds
    const TTypeSym* Elem = nullptr;                        // array element
    std::vector<std::pair<std::string, int64_t>> Elements; // enumeration
    const TTypeSym* Parent = nullptr;                      // class
    // Whether a slot of this type holds a reference that must be released.
    bool Managed = false;

    [[nodiscard]] bool IsOrdinal() const { return Kind == TTypeKind::Integer || Kind == TTypeKind::Enum; }
    [[nodiscard]] bool IsNumeric() const { return Kind == TTypeKind::Integer || Kind == TTypeKind::Float; }
    [[nodiscard]] bool IsScalar() const {
        return Kind != TTypeKind::Record && Kind != TTypeKind::StaticArray;
    }
    [[nodiscard]] bool InheritsFrom(const TTypeSym& ancestor) const;
    [[nodiscard]] const TMemberSym* FindMember(std::string_view name) const;
    // Writes the zero value of this type into its Slots slots (which must hold no references).
    void InitSlots(TVariant* dst) const;
    // Whether any of this type's slots is managed (strings inside a record, ...).
    [[nodiscard]] bool HasManagedSlots() const;
    // Appends the offsets of managed slots, shifted by base.
    void CollectManaged(int32_t base, std::vector<int32_t>& out) const;
};

enum class TSymKind : uint8_t { Type, Var, Const, Func };

struct TSymbol {
    TSymbol(TSymKind kind, std::string name) : Kind(kind), Name(std::move(name)) {}
    virtual ~TSymbol() = default;
    TSymKind Kind;
    std::string Name;
};

struct TTypeNameSym : TSymbol {
    TTypeNameSym(std::string name, const TTypeSym& type)
        : TSymbol(TSymKind::Type, std::move(name)), Type(&type) {}
    const TTypeSym* Type;
};

// Where a variable lives: a global slot, a slot of the current frame, or the target of a
// by-reference parameter whose address sits in a frame slot.
enum class TVarPlace : uint8_t { Global, Local, LocalRef };

struct TVarSym : TSymbol {
    TVarSym(std::string name, const TTypeSym& type, TVarPlace place, int32_t offset)
        : TSymbol(TSymKind::Var, std::move(name)), Type(&type), Place(place), Offset(offset) {}
    const TTypeSym* Type;
    TVarPlace Place;
    int32_t Offset;
    bool ReadOnly = false; // const parameters
};

struct TConstSym : TSymbol {
    TConstSym(std::string name, const TTypeSym& type, TVariant value)
        : TSymbol(TSymKind::Const, std::move(name)), Type(&type), Value(std::move(value)) {}
    const TTypeSym* Type;
    TVariant Value;
};

enum class TParamMode : uint8_t { Value, Var, Const };

struct TParamSym {
    std::string Name;
    const TTypeSym* Type = nullptr;
    TParamMode Mode = TParamMode::Value;
    bool HasDefault = false;
    TVariant Default;
    int32_t Offset = 0;
    // Var parameters and const records travel as the argument's address.
    [[nodiscard]] bool ByRef() const {
        return Mode == TParamMode::Var || (Mode == TParamMode::Const && !Type->IsScalar());
    }
    // A by-reference parameter takes two frame slots: the argument's address at Offset, and
    // after it a hold on the dynamic array or object the argument lies in (empty for a
    // variable). The hold keeps the argument's place alive while the callee runs, whatever the
    // callee does to the array: resize it, clear it, or drop the last variable that held it.
    [[nodiscard]] int32_t HoldOffset() const { return Offset + 1; }
    static constexpr int32_t kByRefSlots = 2;
};

class TFuncSym : public TSymbol {
public:
    explicit TFuncSym(std::string name) : TSymbol(TSymKind::Func, std::move(name)) {}
    ~TFuncSym() override;

    std::vector<TParamSym> Params;
    const TTypeSym* ResultType = nullptr; // nullptr for a procedure
    int32_t ResultOffset = 0;
    // The frame: parameters, the result, locals and the compiler's temporaries.
    int32_t FrameSize = 0;
    std::vector<TVariant> FrameInit;
    std::vector<int32_t> Managed;
    std::unique_ptr<TStmt> Body;
    bool Forwarded = false; // declared FORWARD and not yet implemented
    TScriptPos Pos;
    const TScriptFunction* Host = nullptr; // set for host routines, which have no body
    bool System = false;                   // a routine of the system unit
    // How many arguments a call must give: up to and including the last parameter without a
    // default.
    [[nodiscard]] int RequiredParams() const;
};

// A table of symbols by name without regard to case; a lookup walks to the parent tables, so
// a declaration here hides one of the same name further out.
class TScope {
public:
    explicit TScope(const TScope* parent) : Parent(parent) {}
    [[nodiscard]] TSymbol* Find(std::string_view name) const;
    [[nodiscard]] TSymbol* FindLocal(std::string_view name) const;
    void Add(TSymbol& symbol);
    [[nodiscard]] const TScope* Outer() const { return Parent; }

private:
    const TScope* Parent;
    std::unordered_map<std::string, TSymbol*> Table;
};

[[nodiscard]] std::string LowerCase(std::string_view text);
[[nodiscard]] bool SameText(std::string_view a, std::string_view b);
