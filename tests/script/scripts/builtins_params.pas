// The program parameters as a script author reads them; run without parameters the expected
// output is builtins_params.out beside this file. With "duelmark-script --run
// builtins_params.pas red 7" it lists both and adds 1 to the second.
var
  i: Integer;

begin
  PrintLn('ParamCount ' + IntToStr(ParamCount));
  for i := 1 to ParamCount do
    PrintLn('ParamStr ' + IntToStr(i) + ' ' + ParamStr(i));
  if ParamCount >= 2 then
    PrintLn('Param ' + VarToStr(StrToInt(Param(2)) + 1))
  else
    PrintLn('Param missing ' + VarToStr(VarIsEmpty(Param(2))));
end.
