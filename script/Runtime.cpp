// The data stack, the step budget and the native-stack guard.
#include "script/Runtime.h"

#include "platform/Clock.h"
#include "script/Code.h"
#include "script/Reps.h"

#include <algorithm>
#include <sys/resource.h>

namespace {

// Steps between two looks at the clock and the step limit: small enough that a time-out is
// noticed within a millisecond or so, large enough that the look costs nothing.
constexpr int64_t kStepQuantum = 1 << 14;

// Native stack a run may use below the host's call. Deep script recursion ends with a script
// error long before the thread's own stack (8 MB on Linux) is at risk.
size_t NativeStackBudget() {
    size_t budget = size_t(4) << 20;
    rlimit limit{};
    if (getrlimit(RLIMIT_STACK, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        budget = std::min<size_t>(budget, limit.rlim_cur / 2);
    }
    return budget;
}

} // namespace

TRuntime::TRuntime(TProgram& program, const TCode& code, int32_t chunkSize, int32_t maxDataSize,
                   int64_t maxMemory)
    : Prog(program), Code(code), ChunkSize(std::max<int32_t>(chunkSize, 64)),
      MaxData(std::max<int32_t>(maxDataSize, 1)), StackRoom(MaxData),
      MaxMemory(std::max<int64_t>(maxMemory, 1)), Data(new TDataAccount) {}

TRuntime::~TRuntime() {
    FreeGlobals();
    LeaveDataAccount(Data, 0, 0);
}

void TRuntime::DataSizeExceeded(const TScriptPos& pos) const {
    throw EScriptAbort{"Maximal data size exceeded (" + std::to_string(MaxData) + " Variants)", pos};
}

void TRuntime::MemoryExceeded(const TScriptPos& pos) const {
    throw EScriptAbort{"Maximal string and array memory exceeded (" + std::to_string(MaxMemory) + " bytes)",
                       pos};
}

TVariant* TRuntime::PushSlow(int32_t size, const TVariant* init, int32_t first, const TScriptPos& pos) {
    StackRoom = MaxData - Data->ArraySlots;
    if (Used() + size > StackRoom) {
        DataSizeExceeded(pos);
    }
    if (!Top || Top + size > TopEnd) {
        // The current chunk is full (or there is none yet): go on in the next one.
        if (Top) {
            Chunks[Current].SavedTop = Top;
            UsedBelow += Top - Base;
            ++Current;
        }
        if (Current >= Chunks.size()) {
            Chunks.emplace_back();
        }
        TChunk& chunk = Chunks[Current];
        if (chunk.Size < size) {
            chunk.Size = std::max(ChunkSize, size);
            chunk.Slots = std::make_unique<TVariant[]>(static_cast<size_t>(chunk.Size));
        }
        Top = chunk.Slots.get();
        Base = Top;
        TopEnd = Top + chunk.Size;
    }
    SetLimit();
    return PushHere(size, init, first);
}

void TRuntime::SetLimit() {
    // Used never passes StackRoom (pushes and array reservations check it first), so the room
    // is not negative; the clamp only keeps Limit inside the chunk.
    const int64_t room = std::max<int64_t>(StackRoom - Used(), 0);
    Limit = Top + std::min<int64_t>(TopEnd - Top, room);
}

void TRuntime::ReserveArraySlots(int64_t slots, const TScriptPos& pos) {
    if (slots <= 0) {
        return;
    }
    if (slots > MaxData || Used() + Data->ArraySlots + slots > MaxData) {
        DataSizeExceeded(pos);
    }
    ReserveMemory(slots * static_cast<int64_t>(sizeof(TVariant)), pos);
    StackRoom = MaxData - Data->ArraySlots - slots;
    if (Top) {
        SetLimit();
    }
}

void TRuntime::CheckMemory(const TScriptPos& pos) {
    if (Data->Bytes > MaxMemory) {
        MemoryExceeded(pos);
    }
}

// The top frame is the first of the current chunk: popping it returns to the previous chunk.
void TRuntime::PopChunk() {
    if (Current == 0) {
        return;
    }
    --Current;
    Top = Chunks[Current].SavedTop;
    Base = Chunks[Current].Slots.get();
    TopEnd = Base + Chunks[Current].Size;
    UsedBelow -= Top - Base;
    SetLimit();
}

void TRuntime::AllocateGlobals() {
    GlobalSize = std::max<int32_t>(Code.GlobalSize, 1);
    std::vector<TVariant> init(static_cast<size_t>(GlobalSize));
    std::copy(Code.GlobalInit.begin(), Code.GlobalInit.end(), init.begin());
    Globals = Push(GlobalSize, init.data(), {});
    Frame = Globals;
}

void TRuntime::FreeGlobals() {
    if (Globals) {
        Pop(GlobalSize, Code.GlobalManaged);
        Globals = nullptr;
        Frame = nullptr;
    }
}

void TRuntime::EnterHost(uint64_t stepLimit, uint32_t deadlineMs) {
    StackLimit = reinterpret_cast<const char*>(__builtin_frame_address(0)) - NativeStackBudget();
    StepLimit = stepLimit;
    StepsLeft = stepLimit;
    Deadline = deadlineMs;
    Reset = INT64_MAX / 2;
    if (stepLimit || deadlineMs) {
        Reset = kStepQuantum;
    }
    if (stepLimit) {
        Reset = std::min<int64_t>(Reset, static_cast<int64_t>(std::min<uint64_t>(stepLimit, INT64_MAX / 2)));
    }
    Budget = Reset;
    CallDepth = 0;
}

// Budget ran below 0: the steps since the last checkpoint are counted against the limit, and
// the clock is read for the time-out.
void TRuntime::Checkpoint() {
    const uint64_t used = static_cast<uint64_t>(Reset - Budget);
    if (StepLimit) {
        if (used > StepsLeft) {
            Budget = 0; // stays exhausted: every further step ends the run again
            Reset = 0;
            StepsLeft = 0;
            throw EScriptAbort{"Script exceeded its step limit (" + std::to_string(StepLimit) + " steps)",
                               {}};
        }
        StepsLeft -= used;
    }
    if (Deadline && static_cast<int32_t>(SystemTicks() - Deadline) >= 0) {
        Budget = 0;
        Reset = 0;
        throw EScriptAbort{"Script was stopped.", {}};
    }
    Reset = StepLimit ? std::min<int64_t>(kStepQuantum,
                                          static_cast<int64_t>(std::min<uint64_t>(StepsLeft, INT64_MAX / 2)))
                      : (Deadline ? kStepQuantum : INT64_MAX / 2);
    Budget = Reset;
}

void TRuntime::StackOverflow(const TScriptPos& pos) const {
    throw EScriptAbort{"Maximal recursion depth exceeded (" + std::to_string(CallDepth) + " calls)", pos};
}

TVariant TRuntime::MakeException(std::string_view message) const {
    auto* rep = new TObjectRep;
    rep->Class = Code.ExceptionType;
    rep->Fields.resize(Code.ExceptionType->Members.size());
    rep->Fields[0] = TVariant(message);
    return TVariant::AdoptObject(rep);
}

TVariant TRuntime::MakeHostError(std::string_view className, std::string_view message) const {
    auto* rep = new TObjectRep;
    rep->Class = Code.HostErrorType;
    rep->Fields.resize(Code.HostErrorType->Members.size());
    rep->Fields[0] = TVariant(message);
    rep->Fields[1] = TVariant(className);
    return TVariant::AdoptObject(rep);
}

std::string TRuntime::ExceptionMessage(const TVariant& object) {
    const TObjectRep* rep = object.Kind() == TVarKind::Object ? object.Obj() : nullptr;
    if (!rep || rep->Fields.empty()) {
        return {};
    }
    return std::string(rep->Fields[0].StrView());
}

void RuntimeError(TRuntime& rt, const TScriptPos& pos, std::string message) {
    throw EScriptRaise{rt.MakeException(message), pos};
}

void StringTooLong(TRuntime& rt, const TScriptPos& pos) {
    RuntimeError(rt, pos, "String too long (more than " + std::to_string(kMaxStringLength) + " characters)");
}
