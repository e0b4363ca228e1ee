const MaxInt = 2147483647;
var i: Integer;
begin
  PrintLn(IntToStr(0));
  PrintLn(IntToStr(-5));
  PrintLn(IntToStr(MaxInt));
  i := -MaxInt - 1;
  PrintLn(IntToStr(i));
  PrintLn(IntToStr(12) + IntToStr(34));
  PrintLn(IntToStr(2 * 3 - 10));
  Print('length '); PrintLn(Length(IntToStr(1000000)));
end.
