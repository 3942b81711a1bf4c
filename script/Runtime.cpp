// The data stack, the step budget and the native-stack guard.
#include "script/Runtime.h"

#include "platform/Clock.h"
#include "script/Code.h"
#include "script/Reps.h"

#include <algorithm>
#include <cstring>
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

TRuntime::TRuntime(TProgram& program, const TCode& code, int32_t chunkSize, int32_t maxDataSize)
    : Prog(program), Code(code), ChunkSize(std::max<int32_t>(chunkSize, 64)),
      MaxData(std::max<int32_t>(maxDataSize, 1)) {}

TRuntime::~TRuntime() {
    FreeGlobals();
}

TVariant* TRuntime::Push(int32_t size, const TVariant* init, const TScriptPos& pos) {
    if (Used + size > MaxData) {
        throw EScriptAbort{"Maximal data size exceeded (" + std::to_string(MaxData) + " Variants)", pos};
    }
    if (Chunks.empty() || Chunks[Current].Top + size > Chunks[Current].Size) {
        if (!Chunks.empty() && Chunks[Current].Top > 0) {
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
    }
    TChunk& chunk = Chunks[Current];
    TVariant* frame = chunk.Slots.get() + chunk.Top;
    // The slots hold no references (Pop released them) and init holds plain values only.
    std::memcpy(static_cast<void*>(frame), static_cast<const void*>(init),
                sizeof(TVariant) * static_cast<size_t>(size));
    chunk.Top += size;
    Used += size;
    return frame;
}

void TRuntime::Pop(int32_t size, const std::vector<int32_t>& managed) {
    while (Chunks[Current].Top == 0 && Current > 0) {
        --Current;
    }
    TChunk& chunk = Chunks[Current];
    TVariant* frame = chunk.Slots.get() + chunk.Top - size;
    for (const int32_t i : managed) {
        frame[i] = TVariant();
    }
    chunk.Top -= size;
    Used -= size;
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
    Quantum = (stepLimit || deadlineMs) ? kStepQuantum : INT64_MAX;
    if (stepLimit) {
        Quantum = std::min<int64_t>(Quantum, static_cast<int64_t>(std::min<uint64_t>(stepLimit, INT64_MAX)));
    }
    Budget = Quantum;
    CallDepth = 0;
}

void TRuntime::Checkpoint() {
    if (StepLimit) {
        StepsLeft -= std::min<uint64_t>(StepsLeft, static_cast<uint64_t>(Quantum));
        if (StepsLeft == 0) {
            Budget = 1; // stays exhausted: every further step ends the run again
            throw EScriptAbort{"Script exceeded its step limit (" + std::to_string(StepLimit) + " steps)",
                               {}};
        }
        Quantum =
            std::min<int64_t>(kStepQuantum, static_cast<int64_t>(std::min<uint64_t>(StepsLeft, INT64_MAX)));
    }
    if (Deadline && static_cast<int32_t>(SystemTicks() - Deadline) >= 0) {
        Budget = 1;
        throw EScriptAbort{"Script was stopped.", {}};
    }
    Budget = Quantum;
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
