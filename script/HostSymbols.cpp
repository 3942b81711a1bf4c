// Turning declarations into script symbols: the system table (base types, Null, Unassigned,
// TObject, the exception classes) and the routines, records, enumerations and constants of the
// system unit and of each host unit. A faulty declaration is a compile error of the script.
#include "script/Compiler.h"
#include "script/HostUnit.h"

#include <set>

namespace {

TTypeSym& AddType(TCode& code, TTypeKind kind, std::string name) {
    return *code.Types.emplace_back(std::make_unique<TTypeSym>(kind, std::move(name)));
}

template <typename T, typename... A> T& AddSymbol(TCode& code, A&&... args) {
    auto symbol = std::make_unique<T>(std::forward<A>(args)...);
    T& ref = *symbol;
    code.Symbols.push_back(std::move(symbol));
    return ref;
}

[[noreturn]] void DeclError(std::string text) {
    CompileError({}, std::move(text));
}

std::string Quote(std::string_view s) {
    std::string quoted(1, '"');
    quoted.append(s);
    quoted += '"';
    return quoted;
}

const TTypeSym* FindType(const TScope& scope, std::string_view name) {
    const TSymbol* s = scope.Find(name);
    return s && s->Kind == TSymKind::Type ? static_cast<const TTypeNameSym*>(s)->Type : nullptr;
}

// Declares everything of one unit into scope; names must be unique within the unit.
void DeclareUnit(TCode& code, const TBaseTypes& types, const TScriptUnit& unit, TScope& scope, bool system) {
    std::set<std::string> names;
    auto claim = [&](const std::string& name) {
        if (name.empty()) {
            DeclError("Name property mustn't be empty!");
        }
        if (!names.insert(LowerCase(name)).second) {
            DeclError("Name " + Quote(name) + " already exists!");
        }
    };
    for (const auto& r : unit.Records) {
        claim(r->Name);
        TTypeSym& t = AddType(code, TTypeKind::Record, r->Name);
        int32_t slots = 0;
        for (const auto& m : r->Members) {
            if (m->Name.empty()) {
                DeclError("Name property mustn't be empty!");
            }
            if (t.FindMember(m->Name)) {
                DeclError("Name " + Quote(m->Name) + " already exists!");
            }
            const TTypeSym* mt = FindType(scope, m->DataType);
            if (!mt) {
                DeclError("DataType " + Quote(m->DataType) + " not found");
            }
            t.Members.push_back(TMemberSym{m->Name, mt, slots});
            slots += mt->Slots;
        }
        t.Slots = std::max<int32_t>(slots, 1);
        scope.Add(AddSymbol<TTypeNameSym>(code, r->Name, t));
    }
    for (const auto& e : unit.Enumerations) {
        claim(e->Name);
        TTypeSym& t = AddType(code, TTypeKind::Enum, e->Name);
        for (const auto& el : e->Elements) {
            claim(el->Name);
            t.Elements.emplace_back(el->Name, el->Value);
            scope.Add(AddSymbol<TConstSym>(code, el->Name, t, TVariant(el->Value)));
        }
        scope.Add(AddSymbol<TTypeNameSym>(code, e->Name, t));
    }
    for (const auto& c : unit.Constants) {
        claim(c->Name);
        const TTypeSym* t = FindType(scope, c->DataType);
        if (!t || !t->IsScalar()) {
            DeclError("DataType " + Quote(c->DataType) + " not found");
        }
        TVariant value = c->Value;
        try {
            switch (t->Kind) {
            case TTypeKind::Integer:
            case TTypeKind::Enum:
                value = TVariant(c->Value.AsInteger());
                break;
            case TTypeKind::Float:
                value = TVariant(c->Value.AsFloat());
                break;
            case TTypeKind::Boolean:
                value = TVariant(c->Value.AsBoolean());
                break;
            case TTypeKind::String:
                value = TVariant(c->Value.AsString());
                break;
            default:
                break;
            }
        } catch (const std::exception& e) {
            DeclError(e.what());
        }
        scope.Add(AddSymbol<TConstSym>(code, c->Name, *t, std::move(value)));
    }
    for (const auto& f : unit.Functions) {
        claim(f->Name);
        auto& sym = AddSymbol<TFuncSym>(code, f->Name);
        sym.Host = f.get();
        sym.System = system;
        int32_t offset = 0;
        std::set<std::string> params;
        for (const auto& p : f->Parameters) {
            if (p->Name.empty()) {
                DeclError("Name property mustn't be empty!");
            }
            if (!params.insert(LowerCase(p->Name)).second) {
                DeclError("Parameter name " + Quote(p->Name) + " already exists");
            }
            const TTypeSym* pt = FindType(scope, p->DataType);
            if (!pt) {
                DeclError("Type " + Quote(p->DataType) + " not found for parameter " + Quote(p->Name) +
                          " of function " + Quote(f->Name));
            }
            TParamSym param{p->Name, pt, p->IsVarParam ? TParamMode::Var : TParamMode::Value,
                            false,   {}, offset};
            offset += param.ByRef() ? TParamSym::kByRefSlots : pt->Slots;
            sym.Params.push_back(std::move(param));
        }
        if (!f->ResultType.empty()) {
            sym.ResultType = FindType(scope, f->ResultType);
            if (!sym.ResultType) {
                DeclError("Type " + Quote(f->ResultType) + " unknown");
            }
            sym.ResultOffset = offset;
            offset += sym.ResultType->Slots;
        }
        sym.FrameSize = std::max<int32_t>(offset, 1);
        sym.FrameInit.resize(static_cast<size_t>(sym.FrameSize));
        for (const TParamSym& p : sym.Params) {
            if (!p.ByRef()) {
                p.Type->InitSlots(&sym.FrameInit[static_cast<size_t>(p.Offset)]);
                p.Type->CollectManaged(p.Offset, sym.Managed);
            } else {
                sym.Managed.push_back(p.HoldOffset());
            }
        }
        if (sym.ResultType) {
            sym.ResultType->InitSlots(&sym.FrameInit[static_cast<size_t>(sym.ResultOffset)]);
            sym.ResultType->CollectManaged(sym.ResultOffset, sym.Managed);
        }
        scope.Add(sym);
    }
    (void)types;
}

} // namespace

void DeclareSystem(TCode& code, TBaseTypes& types, const TScriptUnit& systemUnit) {
    code.SystemScope = std::make_unique<TScope>(nullptr);
    TScope& scope = *code.SystemScope;
    auto base = [&](TTypeKind kind, const char* name, bool managed) -> TTypeSym& {
        TTypeSym& t = AddType(code, kind, name);
        t.Managed = managed;
        scope.Add(AddSymbol<TTypeNameSym>(code, name, t));
        return t;
    };
    types.Boolean = &base(TTypeKind::Boolean, "Boolean", false);
    TTypeSym& dateTime = base(TTypeKind::Float, "DateTime", false);
    dateTime.IsDateTime = true;
    types.DateTime = &dateTime;
    types.Float = &base(TTypeKind::Float, "Float", false);
    types.Integer = &base(TTypeKind::Integer, "Integer", false);
    types.String = &base(TTypeKind::String, "String", true);
    types.Variant = &base(TTypeKind::Variant, "Variant", true);
    TTypeSym& nil = AddType(code, TTypeKind::Nil, "nil");
    nil.Managed = true;
    types.Nil = &nil;
    scope.Add(AddSymbol<TConstSym>(code, "Null", *types.Variant, TVariant::Null()));
    scope.Add(AddSymbol<TConstSym>(code, "Unassigned", *types.Variant, TVariant::Unassigned()));
    TTypeSym& object = base(TTypeKind::Class, "TObject", true);
    types.TObject = &object;
    TTypeSym& exception = base(TTypeKind::Class, "Exception", true);
    exception.Parent = &object;
    exception.Members.push_back(TMemberSym{"Message", types.String, 0});
    types.Exception = &exception;
    // Errors raised by host code (a handler, a built-in routine) reach scripts as this class,
    // with the host's own class name beside the message.
    TTypeSym& hostError = base(TTypeKind::Class, "EHostError", true);
    hostError.Parent = &exception;
    hostError.Members = exception.Members;
    hostError.Members.push_back(TMemberSym{"ExceptionClass", types.String, 1});
    types.HostError = &hostError;
    code.ExceptionType = &exception;
    code.HostErrorType = &hostError;
    DeclareUnit(code, types, systemUnit, scope, true);
    code.UnitNames.push_back("System");
}

void DeclareHostUnit(TCode& code, const TBaseTypes& types, const TScriptUnit& unit) {
    if (unit.UnitName().empty()) {
        DeclError("Property TScriptUnit.UnitName is undefined!");
    }
    if (!code.HostScope) {
        code.HostScope = std::make_unique<TScope>(code.SystemScope.get());
    }
    DeclareUnit(code, types, unit, *code.HostScope, false);
    code.UnitNames.push_back(unit.UnitName());
}
