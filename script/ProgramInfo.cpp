// The host's view of a running program: variables by name, results, and calls into the script.
#include "script/ProgramInfo.h"

#include "script/Code.h"
#include "script/Program.h"
#include "script/Reps.h"
#include "script/Runtime.h"
#include "script/ScriptError.h"

namespace {

std::string Quote(std::string_view s) {
    std::string quoted(1, '"');
    quoted.append(s);
    quoted += '"';
    return quoted;
}

void RequireRunning(const TProgram& program) {
    if (program.State() != TProgramState::Running && program.State() != TProgramState::Ending) {
        throw EScriptError("Program was not started!");
    }
}

std::string PositionSuffix(const TScriptPos& pos) {
    if (!pos.Known()) {
        return {};
    }
    std::string text = " [line: " + std::to_string(pos.Line) + ", column: " + std::to_string(pos.Column);
    if (!pos.File.empty()) {
        text += ", file: " + pos.File;
    }
    return text + "]";
}

} // namespace

// A handler that reads or writes a text does work in its length, and one that hands back a
// text has made it: both count against the call's limits. Outside a call (the host reading a
// program's globals) nothing is counted.
void TVarInfo::Charge(const TVariant& value, bool made) const {
    TRuntime& rt = Prog->Runtime();
    if (rt.HostDepth == 0 || value.Kind() != TVarKind::String) {
        return;
    }
    rt.ChargeText(value.StrView().size());
    if (made) {
        rt.CheckMemory({});
    }
}

TVariant TVarInfo::Value() const {
    if (!Type->IsScalar()) {
        throw EScriptError("Variable of type " + Quote(Type->Name) + " has no simple value");
    }
    Charge(*Slot, false);
    return *Slot;
}

void TVarInfo::SetValue(const TVariant& value) const {
    Charge(value, true);
    switch (Type->Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Enum:
        Slot->IntRef() = value.AsInteger();
        break;
    case TTypeKind::Float:
        Slot->FltRef() = value.AsFloat();
        break;
    case TTypeKind::Boolean:
        *Slot = TVariant(value.AsBoolean());
        break;
    case TTypeKind::String:
        *Slot = value.Kind() == TVarKind::String ? value : TVariant(value.AsString());
        break;
    case TTypeKind::Variant:
        *Slot = value;
        break;
    case TTypeKind::Class:
        if (value.Kind() == TVarKind::Object && (!value.Obj() || value.Obj()->Class->InheritsFrom(*Type))) {
            *Slot = value;
        } else if (value.IsEmpty() || value.IsNull()) {
            *Slot = TVariant::Zero(TVarKind::Object);
        } else {
            throw EScriptError("Could not convert variant of type (" + std::string(value.KindName()) +
                               ") into type (" + Type->Name + ")");
        }
        break;
    case TTypeKind::DynArray:
        if (value.Kind() != TVarKind::Array || (value.Arr() && value.Arr()->ElemSlots != Type->Elem->Slots)) {
            throw EScriptError("Could not convert variant of type (" + std::string(value.KindName()) +
                               ") into type (" + Type->Name + ")");
        }
        *Slot = value;
        break;
    default:
        throw EScriptError("Variable of type " + Quote(Type->Name) + " has no simple value");
    }
}

TVarInfo TVarInfo::Member(std::string_view name) const {
    if (Type->Kind == TTypeKind::Record) {
        if (const TMemberSym* m = Type->FindMember(name)) {
            return TVarInfo(*Prog, Slot + m->Offset, *m->Type);
        }
    } else if (Type->Kind == TTypeKind::Class && Slot->Obj()) {
        if (const TMemberSym* m = Type->FindMember(name)) {
            return TVarInfo(*Prog, &Slot->Obj()->Fields[static_cast<size_t>(m->Offset)], *m->Type);
        }
    }
    throw EScriptError("No member " + Quote(name) + " found in record " + Quote(Type->Name));
}

TVarInfo TVarInfo::Element(int64_t index) const {
    int64_t low = 0;
    int64_t high = -1;
    TVariant* base = nullptr;
    if (Type->Kind == TTypeKind::StaticArray) {
        low = Type->Low;
        high = Type->High;
        base = Slot;
    } else if (Type->Kind == TTypeKind::DynArray) {
        if (TArrayRep* a = Slot->Arr()) {
            high = static_cast<int64_t>(a->Items.size()) / a->ElemSlots - 1;
            base = a->Items.data();
        }
    } else {
        throw EScriptError("Variable of type " + Quote(Type->Name) + " is not an array");
    }
    if (index < low) {
        throw EScriptError("Lower bound exceeded! Index " + std::to_string(index));
    }
    if (index > high) {
        throw EScriptError("Upper bound exceeded! Index " + std::to_string(index));
    }
    return TVarInfo(*Prog, base + (index - low) * Type->Elem->Slots, *Type->Elem);
}

TVariant TFuncInfo::Call(std::span<const TVariant> args) const {
    RequireRunning(*Prog);
    const TFuncSym& f = *Func;
    if (args.size() > f.Params.size() || static_cast<int>(args.size()) < f.RequiredParams()) {
        throw EScriptError("Invalid number of parameters (" + std::to_string(args.size()) + " instead of " +
                           std::to_string(f.Params.size()) + ") to call function " + f.Name);
    }
    TRuntime& rt = Prog->Runtime();
    if (rt.HostDepth == 0) {
        rt.EnterHost(Prog->GetStepLimit(), 0);
    }
    const TDataAccountScope account(&rt.Account());
    ++rt.HostDepth;
    // The host's arguments are values; a var parameter gets a place of its own for the call.
    size_t refSlots = 0;
    for (const TParamSym& p : f.Params) {
        refSlots += p.ByRef() ? static_cast<size_t>(p.Type->Slots) : 0;
    }
    std::vector<TVariant> refStore(refSlots);
    TVariant* frame = nullptr;
    TVariant result;
    try {
        frame = rt.Push(f.FrameSize, f.FrameInit.data(), f.Pos);
        size_t nextRef = 0;
        for (size_t i = 0; i < f.Params.size(); ++i) {
            const TParamSym& p = f.Params[i];
            TVariant* slot = frame + p.Offset;
            if (p.ByRef()) {
                slot = &refStore[nextRef];
                p.Type->InitSlots(slot);
                nextRef += static_cast<size_t>(p.Type->Slots);
                frame[p.Offset].SetRef(slot);
            }
            const TVariant& arg = i < args.size() ? args[i] : p.Default;
            if (p.Type->IsScalar()) {
                TVarInfo(*Prog, slot, *p.Type).SetValue(arg);
            }
        }
        RunRoutine(rt, f, frame, f.Pos);
        if (f.ResultType && f.ResultType->IsScalar()) {
            result = frame[f.ResultOffset];
        }
    } catch (const EScriptRaise& e) {
        std::string message = TRuntime::ExceptionMessage(e.Object);
        if (message.empty()) {
            message = "User defined exception!";
        }
        Prog->Msgs().Add(TMsgKind::RuntimeError, message, e.Pos);
        if (frame) {
            rt.Pop(f.FrameSize, f.Managed);
        }
        --rt.HostDepth;
        throw EScriptError("Runtime Error: " + message + PositionSuffix(e.Pos));
    } catch (const EScriptAbort& e) {
        Prog->Msgs().Add(TMsgKind::RuntimeError, e.Text, e.Pos);
        if (frame) {
            rt.Pop(f.FrameSize, f.Managed);
        }
        --rt.HostDepth;
        throw EScriptError("Runtime Error: " + e.Text + PositionSuffix(e.Pos));
    } catch (...) {
        if (frame) {
            rt.Pop(f.FrameSize, f.Managed);
        }
        --rt.HostDepth;
        throw;
    }
    rt.Pop(f.FrameSize, f.Managed);
    --rt.HostDepth;
    return result;
}

TVarInfo TProgramInfo::Vars(std::string_view name) const {
    RequireRunning(*Prog);
    if (CallSym) {
        for (const TParamSym& p : CallSym->Params) {
            if (SameText(p.Name, name)) {
                TVariant* slot = Base + p.Offset;
                return TVarInfo(*Prog, p.ByRef() ? slot->Ref() : slot, *p.Type);
            }
        }
        if (CallSym->ResultType && SameText(name, "Result")) {
            return TVarInfo(*Prog, Base + CallSym->ResultOffset, *CallSym->ResultType);
        }
    }
    const TSymbol* s = Prog->Code()->GlobalScope->Find(name);
    if (s && s->Kind == TSymKind::Var) {
        const auto& v = static_cast<const TVarSym&>(*s);
        if (v.Place == TVarPlace::Global) {
            return TVarInfo(*Prog, Prog->Runtime().Globals + v.Offset, *v.Type);
        }
    }
    if (s && s->Kind == TSymKind::Func) {
        throw EScriptError(".Vars[] can't handle this symbol: " + Quote(name) +
                           ". Use .Func[] or .Method[] instead");
    }
    throw EScriptError("Variable " + Quote(name) + " not found");
}

void TProgramInfo::SetResult(const TVariant& value) const {
    if (!CallSym || !CallSym->ResultType) {
        throw EScriptError("Variable \"Result\" not found");
    }
    TVarInfo(*Prog, Base + CallSym->ResultOffset, *CallSym->ResultType).SetValue(value);
}

TVariant TProgramInfo::Result() const {
    if (!CallSym || !CallSym->ResultType) {
        throw EScriptError("Variable \"Result\" not found");
    }
    return TVarInfo(*Prog, Base + CallSym->ResultOffset, *CallSym->ResultType).Value();
}

void TProgramInfo::ChargeSteps(int64_t steps) const {
    TRuntime& rt = Prog->Runtime();
    if (rt.HostDepth > 0 && steps > 0) {
        rt.Charge(steps);
    }
}

void TProgramInfo::ReserveMemory(int64_t bytes) const {
    TRuntime& rt = Prog->Runtime();
    if (rt.HostDepth > 0 && bytes > 0) {
        rt.ReserveMemory(bytes, {});
        rt.ChargeText(static_cast<size_t>(bytes));
    }
}

TFuncInfo TProgramInfo::Func(std::string_view name) const {
    const TSymbol* s = Prog->Code() ? Prog->Code()->GlobalScope->Find(name) : nullptr;
    if (!s || s->Kind != TSymKind::Func) {
        throw EScriptError("Function/Method " + Quote(name) + " not found");
    }
    return TFuncInfo(*Prog, static_cast<const TFuncSym&>(*s));
}

const TScriptFunction* TProgramInfo::Function() const {
    return CallSym ? CallSym->Host : nullptr;
}
