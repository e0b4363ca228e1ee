// Round breaks ties to the even neighbour.
var x: Float;
begin
  x := 0.5;  Print('0.5->'); PrintLn(Round(x));
  x := 1.5;  Print('1.5->'); PrintLn(Round(x));
  x := 2.5;  Print('2.5->'); PrintLn(Round(x));
  x := 3.5;  Print('3.5->'); PrintLn(Round(x));
  x := -0.5; Print('-0.5->'); PrintLn(Round(x));
  x := -1.5; Print('-1.5->'); PrintLn(Round(x));
  x := -2.5; Print('-2.5->'); PrintLn(Round(x));
  x := 2.5000001; Print('2.5000001->'); PrintLn(Round(x));
  x := 2.4999999; Print('2.4999999->'); PrintLn(Round(x));
  x := -2.5000001; Print('-2.5000001->'); PrintLn(Round(x));
  x := 1000000.5; Print('1000000.5->'); PrintLn(Round(x));
end.
