// The variants group: conversions between the variant kinds by their type codes.
#include "script/BuiltinsVariants.h"

#include "script/BuiltinsDateTime.h"
#include "script/BuiltinsError.h"

namespace Builtin {

namespace {

TVariant InRange(const TVariant& v, int64_t low, int64_t high, std::string_view typeName) {
    const int64_t value = v.AsInteger();
    if (value < low || value > high)
        ThrowRangeError("Variant overflow: " + std::to_string(value) + " does not fit " +
                        std::string(typeName));
    return TVariant(value);
}

} // namespace

TVariant VarAsType(const TVariant& v, int64_t varType) {
    switch (varType) {
    case varEmpty:
        return TVariant::Unassigned();
    case varNull:
        return TVariant::Null();
    case varSmallint:
        return InRange(v, -32768, 32767, "varSmallint");
    case varShortInt:
        return InRange(v, -128, 127, "varShortInt");
    case varByte:
        return InRange(v, 0, 255, "varByte");
    case varWord:
        return InRange(v, 0, 65535, "varWord");
    case varLongWord:
        return InRange(v, 0, 4294967295LL, "varLongWord");
    // The engine's Integer is 64 bits wide, so varInteger takes what varInt64 takes: a value
    // converted to the code VarType reported for it must come back unchanged.
    case varInteger:
    case varInt64:
        return TVariant(v.AsInteger());
    case varSingle:
    case varDouble:
    case varCurrency:
        return TVariant(v.AsFloat());
    case varDate:
        if (v.Kind() == TVarKind::String) return TVariant(StrToDateTime(v.StrView()));
        return TVariant(v.AsFloat());
    case varOleStr:
    case varStrArg:
    case varString:
        return TVariant(v.AsString());
    case varBoolean:
        return TVariant(v.AsBoolean());
    case varVariant:
    case varAny:
        return v;
    case varDispatch:
    case varUnknown:
        if (v.Kind() == TVarKind::Object || v.Kind() == TVarKind::Array) return v;
        break;
    default:
        break;
    }
    throw EHostError("EVariantError", "Invalid variant type conversion from " + std::string(v.KindName()) +
                                          " to type code " + std::to_string(varType));
}

std::string VarToStr(const TVariant& v) {
    return v.AsString();
}

} // namespace Builtin
