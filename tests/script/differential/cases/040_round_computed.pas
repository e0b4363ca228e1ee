// Rounding of computed values: the binary value decides, not the decimal text.
var x: Float;
begin
  x := 2.675;
  Print('2.675*100 rounded /100='); PrintLn(Round(x * 100) / 100);
  x := 1.005;
  Print('1.005*100 rounded='); PrintLn(Round(x * 100));
  x := 0.1;
  Print('Trunc(0.1*3*10)='); PrintLn(Trunc(x * 3 * 10));
  x := 0.7;
  Print('Trunc(0.7*10)='); PrintLn(Trunc(x * 10));
  x := 4.35;
  Print('Trunc(4.35*100)='); PrintLn(Trunc(x * 100));
  Print('Round(4.35*100)='); PrintLn(Round(x * 100));
end.
