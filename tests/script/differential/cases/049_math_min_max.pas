var a, b: Float;
  i, j: Integer;
begin
  i := 3; j := 5;
  Print('Min(3,5)='); PrintLn(Min(i, j));
  Print('Max(3,5)='); PrintLn(Max(i, j));
  a := -1.5; b := 2;
  Print('Min(-1.5,2)='); PrintLn(Min(a, b));
  Print('Max(-1.5,2)='); PrintLn(Max(a, b));
  a := 2.5; b := 2.4999;
  Print('Max(2.5,2.4999)='); PrintLn(Max(a, b));
  Print('Min(2.5,2.4999)='); PrintLn(Min(a, b));
  a := 7; b := 7;
  Print('Min(7,7)='); PrintLn(Min(a, b));
  a := -1.0E300; b := 1.0E-300;
  Print('Max(-1e300,1e-300)='); PrintLn(Max(a, b));
  Print('Min(Max(1,5),3)='); PrintLn(Min(Max(1, 5), 3));
end.
