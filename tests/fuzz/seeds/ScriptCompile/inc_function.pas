var i, j: Integer; begin i := 1; j := Inc(i, 2); PrintLn(i); PrintLn(j); end.
