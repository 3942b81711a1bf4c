procedure P(a: Integer = 1; s: String); begin s := s + 'abc'; PrintLn(s); end; begin P(5); P(6); end.
