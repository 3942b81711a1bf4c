// The variants group of the scripts' built-in library, and the "TVarType" codes scripts pass
// to VarAsType.
#pragma once

#include "script/Variant.h"

#include <cstdint>
#include <string>

namespace Builtin {

enum TVarTypeCode : int32_t {
    varEmpty = 0,
    varNull = 1,
    varSmallint = 2,
    varInteger = 3,
    varSingle = 4,
    varDouble = 5,
    varCurrency = 6,
    varDate = 7,
    varOleStr = 8,
    varDispatch = 9,
    varError = 10,
    varBoolean = 11,
    varVariant = 12,
    varUnknown = 13,
    varShortInt = 16,
    varByte = 17,
    varWord = 18,
    varLongWord = 19,
    varInt64 = 20,
    varStrArg = 72,
    varString = 256,
    varAny = 257,
    varTypeMask = 4095,
    varArray = 8192,
    varByRef = 16384,
};

// v converted to the kind the code stands for. The narrow integer codes check their range,
// varDate reads a string as a date and time, varVariant and varAny keep v as it is; a code
// with no conversion (varError, varArray, ...) raises.
[[nodiscard]] TVariant VarAsType(const TVariant& v, int64_t varType);
// '' for Null and Unassigned.
[[nodiscard]] std::string VarToStr(const TVariant& v);

} // namespace Builtin
