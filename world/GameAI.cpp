// The host of an AI script: assembling its text from the shared file and the fighter's own,
// the records and routines it may call, and the calls of "Init" and "Execute".
#include "media/BriskImage.h"
#include "media/BriskLogger.h"
#include "path/GamePath.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "script/AIHost.h"
#include "script/BriskAI.h"
#include "script/ProgramInfo.h"
#include "script/ScriptError.h"
#include "world/AIPlayers.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// How many route steps a script's TPath record holds (S1..S5).
constexpr int32_t kPathRecordSteps = 5;

// The lines of an AI file; a missing file, or one that is no regular file (a pipe would wait
// for a writer), is raised by name, and so is one larger than any data file may be.
std::vector<std::string> ReadScriptLines(std::string_view fileName) {
    const std::string path = ResolvePath(fileName);
    std::error_code error;
    std::ifstream file;
    if (std::filesystem::is_regular_file(path, error)) file.open(path, std::ios::binary);
    if (!file.is_open()) throw EWorldError("Could not open AI script " + std::string(fileName));
    if (std::filesystem::file_size(path, error) > static_cast<uintmax_t>(kMaxIniFileBytes))
        throw EWorldError("AI script " + std::string(fileName) + " is larger than " +
                          std::to_string(kMaxIniFileBytes / (1024 * 1024)) + " MB");
    return SplitScriptLines(file);
}

int32_t IntegerArgument(const TProgramInfo& info, std::string_view name) {
    return static_cast<int32_t>(info.Value(name).AsInteger());
}

} // namespace

TGameAI::TGameAI() : Script(std::make_unique<TBriskAI>()), HostPath(std::make_unique<TPath>()) {
    Script->Log = [](std::string_view message, std::string_view location) {
        Logger->LogError(message, location);
    };
    // What a script prints is for its author: status lines naming the script and the call.
    Script->Output = [this](std::string_view text, std::string_view function) {
        const std::string location = FileName + " " + std::string(function);
        while (!text.empty()) {
            const size_t end = text.find('\n');
            Logger->LogStatus(text.substr(0, end), location);
            if (end == std::string_view::npos) break;
            text.remove_prefix(end + 1);
        }
    };
}

TGameAI::~TGameAI() = default;

void TGameAI::Load(std::string_view fileName) {
    FileName = std::string(fileName);
    const std::vector<std::string> own = ReadScriptLines(fileName);
    const std::vector<std::string> shared = ReadScriptLines(kSharedAIFile);
    // The shared part first, so the fighter's file may use everything it defines.
    Script->ScriptText = shared;
    Script->ScriptText.insert(Script->ScriptText.end(), own.begin(), own.end());
    Script->Sources = {{std::string(kSharedAIFile), static_cast<int32_t>(shared.size())},
                       {FileName, static_cast<int32_t>(own.size())}};
    Start();
}

void TGameAI::LoadAlone(std::string_view fileName) {
    FileName = std::string(fileName);
    Script->ScriptText = ReadScriptLines(fileName);
    Script->Sources = {{FileName, static_cast<int32_t>(Script->ScriptText.size())}};
    Start();
}

void TGameAI::Start() {
    DeclareAIHost(*Script, [this](std::string_view routine) { return Handler(routine); });
    Script->Compile();
    try {
        Script->CallFunction("Init");
    } catch (const EScriptError& error) {
        // The author needs the script the error came from; the main loop's guard logs the text.
        throw EScriptError(std::string(error.what()) + " in \"Init\" of " + FileName);
    }
}

void TGameAI::Execute() {
    try {
        Script->Run();
    } catch (const EScriptError& error) {
        throw EScriptError(std::string(error.what()) + " in \"Execute\" of " + FileName);
    }
}

bool TGameAI::KeyHeld(int32_t id) const {
    return id >= 1 && id <= kAIButtons && Keys[static_cast<size_t>(id)];
}

TEvalHandler TGameAI::Handler(std::string_view routine) {
    if (routine == "KeyUp")
        return [this](TProgramInfo& info) { SetKey(IntegerArgument(info, "ID"), false, "KeyUp"); };
    if (routine == "KeyDown")
        return [this](TProgramInfo& info) { SetKey(IntegerArgument(info, "ID"), true, "KeyDown"); };
    if (routine == "GetPlayerCount") return [](TProgramInfo& info) { info.SetResult(int32_t{2}); };
    if (routine == "GetPlayer")
        return [this](TProgramInfo& info) {
            const int32_t id = IntegerArgument(info, "ID");
            FillPlayerInfo(info.Vars("PlayerInfo"), Fighter(id, "GetPlayer"));
        };
    if (routine == "GetSelf")
        return [this](TProgramInfo& info) { FillPlayerInfo(info.Vars("PlayerInfo"), Player); };
    // The script's fighter is player 2 of a local game; the duel runner tells each its own.
    if (routine == "GetPlayerID") return [this](TProgramInfo& info) { info.SetResult(PlayerID); };
    if (routine == "GetPath")
        return [this](TProgramInfo& info) {
            // A search costs as much as thousands of statements: charged by its work, a script
            // that searches in a loop meets the step limit within milliseconds.
            info.ChargeSteps(FillPath(info.Vars("Path"), IntegerArgument(info, "FromX"),
                                      IntegerArgument(info, "FromY"), IntegerArgument(info, "ToX"),
                                      IntegerArgument(info, "ToY")));
        };
    if (TEvalHandler sight = SightHandler(routine)) return sight;
    throw std::logic_error("No handler for the host routine " + std::string(routine));
}

void TGameAI::SetKey(int32_t id, bool held, std::string_view routine) {
    if (id < 1 || id > kAIButtons)
        throw EHostError("ERangeError", std::string(routine) + ": there is no button " + std::to_string(id) +
                                            " (buttons are 1 to 15)");
    Keys[static_cast<size_t>(id)] = held;
}

void TGameAI::FillPlayerInfo(const TVarInfo& info, const TBasePlayer* fighter) const {
    // The character's name is the name its sprite sheet was registered under.
    const std::string name = fighter != nullptr && fighter->Image() != nullptr ? fighter->Image()->Name : "";
    const int32_t x = fighter != nullptr ? fighter->FootX() : 0;
    const int32_t y = fighter != nullptr ? fighter->FootY() : 0;
    // A player cannot see an invisible foe, and neither may the computer.
    const bool hidden = HiddenFoe(fighter);
    info.Member("Name").SetValue(name);
    info.Member("X").SetValue(hidden ? -1 : x);
    info.Member("Y").SetValue(hidden ? -1 : y);
    // The square GetPath takes; division truncates like the scripts' div.
    info.Member("CX").SetValue(hidden ? -1 : x / kSquareWidth);
    info.Member("CY").SetValue(hidden ? -1 : y / kSquareHeight);
    info.Member("Missile").SetValue(fighter != nullptr ? fighter->Missile : 0);
    info.Member("Melee").SetValue(fighter != nullptr ? fighter->Melee : 0);
}

int32_t TGameAI::FillPath(const TVarInfo& info, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
    // A search that runs dry leaves its path as it was, so every call starts from an empty one.
    HostPath->Clear();
    const int32_t work = Map != nullptr ? Map->FindPath(fromX, fromY, toX, toY, HostPath) : 0;
    const int32_t count = HostPath->Count();
    info.Member("Steps").SetValue(count);
    static constexpr std::array<std::string_view, kPathRecordSteps> kStepNames{"S1", "S2", "S3", "S4", "S5"};
    for (int32_t i = 0; i < kPathRecordSteps; ++i) {
        const TVarInfo step = info.Member(kStepNames[static_cast<size_t>(i)]);
        const bool present = i < count;
        step.Member("X").SetValue(present ? HostPath->StepAt(i).X : -1);
        step.Member("Y").SetValue(present ? HostPath->StepAt(i).Y : -1);
    }
    return work;
}
