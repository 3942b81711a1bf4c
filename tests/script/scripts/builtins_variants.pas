// The variant routines and the TVarType codes as a script author uses them. The expected
// output is builtins_variants.out beside this file.
var
  v: Variant;

begin
  v := 42;
  PrintLn('VarIsEmpty ' + VarToStr(VarIsEmpty(v)));
  VarClear(v);
  PrintLn('VarClear ' + VarToStr(VarIsEmpty(v)));
  v := Null;
  PrintLn('VarIsNull ' + VarToStr(VarIsNull(v)) + ' ' + VarToStr(VarIsNull(Unassigned)));
  PrintLn('VarToStr [' + VarToStr(v) + ']');
  v := VarAsType('12', varInteger);
  PrintLn('VarAsType ' + VarToStr(v + 1));
  v := VarAsType(3.5, varInteger);
  PrintLn('VarAsType ' + VarToStr(v));
  v := VarAsType(7, varString);
  PrintLn('VarAsType ' + VarToStr(v + '!'));
  v := VarAsType('True', varBoolean);
  PrintLn('VarAsType ' + VarToStr(v and True));
  v := VarAsType(1, varNull);
  PrintLn('VarAsType ' + VarToStr(VarIsNull(v)));
  PrintLn('TVarType ' + IntToStr(varEmpty) + ' ' + IntToStr(varNull) + ' ' + IntToStr(varInteger) + ' ' +
    IntToStr(varDouble) + ' ' + IntToStr(varBoolean) + ' ' + IntToStr(varString) + ' ' + IntToStr(varByRef));
end.
