var a: array[1..3] of Integer;
  f: array[0..1] of Float;
  i: Integer;
procedure Swap(var p, q: Integer);
var t: Integer;
begin
  t := p;
  p := q;
  q := t;
end;
procedure Scale(var v: Float; k: Float);
begin
  v := v * k;
end;
begin
  a[1] := 10; a[2] := 20; a[3] := 30;
  Swap(a[1], a[3]);
  for i := 1 to 3 do
    PrintLn(a[i]);
  f[0] := 1.5; f[1] := -2;
  Scale(f[0], 4);
  Scale(f[1], 0.25);
  PrintLn(f[0]);
  PrintLn(f[1]);
end.
