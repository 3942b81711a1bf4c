// Variant copying, conversion and comparison.
#include "script/Variant.h"

#include "script/Reps.h"
#include "script/ScriptError.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

constinit thread_local TDataAccount* CurrentDataAccount = nullptr;

namespace {

TDataAccount* JoinCurrentAccount() noexcept {
    TDataAccount* account = CurrentDataAccount;
    if (account) {
        ++account->Holders;
    }
    return account;
}

} // namespace

void LeaveDataAccount(TDataAccount* account, int64_t bytes, int64_t slots) noexcept {
    if (!account) {
        return;
    }
    account->Bytes -= bytes;
    account->ArraySlots -= slots;
    if (--account->Holders == 0) {
        delete account;
    }
}

TStringRep::TStringRep(std::string text) : Account(JoinCurrentAccount()), Text(std::move(text)) {
    if (Account) {
        Account->Bytes += CountedBytes();
    }
}

TStringRep::~TStringRep() {
    LeaveDataAccount(Account, CountedBytes(), 0);
}

void TStringRep::Grow(std::string_view tail) {
    const int64_t before = CountedBytes();
    Text.append(tail);
    if (Account) {
        Account->Bytes += CountedBytes() - before;
    }
}

TArrayRep::TArrayRep(int32_t elemSlots, std::vector<TVariant> items)
    : ElemSlots(elemSlots), Account(JoinCurrentAccount()), Items(std::move(items)) {
    if (Account) {
        Account->Bytes += CountedBytes();
        Account->ArraySlots += static_cast<int64_t>(Items.size());
    }
}

TArrayRep::~TArrayRep() {
    LeaveDataAccount(Account, CountedBytes(), static_cast<int64_t>(Items.size()));
}

void TArrayRep::Resize(size_t slots) {
    const int64_t bytesBefore = CountedBytes();
    const auto slotsBefore = static_cast<int64_t>(Items.size());
    Items.resize(slots);
    if (Account) {
        Account->Bytes += CountedBytes() - bytesBefore;
        Account->ArraySlots += static_cast<int64_t>(Items.size()) - slotsBefore;
    }
}

TVariant::TVariant(std::string_view v) : S(nullptr), Tag(TVarKind::String) {
    if (!v.empty()) {
        S = new TStringRep(std::string(v));
    }
}

TVariant TVariant::Null() noexcept {
    TVariant v;
    v.Tag = TVarKind::Null;
    return v;
}

TVariant TVariant::Zero(TVarKind kind) noexcept {
    TVariant v;
    v.I = 0;
    v.Tag = kind;
    if (kind == TVarKind::Float) {
        v.F = 0.0;
    }
    return v;
}

TVariant TVariant::AdoptString(TStringRep* rep) noexcept {
    TVariant v;
    v.S = rep;
    v.Tag = TVarKind::String;
    return v;
}

TVariant TVariant::AdoptObject(TObjectRep* rep) noexcept {
    TVariant v;
    v.O = rep;
    v.Tag = TVarKind::Object;
    return v;
}

TVariant TVariant::AdoptArray(TArrayRep* rep) noexcept {
    TVariant v;
    v.A = rep;
    v.Tag = TVarKind::Array;
    return v;
}

void TVariant::FreeRep() noexcept {
    switch (Tag) {
    case TVarKind::String:
        delete S;
        break;
    case TVarKind::Object:
        delete O;
        break;
    case TVarKind::Array:
        delete A;
        break;
    default:
        break;
    }
}

std::string_view TVariant::TextOf(const TStringRep* rep) noexcept {
    return rep->Text;
}

void TVariant::AppendStr(std::string_view tail) {
    if (Tag != TVarKind::String || !S) {
        *this = TVariant(std::string(StrView()) + std::string(tail));
    } else if (S->Refs > 1) {
        // Shared: this slot gets a copy of its own, made once at its full length.
        std::string text;
        text.reserve(S->Text.size() + tail.size());
        text.append(S->Text).append(tail);
        --S->Refs;
        S = new TStringRep(std::move(text));
    } else {
        S->Append(tail);
    }
}

int32_t TVariant::VarType() const noexcept {
    switch (Tag) {
    case TVarKind::Empty:
        return 0;
    case TVarKind::Null:
        return 1;
    case TVarKind::Integer:
        return 3;
    case TVarKind::Float:
        return 5;
    case TVarKind::Boolean:
        return 11;
    case TVarKind::String:
        return 256;
    case TVarKind::Object:
    case TVarKind::Array:
        return 13;
    }
    return 13;
}

std::string_view TVariant::KindName() const noexcept {
    switch (Tag) {
    case TVarKind::Empty:
        return "Empty";
    case TVarKind::Null:
        return "Null";
    case TVarKind::Integer:
        return "Integer";
    case TVarKind::Float:
        return "Double";
    case TVarKind::Boolean:
        return "Boolean";
    case TVarKind::String:
        return "String";
    case TVarKind::Object:
        return "Object";
    case TVarKind::Array:
        return "Array";
    }
    return "Empty";
}

namespace {

[[noreturn]] void CannotConvert(const TVariant& v, std::string_view target) {
    throw EScriptError("Could not convert variant of type (" + std::string(v.KindName()) + ") into type (" +
                       std::string(target) + ")");
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') {
        s.remove_suffix(1);
    }
    return s;
}

bool ParseInteger(std::string_view s, int64_t& out) {
    s = TrimBlanks(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    }
    uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) {
        return false;
    }
    if (magnitude > (negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX))) {
        return false;
    }
    out = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

bool ParseFloat(std::string_view s, double& out) {
    s = TrimBlanks(s);
    if (s.empty()) {
        return false;
    }
    if (s.front() == '+') {
        s.remove_prefix(1);
    }
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size() && std::isfinite(out);
}

} // namespace

int64_t TVariant::AsInteger() const {
    switch (Tag) {
    case TVarKind::Empty:
    case TVarKind::Null:
        return 0;
    case TVarKind::Integer:
        return I;
    case TVarKind::Boolean:
        return I != 0 ? 1 : 0;
    case TVarKind::Float:
        // Rounded half to even, as the language's Round; values beyond Integer do not convert.
        if (std::isfinite(F) && std::fabs(F) < 9.2e18) {
            return static_cast<int64_t>(std::nearbyint(F));
        }
        break;
    case TVarKind::String: {
        int64_t v = 0;
        if (ParseInteger(StrView(), v)) {
            return v;
        }
        break;
    }
    default:
        break;
    }
    CannotConvert(*this, "Integer");
}

double TVariant::AsFloat() const {
    switch (Tag) {
    case TVarKind::Empty:
    case TVarKind::Null:
        return 0.0;
    case TVarKind::Integer:
        return static_cast<double>(I);
    case TVarKind::Boolean:
        return I != 0 ? 1.0 : 0.0;
    case TVarKind::Float:
        return F;
    case TVarKind::String: {
        double v = 0;
        if (ParseFloat(StrView(), v)) {
            return v;
        }
        break;
    }
    default:
        break;
    }
    CannotConvert(*this, "Double");
}

bool TVariant::AsBoolean() const {
    switch (Tag) {
    case TVarKind::Empty:
    case TVarKind::Null:
        return false;
    case TVarKind::Integer:
    case TVarKind::Boolean:
        return I != 0;
    case TVarKind::Float:
        return F != 0.0;
    case TVarKind::String: {
        const std::string_view s = TrimBlanks(StrView());
        if (s.size() == 4 && strncasecmp(s.data(), "true", 4) == 0) {
            return true;
        }
        if (s.size() == 5 && strncasecmp(s.data(), "false", 5) == 0) {
            return false;
        }
        double v = 0;
        if (ParseFloat(s, v)) {
            return v != 0.0;
        }
        break;
    }
    default:
        break;
    }
    CannotConvert(*this, "Boolean");
}

std::string TVariant::AsString() const {
    switch (Tag) {
    case TVarKind::Empty:
    case TVarKind::Null:
        return {};
    case TVarKind::Integer:
        return std::to_string(I);
    case TVarKind::Boolean:
        return I != 0 ? "True" : "False";
    case TVarKind::Float:
        return FloatToText(F);
    case TVarKind::String:
        return std::string(StrView());
    default:
        break;
    }
    CannotConvert(*this, "String");
}

std::string FloatToText(double v) {
    if (std::isnan(v)) {
        return "NAN";
    }
    if (std::isinf(v)) {
        return v > 0 ? "INF" : "-INF";
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", v);
    std::string text = buffer;
    std::string exponent;
    if (const size_t e = text.find('E'); e != std::string::npos) {
        exponent = text.substr(e + 1);
        text.resize(e);
    }
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') {
            text.pop_back();
        }
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    if (!exponent.empty()) {
        // "E+20" -> "E20", "E-07" -> "E-7"
        const bool negative = exponent.front() == '-';
        size_t digits = exponent.find_first_not_of("+-0");
        text += negative ? "E-" : "E";
        text += digits == std::string::npos ? "0" : exponent.substr(digits);
    }
    return text;
}

namespace {

bool IsNumber(TVarKind k) {
    return k == TVarKind::Integer || k == TVarKind::Float;
}

template <typename T> int Order(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

int CompareVariants(const TVariant& a, const TVariant& b) {
    const TVarKind ka = a.Kind();
    const TVarKind kb = b.Kind();
    if (ka == TVarKind::Integer && kb == TVarKind::Integer) {
        return Order(a.Int(), b.Int());
    }
    if (ka == TVarKind::String && kb == TVarKind::String) {
        const int c = a.StrView().compare(b.StrView());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    const bool emptyA = ka == TVarKind::Empty || ka == TVarKind::Null;
    const bool emptyB = kb == TVarKind::Empty || kb == TVarKind::Null;
    if (emptyA || emptyB) {
        if (emptyA && emptyB) {
            return Order(static_cast<int>(ka), static_cast<int>(kb));
        }
        return emptyA ? -1 : 1;
    }
    if (ka == TVarKind::Object || kb == TVarKind::Object || ka == TVarKind::Array || kb == TVarKind::Array) {
        if (ka != kb) {
            CannotConvert(ka == TVarKind::Object || ka == TVarKind::Array ? a : b, "Double");
        }
        return Order(reinterpret_cast<uintptr_t>(a.Obj()), reinterpret_cast<uintptr_t>(b.Obj()));
    }
    if (ka == TVarKind::Boolean && kb == TVarKind::Boolean) {
        return Order(a.Bool(), b.Bool());
    }
    if (IsNumber(ka) || IsNumber(kb) || ka == TVarKind::Boolean || kb == TVarKind::Boolean) {
        return Order(a.AsFloat(), b.AsFloat());
    }
    return Order(a.AsFloat(), b.AsFloat());
}
