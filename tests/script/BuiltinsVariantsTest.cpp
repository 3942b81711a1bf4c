// VarAsType over the type codes: each conversion, the narrow codes' ranges and the codes
// that convert nothing.
#include "script/BuiltinsVariants.h"

#include "script/BuiltinsDateTime.h"
#include "script/ScriptError.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using namespace Builtin;

TEST(BuiltinsVariants, VarAsTypeConvertsToEachCodesKind) {
    const struct {
        TVariant From;
        int64_t Code;
        TVarKind Kind;
        std::string Text;
    } cases[] = {
        {TVariant(3.5), varInteger, TVarKind::Integer, "4"},
        {TVariant(2.5), varInt64, TVarKind::Integer, "2"},
        {TVariant("12"), varInteger, TVarKind::Integer, "12"},
        {TVariant(int64_t{1} << 40), varInteger, TVarKind::Integer, "1099511627776"},
        {TVariant(true), varByte, TVarKind::Integer, "1"},
        {TVariant(255), varByte, TVarKind::Integer, "255"},
        {TVariant(-32768), varSmallint, TVarKind::Integer, "-32768"},
        {TVariant(7), varDouble, TVarKind::Float, "7"},
        {TVariant("1.25"), varSingle, TVarKind::Float, "1.25"},
        {TVariant("2020/01/02"), varDate, TVarKind::Float, "43832"},
        {TVariant(1.5), varString, TVarKind::String, "1.5"},
        {TVariant(true), varOleStr, TVarKind::String, "True"},
        {TVariant(-3), varStrArg, TVarKind::String, "-3"},
        {TVariant("True"), varBoolean, TVarKind::Boolean, "True"},
        {TVariant(0), varBoolean, TVarKind::Boolean, "False"},
        {TVariant(5), varNull, TVarKind::Null, ""},
        {TVariant("x"), varEmpty, TVarKind::Empty, ""},
        {TVariant("x"), varVariant, TVarKind::String, "x"},
        {TVariant::Null(), varAny, TVarKind::Null, ""},
    };
    for (const auto& c : cases) {
        const TVariant v = VarAsType(c.From, c.Code);
        EXPECT_EQ(v.Kind(), c.Kind) << c.From.AsString() << " to " << c.Code;
        EXPECT_EQ(VarToStr(v), c.Text) << c.From.AsString() << " to " << c.Code;
    }
    EXPECT_EQ(VarAsType(TVariant(int64_t{1} << 40), TVariant(int64_t{1} << 40).VarType()).AsInteger(),
              int64_t{1} << 40)
        << "the code VarType reports takes the value back unchanged";
}

TEST(BuiltinsVariants, VarAsTypeRefusesWhatDoesNotFit) {
    const struct {
        TVariant From;
        int64_t Code;
        std::string Message;
    } cases[] = {
        {TVariant(256), varByte, "Variant overflow: 256 does not fit varByte"},
        {TVariant(-1), varWord, "Variant overflow: -1 does not fit varWord"},
        {TVariant(128), varShortInt, "Variant overflow: 128 does not fit varShortInt"},
        {TVariant(4294967296), varLongWord, "Variant overflow: 4294967296 does not fit varLongWord"},
        {TVariant(1), varError, "Invalid variant type conversion from Integer to type code 10"},
        {TVariant("a"), varUnknown, "Invalid variant type conversion from String to type code 13"},
        {TVariant(1), varArray, "Invalid variant type conversion from Integer to type code 8192"},
        {TVariant(1), -1, "Invalid variant type conversion from Integer to type code -1"},
        {TVariant("soon"), varDate, "'soon' is not a valid date and time"},
    };
    for (const auto& c : cases) {
        try {
            (void)VarAsType(c.From, c.Code);
            ADD_FAILURE() << c.Message;
        } catch (const EHostError& e) {
            EXPECT_EQ(e.what(), c.Message);
        }
    }
    EXPECT_THROW((void)VarAsType(TVariant("abc"), varInteger), EScriptError);
    EXPECT_EQ(VarToStr(TVariant::Null()), "");
    EXPECT_EQ(VarToStr(TVariant::Unassigned()), "");
}

} // namespace
