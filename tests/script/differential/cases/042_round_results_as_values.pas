// Round and Trunc give Integers; Int and Frac give Floats.
var x, f: Float;
  i: Integer;
begin
  x := 7.6;
  i := Round(x);
  Print('i='); PrintLn(i);
  Print('i div 3='); PrintLn(i div 3);
  Print('Round(x) mod 3='); PrintLn(Round(x) mod 3);
  f := Round(x);
  Print('f='); PrintLn(f);
  f := Int(x) / 2;
  Print('Int(x)/2='); PrintLn(f);
  i := Trunc(x) * 2;
  Print('Trunc(x)*2='); PrintLn(i);
  Print('IntToStr(Round)='); PrintLn(IntToStr(Round(x)));
end.
