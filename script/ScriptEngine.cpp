// The engine object: attached units and the system unit.
#include "script/ScriptEngine.h"

#include "script/HostUnit.h"

#include <algorithm>

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
