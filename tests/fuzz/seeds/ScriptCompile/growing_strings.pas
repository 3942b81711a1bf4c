var A: array of String; N: Integer;
begin
  for N := 0 to 100 do begin SetLength(A, N + 1); A[N] := StringOfChar('x', 20000000); end;
end.
