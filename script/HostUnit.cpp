// Host units: the declaration helpers and attaching a unit to an engine.
#include "script/HostUnit.h"

#include "script/ScriptEngine.h"
#include "script/ScriptError.h"

TScriptUnit::~TScriptUnit() {
    SetScript(nullptr);
}

void TScriptUnit::SetUnitName(std::string_view name) {
    if (Engine) {
        throw EScriptError("Can't change UnitName while property \"Script\" is assigned!");
    }
    Name = name;
}

void TScriptUnit::SetScript(TScriptEngine* engine) {
    if (Engine == engine) {
        return;
    }
    if (TScriptEngine* old = Engine) {
        Engine = nullptr;
        old->DetachUnit(*this);
    }
    Engine = engine;
    if (Engine) {
        Engine->AttachUnit(*this);
    }
}

TScriptFunction& TScriptUnit::AddFunction(std::string_view name, std::initializer_list<TNameType> params,
                                          std::string_view resultType, TEvalHandler handler) {
    TScriptFunction& func = Functions.Add();
    func.Name = name;
    func.ResultType = resultType;
    func.OnEval = std::move(handler);
    for (const TNameType& p : params) {
        TScriptParameter& param = func.Parameters.Add();
        std::string_view paramName = p.Name;
        if (!paramName.empty() && paramName.front() == '@') {
            param.IsVarParam = true;
            paramName.remove_prefix(1);
        }
        param.Name = paramName;
        param.DataType = p.DataType;
    }
    return func;
}

TScriptRecord& TScriptUnit::AddRecord(std::string_view name, std::initializer_list<TNameType> members) {
    TScriptRecord& record = Records.Add();
    record.Name = name;
    for (const TNameType& m : members) {
        TScriptMember& member = record.Members.Add();
        member.Name = m.Name;
        member.DataType = m.DataType;
    }
    return record;
}

TScriptEnumeration& TScriptUnit::AddEnumeration(std::string_view name,
                                                std::initializer_list<TNameValue> elements) {
    TScriptEnumeration& enumeration = Enumerations.Add();
    enumeration.Name = name;
    for (const TNameValue& e : elements) {
        TScriptEnumElement& element = enumeration.Elements.Add();
        element.Name = e.Name;
        element.Value = e.Value;
    }
    return enumeration;
}

TScriptConstant& TScriptUnit::AddConstant(std::string_view name, std::string_view dataType, TVariant value) {
    TScriptConstant& constant = Constants.Add();
    constant.Name = name;
    constant.DataType = dataType;
    constant.Value = std::move(value);
    return constant;
}
