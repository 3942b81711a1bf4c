// Type layout and symbol tables.
#include "script/Types.h"

#include "script/Nodes.h"

#include <algorithm>

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

bool TTypeSym::InheritsFrom(const TTypeSym& ancestor) const {
    for (const TTypeSym* t = this; t; t = t->Parent) {
        if (t == &ancestor) {
            return true;
        }
    }
    return false;
}

const TMemberSym* TTypeSym::FindMember(std::string_view name) const {
    for (const TMemberSym& m : Members) {
        if (SameText(m.Name, name)) {
            return &m;
        }
    }
    return nullptr;
}

void TTypeSym::InitSlots(TVariant* dst) const {
    switch (Kind) {
    case TTypeKind::Integer:
    case TTypeKind::Enum:
        *dst = TVariant::Zero(TVarKind::Integer);
        break;
    case TTypeKind::Float:
        *dst = TVariant::Zero(TVarKind::Float);
        break;
    case TTypeKind::Boolean:
        *dst = TVariant::Zero(TVarKind::Boolean);
        break;
    case TTypeKind::String:
        *dst = TVariant::Zero(TVarKind::String);
        break;
    case TTypeKind::Variant:
        *dst = TVariant();
        break;
    case TTypeKind::Class:
    case TTypeKind::Nil:
        *dst = TVariant::Zero(TVarKind::Object);
        break;
    case TTypeKind::DynArray:
        *dst = TVariant::Zero(TVarKind::Array);
        break;
    case TTypeKind::Record:
        for (const TMemberSym& m : Members) {
            m.Type->InitSlots(dst + m.Offset);
        }
        break;
    case TTypeKind::StaticArray:
        for (int64_t i = 0; i <= High - Low; ++i) {
            Elem->InitSlots(dst + i * Elem->Slots);
        }
        break;
    }
}

bool TTypeSym::HasManagedSlots() const {
    switch (Kind) {
    case TTypeKind::Record:
        return std::any_of(Members.begin(), Members.end(),
                           [](const TMemberSym& m) { return m.Type->HasManagedSlots(); });
    case TTypeKind::StaticArray:
        return Elem->HasManagedSlots();
    default:
        return Managed;
    }
}

void TTypeSym::CollectManaged(int32_t base, std::vector<int32_t>& out) const {
    switch (Kind) {
    case TTypeKind::Record:
        for (const TMemberSym& m : Members) {
            m.Type->CollectManaged(base + m.Offset, out);
        }
        break;
    case TTypeKind::StaticArray:
        if (Elem->HasManagedSlots()) {
            for (int64_t i = 0; i <= High - Low; ++i) {
                Elem->CollectManaged(base + static_cast<int32_t>(i) * Elem->Slots, out);
            }
        }
        break;
    default:
        if (Managed) {
            out.push_back(base);
        }
        break;
    }
}

TFuncSym::~TFuncSym() = default;

int TFuncSym::RequiredParams() const {
    // Arguments bind from the left, so a parameter without a default after one with a default
    // must still be given, and so must every parameter before it.
    int n = 0;
    for (size_t i = 0; i < Params.size(); ++i) {
        if (!Params[i].HasDefault) {
            n = static_cast<int>(i) + 1;
        }
    }
    return n;
}

TSymbol* TScope::FindLocal(std::string_view name) const {
    const auto it = Table.find(LowerCase(name));
    return it == Table.end() ? nullptr : it->second;
}

TSymbol* TScope::Find(std::string_view name) const {
    const std::string key = LowerCase(name);
    for (const TScope* s = this; s; s = s->Parent) {
        if (const auto it = s->Table.find(key); it != s->Table.end()) {
            return it->second;
        }
    }
    return nullptr;
}

void TScope::Add(TSymbol& symbol) {
    Table[LowerCase(symbol.Name)] = &symbol;
}
