type
  TVec = record
    X, Y: Float;
  end;
procedure MakeVec(var v: TVec; x, y: Float);
begin
  v.X := x;
  v.Y := y;
end;
procedure AddVec(const a, b: TVec; var sum: TVec);
begin
  sum.X := a.X + b.X;
  sum.Y := a.Y + b.Y;
end;
function Len(const v: TVec): Float;
begin
  Result := Sqrt(v.X * v.X + v.Y * v.Y);
end;
var a, b, v: TVec;
begin
  MakeVec(a, 1, 2);
  MakeVec(b, 2, 2);
  AddVec(a, b, v);
  PrintLn(v.X);
  PrintLn(v.Y);
  PrintLn(Len(v));
  MakeVec(a, 1, 1);
  PrintLn(Len(a));
end.
