// The shared, reference-counted payloads behind String, Object and Array variants. Only the
// runtime and the variant code see them; hosts go through TVariant's accessors.
#pragma once

#include "script/Variant.h"

#include <cstdint>
#include <string>
#include <vector>

class TTypeSym;

struct TStringRep {
    uint32_t Refs = 1;
    std::string Text;
};

// An instance of a script class: the exception classes and TObject.
struct TObjectRep {
    uint32_t Refs = 1;
    const TTypeSym* Class = nullptr;
    std::vector<TVariant> Fields;
};

// A dynamic array: ElemSlots slots per element (records and static arrays are flattened), so
// Items holds Length * ElemSlots slots.
struct TArrayRep {
    uint32_t Refs = 1;
    int32_t ElemSlots = 1;
    std::vector<TVariant> Items;
};

[[nodiscard]] inline TVariant MakeString(std::string text) {
    if (text.empty()) {
        return TVariant::Zero(TVarKind::String);
    }
    return TVariant::AdoptString(new TStringRep{1, std::move(text)});
}
