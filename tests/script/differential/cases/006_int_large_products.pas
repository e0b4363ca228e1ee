// Products that stay inside 32 bits, near the limit.
var a, b: Integer;
begin
  a := 46340;
  Print('46340*46340='); PrintLn(a * a);
  a := 65535;
  b := 32768;
  Print('65535*32768='); PrintLn(a * b);
  a := -65536;
  b := 32768;
  Print('-65536*32768='); PrintLn(a * b);
  a := 1000;
  Print('1000^3='); PrintLn(a * a * a);
  a := 2;
  Print('2^30='); PrintLn(a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a * a);
end.
