// The scripts' built-in library: the "TVarType" enumeration, Param, ParamStr, ParamCount and
// the 96 routines of the mathematics, strings, date-time and variants groups. The engine calls
// RegisterBuiltins once, after the language's own entries of its system unit.
#pragma once

class TScriptUnit;

void RegisterBuiltins(TScriptUnit& systemUnit);
