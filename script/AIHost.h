// What the game declares for its AI scripts: the records and the host routines by name,
// parameters and result, in one place for the game and for the script tool, which checks AI
// files without a game behind the routines.
#pragma once

#include "script/HostUnit.h"

#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

class TBriskAI;

struct TAIHostRecord {
    std::string_view Name;
    std::vector<std::string_view> Members;
};

struct TAIHostRoutine {
    std::string_view Name;
    std::vector<std::string_view> Params;
    std::string_view ResultType; // empty for a procedure
};

[[nodiscard]] const std::vector<TAIHostRecord>& AIHostRecords();
[[nodiscard]] const std::vector<TAIHostRoutine>& AIHostRoutines();

// The lines of an AI file, without their line ends (CR LF or LF).
[[nodiscard]] std::vector<std::string> SplitScriptLines(std::istream& in);

// Declares the records, then every routine with the handler handlerFor gives for its name.
void DeclareAIHost(TBriskAI& runner, const std::function<TEvalHandler(std::string_view)>& handlerFor);
