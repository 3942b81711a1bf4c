// The engine's one tagged value: every data-stack slot is a TVariant, and values cross the host
// boundary as TVariants. Strings, objects and dynamic arrays are shared, reference-counted reps.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// The tag. A typed slot (an Integer variable, say) keeps the tag it was initialised with, so the
// runtime can read its payload without looking at the tag; only Variant slots change tag.
enum class TVarKind : uint8_t { Empty, Null, Integer, Float, Boolean, String, Object, Array };

struct TStringRep;
struct TObjectRep;
struct TArrayRep;

class TVariant {
public:
    TVariant() noexcept : I(0) {}
    TVariant(int32_t v) noexcept : I(v), Tag(TVarKind::Integer) {}
    TVariant(int64_t v) noexcept : I(v), Tag(TVarKind::Integer) {}
    TVariant(double v) noexcept : F(v), Tag(TVarKind::Float) {}
    TVariant(bool v) noexcept : I(v ? 1 : 0), Tag(TVarKind::Boolean) {}
    TVariant(std::string_view v);
    TVariant(const char* v) : TVariant(std::string_view(v)) {}
    TVariant(const std::string& v) : TVariant(std::string_view(v)) {}
    TVariant(const TVariant& other) noexcept : I(other.I), Tag(other.Tag) { Retain(); }
    TVariant(TVariant&& other) noexcept : I(other.I), Tag(other.Tag) { other.Tag = TVarKind::Empty; }
    TVariant& operator=(const TVariant& other) noexcept {
        if (this != &other) {
            other.Retain();
            Release();
            I = other.I;
            Tag = other.Tag;
        }
        return *this;
    }
    TVariant& operator=(TVariant&& other) noexcept {
        if (this != &other) {
            Release();
            I = other.I;
            Tag = other.Tag;
            other.Tag = TVarKind::Empty;
        }
        return *this;
    }
    ~TVariant() { Release(); }

    [[nodiscard]] static TVariant Null() noexcept;
    [[nodiscard]] static TVariant Unassigned() noexcept { return {}; }

    [[nodiscard]] TVarKind Kind() const noexcept { return Tag; }
    [[nodiscard]] bool IsNull() const noexcept { return Tag == TVarKind::Null; }
    [[nodiscard]] bool IsEmpty() const noexcept { return Tag == TVarKind::Empty; }
    // The variant type code scripts see ("TVarType"): varEmpty 0, varNull 1, varInteger 3,
    // varDouble 5, varBoolean 11, varUnknown 13 (objects, arrays), varString 256.
    [[nodiscard]] int32_t VarType() const noexcept;

    // Conversions as the script's Variant rules make them. A value that does not convert raises
    // EScriptError with "Could not convert variant of type (%s) into type (%s)" (or the parse
    // error of the string); Null and Unassigned convert to 0, 0.0, False and ''.
    [[nodiscard]] int64_t AsInteger() const;
    [[nodiscard]] double AsFloat() const;
    [[nodiscard]] bool AsBoolean() const;
    [[nodiscard]] std::string AsString() const;
    // The type name used in conversion messages: "Empty", "Null", "Integer", "Double", "Boolean",
    // "String", "Object", "Array".
    [[nodiscard]] std::string_view KindName() const noexcept;

    // Runtime access to the payload of a slot whose tag the compiler already knows.
    [[nodiscard]] int64_t Int() const noexcept { return I; }
    [[nodiscard]] int64_t& IntRef() noexcept { return I; }
    [[nodiscard]] double Flt() const noexcept { return F; }
    [[nodiscard]] double& FltRef() noexcept { return F; }
    [[nodiscard]] bool Bool() const noexcept { return I != 0; }
    [[nodiscard]] TStringRep* Str() const noexcept { return S; }
    [[nodiscard]] TObjectRep* Obj() const noexcept { return O; }
    [[nodiscard]] TArrayRep* Arr() const noexcept { return A; }
    // A var parameter's slot holds the address of its argument; the tag stays Empty, so
    // releasing the slot leaves the argument alone.
    [[nodiscard]] TVariant* Ref() const noexcept { return R; }
    void SetRef(TVariant* target) noexcept {
        Release();
        R = target;
        Tag = TVarKind::Empty;
    }
    // The text of a String slot without copying ('' for the empty string).
    [[nodiscard]] std::string_view StrView() const noexcept {
        return Tag == TVarKind::String && S ? TextOf(S) : std::string_view();
    }
    // Appends to this String slot's text, in place when nothing else shares it.
    void AppendStr(std::string_view tail);
    // Copies src into a slot that holds no reference (a fresh frame slot) without releasing it.
    void InitCopy(const TVariant& src) noexcept {
        I = src.I;
        Tag = src.Tag;
        Retain();
    }
    // Copies n slots bit for bit into slots that hold no references, counting nothing: for plain
    // values, or with the caller counting up the shared reps among them. Small blocks (a frame,
    // a record of a few fields) are copied inline.
    [[gnu::always_inline]] static void CopyPlain(TVariant* dst, const TVariant* src, int32_t n) noexcept {
        switch (n) {
        case 0:
            break;
        case 1:
            CopyFixed<1>(dst, src);
            break;
        case 2:
            CopyFixed<2>(dst, src);
            break;
        case 3:
            CopyFixed<3>(dst, src);
            break;
        case 4:
            CopyFixed<4>(dst, src);
            break;
        case 5:
            CopyFixed<5>(dst, src);
            break;
        case 6:
            CopyFixed<6>(dst, src);
            break;
        case 7:
            CopyFixed<7>(dst, src);
            break;
        case 8:
            CopyFixed<8>(dst, src);
            break;
        default:
            std::memcpy(static_cast<void*>(dst), static_cast<const void*>(src),
                        sizeof(TVariant) * static_cast<size_t>(n));
            break;
        }
    }
    // Writes a plain value (Integer, Float or Boolean bits with their tag) into a slot that
    // holds no reference, without releasing it.
    void InitPlain(int64_t bits, TVarKind tag) noexcept {
        I = bits;
        Tag = tag;
    }
    // Counts up the rep of a slot just copied with CopyPlain.
    void RetainCopied() const noexcept { Retain(); }
    // Takes ownership of one reference to a rep (the rep's count already includes it).
    static TVariant AdoptString(TStringRep* rep) noexcept;
    static TVariant AdoptObject(TObjectRep* rep) noexcept;
    static TVariant AdoptArray(TArrayRep* rep) noexcept;
    // A typed empty slot: Integer 0, Float 0.0, Boolean False, String '', nil object or array.
    [[nodiscard]] static TVariant Zero(TVarKind kind) noexcept;

private:
    // String, Object and Array are the last tags: the only ones holding a counted rep, so the
    // common plain slot pays a single compare.
    [[nodiscard]] bool Counted() const noexcept { return Tag >= TVarKind::String; }
    // Every rep starts with its count (Reps.h checks it), so counting up and down needs no
    // look at the kind; only the last release goes out of line to free the rep.
    void Release() noexcept {
        if (Counted() && Count && --*Count == 0) {
            FreeRep();
        }
        Tag = TVarKind::Empty;
    }
    void Retain() const noexcept {
        if (Counted() && Count) {
            ++*Count;
        }
    }
    void FreeRep() noexcept;
    template <int K> static void CopyFixed(TVariant* dst, const TVariant* src) noexcept {
        std::memcpy(static_cast<void*>(dst), static_cast<const void*>(src), sizeof(TVariant) * K);
    }
    [[nodiscard]] static std::string_view TextOf(const TStringRep* rep) noexcept;

    union {
        int64_t I;
        double F;
        TStringRep* S; // nullptr is the empty string, so a fresh String slot allocates nothing
        TObjectRep* O;
        TArrayRep* A;
        TVariant* R;
        uint32_t* Count; // the Refs of whichever rep S, O or A points to
    };
    TVarKind Tag = TVarKind::Empty;
};

// Floats as scripts print them: up to 15 significant digits, no trailing zeros, "E" exponent
// ("3.5", "0.333333333333333", "1E20", "1.5E-7").
[[nodiscard]] std::string FloatToText(double v);

// Equality and ordering of two variants as the script's relations compare them (numbers by
// value, strings by code, mixed number and string by converting the string).
[[nodiscard]] int CompareVariants(const TVariant& a, const TVariant& b);
