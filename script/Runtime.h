// The running program's machine state: the data stack of variant slots with its frames, the
// step budget, the native-stack guard, and the errors scripts raise.
#pragma once

#include "script/Messages.h"
#include "script/Reps.h"
#include "script/Variant.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

class TProgram;
class TTypeSym;
struct TCode;

// A script exception in flight: an object of an exception class and where it was raised. Script
// TRY/EXCEPT catches it; at the host it becomes a "Runtime Error: " message.
struct EScriptRaise {
    TVariant Object;
    TScriptPos Pos;
};

// The end of a run that scripts cannot catch: a step limit, a time-out, the data stack or the
// native stack running out. FINALLY blocks still run on the way out.
struct EScriptAbort {
    std::string Text;
    TScriptPos Pos;
};

class TRuntime {
public:
    TRuntime(TProgram& program, const TCode& code, int32_t chunkSize, int32_t maxDataSize, int64_t maxMemory);
    TRuntime(const TRuntime&) = delete;
    TRuntime& operator=(const TRuntime&) = delete;
    ~TRuntime();

    TProgram& Prog;
    const TCode& Code;
    TVariant* Globals = nullptr;
    TVariant* Frame = nullptr;

    // Pushes a frame of size slots and returns it. Slots from the first on are copied from init
    // (plain values, no references); those before it are left to the caller, who must write
    // each of them whole (value and tag) before anything reads or releases it.
    [[gnu::always_inline]] TVariant* Push(int32_t size, const TVariant* init, const TScriptPos& pos,
                                          int32_t first = 0) {
        // One compare covers both the chunk's end and the room the data limit leaves.
        if (size <= Limit - Top) {
            return PushHere(size, init, first);
        }
        return PushSlow(size, init, first, pos);
    }
    // Releases the managed slots of the top frame and pops it.
    [[gnu::always_inline]] void Pop(int32_t size, const std::vector<int32_t>& managed) {
        if (Top == Base) {
            PopChunk();
        }
        Top -= size;
        for (const int32_t i : managed) {
            Top[i] = TVariant();
        }
    }
    [[nodiscard]] bool HasGlobals() const { return Globals != nullptr; }
    void AllocateGlobals();
    void FreeGlobals();

    // One step: a loop round or a call. Cheap until the budget runs out, then Checkpoint
    // checks the step limit and the time-out.
    void Step() {
        if (--Budget < 0) {
            Checkpoint();
        }
    }
    // Work worth several steps (copying a long string, filling a large array, a host routine's
    // search), so a step limit also bounds the time a run can take.
    void Charge(int64_t steps) {
        Budget -= steps;
        if (Budget < 0) {
            Checkpoint();
        }
    }
    // Work on text of that many characters: a step per KB, nothing for short texts.
    void ChargeText(size_t characters) {
        if (characters >= kCharactersPerStep) {
            Charge(static_cast<int64_t>(characters / kCharactersPerStep));
        }
    }
    static constexpr size_t kCharactersPerStep = 1024;
    // Work on that many slots (a large frame pushed, a large record copied, an array filled): a
    // step per 16, nothing for the small records and frames of every day.
    void ChargeSlots(int64_t slots) {
        if (slots >= kSlotsPerStep) {
            Charge(slots / kSlotsPerStep);
        }
    }
    static constexpr int64_t kSlotsPerStep = 16;

    // The data limits. The data stack and all dynamic arrays together hold at most MaxDataSize
    // variants ("Maximal data size exceeded (%d Variants)"); strings and dynamic arrays together
    // take at most MaxMemory bytes ("Maximal string and array memory exceeded (%d bytes)").
    // Both end the run; scripts cannot catch them.
    //
    // Before an array grows by slots more variants (and its bytes).
    void ReserveArraySlots(int64_t slots, const TScriptPos& pos);
    // Before bytes more of strings or arrays are made.
    void ReserveMemory(int64_t bytes, const TScriptPos& pos) {
        if (bytes > MaxMemory || Data->Bytes + bytes > MaxMemory) {
            MemoryExceeded(pos);
        }
    }
    // After the host made a string: whether the program is still within MaxMemory.
    void CheckMemory(const TScriptPos& pos);
    [[nodiscard]] TDataAccount& Account() const { return *Data; }
    // Arms the limits for one call from the host: steps (0 = none) and a deadline in ticks
    // (0 = none); EnterHost also sets the native-stack guard from the caller's stack position.
    void EnterHost(uint64_t stepLimit, uint32_t deadlineMs);
    // Guards against native stack overflow in deep script recursion.
    void CheckStack(const TScriptPos& pos) const {
        if (reinterpret_cast<const char*>(__builtin_frame_address(0)) < StackLimit) {
            StackOverflow(pos);
        }
    }
    [[nodiscard]] int32_t MaxDataSize() const { return MaxData; }
    int32_t CallDepth = 0;
    // How deep host calls into the program nest (a handler calling a script function...).
    int32_t HostDepth = 0;

    // Builds an exception object of the language's Exception class (or the host-error class).
    [[nodiscard]] TVariant MakeException(std::string_view message) const;
    [[nodiscard]] TVariant MakeHostError(std::string_view className, std::string_view message) const;
    [[nodiscard]] static std::string ExceptionMessage(const TVariant& object);

private:
    [[gnu::always_inline]] TVariant* PushHere(int32_t size, const TVariant* init, int32_t first) {
        TVariant* frame = Top;
        // The slots hold no references (Pop released them) and init holds plain values only.
        TVariant::CopyPlain(frame + first, init + first, size - first);
        Top += size;
        return frame;
    }
    TVariant* PushSlow(int32_t size, const TVariant* init, int32_t first, const TScriptPos& pos);
    // Slots the frames of every chunk hold.
    [[nodiscard]] int64_t Used() const { return UsedBelow + (Top - Base); }
    // Sets Limit after the chunk or StackRoom changed.
    void SetLimit();
    void PopChunk();
    [[noreturn]] void DataSizeExceeded(const TScriptPos& pos) const;
    [[noreturn]] void MemoryExceeded(const TScriptPos& pos) const;
    void Checkpoint();
    [[noreturn]] void StackOverflow(const TScriptPos& pos) const;

    // The stack is a list of chunks; a frame lies within one chunk, so slot addresses never move.
    struct TChunk {
        std::unique_ptr<TVariant[]> Slots;
        int32_t Size = 0;
        TVariant* SavedTop = nullptr; // where the stack stood in this chunk when the next began
    };
    std::vector<TChunk> Chunks;
    size_t Current = 0;
    TVariant* Top = nullptr;    // the first free slot of the current chunk
    TVariant* Base = nullptr;   // the current chunk's first slot
    TVariant* TopEnd = nullptr; // the end of the current chunk
    // How far frames may go without a look at the slow path: the chunk's end, or sooner where
    // the stack would pass StackRoom. Top and the room move together, so it stays put while
    // frames come and go within the chunk.
    TVariant* Limit = nullptr;
    int64_t UsedBelow = 0; // slots of the frames in the chunks before the current one
    int32_t ChunkSize;
    int32_t MaxData;
    // What the stack may use: MaxData less the arrays' slots when last looked at. Arrays that
    // went since leave it too small, never too large; the slow push looks again before it fails.
    int64_t StackRoom = 0;
    int64_t MaxMemory;
    TDataAccount* Data; // one holder is ours
    int32_t GlobalSize = 0;

    int64_t Budget = INT64_MAX / 2; // steps left before the next checkpoint
    int64_t Reset = INT64_MAX / 2;  // what Budget was set to at the last checkpoint
    uint64_t StepsLeft = 0;         // 0: no step limit
    uint64_t StepLimit = 0;
    uint32_t Deadline = 0;
    const char* StackLimit = nullptr;
};

// Raises a script exception of class Exception with the given message at pos.
[[noreturn]] void RuntimeError(TRuntime& rt, const TScriptPos& pos, std::string message);

// No script needs strings this long; a runaway "s := s + s" stops here with a script error
// instead of taking all the machine's memory.
inline constexpr size_t kMaxStringLength = size_t(1) << 28;

[[noreturn]] void StringTooLong(TRuntime& rt, const TScriptPos& pos);

// Accounts for building a string of resultLength characters by copying copied of them: fails
// beyond kMaxStringLength or the program's memory (the result counts whole, as a string that
// grows may move to a buffer of its new length) and charges a step per KB copied.
inline void StringWork(TRuntime& rt, const TScriptPos& pos, size_t resultLength, size_t copied) {
    if (resultLength > kMaxStringLength) {
        StringTooLong(rt, pos);
    }
    rt.ReserveMemory(static_cast<int64_t>(resultLength), pos);
    rt.ChargeText(copied);
}
