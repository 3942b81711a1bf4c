var i: Integer;
begin
  PrintLn('printed');
  i := 0;
  PrintLn(1 div i);
end.
