var d: array of Integer; procedure P(var x: Integer); begin SetLength(d, 100000); x := 7; end; begin SetLength(d, 1); P(d[0]); PrintLn(d[0]); end.
