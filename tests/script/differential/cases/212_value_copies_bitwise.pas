// Bitwise operators on Integers; strings, arrays of records and records copied by value, also
// when a var parameter changes a character of one copy; a two-dimensional array.
type
  TE = record
    Name: string;
    V: Float;
  end;
  TP = record
    X, Y: Float;
  end;
var a, b: string;
  ra, rb: array[1..2] of TE;
  m: array[1..2, 0..1] of Integer;
  p: TP;
  q: array[1..2] of TP;
procedure Up(var s: string);
begin
  s[1] := 'Z';
end;
begin
  PrintLn(12 and 10);
  PrintLn(12 or 3);
  PrintLn(5 xor 1);
  PrintLn(not 0);
  a := 'abc';
  b := a;
  Up(a);
  PrintLn(a + ' ' + b);
  ra[1].Name := 'one';
  ra[2].Name := 'two';
  rb := ra;
  ra[2].Name := 'changed';
  PrintLn(rb[1].Name + rb[2].Name + ra[2].Name);
  m[2, 1] := 5;
  p.X := 1.5;
  q[2] := p;
  q[2].Y := 2;
  PrintLn(m[2][1]);
  PrintLn(q[2].X + q[2].Y);
  PrintLn(p.Y);
  PrintLn(Length(m) * 10 + High(m[1]));
end.
