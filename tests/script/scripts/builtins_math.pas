// Every mathematics routine as a script author uses it. The expected output is
// builtins_math.out beside this file.
var
  i, n, seed, outside: Integer;
  first, second: Float;
  sum: Float;
  same: Boolean;

begin
  PrintLn('Sin ' + FloatToStr(Sin(Pi / 2)));
  PrintLn('Sinh ' + FloatToStr(Sinh(1)));
  PrintLn('Cos ' + FloatToStr(Cos(0)));
  PrintLn('Cosh ' + FloatToStr(Cosh(0)));
  PrintLn('Tan ' + FloatToStr(Tan(Pi / 4)));
  PrintLn('Tanh ' + FloatToStr(Tanh(0)));
  PrintLn('Cotan ' + FloatToStr(Cotan(Pi / 4)));
  PrintLn('ArcSin ' + FloatToStr(ArcSin(1) * 2));
  PrintLn('ArcSinh ' + FloatToStr(ArcSinh(0)));
  PrintLn('ArcCos ' + FloatToStr(ArcCos(-1)));
  PrintLn('ArcCosh ' + FloatToStr(ArcCosh(1)));
  PrintLn('ArcTan ' + FloatToStr(ArcTan(1) * 4));
  PrintLn('ArcTanh ' + FloatToStr(ArcTanh(0.5)));
  PrintLn('Hypot ' + FloatToStr(Hypot(3, 4)));
  i := 1;
  Inc(i, 5);
  PrintLn('Inc ' + IntToStr(i));
  Inc(i, -10);
  PrintLn('Inc ' + IntToStr(i));
  PrintLn('Abs ' + FloatToStr(Abs(-2.5)));
  PrintLn('Exp ' + FloatToStr(Exp(1)));
  PrintLn('Ln ' + FloatToStr(Ln(Exp(2))));
  PrintLn('Log2 ' + FloatToStr(Log2(1024)));
  PrintLn('Log10 ' + FloatToStr(Log10(0.001)));
  PrintLn('LogN ' + FloatToStr(LogN(2, 8)));
  PrintLn('Sqrt ' + FloatToStr(Sqrt(2)));
  PrintLn('Sqr ' + FloatToStr(Sqr(1.5)));
  PrintLn('Int ' + FloatToStr(Int(-2.75)));
  PrintLn('Frac ' + FloatToStr(Frac(2.75)));
  PrintLn('Trunc ' + IntToStr(Trunc(-2.9)) + ' ' + IntToStr(Trunc(2.9)));
  PrintLn('Round ' + IntToStr(Round(2.5)) + ' ' + IntToStr(Round(3.5)) + ' ' + IntToStr(Round(-2.5)) + ' ' + IntToStr(Round(2.6)));
  PrintLn('Power ' + FloatToStr(Power(2, 10)) + ' ' + FloatToStr(Power(9, 0.5)));
  PrintLn('DegToRad ' + FloatToStr(DegToRad(180)));
  PrintLn('RadToDeg ' + FloatToStr(RadToDeg(Pi)));
  PrintLn('Max ' + FloatToStr(Max(1, 2.5)));
  PrintLn('Min ' + FloatToStr(Min(1, 2.5)));
  PrintLn('Pi ' + FloatToStr(Pi));

  // A seed read back replays the same numbers.
  SetRandSeed(2024);
  PrintLn('RandSeed ' + IntToStr(RandSeed));
  seed := RandSeed;
  first := Random;
  n := RandomInt(1000);
  second := RandG(10, 2);
  SetRandSeed(seed);
  same := (Random = first) and (RandomInt(1000) = n) and (RandG(10, 2) = second);
  PrintLn('repeatable ' + VarToStr(same));

  Randomize;
  outside := 0;
  sum := 0;
  for i := 1 to 1000 do
  begin
    if RandomInt(1) <> 0 then outside := outside + 1;
    n := RandomInt(10);
    if (n < 0) or (n > 9) then outside := outside + 1;
    first := Random;
    if (first < 0) or (first >= 1) then outside := outside + 1;
    sum := sum + RandG(5, 1);
  end;
  PrintLn('outside ' + IntToStr(outside));
  PrintLn('RandG mean near 5 ' + VarToStr(Abs(sum / 1000 - 5) < 0.2));
end.
