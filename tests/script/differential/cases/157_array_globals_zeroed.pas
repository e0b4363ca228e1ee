// Global variables start at zero, empty string or False.
var a: array[1..3] of Integer;
  f: array[1..2] of Float;
  s: array[1..2] of string;
  n: Integer;
  x: Float;
  t: string;
  b: Boolean;
begin
  PrintLn(a[1] + a[2] + a[3]);
  PrintLn(f[1] + f[2]);
  PrintLn('<' + s[1] + s[2] + '>');
  PrintLn(n);
  PrintLn(x);
  PrintLn('<' + t + '>');
  PrintLn(b);
end.
