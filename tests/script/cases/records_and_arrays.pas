type
  TPoint = record
    X, Y: Float;
  end;
  TLine = array [1..2] of TPoint;
var l: TLine;
    copy: TLine;
    grid: array [0..2, 0..2] of Integer;
    i, j: Integer;
procedure Shift(var p: TPoint; d: Float);
begin
  p.X := p.X + d;
  p.Y := p.Y + d;
end;
function Length2(const line: TLine): Float;
begin
  Result := Sqr(line[2].X - line[1].X) + Sqr(line[2].Y - line[1].Y);
end;
l[2].X := 3; l[2].Y := 4;
copy := l;
Shift(l[1], 1);
PrintLn(Length2(l));
PrintLn(Length2(copy));
for i := 0 to 2 do
  for j := 0 to 2 do
    grid[i, j] := i * 3 + j;
PrintLn(grid[2, 1] + grid[1][2]);
PrintLn(Length(grid) * High(grid[0]));
