type R = record A: Integer; S: String; end;
var d: array of R; procedure P(const r: R); begin d := nil; PrintLn(r.A); PrintLn(r.S); end; begin SetLength(d, 1); d[0].A := 5; d[0].S := 'abc' + IntToStr(1); P(d[0]); end.
