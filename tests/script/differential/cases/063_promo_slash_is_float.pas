// The operator / always gives a Float, even for Integers that divide evenly.
const MaxInt = 2147483647;
var i, j: Integer;
  x: Float;
begin
  i := 4; j := 2;
  Print('4/2='); PrintLn(i / j);
  i := 7;
  Print('7/2='); PrintLn(i / j);
  x := i / j;
  Print('Frac(7/2)='); PrintLn(Frac(x));
  i := 1; j := 3;
  Print('1/3*3='); PrintLn(i / j * 3);
  i := -9; j := 4;
  Print('-9/4='); PrintLn(i / j);
  Print('MaxInt/2='); PrintLn(MaxInt / 2);
end.
