// What a script sees when a built-in routine is handed something it cannot use: each failure
// is an exception the script can catch, with a clear message. The expected output is
// builtins_errors.out beside this file.
var
  n: Integer;
  f: Float;
  s: String;

begin
  try
    n := StrToInt('x');
  except
    on E: Exception do PrintLn(E.Message);
  end;
  try
    f := StrToFloat('1..2');
  except
    on E: Exception do PrintLn(E.Message);
  end;
  try
    f := EncodeDate(2020, 13, 1);
  except
    on E: Exception do PrintLn(E.Message);
  end;
  try
    s := CharAt('abc', 4);
  except
    on E: Exception do PrintLn(E.Message);
  end;
  try
    s := CharAt('abc', 0);
  except
    on E: Exception do PrintLn(E.Message);
  end;
  try
    s := Chr(300);
  except
    on E: Exception do PrintLn(E.Message);
  end;
  try
    n := Round(1E300);
  except
    on E: Exception do PrintLn(E.Message);
  end;
  try
    s := StringOfChar('x', 2000000000);
  except
    on E: Exception do PrintLn(E.Message);
  end;
  PrintLn('still running');
end.
