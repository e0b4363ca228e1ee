type
  TValues = array[1..4] of Float;
var v: TValues;
  i: Integer;
procedure Fill(var a: TValues; start: Float);
var k: Integer;
begin
  for k := 1 to 4 do
    a[k] := start + k;
end;
function Total(const a: TValues): Float;
var k: Integer;
begin
  Result := 0;
  for k := 1 to 4 do
    Result := Result + a[k];
end;
begin
  Fill(v, 0.5);
  PrintLn(Total(v));
  for i := 1 to 4 do
    PrintLn(v[i]);
end.
