var n: Integer;
begin
  PrintLn('before');
  while True do
    n := n + 1;
end.
