var a, b: Integer;
  s: string;
  x: Float;
procedure Swap(var p, q: Integer);
var t: Integer;
begin
  t := p;
  p := q;
  q := t;
end;
procedure AppendTo(var t: string; const tail: string);
begin
  t := t + tail;
end;
procedure Halve(var f: Float);
begin
  f := f / 2;
end;
begin
  a := 1;
  b := 2;
  Swap(a, b);
  PrintLn(IntToStr(a) + ' ' + IntToStr(b));
  s := 'abc';
  AppendTo(s, 'def');
  AppendTo(s, '!');
  PrintLn(s);
  x := 10;
  Halve(x);
  Halve(x);
  PrintLn(x);
end.
