type
  TVec = record
    X, Y: Float;
  end;
function MakeVec(x, y: Float): TVec;
begin
  Result.X := x;
  Result.Y := y;
end;
function AddVec(const a, b: TVec): TVec;
begin
  Result.X := a.X + b.X;
  Result.Y := a.Y + b.Y;
end;
function Len(const v: TVec): Float;
begin
  Result := Sqrt(v.X * v.X + v.Y * v.Y);
end;
var v: TVec;
begin
  v := AddVec(MakeVec(1, 2), MakeVec(2, 2));
  PrintLn(v.X);
  PrintLn(v.Y);
  PrintLn(Len(v));
  PrintLn(Len(MakeVec(1, 1)));
end.
