// Value parameters are copies: changing them does not touch the caller's variables.
var a: Integer;
  s: string;
  x: Float;
procedure Change(n: Integer; t: string; f: Float);
begin
  n := n * 10;
  t := t + '!';
  f := f / 2;
  PrintLn(IntToStr(n) + ' ' + t + ' ' + FloatToStr(f));
end;
begin
  a := 5;
  s := 'hi';
  x := 3;
  Change(a, s, x);
  PrintLn(IntToStr(a) + ' ' + s + ' ' + FloatToStr(x));
  Change(a + 1, s + s, x * 2);
end.
