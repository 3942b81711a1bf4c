// The engine object: attached units, the system unit, and compiling a text into a program.
#include "script/ScriptEngine.h"

#include "script/Builtins.h"
#include "script/Compiler.h"
#include "script/HostUnit.h"
#include "script/ProgramInfo.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

// An include file is script text; anything larger is not one.
constexpr std::uintmax_t kMaxIncludeBytes = std::uintmax_t(16) << 20;

} // namespace

TScriptEngine::TScriptEngine() = default;

TScriptEngine::~TScriptEngine() {
    // The units are the host's; leave them detached rather than pointing at a dead engine.
    while (!AttachedUnits.empty()) {
        AttachedUnits.back()->SetScript(nullptr);
    }
}

void TScriptEngine::AttachUnit(TScriptUnit& unit) {
    if (std::find(AttachedUnits.begin(), AttachedUnits.end(), &unit) == AttachedUnits.end()) {
        AttachedUnits.push_back(&unit);
    }
    if (unit.Script() != this) {
        unit.SetScript(this);
    }
}

void TScriptEngine::DetachUnit(TScriptUnit& unit) {
    std::erase(AttachedUnits, &unit);
    if (unit.Script() == this) {
        unit.SetScript(nullptr);
    }
}

const TScriptUnit& TScriptEngine::SystemUnit() {
    static const std::unique_ptr<TScriptUnit> unit = [] {
        auto unit = std::make_unique<TScriptUnit>();
        TScriptUnit& u = *unit;
        u.SetUnitName("System");
        u.AddFunction("Print", {{"v", "Variant"}}, "",
                      [](TProgramInfo& info) { info.Program().AppendResult(info.Value("v").AsString()); });
        u.AddFunction("PrintLn", {{"v", "Variant"}}, "", [](TProgramInfo& info) {
            info.Program().AppendResult(info.Value("v").AsString());
            info.Program().AppendResult("\n");
        });
        RegisterBuiltins(u);
        return unit;
    }();
    return *unit;
}

std::unique_ptr<TProgram> TScriptEngine::Compile(std::string_view text) {
    auto code = std::make_unique<TCode>();
    TMsgs msgs;
    TBaseTypes types;
    // An include file is looked for beside the program, then on the script paths, in order.
    const std::vector<std::string> paths = Config.ScriptPaths;
    TIncludeReader reader = [paths](std::string_view name) -> std::optional<std::string> {
        std::vector<std::string> candidates{std::string(name)};
        for (const std::string& p : paths) {
            candidates.push_back(p.empty() || p.back() == '/' ? p + std::string(name)
                                                              : p + "/" + std::string(name));
        }
        for (const std::string& c : candidates) {
            // Only plain files of a sensible size: "{$I /dev/zero}" must not read forever.
            std::error_code error;
            if (!std::filesystem::is_regular_file(c, error) ||
                std::filesystem::file_size(c, error) > kMaxIncludeBytes || error) {
                continue;
            }
            std::ifstream in(c, std::ios::binary);
            if (in) {
                std::ostringstream text;
                text << in.rdbuf();
                return text.str();
            }
        }
        return std::nullopt;
    };
    try {
        DeclareSystem(*code, types, SystemUnit());
        for (const TScriptUnit* unit : AttachedUnits) {
            DeclareHostUnit(*code, types, *unit);
        }
        if (!code->HostScope) {
            code->HostScope = std::make_unique<TScope>(code->SystemScope.get());
        }
        code->GlobalScope = std::make_unique<TScope>(code->HostScope.get());
        TCompiler compiler(*code, types, text, reader);
        compiler.CompileScript();
    } catch (const ECompileError& e) {
        msgs.Add(e.Kind, e.Text, e.Pos);
        code.reset();
    }
    return std::make_unique<TProgram>(std::move(code), std::move(msgs), Config.StackChunkSize,
                                      Config.MaxDataSize, Config.MaxMemory, Config.TimeoutSec);
}
