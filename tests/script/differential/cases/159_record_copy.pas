// Records are values: assignment and value parameters copy them.
type
  TPair = record
    A: Integer;
    B: string;
  end;
var p, q: TPair;
procedure Modify(r: TPair);
begin
  r.A := 999;
  r.B := 'changed';
end;
procedure ModifyVar(var r: TPair);
begin
  r.A := 7;
end;
begin
  p.A := 1;
  p.B := 'one';
  q := p;
  q.A := 2;
  q.B := 'two';
  PrintLn(IntToStr(p.A) + ' ' + p.B);
  PrintLn(IntToStr(q.A) + ' ' + q.B);
  Modify(p);
  PrintLn(IntToStr(p.A) + ' ' + p.B);
  ModifyVar(p);
  PrintLn(IntToStr(p.A) + ' ' + p.B);
end.
