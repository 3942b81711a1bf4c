type R = record A: Integer; S: String; end;
var d: array of R; procedure P(var s: String); begin SetLength(d, 100000); s := 'hello' + IntToStr(2); end; begin SetLength(d, 1); P(d[0].S); PrintLn(d[0].S); end.
