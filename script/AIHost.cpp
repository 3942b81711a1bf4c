// The AI scripts' records and host routines, declared on a runner.
#include "script/AIHost.h"

#include "script/BriskAI.h"

#include <utility>

const std::vector<TAIHostRecord>& AIHostRecords() {
    static const std::vector<TAIHostRecord> records{
        {"TPlayerInfo",
         {"Name:String", "X:Integer", "Y:Integer", "CX:Integer", "CY:Integer", "Melee:Integer",
          "Missile:Integer"}},
        {"TPathStep", {"X:Integer", "Y:Integer"}},
        {"TPath",
         {"Steps:Integer", "S1:TPathStep", "S2:TPathStep", "S3:TPathStep", "S4:TPathStep", "S5:TPathStep"}},
        // The records of the routines that let a script see the field.
        {"TItemInfo",
         {"Kind:Integer", "Name:String", "X:Integer", "Y:Integer", "CX:Integer", "CY:Integer",
          "Health:Integer", "Armor:Integer", "Melee:Integer", "Missile:Integer", "Damage:Integer",
          "Speed:Integer", "Special:Integer"}},
        {"TWeaponInfo",
         {"Name:String", "Reach:Integer", "Speed:Integer", "Melee:Integer", "Missile:Integer",
          "Damage:Integer"}},
    };
    return records;
}

const std::vector<TAIHostRoutine>& AIHostRoutines() {
    static const std::vector<TAIHostRoutine> routines{
        {"KeyUp", {"ID:Integer"}, ""},
        {"KeyDown", {"ID:Integer"}, ""},
        {"GetPlayerCount", {}, "Integer"},
        {"GetPlayer", {"ID:Integer", "var PlayerInfo:TPlayerInfo"}, ""},
        {"GetSelf", {"var PlayerInfo:TPlayerInfo"}, ""},
        {"GetPlayerID", {}, "Integer"},
        {"GetPath", {"FromX:Integer", "FromY:Integer", "ToX:Integer", "ToY:Integer", "var Path:TPath"}, ""},
        // What a script sees of the field besides the fighters' places, after the seven above.
        {"GetHealth", {"ID:Integer"}, "Integer"},
        {"GetMaxHealth", {"ID:Integer"}, "Integer"},
        {"GetFacing", {"ID:Integer"}, "Integer"},
        {"GetAction", {"ID:Integer"}, "Integer"},
        {"HasAbility", {"ID:Integer", "Ability:Integer"}, "Boolean"},
        {"GetSquare", {"CX:Integer", "CY:Integer"}, "Integer"},
        {"GetItemCount", {}, "Integer"},
        {"GetItem", {"Index:Integer", "var Item:TItemInfo"}, ""},
        {"GetWeapon", {"Which:Integer", "var Weapon:TWeaponInfo"}, ""},
        {"GetAILevel", {}, "Integer"},
    };
    return routines;
}

std::vector<std::string> SplitScriptLines(std::istream& in) {
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

void DeclareAIHost(TBriskAI& runner, const std::function<TEvalHandler(std::string_view)>& handlerFor) {
    for (const TAIHostRecord& record : AIHostRecords())
        runner.AddRecord(record.Name, record.Members);
    for (const TAIHostRoutine& routine : AIHostRoutines()) {
        if (routine.ResultType.empty())
            runner.AddProcedure(routine.Name, routine.Params, handlerFor(routine.Name));
        else
            runner.AddFunction(routine.Name, routine.Params, routine.ResultType, handlerFor(routine.Name));
    }
}
