// Call nodes: script and host routines, fresh objects, temporaries, and the routines the compiler
// runs directly (Length, Inc, Dec, SetLength on arrays).
#include "script/HostUnit.h"
#include "script/Nodes.h"
#include "script/NodesInternal.h"
#include "script/NodesOperands.h"
#include "script/Program.h"
#include "script/ProgramInfo.h"
#include "script/Reps.h"
#include "script/Runtime.h"
#include "script/ScriptError.h"

#include <bit>
#include <cxxabi.h>
#include <typeinfo>

namespace {

// Pushes a routine's frame and, once the arguments are bound, makes it current; undoes both on
// the way out, also when an exception passes.
class TFrameGuard {
public:
    TFrameGuard(TRuntime& rt, const TFuncSym& f, const TScriptPos& pos)
        : Rt(rt), F(f), Frame(Push(rt, f, pos)), Saved(rt.Frame) {}
    TFrameGuard(const TFrameGuard&) = delete;
    TFrameGuard& operator=(const TFrameGuard&) = delete;
    ~TFrameGuard() {
        if (Entered) {
            Rt.Frame = Saved;
            --Rt.CallDepth;
        }
        Rt.Pop(F.FrameSize, F.Managed);
    }
    void Enter() {
        Rt.Frame = Frame;
        ++Rt.CallDepth;
        Entered = true;
    }
    TRuntime& Rt;
    const TFuncSym& F;
    TVariant* const Frame;
    TVariant* const Saved;
    bool Entered = false;

private:
    static TVariant* Push(TRuntime& rt, const TFuncSym& f, const TScriptPos& pos) {
        // A routine with a large local array copies all of it in on every call; charged before
        // the push, so a call stopped here leaves nothing to pop.
        rt.ChargeSlots(f.FrameSize);
        return rt.Push(f.FrameSize, f.FrameInit.data(), pos);
    }
};

std::string TypeName(const std::exception& e) {
    int status = 0;
    char* name = abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status);
    std::string text = status == 0 && name ? name : typeid(e).name();
    std::free(name);
    return text;
}

void RunHost(TRuntime& rt, const TFuncSym& f, TVariant* frame, const TScriptPos& pos) {
    if (!f.Host->OnEval) {
        return;
    }
    TProgramInfo info(rt.Prog, &f, frame);
    try {
        f.Host->OnEval(info);
    } catch (const EScriptRaise&) {
        throw;
    } catch (EScriptAbort& e) {
        // A limit the handler's work ran into: it stopped the script at this call.
        if (!e.Pos.Known()) {
            e.Pos = pos;
        }
        throw;
    } catch (const EHostError& e) {
        throw EScriptRaise{rt.MakeHostError(e.ClassName, e.what()), pos};
    } catch (const EScriptError& e) {
        throw EScriptRaise{rt.MakeHostError("EScriptError", e.what()), pos};
    } catch (const std::exception& e) {
        throw EScriptRaise{rt.MakeHostError(TypeName(e), e.what()), pos};
    }
}

struct TCallNode final : TExpr {
    TCallNode(const TFuncSym& f, std::vector<TExprPtr> args, TScriptPos p)
        : TExpr(f.ResultType, std::move(p)), F(&f), Args(std::move(args)) {
        for (size_t i = 0; i < Args.size(); ++i) {
            Depth = std::max(Depth, Args[i]->Depth + 1);
            const TParamSym& param = f.Params[i];
            Offsets.push_back(param.Offset);
            if (param.ByRef()) {
                Binds.push_back(Args[i]->InsideArrayOrObject() ? TBind::RefHeld : TBind::Ref);
                continue;
            }
            switch (param.Type->Kind) {
            case TTypeKind::Integer:
            case TTypeKind::Enum:
                Binds.push_back(TBind::Int);
                break;
            case TTypeKind::Float:
                Binds.push_back(TBind::Float);
                break;
            case TTypeKind::Boolean:
                Binds.push_back(TBind::Bool);
                break;
            case TTypeKind::Record:
            case TTypeKind::StaticArray:
                Binds.push_back(Args[i]->HasPlace() ? TBind::Slots : TBind::Other);
                break;
            default:
                Binds.push_back(TBind::Other);
                break;
            }
        }
    }

    // How each argument reaches its slot, decided once.
    enum class TBind : uint8_t { Int, Float, Bool, Ref, RefHeld, Slots, Other };

    void Bind(TRuntime& rt, TVariant* frame) {
        for (size_t i = 0; i < Args.size(); ++i) {
            TVariant* slot = frame + Offsets[i];
            TExpr& a = *Args[i];
            switch (Binds[i]) {
            case TBind::Int:
                slot->IntRef() = a.EvalInt(rt);
                break;
            case TBind::Float:
                slot->FltRef() = a.EvalFloat(rt);
                break;
            case TBind::Bool:
                slot->IntRef() = a.EvalBool(rt) ? 1 : 0;
                break;
            case TBind::Ref:
                slot->SetRef(a.Addr(rt));
                break;
            case TBind::RefHeld:
                // The hold slot follows the address slot (TParamSym::HoldOffset); the frame's pop
                // releases it.
                slot->SetRef(a.AddrHeld(rt, slot[1]));
                break;
            case TBind::Slots: {
                // A record by value: the fresh frame slots hold no references yet.
                const TVariant* src = a.Addr(rt);
                const int32_t n = a.Type->Slots;
                rt.ChargeSlots(n);
                for (int32_t k = 0; k < n; ++k) {
                    slot[k].InitCopy(src[k]);
                }
                break;
            }
            default:
                a.StoreInto(rt, slot);
                break;
            }
        }
    }

    void Run(TRuntime& rt, TFrameGuard& g) {
        Bind(rt, g.Frame);
        g.Enter();
        rt.CheckStack(Pos);
        rt.Step();
        if (F->Host) {
            RunHost(rt, *F, g.Frame, Pos);
        } else {
            F->Body->Exec(rt);
        }
    }

    int64_t EvalInt(TRuntime& rt) override {
        TFrameGuard g(rt, *F, Pos);
        Run(rt, g);
        return g.Frame[F->ResultOffset].Int();
    }
    double EvalFloat(TRuntime& rt) override {
        TFrameGuard g(rt, *F, Pos);
        Run(rt, g);
        return g.Frame[F->ResultOffset].Flt();
    }
    bool EvalBool(TRuntime& rt) override {
        TFrameGuard g(rt, *F, Pos);
        Run(rt, g);
        return g.Frame[F->ResultOffset].Bool();
    }
    TVariant EvalVar(TRuntime& rt) override {
        if (Type->Kind != TTypeKind::String && Type->Kind != TTypeKind::Variant &&
            Type->Kind != TTypeKind::Class && Type->Kind != TTypeKind::DynArray) {
            return TExpr::EvalVar(rt);
        }
        TFrameGuard g(rt, *F, Pos);
        Run(rt, g);
        return std::move(g.Frame[F->ResultOffset]);
    }
    void StoreInto(TRuntime& rt, TVariant* dst) override {
        if (Type->IsScalar()) {
            TExpr::StoreInto(rt, dst);
            return;
        }
        TFrameGuard g(rt, *F, Pos);
        Run(rt, g);
        for (int32_t i = 0; i < Type->Slots; ++i) {
            dst[i] = std::move(g.Frame[F->ResultOffset + i]);
        }
    }
    void Exec(TRuntime& rt) override {
        TFrameGuard g(rt, *F, Pos);
        Run(rt, g);
    }

    const TFuncSym* F;
    std::vector<TExprPtr> Args;
    std::vector<TBind> Binds;
    std::vector<int32_t> Offsets;
};

// A call of a script routine whose arguments are all Integer, Float or Boolean values, or records
// by value read from places whose finding runs no code (the most common calls in AI scripts). The
// arguments are taken before the frame is pushed, so nothing after the push can fail: each value
// is a plain store with its tag, a record a block copy whose shared reps are counted up from a
// list made once, and the frame's other slots are the only ones its initial values are copied
// into. The limits and guards are those of every call. N is the number of arguments where it is
// small (the loops over them unroll), -1 for more.
template <int N> struct TScalarCallNode final : TExpr {
    static constexpr size_t kMaxArgs = 8;

    TScalarCallNode(const TFuncSym& f, std::vector<TExprPtr> args, TScriptPos p)
        : TExpr(f.ResultType, std::move(p)), F(&f), Args(std::move(args)) {
        int32_t recordSlots = 0;
        for (size_t i = 0; i < Args.size(); ++i) {
            Depth = std::max(Depth, Args[i]->Depth + 1);
            const TParamSym& param = f.Params[i];
            const TTypeSym& t = *param.Type;
            TArg a{Args[i].get(), param.Offset, TVarKind::Integer, false, 1, TVarPlace::LocalRef, 0};
            if (t.Kind == TTypeKind::Float) {
                a.Tag = TVarKind::Float;
            } else if (t.Kind == TTypeKind::Boolean) {
                a.Tag = TVarKind::Boolean;
            } else if (t.Kind == TTypeKind::Record || t.Kind == TTypeKind::StaticArray) {
                a.Record = true;
                a.Slots = t.Slots;
                // A record variable (or a record member of one) is found without a call.
                if (const auto leaf = nodes::operands::Classify<int64_t>(*Args[i]);
                    leaf.Kind == nodes::operands::TLeaf<int64_t>::TKind::Global ||
                    leaf.Kind == nodes::operands::TLeaf<int64_t>::TKind::Local) {
                    a.From = leaf.Kind == nodes::operands::TLeaf<int64_t>::TKind::Global ? TVarPlace::Global
                                                                                         : TVarPlace::Local;
                    a.FromOff = leaf.Off;
                }
                recordSlots += t.Slots;
                t.CollectManaged(param.Offset, Shared);
            }
            ParamSlots = std::max(ParamSlots, param.Offset + a.Slots);
            Binds.push_back(a);
        }
        RecordSteps = recordSlots / TRuntime::kSlotsPerStep;
    }

    // Whether a call of f with these arguments can take this node.
    static bool Fits(const TFuncSym& f, const std::vector<TExprPtr>& args) {
        if (f.Host || args.size() > kMaxArgs || args.size() != f.Params.size()) {
            return false;
        }
        for (size_t i = 0; i < args.size(); ++i) {
            const TParamSym& param = f.Params[i];
            if (param.ByRef()) {
                return false;
            }
            switch (param.Type->Kind) {
            case TTypeKind::Integer:
            case TTypeKind::Enum:
            case TTypeKind::Float:
            case TTypeKind::Boolean:
                break;
            case TTypeKind::Record:
            case TTypeKind::StaticArray:
                if (!args[i]->HasPlace() || !nodes::RunsNoCode(*args[i])) {
                    return false;
                }
                break;
            default:
                return false;
            }
        }
        return true;
    }

    // The frame of one call, made current; popped on the way out, also when an exception passes.
    struct TCallFrame {
        TCallFrame(TRuntime& rt, const TFuncSym& f, int32_t bound, const TScriptPos& pos)
            : Rt(rt), F(f), Frame(rt.Push(f.FrameSize, f.FrameInit.data(), pos, bound)), Saved(rt.Frame) {
            ++rt.CallDepth;
        }
        TCallFrame(const TCallFrame&) = delete;
        TCallFrame& operator=(const TCallFrame&) = delete;
        [[gnu::always_inline]] ~TCallFrame() {
            Rt.Frame = Saved;
            --Rt.CallDepth;
            Rt.Pop(F.FrameSize, F.Managed);
        }
        TRuntime& Rt;
        const TFuncSym& F;
        TVariant* const Frame;
        TVariant* const Saved;
    };

    template <typename R, typename Read> R Call(TRuntime& rt, Read read) {
        // A record's place is found here, in the order of the arguments; the caller's slots do
        // not move when the frame is pushed.
        union TValue {
            int64_t Bits;
            const TVariant* Record;
        };
        TValue values[kMaxArgs];
        const size_t n = N >= 0 ? static_cast<size_t>(N) : Binds.size();
        const TArg* binds = Binds.data();
        for (size_t i = 0; i < n; ++i) {
            const TArg& a = binds[i];
            if (a.Record) {
                values[i].Record = a.From == TVarPlace::Global  ? rt.Globals + a.FromOff
                                   : a.From == TVarPlace::Local ? rt.Frame + a.FromOff
                                                                : a.E->Addr(rt);
            } else if (a.Tag == TVarKind::Integer) {
                values[i].Bits = a.E->EvalInt(rt);
            } else if (a.Tag == TVarKind::Float) {
                values[i].Bits = std::bit_cast<int64_t>(a.E->EvalFloat(rt));
            } else {
                values[i].Bits = a.E->EvalBool(rt) ? 1 : 0;
            }
        }
        const TFuncSym& f = *F;
        // The call's step and the work of copying a large frame or large records, charged before
        // the push, so a call stopped here leaves nothing to pop.
        rt.Charge(1 + static_cast<uint32_t>(f.FrameSize) / TRuntime::kSlotsPerStep + RecordSteps);
        TCallFrame frame(rt, f, ParamSlots, Pos);
        TVariant* slots = frame.Frame;
        for (size_t i = 0; i < n; ++i) {
            const TArg& a = binds[i];
            if (a.Record) {
                TVariant::CopyPlain(slots + a.Offset, values[i].Record, a.Slots);
            } else {
                slots[a.Offset].InitPlain(values[i].Bits, a.Tag);
            }
        }
        for (const int32_t k : Shared) {
            slots[k].RetainCopied();
        }
        rt.Frame = slots;
        rt.CheckStack(Pos);
        f.Body->Exec(rt);
        return read(slots[f.ResultOffset]);
    }

    int64_t EvalInt(TRuntime& rt) override {
        return Call<int64_t>(rt, [](const TVariant& v) { return v.Int(); });
    }
    double EvalFloat(TRuntime& rt) override {
        return Call<double>(rt, [](const TVariant& v) { return v.Flt(); });
    }
    bool EvalBool(TRuntime& rt) override {
        return Call<bool>(rt, [](const TVariant& v) { return v.Bool(); });
    }
    TVariant EvalVar(TRuntime& rt) override {
        if (Type->Kind != TTypeKind::String && Type->Kind != TTypeKind::Variant &&
            Type->Kind != TTypeKind::Class && Type->Kind != TTypeKind::DynArray) {
            return TExpr::EvalVar(rt);
        }
        return Call<TVariant>(rt, [](TVariant& v) { return std::move(v); });
    }
    void StoreInto(TRuntime& rt, TVariant* dst) override {
        if (Type->IsScalar()) {
            TExpr::StoreInto(rt, dst);
            return;
        }
        Call<int>(rt, [&](TVariant& result) {
            for (int32_t i = 0; i < Type->Slots; ++i) {
                dst[i] = std::move((&result)[i]);
            }
            return 0;
        });
    }
    void Exec(TRuntime& rt) override {
        Call<int>(rt, [](const TVariant&) { return 0; });
    }

    struct TArg {
        TExpr* E;
        int32_t Offset;
        TVarKind Tag; // of a plain value: Integer (also enumerations), Float or Boolean
        bool Record;  // a record or static array, copied whole
        int32_t Slots;
        TVarPlace From;  // a record's variable: Global or Local; LocalRef: found through E
        int32_t FromOff; // and its slot
    };
    const TFuncSym* F;
    std::vector<TExprPtr> Args;
    std::vector<TArg> Binds;
    // The frame slots of the records' strings, variants, objects and arrays, counted up once
    // the records are copied.
    std::vector<int32_t> Shared;
    // The parameters fill the frame's first slots; its initial values go to the rest.
    int32_t ParamSlots = 0;
    int64_t RecordSteps = 0;
};

struct TSpillNode final : TExpr {
    TSpillNode(TExprPtr value, TExprPtr temp)
        : TExpr(value->Type, value->Pos), Value(std::move(value)), Temp(std::move(temp)) {
        Depth = Value->Depth + 1;
    }
    TVariant* Addr(TRuntime& rt) override {
        TVariant* t = Temp->Addr(rt);
        Value->StoreInto(rt, t);
        return t;
    }
    TVariant EvalVar(TRuntime& rt) override { return *Addr(rt); }
    bool HasPlace() const override { return true; }
    TExprPtr Value, Temp;
};

struct TNewObjectNode final : TExpr {
    TNewObjectNode(const TTypeSym& cls, std::vector<TExprPtr> args, TScriptPos p)
        : TExpr(&cls, std::move(p)), Args(std::move(args)) {}
    TVariant EvalVar(TRuntime& rt) override {
        auto* rep = new TObjectRep;
        rep->Class = Type;
        TVariant object = TVariant::AdoptObject(rep);
        rep->Fields.resize(Type->Members.size());
        for (size_t i = 0; i < Type->Members.size(); ++i) {
            Type->Members[i].Type->InitSlots(&rep->Fields[i]);
        }
        // Exception.Create(Msg) is the one constructor with an argument: the message.
        if (!Args.empty()) {
            Args[0]->StoreInto(rt, &rep->Fields[0]);
        }
        return object;
    }
    std::vector<TExprPtr> Args;
};

struct TStrLengthNode final : TExpr {
    TStrLengthNode(TExprPtr s, const TTypeSym& t, TScriptPos p) : TExpr(&t, std::move(p)), Str(std::move(s)) {
        Depth = Str->Depth + 1;
    }
    int64_t EvalInt(TRuntime& rt) override {
        if (Str->Variable()) {
            return static_cast<int64_t>(Str->Addr(rt)->StrView().size());
        }
        return static_cast<int64_t>(Str->EvalVar(rt).StrView().size());
    }
    TExprPtr Str;
};

struct TArrayLengthNode final : TExpr {
    TArrayLengthNode(TExprPtr a, const TTypeSym& t, bool high, TScriptPos p)
        : TExpr(&t, std::move(p)), Arr(std::move(a)), High(high) {
        Depth = Arr->Depth + 1;
    }
    int64_t EvalInt(TRuntime& rt) override {
        const TVariant v = Arr->EvalVar(rt);
        const TArrayRep* a = v.Arr();
        const int64_t length = a ? static_cast<int64_t>(a->Items.size()) / a->ElemSlots : 0;
        return High ? length - 1 : length;
    }
    TExprPtr Arr;
    bool High;
};

// Inc is a function by its declaration whose own result is never assigned: in an expression it
// adds to its variable and gives 0, the value of an unassigned Integer result.
struct TIncDecNode final : TExpr {
    TIncDecNode(TExprPtr place, TExprPtr delta, bool dec, const TTypeSym* resultType, TScriptPos p)
        : TExpr(resultType, std::move(p)), Place(std::move(place)), Delta(std::move(delta)), Dec(dec) {}
    void Exec(TRuntime& rt) override {
        const uint64_t d = Delta ? static_cast<uint64_t>(Delta->EvalInt(rt)) : 1;
        int64_t& v = Place->Addr(rt)->IntRef();
        v = static_cast<int64_t>(Dec ? static_cast<uint64_t>(v) - d : static_cast<uint64_t>(v) + d);
    }
    int64_t EvalInt(TRuntime& rt) override {
        Exec(rt);
        return 0;
    }
    TExprPtr Place, Delta;
    bool Dec;
};

struct TSetLengthNode final : TExpr {
    TSetLengthNode(TExprPtr arr, TExprPtr length, TScriptPos p)
        : TExpr(nullptr, std::move(p)), Arr(std::move(arr)), Length(std::move(length)) {}
    void Exec(TRuntime& rt) override {
        const int64_t wanted = std::max<int64_t>(Length->EvalInt(rt), 0);
        const TTypeSym& elem = *Arr->Type->Elem;
        const int32_t maxData = rt.MaxDataSize();
        if (wanted > maxData) {
            throw EScriptAbort{"Maximal data size exceeded (" + std::to_string(maxData) + " Variants)", Pos};
        }
        const int64_t slots = wanted * elem.Slots;
        TVariant* place = Arr->Addr(rt);
        TArrayRep* a = place->Arr();
        // Another variable shares the array: it keeps the old one and this one gets a copy.
        const bool copy = a && a->Refs > 1;
        const int64_t kept = a && !copy ? static_cast<int64_t>(a->Items.size()) : 0;
        rt.ReserveArraySlots(slots - kept, Pos);
        rt.ChargeSlots(slots);
        if (!a) {
            if (wanted == 0) {
                return;
            }
            a = new TArrayRep(elem.Slots, {});
            *place = TVariant::AdoptArray(a);
        } else if (copy) {
            auto* own = new TArrayRep(a->ElemSlots, a->Items);
            *place = TVariant::AdoptArray(own);
            a = own;
        }
        const size_t old = a->Items.size();
        a->Resize(static_cast<size_t>(slots));
        for (size_t i = old; i < a->Items.size(); i += static_cast<size_t>(elem.Slots)) {
            elem.InitSlots(&a->Items[i]);
        }
    }
    TExprPtr Arr, Length;
};

struct TDiscardNode final : TExpr {
    TDiscardNode(TExprPtr e, TScriptPos p) : TExpr(nullptr, std::move(p)), E(std::move(e)) {}
    void Exec(TRuntime& rt) override { (void)E->EvalVar(rt); }
    TExprPtr E;
};

} // namespace

void RunRoutine(TRuntime& rt, const TFuncSym& f, TVariant* frame, const TScriptPos& pos) {
    TVariant* saved = rt.Frame;
    rt.Frame = frame;
    ++rt.CallDepth;
    try {
        rt.CheckStack(pos);
        rt.Step();
        if (f.Host) {
            RunHost(rt, f, frame, pos);
        } else {
            f.Body->Exec(rt);
        }
    } catch (...) {
        rt.Frame = saved;
        --rt.CallDepth;
        throw;
    }
    rt.Frame = saved;
    --rt.CallDepth;
}

TExprPtr MakeDiscard(TExprPtr e, TScriptPos pos) {
    return std::make_unique<TDiscardNode>(std::move(e), std::move(pos));
}

TExprPtr MakeCall(const TFuncSym& func, std::vector<TExprPtr> args, TScriptPos pos) {
    if (TScalarCallNode<-1>::Fits(func, args)) {
        switch (args.size()) {
        case 0:
            return std::make_unique<TScalarCallNode<0>>(func, std::move(args), std::move(pos));
        case 1:
            return std::make_unique<TScalarCallNode<1>>(func, std::move(args), std::move(pos));
        case 2:
            return std::make_unique<TScalarCallNode<2>>(func, std::move(args), std::move(pos));
        case 3:
            return std::make_unique<TScalarCallNode<3>>(func, std::move(args), std::move(pos));
        default:
            return std::make_unique<TScalarCallNode<-1>>(func, std::move(args), std::move(pos));
        }
    }
    return std::make_unique<TCallNode>(func, std::move(args), std::move(pos));
}

TExprPtr MakeSpill(TExprPtr value, TExprPtr temp) {
    return std::make_unique<TSpillNode>(std::move(value), std::move(temp));
}

TExprPtr MakeNewObject(const TTypeSym& classType, std::vector<TExprPtr> args, TScriptPos pos) {
    return std::make_unique<TNewObjectNode>(classType, std::move(args), std::move(pos));
}

TExprPtr MakeStrLength(TExprPtr str, const TTypeSym& integerType, TScriptPos pos) {
    return std::make_unique<TStrLengthNode>(std::move(str), integerType, std::move(pos));
}

TExprPtr MakeArrayLength(TExprPtr array, const TTypeSym& integerType, bool high, TScriptPos pos) {
    return std::make_unique<TArrayLengthNode>(std::move(array), integerType, high, std::move(pos));
}

TExprPtr MakeIncDec(TExprPtr place, TExprPtr delta, bool dec, const TTypeSym* resultType, TScriptPos pos) {
    return std::make_unique<TIncDecNode>(std::move(place), std::move(delta), dec, resultType, std::move(pos));
}

TExprPtr MakeSetLength(TExprPtr array, TExprPtr length, TScriptPos pos) {
    return std::make_unique<TSetLengthNode>(std::move(array), std::move(length), std::move(pos));
}
