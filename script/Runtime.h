// The running program's machine state: the data stack of variant slots with its frames, the
// step budget, the native-stack guard, and the errors scripts raise.
#pragma once

#include "script/Messages.h"
#include "script/Variant.h"

#include <cstdint>
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
    TRuntime(TProgram& program, const TCode& code, int32_t chunkSize, int32_t maxDataSize);
    TRuntime(const TRuntime&) = delete;
    TRuntime& operator=(const TRuntime&) = delete;
    ~TRuntime();

    TProgram& Prog;
    const TCode& Code;
    TVariant* Globals = nullptr;
    TVariant* Frame = nullptr;

    // Pushes a frame of size slots copied from init (plain values, no references) and returns it.
    TVariant* Push(int32_t size, const TVariant* init, const TScriptPos& pos);
    // Releases the managed slots of the top frame and pops it.
    void Pop(int32_t size, const std::vector<int32_t>& managed);
    [[nodiscard]] bool HasGlobals() const { return Globals != nullptr; }
    void AllocateGlobals();
    void FreeGlobals();

    // One step: a loop round or a call. Cheap until the budget runs out, then Checkpoint
    // checks the step limit and the time-out.
    void Step() {
        if (--Budget <= 0) {
            Checkpoint();
        }
    }
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
    void Checkpoint();
    [[noreturn]] void StackOverflow(const TScriptPos& pos) const;

    struct TChunk {
        std::unique_ptr<TVariant[]> Slots;
        int32_t Size = 0;
        int32_t Top = 0;
    };
    std::vector<TChunk> Chunks;
    size_t Current = 0;
    int32_t ChunkSize;
    int32_t MaxData;
    int64_t Used = 0;
    std::vector<size_t> FrameChunks; // which chunk each pushed frame went to
    int32_t GlobalSize = 0;

    int64_t Budget = INT64_MAX;
    int64_t Quantum = INT64_MAX;
    uint64_t StepsLeft = 0; // 0: no step limit
    uint64_t StepLimit = 0;
    uint32_t Deadline = 0;
    const char* StackLimit = nullptr;
};

// Raises a script exception of class Exception with the given message at pos.
[[noreturn]] void RuntimeError(TRuntime& rt, const TScriptPos& pos, std::string message);
