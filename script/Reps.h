// The shared, reference-counted payloads behind String, Object and Array variants, and the
// account that counts what a program's strings and arrays take. Only the runtime and the variant
// code see them; hosts go through TVariant's accessors.
#pragma once

#include "script/Variant.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class TTypeSym;

// What one program's strings and dynamic arrays take, so its limits can count them without
// walking its data: every string or array made while the program runs joins the account and
// takes its share out when it goes. A result the host keeps may outlive the program, so the
// account lives until the runtime and the last rep counted in it have let it go.
struct TDataAccount {
    uint32_t Holders = 1;   // the runtime, and each rep counted here
    int64_t Bytes = 0;      // strings and arrays, their headers included
    int64_t ArraySlots = 0; // the slots of every dynamic array's elements
};

// The account of the program running on this thread, nullptr between runs (set by
// TDataAccountScope). Strings and arrays made by the host outside a run count nowhere.
extern constinit thread_local TDataAccount* CurrentDataAccount;

// Makes account current for a run into its program; nested runs of other programs restore it.
class TDataAccountScope {
public:
    explicit TDataAccountScope(TDataAccount* account) : Saved(CurrentDataAccount) {
        CurrentDataAccount = account;
    }
    ~TDataAccountScope() { CurrentDataAccount = Saved; }
    TDataAccountScope(const TDataAccountScope&) = delete;
    TDataAccountScope& operator=(const TDataAccountScope&) = delete;

private:
    TDataAccount* Saved;
};

// Drops one holder: the runtime's (with no bytes) or a rep's (with what it counted).
void LeaveDataAccount(TDataAccount* account, int64_t bytes, int64_t slots) noexcept;

struct TStringRep {
    explicit TStringRep(std::string text);
    ~TStringRep();
    TStringRep(const TStringRep&) = delete;
    TStringRep& operator=(const TStringRep&) = delete;
    // Appends in place; the rep must not be shared. Within the buffer the account stays as it is.
    void Append(std::string_view tail) {
        if (tail.size() <= Text.capacity() - Text.size()) {
            Text.append(tail);
        } else {
            Grow(tail);
        }
    }
    // Appends into a larger buffer, which the account follows.
    void Grow(std::string_view tail);
    [[nodiscard]] int64_t CountedBytes() const noexcept {
        return static_cast<int64_t>(sizeof(TStringRep) + Text.capacity());
    }

    uint32_t Refs = 1;
    TDataAccount* const Account;
    std::string Text; // grows only through Append, so the account stays right
};

// An instance of a script class: the exception classes and TObject. Objects are few and small,
// and count nowhere.
struct TObjectRep {
    uint32_t Refs = 1;
    const TTypeSym* Class = nullptr;
    std::vector<TVariant> Fields;
};

// A dynamic array: ElemSlots slots per element (records and static arrays are flattened), so
// Items holds Length * ElemSlots slots.
struct TArrayRep {
    TArrayRep(int32_t elemSlots, std::vector<TVariant> items);
    ~TArrayRep();
    TArrayRep(const TArrayRep&) = delete;
    TArrayRep& operator=(const TArrayRep&) = delete;
    // Items.resize; new slots are Unassigned until the caller initialises them.
    void Resize(size_t slots);
    [[nodiscard]] int64_t CountedBytes() const noexcept {
        return static_cast<int64_t>(sizeof(TArrayRep) + Items.capacity() * sizeof(TVariant));
    }

    uint32_t Refs = 1;
    int32_t ElemSlots = 1;
    TDataAccount* const Account;
    std::vector<TVariant> Items; // changes its length only through Resize
};

// TVariant counts a rep through a pointer to its first member, whatever the rep's kind.
static_assert(std::is_standard_layout_v<TStringRep> && offsetof(TStringRep, Refs) == 0);
static_assert(std::is_standard_layout_v<TObjectRep> && offsetof(TObjectRep, Refs) == 0);
static_assert(std::is_standard_layout_v<TArrayRep> && offsetof(TArrayRep, Refs) == 0);

[[nodiscard]] inline TVariant MakeString(std::string text) {
    if (text.empty()) {
        return TVariant::Zero(TVarKind::String);
    }
    return TVariant::AdoptString(new TStringRep(std::move(text)));
}
