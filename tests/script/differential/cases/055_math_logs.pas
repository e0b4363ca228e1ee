var x: Float;
begin
  x := 1000;
  Print('Log10(1000)='); PrintLn(Log10(x));
  x := 2;
  Print('Log10(2)='); PrintLn(Log10(x));
  x := 0.01;
  Print('Log10(0.01)='); PrintLn(Log10(x));
  x := 8;
  Print('Log2(8)='); PrintLn(Log2(x));
  x := 10;
  Print('Log2(10)='); PrintLn(Log2(x));
  x := 0.125;
  Print('Log2(0.125)='); PrintLn(Log2(x));
  x := 81;
  Print('LogN(3,81)='); PrintLn(LogN(3, x));
  x := 0.001;
  Print('LogN(10,0.001)='); PrintLn(LogN(10, x));
  x := 32;
  Print('LogN(2,32)='); PrintLn(LogN(2, x));
  x := 100;
  Print('LogN(7,100)='); PrintLn(LogN(7, x));
end.
