// Float addition is not associative: the order of a sum changes the last digits.
var big, small, s1, s2: Float;
  i: Integer;
begin
  big := 1.0E8;
  small := 1.0E-8;
  s1 := big;
  for i := 1 to 1000 do
    s1 := s1 + small;
  s2 := 0;
  for i := 1 to 1000 do
    s2 := s2 + small;
  s2 := s2 + big;
  PrintLn(s1 - big);
  PrintLn(s2 - big);
  PrintLn(s1 = s2);
end.
