var s: String; i: Integer; begin s := 'x'; for i := 1 to 40 do s := s + s; PrintLn(Length(s)); end.
