type
  TI = record A: Integer; S: String; V: Variant; end;
var
  g: TI; a: array[1..3] of TI; s: String; i, n: Integer;
function Use(x: TI; k: Integer; y: TI): Integer;
begin
  x.S := x.S + y.S;
  x.V := k;
  if k mod 3 = 0 then raise Exception.Create(x.S);
  Result := Length(x.S) + k div 7;
end;
begin
  g.S := 'ab'; g.V := 'cd'; a[2] := g;
  for i := 1 to 20 do
  try
    n := n + Use(g, i, a[2]) + Use(a[i mod 3 + 1], i, g);
    s := s + 'x';
    n := n - 1;
  except
    n := n + 100;
  end;
  PrintLn(n + Length(s));
end.
