var i, n: Integer;
begin
  for i := 1 to 300000 do
    n := n + 1;
  PrintLn(n);
end.
