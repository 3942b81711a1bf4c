begin
  PrintLn('never')
  PrintLn('runs');
end.
