// The AI script runner: declaration strings into host declarations, compiling once and keeping
// the program running, and the calls the game makes into it.
#include "script/BriskAI.h"

#include "platform/GameClock.h"
#include "script/Program.h"
#include "script/ScriptEngine.h"
#include "script/ScriptError.h"

namespace {

struct TDeclaration {
    std::string Name;
    std::string DataType;
    bool IsVar = false;
};

// "name:type" split at the first ":"; a text without one is all name. For procedures a text
// holding "var " loses everything up to and including its first blank and is by reference.
TDeclaration ParseDeclaration(std::string_view text, bool varRule) {
    TDeclaration declaration;
    if (varRule && text.find("var ") != std::string_view::npos) {
        declaration.IsVar = true;
        text.remove_prefix(text.find(' ') + 1);
    }
    const size_t colon = text.find(':');
    declaration.Name = std::string(text.substr(0, colon));
    if (colon != std::string_view::npos) declaration.DataType = std::string(text.substr(colon + 1));
    return declaration;
}

TScriptFunction& AddRoutine(TScriptUnit& unit, std::string_view name,
                            const std::vector<std::string_view>& params, std::string_view resultType,
                            TEvalHandler handler, bool varRule) {
    TScriptFunction& function = unit.Functions.Add();
    function.Name = std::string(name);
    function.OnEval = std::move(handler);
    function.ResultType = std::string(resultType);
    for (const std::string_view text : params) {
        const TDeclaration declaration = ParseDeclaration(text, varRule);
        TScriptParameter& parameter = function.Parameters.Add();
        parameter.Name = declaration.Name;
        parameter.DataType = declaration.DataType;
        parameter.IsVarParam = declaration.IsVar;
    }
    return function;
}

} // namespace

TBriskAI::TBriskAI()
    : ScriptEngine(std::make_unique<TScriptEngine>()), Unit(std::make_unique<TScriptUnit>()) {
    SetFunctionName("Execute");
    Unit->SetUnitName("OutputFuncs");
    Unit->SetScript(ScriptEngine.get());
    AddFunction("GetTickCount", {}, "Integer", [](TProgramInfo& info) {
        // The tick wraps at 2^32; scripts see it as the signed Integer of the same bits.
        info.SetResult(static_cast<int32_t>(GameTicks()));
    });
}

// The program goes first: it may still refer to the unit's handlers; the unit detaches itself
// from the engine before the engine goes.
TBriskAI::~TBriskAI() {
    RunFunction.reset();
    CompiledProgram.reset();
    Unit->SetScript(nullptr);
}

void TBriskAI::AddFunction(std::string_view name, const std::vector<std::string_view>& params,
                           std::string_view resultType, TEvalHandler handler) {
    AddRoutine(*Unit, name, params, resultType, std::move(handler), false);
}

void TBriskAI::AddProcedure(std::string_view name, const std::vector<std::string_view>& params,
                            TEvalHandler handler) {
    AddRoutine(*Unit, name, params, "", std::move(handler), true);
}

void TBriskAI::AddRecord(std::string_view name, const std::vector<std::string_view>& members) {
    TScriptRecord& record = Unit->Records.Add();
    record.Name = std::string(name);
    for (const std::string_view text : members) {
        const TDeclaration declaration = ParseDeclaration(text, false);
        TScriptMember& member = record.Members.Add();
        member.Name = declaration.Name;
        member.DataType = declaration.DataType;
    }
}

void TBriskAI::Compile() {
    std::string text;
    for (const std::string& line : ScriptText) {
        text += line;
        text += '\n';
    }
    RunFunction.reset();
    try {
        CompiledProgram = ScriptEngine->Compile(text);
    } catch (const EScriptError& error) {
        // Errors that escape compiling are dropped, as a failed compile is; the author still
        // sees the message.
        CompiledProgram.reset();
        if (Log) Log(error.what(), "TBriskAI.Compile");
        return;
    }
    CompiledProgram->SetStepLimit(StepLimit);
    CompiledProgram->SetOutputLimit(OutputLimit);
    if (CompiledProgram->State() == TProgramState::CompiledWithErrors) {
        // Starting it adds the engine's own note to the compile messages.
        CompiledProgram->BeginProgram();
        LogMessages("TBriskAI.Compile");
        return;
    }
    // Starting clears the list, so warnings are logged first; then whatever the set-up of the
    // global data raised.
    LogMessages("TBriskAI.Compile");
    CompiledProgram->BeginProgram();
    if (CompiledProgram->Msgs().HasErrors()) LogMessages("TBriskAI.Compile");
}

void TBriskAI::LogMessages(std::string_view location) const {
    if (!Log) return;
    for (const TMsg& message : CompiledProgram->Msgs()) {
        if (message.Kind == TMsgKind::Info) continue;
        std::string text = message.AsText();
        if (message.Pos.Known() && message.Pos.File.empty()) text += Located(message.Pos.Line);
        Log(text, location);
    }
}

std::string TBriskAI::Located(int32_t line) const {
    int32_t first = 1;
    for (const TScriptSource& source : Sources) {
        if (line < first + source.LineCount)
            return " in " + source.FileName + " line " + std::to_string(line - first + 1);
        first += source.LineCount;
    }
    return "";
}

// Hands on what a call printed when the call ends, also when it ends with an error.
class TBriskAI::TOutputPass {
public:
    TOutputPass(TBriskAI& runner, std::string_view function) : Runner(runner), Function(function) {}
    ~TOutputPass() { Runner.PassOutput(Function); }
    TOutputPass(const TOutputPass&) = delete;
    TOutputPass& operator=(const TOutputPass&) = delete;

private:
    TBriskAI& Runner;
    std::string Function;
};

TFuncInfo TBriskAI::FindFunction(std::string_view name) const {
    if (CompiledProgram == nullptr) throw EScriptError("Script was not compiled");
    if (CompiledProgram->State() == TProgramState::CompiledWithErrors)
        throw EScriptError("Script compiled with errors. Can't execute!");
    // Compiled, but its start failed (its globals exceed the data maximum).
    if (CompiledProgram->State() != TProgramState::Running) throw EScriptError("Program was not started!");
    return CompiledProgram->Info().Func(name);
}

void TBriskAI::Run() {
    if (!RunFunction) RunFunction.emplace(FindFunction(RunName));
    const TOutputPass pass(*this, RunName);
    (void)RunFunction->Call();
}

void TBriskAI::CallFunction(std::string_view name) {
    TFuncInfo function = FindFunction(name);
    const TOutputPass pass(*this, name);
    (void)function.Call();
}

namespace {

std::string Note(std::string_view format, size_t count) {
    std::string note(format);
    note.replace(note.find("%d"), 2, std::to_string(count));
    return note;
}

} // namespace

void TBriskAI::PassOutput(std::string_view function) {
    if (CompiledProgram == nullptr || CompiledProgram->ResultText().empty()) return;
    std::string text = CompiledProgram->ResultText();
    const bool cut = CompiledProgram->OutputCut();
    CompiledProgram->ClearResult();
    if (OutputTotal >= OutputTotalLimit) return; // the note has been handed on already
    if (cut) {
        if (!text.empty() && text.back() != '\n') text += '\n';
        text += Note(kOutputCutNote, OutputLimit) + "\n";
    }
    if (OutputTotal + text.size() >= OutputTotalLimit) {
        text.resize(OutputTotalLimit - OutputTotal);
        if (!text.empty() && text.back() != '\n') text += '\n';
        text += Note(kOutputStoppedNote, OutputTotalLimit) + "\n";
        OutputTotal = OutputTotalLimit;
    } else {
        OutputTotal += text.size();
    }
    if (Output) Output(text, function);
}

void TBriskAI::SetFunctionName(std::string_view name) {
    RunName = std::string(name);
    RunFunction.reset();
}
