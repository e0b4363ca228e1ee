var x: Float;
  i: Integer;
begin
  i := 2;
  x := 2.0;
  Print('i = x '); PrintLn(i = x);
  Print('i < 2.5 '); PrintLn(i < 2.5);
  Print('2.5 > i '); PrintLn(2.5 > i);
  x := 1.9999999;
  Print('x < i '); PrintLn(x < i);
  Print('x >= i '); PrintLn(x >= i);
  Print('1 = 1.0 '); PrintLn(1 = 1.0);
  Print('3 <> 3.0000001 '); PrintLn(3 <> 3.0000001);
end.
