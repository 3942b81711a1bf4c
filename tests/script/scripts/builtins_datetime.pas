// Every date and time routine as a script author uses it. The expected output is
// builtins_datetime.out beside this file; Now, Date and Time are checked against each other
// since their values change.
var
  dt, t: DateTime;
  y, m, d, h, n, s, ms: Integer;

begin
  dt := Now;
  PrintLn('Now ' + VarToStr((dt >= Date) and (dt < Date + 1)));
  PrintLn('Date ' + VarToStr(Frac(Date) = 0));
  t := Time;
  PrintLn('Time ' + VarToStr((t >= 0) and (t < 1)));

  dt := EncodeDate(2026, 3, 7) + EncodeTime(14, 5, 9, 45);
  PrintLn('DateTimeToStr ' + DateTimeToStr(dt));
  PrintLn('DateToStr ' + DateToStr(dt));
  PrintLn('TimeToStr ' + TimeToStr(dt));
  PrintLn('StrToDateTime ' + FormatDateTime('yyyy-mm-dd hh:nn:ss', StrToDateTime('2020/02/29 23:59:58')));
  PrintLn('StrToDate ' + FormatDateTime('d mmmm yyyy', StrToDate('2021/12/25')));
  PrintLn('StrToTime ' + FormatDateTime('hh:nn', StrToTime('2:30 pm')));
  PrintLn('DayOfWeek ' + IntToStr(DayOfWeek(dt)) + ' ' + IntToStr(DayOfWeek(EncodeDate(2026, 3, 8))));
  PrintLn('FormatDateTime ' + FormatDateTime('dddd d/m/yy h:mm am/pm', dt));
  PrintLn('FormatDateTime ' + FormatDateTime('"at" hh:nn:ss.zzz', dt));
  PrintLn('IsLeapYear ' + VarToStr(IsLeapYear(2000)) + ' ' + VarToStr(IsLeapYear(1900)));
  PrintLn('IncMonth ' + DateToStr(IncMonth(EncodeDate(2020, 1, 31), 1)) + ' ' + DateToStr(IncMonth(EncodeDate(2020, 1, 31), -2)));
  DecodeDate(dt, y, m, d);
  PrintLn('DecodeDate ' + IntToStr(y) + ' ' + IntToStr(m) + ' ' + IntToStr(d));
  PrintLn('EncodeDate ' + FloatToStr(EncodeDate(1899, 12, 30)) + ' ' + FloatToStr(EncodeDate(2000, 1, 1)));
  DecodeTime(dt, h, n, s, ms);
  PrintLn('DecodeTime ' + IntToStr(h) + ' ' + IntToStr(n) + ' ' + IntToStr(s) + ' ' + IntToStr(ms));
  PrintLn('EncodeTime ' + FloatToStr(EncodeTime(12, 0, 0, 0)) + ' ' + FloatToStr(EncodeTime(6, 0, 0, 0)));
end.
