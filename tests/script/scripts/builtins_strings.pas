// Every string routine as a script author uses it. The expected output is
// builtins_strings.out beside this file.
var
  s: String;
  n: Integer;

begin
  PrintLn('IntToStr ' + IntToStr(-42));
  PrintLn('StrToInt ' + IntToStr(StrToInt('123') + StrToInt('$FF')));
  PrintLn('StrToIntDef ' + IntToStr(StrToIntDef('12a', -1)) + ' ' + IntToStr(StrToIntDef('12', -1)));
  PrintLn('IntToHex ' + IntToHex(255, 4) + ' ' + IntToHex(4096, 1));
  PrintLn('FloatToStr ' + FloatToStr(1 / 3) + ' ' + FloatToStr(2.5) + ' ' + FloatToStr(1E20));
  PrintLn('StrToFloat ' + FloatToStr(StrToFloat('2.5e3') + 0.5));
  PrintLn('StrToFloatDef ' + FloatToStr(StrToFloatDef('1..2', 9.5)));
  PrintLn('Chr ' + Chr(72) + Chr(105));
  PrintLn('Ord ' + IntToStr(Ord('A')));
  PrintLn('CharAt ' + CharAt('hello', 1) + CharAt('hello', 5));
  s := 'hello';
  SetCharAt(s, 1, 'J');
  PrintLn('SetCharAt ' + s);
  s := 'abcdef';
  Delete(s, 2, 3);
  PrintLn('Delete ' + s);
  Insert('XYZ', s, 2);
  PrintLn('Insert ' + s);
  PrintLn('LowerCase ' + LowerCase('MiXeD'));
  PrintLn('UpperCase ' + UpperCase('MiXeD'));
  PrintLn('AnsiLowerCase ' + AnsiLowerCase('ABC'));
  PrintLn('AnsiUpperCase ' + AnsiUpperCase('abc'));
  PrintLn('Pos ' + IntToStr(Pos('lo', 'hello')) + ' ' + IntToStr(Pos('x', 'abc')));
  PrintLn('Length ' + IntToStr(Length('hello')) + ' ' + IntToStr(Length('')));
  s := 'abc';
  SetLength(s, 2);
  PrintLn('SetLength ' + s);
  PrintLn('TrimLeft [' + TrimLeft('  x  ') + ']');
  PrintLn('TrimRight [' + TrimRight('  x  ') + ']');
  PrintLn('Trim [' + Trim('  x  ') + ']');
  PrintLn('CompareText ' + IntToStr(CompareText('abc', 'ABC')));
  n := AnsiCompareText('apple', 'BANANA');
  PrintLn('AnsiCompareText ' + VarToStr(n < 0));
  n := CompareStr('abc', 'abd');
  PrintLn('CompareStr ' + VarToStr(n < 0));
  PrintLn('AnsiCompareStr ' + IntToStr(AnsiCompareStr('a', 'B')));
  PrintLn('IsDelimiter ' + VarToStr(IsDelimiter(',;', 'a;b', 2)) + ' ' + VarToStr(IsDelimiter(',;', 'a;b', 1)));
  PrintLn('LastDelimiter ' + IntToStr(LastDelimiter('\.', 'data\default.ai')));
  PrintLn('QuotedStr ' + QuotedStr('it''s'));
  PrintLn('Copy ' + Copy('abcdef', 3, 2) + ' ' + Copy('abcdef', 5, 10));
  PrintLn('LeftStr ' + LeftStr('abcdef', 2));
  PrintLn('RightStr ' + RightStr('abcdef', 2));
  PrintLn('MidStr ' + MidStr('abcdef', 2, 3));
  PrintLn('StringOfChar ' + StringOfChar('*', 5));
end.
