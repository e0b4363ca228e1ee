// Integer arithmetic is 32-bit in every intermediate result, not only when stored.
const MaxInt = 2147483647;
var i, j: Integer;
begin
  i := MaxInt;
  PrintLn(i + 1);
  j := 100000;
  PrintLn(j * j);
  PrintLn((j * j) div 10);
  i := -MaxInt - 1;
  PrintLn(-i);
  PrintLn(i - 1 < 0);
  PrintLn(IntToStr(MaxInt + MaxInt));
end.
