type R = record X, Y: Integer; S: String; end;
var d: array of R; e: Exception; v: Variant; n: Integer;
function F(a: Integer = 2; const r: R): Integer; begin Result := a + r.X; end;
procedure G(var s: String); begin SetLength(d, Length(d) + 1); s := s + IntToStr(Length(d)); end;
procedure Init; begin SetLength(d, 2); d[1].S := 'abc'; G(d[1].S); end;
function Execute: String; var i: Integer; begin for i := 0 to High(d) do Result := Result + d[i].S; try raise Exception.Create(Result); except on x: Exception do PrintLn(x.Message); end; end;
begin Init; PrintLn(Execute); v := d[1].S; case n of 0: PrintLn(v); end; end.
